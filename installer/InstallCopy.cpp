#include "installer/InstallCopy.h"
#include <vector>
#include "common/AdvFile.h"
#include "common/PathUtils.h"
#include "common/StringUtils.h"
#include "common/TimeUtils.h"

namespace {

constexpr DWORD kBlockBytes = 102400;

bool IsDotEntry(const WIN32_FIND_DATAW& data)
{
    return wcscmp(data.cFileName, L".") == 0 || wcscmp(data.cFileName, L"..") == 0;
}

bool CopyOneFile(const CString& from, const CString& to, SInstallCopyContext* context, std::vector<BYTE>& buffer)
{
    CAdvFile in;
    if (!in.OpenRead(from, false))
        return false;
    const ULONGLONG size = in.GetSize();
    if (size > 0xFFFFFFFFull)
        return false;
    CAdvFile out;
    if (!out.Create(to))
        return false;
    context->installed.Add(to);
    ULONGLONG done = 0;
    while (done < size) {
        if (!context->MayGoOn())
            return false;
        const DWORD block = static_cast<DWORD>(size - done < kBlockBytes ? size - done : kBlockBytes);
        DWORD got = 0;
        if (!in.Read(buffer.data(), block, &got) || got != block || !out.Write(buffer.data(), block))
            return false;
        done += block;
        context->copied += block;
        if (context->page)
            ::PostMessageW(context->page, WM_INSTALL_PROGRESS, 0, 0);
    }
    return true;
}

bool CopyTreeWith(const CString& source, const CString& destination, SInstallCopyContext* context,
                  std::vector<BYTE>& buffer)
{
    if (::CreateDirectoryW(destination, nullptr))
        context->installed.Add(destination + L"\\");
    else if ((::GetFileAttributesW(destination) & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
             ::GetFileAttributesW(destination) == INVALID_FILE_ATTRIBUTES)
        return false;
    WIN32_FIND_DATAW data;
    CFindHandle find(::FindFirstFileW(JoinPath(source, L"*.*"), &data));
    if (!find)
        return false;
    std::vector<WIN32_FIND_DATAW> entries;
    do
        entries.push_back(data);
    while (::FindNextFileW(find.Get(), &data));
    find.Reset();
    for (const WIN32_FIND_DATAW& entry : entries) {
        if (IsDotEntry(entry))
            continue;
        const CString from = JoinPath(source, entry.cFileName);
        const CString to = JoinPath(destination, entry.cFileName);
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            if (!context->skipFolder.IsEmpty() && CompareText(from, context->skipFolder) == 0)
                continue;
            // A subfolder that fails leaves the others to be tried; the
            // abort flag still stops everything.
            CopyTreeWith(from, to, context, buffer);
            if (context->abort)
                return false;
        } else if (CompareText(entry.cFileName, kInstallRecordName) != 0) {
            if (!CopyOneFile(from, to, context, buffer))
                return false;
        }
    }
    return true;
}

} // namespace

SInstallCopyContext::SInstallCopyContext() : running(::CreateEventW(nullptr, TRUE, TRUE, nullptr))
{
}

bool SInstallCopyContext::MayGoOn() const
{
    if (running)
        ::WaitForSingleObject(running.Get(), INFINITE);
    return !abort;
}

CString NormalizeFolder(LPCWSTR path)
{
    CString full;
    if (!path || !*path)
        return full;
    wchar_t buffer[MAX_PATH * 2];
    const DWORD n = ::GetFullPathNameW(path, MAX_PATH * 2, buffer, nullptr);
    full = n > 0 && n < MAX_PATH * 2 ? CString(buffer) : CString(path);
    if (full.GetLength() > 3)
        RemoveTrailingBackslash(full);
    return full;
}

bool IsSameOrInside(LPCWSTR inner, LPCWSTR outer)
{
    CString a = NormalizeFolder(inner);
    CString b = NormalizeFolder(outer);
    if (a.IsEmpty() || b.IsEmpty())
        return false;
    AddTrailingBackslash(a);
    AddTrailingBackslash(b);
    return a.GetLength() >= b.GetLength() && CompareText(a.Left(b.GetLength()), b) == 0;
}

bool CopyTree(LPCWSTR source, LPCWSTR destination, SInstallCopyContext* context)
{
    if (!source || !destination || !context)
        return false;
    const CString from = NormalizeFolder(source);
    const CString to = NormalizeFolder(destination);
    // Copying a folder onto itself would replace each file by its own
    // truncated copy.
    if (CompareText(from, to) == 0)
        return false;
    if (IsSameOrInside(to, from))
        context->skipFolder = to;
    std::vector<BYTE> buffer(kBlockBytes);
    return CopyTreeWith(from, to, context, buffer);
}

bool WriteInstallRecord(LPCWSTR folder, const CStringArray& installed)
{
    const CString path = JoinPath(folder, kInstallRecordName);
    CAdvFile file;
    if (!file.Create(path) || !file.WriteBOM())
        return false;
    for (INT_PTR i = 0; i < installed.GetSize(); ++i)
        if (!file.WriteLine(installed[i]))
            return false;
    return file.WriteLine(path);
}
