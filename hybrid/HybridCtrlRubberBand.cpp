// CHybridCtrl's rubber band: its rectangle, drawing it by inversion, ending
// its tracking, and auto-scrolling while it is dragged past the cell area.
#include "hybrid/HybridCtrl.h"
#include <algorithm>

void CHybridCtrl::GetRubberBandRect(CRect* out)
{
    if (!out)
        return;
    *out = m_rubberBand.rect;
    out->NormalizeRect();
}

void CHybridCtrl::ToggleRubberBand()
{
    m_rubberBand.drawn = !m_rubberBand.drawn;
    if (!GetSafeHwnd())
        return;
    CClientDC dc(this);
    CRect band = m_rubberBand.rect;
    band.NormalizeRect();
    band.OffsetRect(0, -GetScrollPos());
    dc.SetBkColor(RGB(0, 0, 0));
    dc.SetTextColor(RGB(255, 255, 255));
    if (band.Width() != 0 || band.Height() != 0)
        dc.DrawFocusRect(&band);
}

void CHybridCtrl::ResetMouseState()
{
    m_rubberBand.cell = nullptr;
    if (m_rubberBand.drawn)
        ToggleRubberBand();
    if (m_rubberBand.tracking) {
        m_rubberBand.tracking = false;
        if (::GetCapture() == GetSafeHwnd())
            ::ReleaseCapture();
    }
    if (GetSafeHwnd())
        ::KillTimer(GetSafeHwnd(), HYBRID_TIMER_AUTOSCROLL);
    m_autoScrollRunning = false;
}

void CHybridCtrl::OnAutoScrollTimer()
{
    POINT cursor;
    ::GetCursorPos(&cursor);
    ScreenToClient(&cursor);
    CRect area;
    GetCellAreaRect(&area);
    const int h = area.Height(), scroll = GetScrollPos();
    if (cursor.y > h) {
        SetScrollPos(std::min(scroll + static_cast<int>(cursor.y), m_contentHeight) - h, true);
    } else if (cursor.y < 0) {
        SetScrollPos(std::max(scroll + static_cast<int>(cursor.y), 0), true);
    } else {
        ::KillTimer(GetSafeHwnd(), HYBRID_TIMER_AUTOSCROLL);
        m_autoScrollRunning = false;
    }
}
