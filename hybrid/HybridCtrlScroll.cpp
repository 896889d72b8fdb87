// CHybridCtrl's scrolling: the vertical scroll bar's visibility and range,
// the scroll position, scroll-bar messages and scrolling a cell into view.
#include "hybrid/HybridCtrl.h"
#include <algorithm>

void CHybridCtrl::UpdateScrollBar()
{
    if (!m_scroll.bar.GetSafeHwnd())
        return;
    CRect area;
    GetCellAreaRect(&area);
    const int overflow = m_contentHeight - area.Height();
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    ::GetScrollInfo(m_scroll.bar.GetSafeHwnd(), SB_CTL, &si);
    const bool shown = (m_scroll.alwaysShow || overflow >= 1) && m_scroll.show;
    const bool changed = shown != m_scroll.shown;
    m_scroll.shown = shown;
    m_scroll.bar.ShowWindow(shown ? SW_SHOW : SW_HIDE);
    if (!shown || overflow > 0) {
        m_scroll.bar.EnableWindow(shown);
        si.fMask = SIF_RANGE | SIF_PAGE;
        si.nMin = 0;
        si.nMax = shown ? m_contentHeight : 0;
        si.nPage = shown ? static_cast<UINT>(area.Height()) : 0;
        ::SetScrollInfo(m_scroll.bar.GetSafeHwnd(), SB_CTL, &si, TRUE);
        m_scrollPos = -1;
        GetScrollPos();
    } else {
        if (m_scrollPos != 0 || ::GetScrollPos(m_scroll.bar.GetSafeHwnd(), SB_CTL) != 0) {
            m_scrollPos = 0;
            ::SetScrollPos(m_scroll.bar.GetSafeHwnd(), SB_CTL, 0, TRUE);
        }
        // Shown but with nothing to scroll: an empty range, so that no
        // position request (wheel, keys, scroll into view) moves the
        // content off its place by a range left from earlier overflow.
        si.fMask = SIF_RANGE | SIF_PAGE;
        si.nMin = si.nMax = 0;
        si.nPage = 0;
        ::SetScrollInfo(m_scroll.bar.GetSafeHwnd(), SB_CTL, &si, TRUE);
        m_scroll.bar.EnableWindow(FALSE);
    }
    if (changed) {
        // The cell area's width changed with the scroll bar.
        UpdateLayout(false);
    } else {
        InvalidateAll(false);
        m_scroll.bar.Invalidate();
    }
}

int CHybridCtrl::GetScrollPos()
{
    if (m_scrollPos == -1)
        m_scrollPos = m_scroll.bar.GetSafeHwnd() ? ::GetScrollPos(m_scroll.bar.GetSafeHwnd(), SB_CTL) : 0;
    return m_scrollPos;
}

bool CHybridCtrl::SetScrollPos(int pos, bool redraw)
{
    HWND bar = m_scroll.bar.GetSafeHwnd();
    if (!bar)
        return false;
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    ::GetScrollInfo(bar, SB_CTL, &si);
    if (si.nMin == 0 && si.nMax == 0)
        return false;
    const int limit = si.nPage > 0 ? si.nMax - static_cast<int>(si.nPage) + 1 : si.nMax;
    pos = std::max(0, std::min(pos, std::max(limit, 0)));
    const int old = GetScrollPos();
    if (pos == old)
        return false;
    CRect area;
    GetCellAreaRect(&area);
    ScrollWindow(0, -(pos - old), &area, nullptr);
    ::SetScrollPos(bar, SB_CTL, pos, redraw);
    m_scrollPos = -1;
    POINT cursor;
    if (::GetCursorPos(&cursor))
        ::SetCursorPos(cursor.x, cursor.y);
    RequestImplantedUpdate();
    return true;
}

void CHybridCtrl::OnVScroll(UINT code)
{
    int pos = GetScrollPos();
    switch (code) {
    case SB_LINEUP: pos -= m_lineStep; break;
    case SB_LINEDOWN: pos += m_lineStep; break;
    // A page click moves by the content height less one, so that it
    // reaches the end of the range.
    case SB_PAGEUP: pos -= m_contentHeight - 1; break;
    case SB_PAGEDOWN: pos += m_contentHeight - 1; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        SCROLLINFO si{};
        si.cbSize = sizeof(si);
        si.fMask = SIF_ALL | SIF_TRACKPOS;
        ::GetScrollInfo(m_scroll.bar.GetSafeHwnd(), SB_CTL, &si);
        pos = si.nTrackPos;
        break;
    }
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = m_contentHeight - 1; break;
    default: break;
    }
    if (pos != -1)
        SetScrollPos(pos, true);
}

void CHybridCtrl::ScrollCellIntoView(IHybridCell* cell)
{
    CRect area, rect;
    GetCellAreaRect(&area);
    cell->GetRect(&rect);
    const int scroll = GetScrollPos();
    if (rect.bottom > area.bottom)
        SetScrollPos(rect.bottom + scroll - area.Height(), true);
    else if (rect.top < area.top)
        SetScrollPos(rect.top + scroll, true);
}

void CHybridCtrl::EnsureVisible(IHybridCell* cell)
{
    if (!cell || !GetSafeHwnd())
        return;
    // The message carries a reference of its own, released by its handler
    // (or by OnDestroy when the window goes first).
    CIPtr<IHybridCell> carried(cell);
    if (PostMessage(WM_HYBRID_ENSUREVISIBLE, reinterpret_cast<WPARAM>(carried.Get()), 0))
        carried.Detach();
}
