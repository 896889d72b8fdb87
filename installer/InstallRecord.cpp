#include "installer/InstallRecord.h"
#include "common/AdvFile.h"
#include "common/PathUtils.h"
#include "installer/InstallCopy.h"

namespace {

bool IsRoot(const CString& path)
{
    const CString full = NormalizeFolder(path);
    return full.GetLength() <= 3 || (full.Left(2) == L"\\\\" && full.Find(L'\\', 2) < 0);
}

bool IsFolderEntry(const CString& path)
{
    return !path.IsEmpty() && path[path.GetLength() - 1] == L'\\';
}

} // namespace

bool ReadInstallRecord(LPCWSTR folder, CStringArray& paths)
{
    paths.RemoveAll();
    CAdvFile file;
    if (!folder || !file.OpenRead(JoinPath(folder, kInstallRecordName)))
        return false;
    CString line;
    while (file.ReadLine(line))
        if (!line.IsEmpty())
            paths.Add(line);
    return true;
}

int RemoveInstalledPaths(const CStringArray& paths, LPCWSTR within)
{
    int left = 0;
    auto allowed = [within](const CString& path) {
        return within && *within && !IsRoot(path) && IsSameOrInside(path, within);
    };
    for (INT_PTR i = 0; i < paths.GetSize(); ++i) {
        const CString& path = paths[i];
        if (IsFolderEntry(path) || !allowed(path))
            continue;
        if (!::DeleteFileW(path) && ::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES)
            ++left;
    }
    for (INT_PTR i = paths.GetSize() - 1; i >= 0; --i) {
        const CString& path = paths[i];
        if (!IsFolderEntry(path) || !allowed(path))
            continue;
        if (!::RemoveDirectoryW(path) && ::GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES)
            ++left;
    }
    return left;
}
