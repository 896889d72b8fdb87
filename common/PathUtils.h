#pragma once
// Taking paths apart and putting them together; the program's own path.
#include "platform/mfc/afx.h"

// Drive and directory with the trailing separator: C:\Music\ for C:\Music\a.mp3.
CString GetDirectoryOfPath(LPCWSTR path);
// The file name, with its extension (dot included) when asked.
CString GetFileNameOfPath(LPCWSTR path, bool withExtension = true);
// The extension without its dot; empty when there is none.
CString GetFileExtension(LPCWSTR path);
// `folder` and `name` joined by exactly one backslash.
CString JoinPath(LPCWSTR folder, LPCWSTR name);
// The running program's full file name; empty when it cannot be read.
CString GetModuleFilePath();
// Its directory with a trailing backslash; empty when the name is unknown.
CString GetModuleDirectory();
// The full path of `name` beside the program (the help page path).
CString GetHelpPagePath(LPCWSTR name);
// Shows the help file at `path` in the HTML Help viewer owned by `owner`;
// false when the viewer is not available or refuses.
[[nodiscard]] bool ShowHelpFile(HWND owner, LPCWSTR path);
// Shows `name` (a file beside the program) in the HTML Help viewer owned by
// `owner`; false when the viewer is not available or refuses.
[[nodiscard]] bool ShowHelpPage(HWND owner, LPCWSTR name);
