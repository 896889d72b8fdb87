#pragma once
// Installer routines kept for the application's use; the setup itself does
// not call them.
#include "platform/mfc/afx.h"

// A new empty file in the temporary folder named with `prefix`; empty on
// any failure.
CString GetTempFilePath(LPCWSTR prefix);
// Whether the user's startup folder holds a link to the running program.
[[nodiscard]] bool FindStartupShortcut();
// Calls the library's own "DllRegisterServer" (or "DllUnregisterServer");
// the library stays loaded.
void CallDllRegistration(LPCWSTR libraryPath, bool registerIt);
// Starts the program with "/RegServer" (or "/UnregServer"), hidden, and
// waits for it to end. False when it could not be started.
[[nodiscard]] bool RunSelfRegistration(LPCWSTR programPath, bool registerIt);
