#pragma once
// Reading the record of installed paths and removing exactly what it lists.
#include "platform/mfc/afx.h"
#include "platform/mfc/afxcoll.h"

// The lines of the record in `folder`; false when there is none.
[[nodiscard]] bool ReadInstallRecord(LPCWSTR folder, CStringArray& paths);

// Deletes the listed files, then the listed folders (folders end with '\';
// the last listed first, each only when empty). Entries outside `within`
// and drive roots are never touched. Returns how many listed entries are
// still there afterwards.
int RemoveInstalledPaths(const CStringArray& paths, LPCWSTR within);
