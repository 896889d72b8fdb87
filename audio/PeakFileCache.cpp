#include "audio/PeakFileCache.h"

#include <cwchar>

#include "audio/AudioSettings.h"
#include "common/AppFolder.h"
#include "common/FolderWalk.h"

namespace {

// The mask match also accepts names that merely start their extension with
// ".mcp" ("a.mcpx", "song.mcp.mcfi"): only a real ".mcp" ending counts.
bool EndsWithMcp(const CString& name)
{
    const int n = name.GetLength();
    return n > 4 && _wcsicmp(static_cast<LPCWSTR>(name) + n - 4, L".mcp") == 0;
}

} // namespace

CPeakFileCache::CPeakFileCache() : m_folder(GetAuxFolder())
{
    CStringArray names;
    CDWordArray sizes;
    CArray<LONGLONG, LONGLONG> times;
    if (!ListFolderEntries(m_folder, L"*.mcp", &names, nullptr, &sizes, &times, nullptr))
        return;
    for (INT_PTR i = 0; i < names.GetSize(); ++i) {
        if (!EndsWithMcp(names[i]))
            continue;
        m_names.Add(names[i]);
        m_sizes.Add(sizes[i]);
        m_times.Add(CTime(static_cast<__time64_t>(times[i])));
    }
}

unsigned long long CPeakFileCache::GetTotalSize() const
{
    return m_sizes.Sum();
}

bool CPeakFileCache::DeleteEntry(int index)
{
    if (index < 0 || index >= GetCount())
        return false;
    CString path = m_folder + L"\\" + m_names[index];
    if (!DeleteFileW(path))
        return false;
    m_names.RemoveAt(index);
    m_sizes.RemoveAt(index);
    m_times.RemoveAt(index);
    return true;
}

int CPeakFileCache::DeleteAll()
{
    int i = 0;
    while (i < GetCount()) {
        if (!DeleteEntry(i))
            ++i;
    }
    return GetCount();
}

void CPeakFileCache::Trim()
{
    // A negative limit read from the registry counts as no room at all.
    const long long megabytes = GetMaxPeakFileSize() < 0 ? 0 : GetMaxPeakFileSize();
    const unsigned long long limit = static_cast<unsigned long long>(megabytes) * 1048576ULL;
    while (GetTotalSize() > limit && GetCount() > 0) {
        int oldest = 0;
        for (int i = 1; i < GetCount(); ++i)
            if (m_times[i].GetTime() < m_times[oldest].GetTime())
                oldest = i;
        if (!DeleteEntry(oldest))
            break;
    }
}
