#include "common/FolderWalk.h"

#include "common/DirChanger.h"
#include "common/PathUtils.h"
#include "common/ScopedHandle.h"
#include "common/Wildcard.h"

#include <cwchar>

namespace {

// Paths are bounded, but a runaway nesting must not exhaust the stack.
const int kMaxDepth = 128;

bool IsDotEntry(const WIN32_FIND_DATAW& data)
{
    return wcscmp(data.cFileName, L".") == 0 || wcscmp(data.cFileName, L"..") == 0;
}

bool IsFolder(const WIN32_FIND_DATAW& data)
{
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool IsLink(DWORD attributes)
{
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

// Calls visit(data) for each entry of the absolute folder path other than
// "." and ".."; visit returns false to stop. False when nothing could be listed.
template <class Visit>
bool ForEachEntry(const CString& folder, Visit visit)
{
    WIN32_FIND_DATAW data;
    CFindHandle find(FindFirstFileW(JoinPath(folder, L"*.*"), &data));
    if (!find.IsValid())
        return false;
    do {
        if (!IsDotEntry(data) && !visit(data))
            break;
    } while (FindNextFileW(find.Get(), &data));
    return true;
}

// Enters `folder` with `changer` and returns its absolute path; empty when
// it cannot be entered.
CString EnterFolder(CDirChanger& changer, LPCWSTR folder)
{
    if (!folder || !*folder || !changer.ChangeTo(folder))
        return CString();
    wchar_t current[MAX_PATH + 1] = {};
    const DWORD n = GetCurrentDirectoryW(MAX_PATH + 1, current);
    if (n == 0 || n > MAX_PATH)
        return CString();
    return CString(current);
}

DWORD SizeOfTree(const CString& folder, int depth)
{
    DWORD total = 0;
    ForEachEntry(folder, [&](const WIN32_FIND_DATAW& data) {
        if (!IsFolder(data))
            total += data.nFileSizeLow;
        else if (!IsLink(data.dwFileAttributes) && depth < kMaxDepth)
            total += SizeOfTree(JoinPath(folder, data.cFileName), depth + 1);
        return true;
    });
    return total;
}

void DeleteContents(const CString& folder, int depth)
{
    ForEachEntry(folder, [&](const WIN32_FIND_DATAW& data) {
        const CString path = JoinPath(folder, data.cFileName);
        if (!IsFolder(data)) {
            DeleteFileW(path); // a file that cannot be deleted stays
        } else {
            if (!IsLink(data.dwFileAttributes) && depth < kMaxDepth)
                DeleteContents(path, depth + 1);
            RemoveDirectoryW(path); // a link is removed, its target untouched
        }
        return true;
    });
}

// Seconds since 1970 of a file time.
LONGLONG UnixSeconds(const FILETIME& time)
{
    const ULONGLONG ticks = (static_cast<ULONGLONG>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    const LONGLONG kEpochDifference = 11644473600LL; // 1601 to 1970 in seconds
    return static_cast<LONGLONG>(ticks / 10000000ULL) - kEpochDifference;
}

} // namespace

DWORD GetFolderSize(LPCWSTR folder)
{
    CDirChanger changer;
    const CString absolute = EnterFolder(changer, folder);
    return absolute.IsEmpty() ? 0 : SizeOfTree(absolute, 0);
}

bool DeleteFolderTree(LPCWSTR folder)
{
    if (!folder || !*folder)
        return false;
    CString target(folder);
    const DWORD attributes = GetFileAttributesW(folder);
    if (attributes != INVALID_FILE_ATTRIBUTES && !IsLink(attributes)) {
        CDirChanger changer;
        const CString absolute = EnterFolder(changer, folder);
        if (!absolute.IsEmpty()) {
            DeleteContents(absolute, 0);
            target = absolute;
        }
    }
    // The changer has restored the previous directory: the folder is no
    // longer current and can go.
    return RemoveDirectoryW(target) != FALSE;
}

bool DirectoryExists(LPCWSTR path)
{
    CDirChanger changer;
    return changer.ChangeTo(path);
}

bool ListFolderEntries(LPCWSTR folder, LPCWSTR masks, CStringArray* files, CStringArray* subfolders, CDWordArray* sizes,
                       CArray<LONGLONG, LONGLONG>* times, const std::atomic<bool>* cancel)
{
    if (files)
        files->RemoveAll();
    if (subfolders)
        subfolders->RemoveAll();
    if (sizes)
        sizes->RemoveAll();
    if (times)
        times->RemoveAll();
    CDirChanger changer;
    const CString absolute = EnterFolder(changer, folder);
    if (absolute.IsEmpty())
        return false;
    ForEachEntry(absolute, [&](const WIN32_FIND_DATAW& data) {
        if (cancel && cancel->load())
            return false;
        if (IsFolder(data)) {
            if (subfolders)
                subfolders->Add(data.cFileName);
        } else if (MatchMaskList(data.cFileName, masks)) {
            if (files)
                files->Add(data.cFileName);
            if (sizes)
                sizes->Add(data.nFileSizeLow);
            if (times)
                times->Add(UnixSeconds(data.ftLastWriteTime));
        }
        return true;
    });
    return true;
}

bool CFindDataArray::Fill(LPCWSTR folder, LPCWSTR mask)
{
    if (!folder)
        return false;
    CDirChanger changer;
    const CString absolute = EnterFolder(changer, folder);
    if (absolute.IsEmpty())
        return false;
    WIN32_FIND_DATAW data;
    CFindHandle find(FindFirstFileW(JoinPath(absolute, mask && *mask ? mask : L"*.*"), &data));
    if (find.IsValid()) {
        do
            Add(data);
        while (FindNextFileW(find.Get(), &data));
    }
    return true;
}
