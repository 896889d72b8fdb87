#pragma once
// The uninstall entry under HKEY_LOCAL_MACHINE (the product record's
// uninstall key): "DisplayName" and "UninstallString".
#include "platform/mfc/afx.h"

// The program path in double quotes, a blank and "/OVUninst": Windows runs
// this text as a command line, so a path with blanks must be quoted.
CString FormatUninstallString(LPCWSTR programPath);
// Creates or opens the key and writes both values; false when any part fails.
[[nodiscard]] bool WriteUninstallEntry(LPCWSTR programPath);
// The program path of the stored "UninstallString" (quoted or up to the
// first blank); false when there is no entry.
[[nodiscard]] bool ReadUninstallProgram(CString& programPath);
