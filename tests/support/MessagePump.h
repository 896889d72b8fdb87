#pragma once
// Test windows get their messages the way the program's loop hands them on:
// keys reach controls only through pre-translation, walked from `root`.
#include <functional>
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

// Pumps through the class library's pump until `done` holds (true) or the
// time is up (false). A waiting WM_QUIT stops it (false) and is left for the
// test to see. With `onIdle`, an empty queue first calls it with the idle
// count, as the program's loop does; it waits only when that answers false.
inline bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs,
                      const std::function<bool(LONG)>& onIdle = nullptr)
{
    const DWORD start = ::GetTickCount();
    LONG idle = 0;
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        MSG peek;
        if (::PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
            if (peek.message == WM_QUIT)
                return false;
            if (!AfxPumpMessage())
                return false;
            idle = 0;
        } else if (!onIdle || !onIdle(idle++)) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }
    return true;
}

// Removes the quit messages waiting in this thread's queue; their count.
inline int DrainQuits()
{
    int n = 0;
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        ++n;
    return n;
}

} // namespace testsupport
