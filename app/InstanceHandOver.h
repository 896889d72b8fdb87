#pragma once
// Handing start-up over to a program instance that already runs. The test
// for a running instance always answers no, so start-up never reaches it.
#include <windows.h>

// Brings the first top-level window whose title begins with `prefix` to
// the foreground, restoring it first unless it is maximised. The window
// found, or null.
HWND ActivateWindowByTitlePrefix(LPCWSTR prefix);

// True when another instance runs: its window (if any) was brought to the
// front, and start-up must end by returning FALSE from InitInstance, so no
// process without a window stays behind.
[[nodiscard]] bool HandOverToRunningInstance();
