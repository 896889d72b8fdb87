#pragma once
// Walking folders. Each walk enters the folder through CDirChanger (so a
// folder that cannot be made current counts as missing) and restores the
// current directory afterwards; inside, it works on absolute paths and never
// descends into reparse points (junctions, symbolic links).
#include "platform/mfc/afx.h"

#include <atomic>

// Sum of the sizes of all files under the folder, subfolders included, as a
// 32-bit total that wraps; 0 when the folder cannot be entered.
DWORD GetFolderSize(LPCWSTR folder);
// Deletes every file and subfolder under the folder (what cannot be deleted
// stays), then the folder itself; true when the folder is gone. A linked
// folder is unlinked, never emptied.
[[nodiscard]] bool DeleteFolderTree(LPCWSTR folder);
// Whether the folder can be made the current directory.
[[nodiscard]] bool DirectoryExists(LPCWSTR path);

// Lists the folder's entries other than "." and "..": files matching `masks`
// (see MatchMaskList) with their 32-bit sizes and last-write times (seconds
// since 1970), index-aligned, and every subfolder. Any output may be null.
// Stops early once `cancel` is set. False when the folder cannot be entered.
[[nodiscard]] bool ListFolderEntries(LPCWSTR folder, LPCWSTR masks, CStringArray* files, CStringArray* subfolders,
                                     CDWordArray* sizes, CArray<LONGLONG, LONGLONG>* times,
                                     const std::atomic<bool>* cancel);

// The system's find records of one folder listing.
class CFindDataArray : public CArray<WIN32_FIND_DATAW, const WIN32_FIND_DATAW&>
{
public:
    // Appends every entry the mask (or "*.*") gives, "." and ".." included.
    [[nodiscard]] bool Fill(LPCWSTR folder, LPCWSTR mask = nullptr);
    int GetCount() const { return static_cast<int>(GetSize()); }
};
