#pragma once
// Test windows get their messages the way the program's loop hands them on:
// keys reach controls only through pre-translation, walked from `root`.
#include "platform/mfc/afxwin.h"

namespace testsupport {

// Dispatches this thread's messages for `ms` milliseconds.
inline void PumpFor(HWND root, DWORD ms)
{
    const DWORD end = ::GetTickCount() + ms;
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.hwnd && CWnd::WalkPreTranslateTree(root, &msg))
                continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (static_cast<int>(end - ::GetTickCount()) <= 0)
            break;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

} // namespace testsupport
