#pragma once
// The shell's folder picker and the common file dialog. Both are modal.
#include "platform/mfc/afx.h"

// The chosen folder (file-system folders only); empty when cancelled.
CString BrowseForFolder(HWND owner);
// `filter` is "Text|*.txt|All|*.*|"; returns the chosen path when confirmed,
// else empty (at once for a null filter).
// `initialName` (may be null) is the file name the dialog starts with.
CString BrowseForFile(LPCWSTR filter, bool open, HWND parent, LPCWSTR defaultExtension, LPCWSTR initialName = nullptr);
