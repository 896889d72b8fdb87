#pragma once
// Small questions about files, modules and drives; the special-folder lookup.
#include "platform/mfc/afx.h"

// Whether the file can be opened for attribute access (folders are not files).
[[nodiscard]] bool FileExists(LPCWSTR path);
// The low 32 bits of the size; 0 when the file cannot be opened.
DWORD GetFileSizeByName(LPCWSTR path);
// Whether the module loads (it is freed again).
[[nodiscard]] bool CanLoadLibrary(LPCWSTR path);
// Ends the open file at `position`; false when either step fails.
[[nodiscard]] bool TruncateFileAt(HANDLE file, DWORD position);

// Free and total bytes of the drive's root ("X:\"); 0 when the query fails.
unsigned long long GetDriveFreeSpace(wchar_t letter);
unsigned long long GetDriveTotalSize(wchar_t letter);
// Both outputs are set only when the drive's root can be queried.
[[nodiscard]] bool GetVolumeInfo(wchar_t letter, CString& volumeName, CString& fileSystemName);

// SHGetFolderPathW bound at run time from SHFolder.dll, else Shell32.dll;
// its result, or -1 when neither has it. `path` is set on success.
[[nodiscard]] HRESULT SHGetFolderPathDynamic(HWND window, int folder, HANDLE token, DWORD flags, CString& path);
