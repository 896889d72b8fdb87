#include "app/AuxFiles.h"

#include "common/FileUtils.h"
#include "common/FolderWalk.h"
#include "common/PathUtils.h"

#include <algorithm>

namespace {

// Room kept below MAX_PATH for the suffixes that the project file's
// neighbours add (".tmp" while saving, ".bak" for a damaged one).
const int kSuffixRoom = 4;
// What stays of a long name at least: enough to recognise the file by.
const int kShortestKept = 16;

// FNV-1a over the upper-cased name: the file system takes "A.wav" and
// "a.wav" for the same file, so their aux files are the same too.
DWORD NameHash(const CString& name)
{
    CString upper = name;
    upper.MakeUpper();
    DWORD hash = 2166136261u;
    for (int i = 0; i < upper.GetLength(); ++i) {
        hash ^= static_cast<WORD>(upper[i]);
        hash *= 16777619u;
    }
    return hash;
}

} // namespace

CString MakeAuxFilePath(LPCWSTR audioPath, LPCWSTR extension)
{
    if (!audioPath || !extension)
        return CString();
    const CString folder = GetAuxFolder();
    if (!DirectoryExists(folder) && !::CreateDirectoryW(folder, nullptr))
        return folder;
    const CString name = GetFileNameOfPath(audioPath, true);
    CString tail;
    tail.Format(L"_%d.%s", static_cast<int>(GetFileSizeByName(audioPath)), extension);
    CString path = folder + L"\\" + name + tail;
    const int over = path.GetLength() - (MAX_PATH - 1 - kSuffixRoom);
    if (over > 0) {
        // A name that would take the path beyond what the system opens is
        // cut, and the whole name's hash keeps the files of two long names
        // with the same beginning apart.
        CString hash;
        hash.Format(L"~%08lx", static_cast<unsigned long>(NameHash(name)));
        int keep = std::max(kShortestKept, name.GetLength() - over - hash.GetLength());
        if (keep > 0 && keep < name.GetLength() && name[keep - 1] >= 0xD800 && name[keep - 1] <= 0xDBFF)
            --keep; // never half of a character
        path = folder + L"\\" + name.Left(keep) + hash + tail;
    }
    return path;
}
