// CHybridCtrl's timers: numbered timers lent to contents, and dispatch of
// WM_TIMER to them or to the control's own hover and auto-scroll timers.
#include "hybrid/HybridCtrl.h"

UINT_PTR CHybridCtrl::SetTimerCallback(UINT elapse, ITimerCallback* callback)
{
    if (!callback || !GetSafeHwnd())
        return static_cast<UINT_PTR>(-1);
    INT_PTR id = 0;
    while (id < m_timers.GetSize() && m_timers.GetAt(id))
        ++id;
    m_timers.SetAtGrow(id, callback);
    ::SetTimer(GetSafeHwnd(), static_cast<UINT_PTR>(id), elapse, nullptr);
    return static_cast<UINT_PTR>(id);
}

void CHybridCtrl::KillTimerCallback(UINT_PTR id)
{
    if (id >= static_cast<UINT_PTR>(m_timers.GetSize()) || !m_timers.GetAt(static_cast<INT_PTR>(id)))
        return;
    if (GetSafeHwnd())
        ::KillTimer(GetSafeHwnd(), id);
    m_timers.SetAt(static_cast<INT_PTR>(id), nullptr);
}

void CHybridCtrl::KillTimersOf(IUnknown* object)
{
    if (!object)
        return;
    for (INT_PTR i = 0; i < m_timers.GetSize(); ++i)
        if (m_timers.GetAt(i) && IsSameObject(m_timers.GetAt(i), object))
            KillTimerCallback(static_cast<UINT_PTR>(i));
}

void CHybridCtrl::OnTimer(UINT_PTR id)
{
    if (id == HYBRID_TIMER_HOVER) {
        OnHoverTimer();
        return;
    }
    if (id == HYBRID_TIMER_AUTOSCROLL) {
        OnAutoScrollTimer();
        return;
    }
    if (id == HYBRID_TIMER_RELAYOUT) {
        OnTrailingRelayout();
        return;
    }
    if (id >= static_cast<UINT_PTR>(m_timers.GetSize()))
        return;
    // Held for the call: the callback may kill its own timer.
    CIPtr<ITimerCallback> callback(m_timers.GetAt(static_cast<INT_PTR>(id)));
    if (callback)
        callback->OnTimer(id);
}
