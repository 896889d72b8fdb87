#pragma once
// Test windows get their messages the way the program's loop hands them on:
// keys reach controls only through pre-translation, walked from `root`.
#include <functional>
#include <map>
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

// Acts from inside a modal loop (a popup menu's, a dialog's) that this
// thread enters while the case pumps, whenever that comes: a thread timer,
// which the modal loop dispatches too, asks `ready` every `periodMs` and
// runs `act` the first time it holds. From `boundMs` after the watch began
// on, every tick runs `giveUp` instead, which must end whatever modal loop
// is up: no loop outlives the bound, not even one that came up after it.
// The timer ends with the watch; nested pumping in `act` or `giveUp` skips
// the ticks that come meanwhile.
class CModalWatch
{
public:
    CModalWatch(std::function<bool()> ready, std::function<void()> act, std::function<void()> giveUp,
                DWORD boundMs = 20000, UINT periodMs = 20)
        : m_ready(std::move(ready)), m_act(std::move(act)), m_giveUp(std::move(giveUp)), m_bound(boundMs),
          m_start(::GetTickCount())
    {
        m_timer = ::SetTimer(nullptr, 0, periodMs, &CModalWatch::Tick);
        if (m_timer)
            Watches()[m_timer] = this;
    }
    ~CModalWatch()
    {
        if (m_timer) {
            ::KillTimer(nullptr, m_timer);
            Watches().erase(m_timer);
        }
    }
    CModalWatch(const CModalWatch&) = delete;
    CModalWatch& operator=(const CModalWatch&) = delete;

    bool Acted() const { return m_acted; }
    bool GaveUp() const { return m_gaveUp; }

private:
    static std::map<UINT_PTR, CModalWatch*>& Watches()
    {
        static std::map<UINT_PTR, CModalWatch*> watches;
        return watches;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD)
    {
        const auto it = Watches().find(id);
        if (it == Watches().end() || it->second->m_busy)
            return;
        CModalWatch& watch = *it->second;
        watch.m_busy = true;
        if (::GetTickCount() - watch.m_start >= watch.m_bound) {
            watch.m_gaveUp = true;
            watch.m_giveUp();
        } else if (!watch.m_acted && watch.m_ready()) {
            watch.m_acted = true;
            watch.m_act();
        }
        watch.m_busy = false;
    }

    std::function<bool()> m_ready;
    std::function<void()> m_act, m_giveUp;
    DWORD m_bound, m_start;
    UINT_PTR m_timer = 0;
    bool m_acted = false, m_gaveUp = false, m_busy = false;
};

} // namespace testsupport
