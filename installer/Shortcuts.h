#pragma once
// Shell links in the special folders (desktop, start menu, startup). COM
// must be initialised on the calling thread.
#include "platform/mfc/afx.h"

// Saves "<linkName>.lnk" in the special folder `csidl`, pointing at `target`
// (the running program when null) with its icon and `description`. Nothing
// happens for a null description or link name, or when the folder or the
// link object cannot be had. The current directory is left as it was.
void CreateShortcut(LPCWSTR target, LPCWSTR description, LPCWSTR linkName, int csidl);
// The first link of the special folder whose stored path equals `target`
// (the running program when null) without regard to case.
[[nodiscard]] bool FindShortcut(LPCWSTR target, int csidl, CString& linkPath);
// Deletes the first such link.
void DeleteShortcut(LPCWSTR target, int csidl);
// The stored target path of a link file; empty when it cannot be read.
CString GetShortcutTarget(LPCWSTR linkPath);
