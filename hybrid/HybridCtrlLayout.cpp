// CHybridCtrl's layout: coalesced relayout requests (at most one posted at a
// time, throttled when they come too fast), the layout pass over the cell
// tree, the cell area, and placement of implanted child windows over their
// cells after layout or scrolling.
#include "hybrid/HybridCtrl.h"
#include <algorithm>
#include "common/CritSecLock.h"

namespace {

// The rate limit of relayouts: so many per window of so many milliseconds.
const DWORD kLayoutWindowMs = 334;
const int kLayoutsPerWindow = 20;

} // namespace

void CHybridCtrl::UpdateLayout(bool force)
{
    if (!GetSafeHwnd() || !::IsWindow(GetSafeHwnd()))
        return;
    // A pass under way is the layout asked for: what cells measure or
    // percentage columns write while it runs is already in it.
    if (!force && m_layout.layingOut)
        return;
    CCritSecLock lock(&m_layout.lock);
    if (m_layout.pending)
        return;
    if (!force && !AllowLayout()) {
        InvalidateAll(true);
        // The burst may end here: one relayout at the end of the window
        // makes sure the last request is not lost.
        if (!m_layout.trailing) {
            const DWORD elapsed = ::GetTickCount() - m_layout.windowStart;
            const UINT rest = elapsed < kLayoutWindowMs ? kLayoutWindowMs - elapsed : 1;
            m_layout.trailing = SetTimer(HYBRID_TIMER_RELAYOUT, rest, nullptr) != 0;
        }
        return;
    }
    if (PostMessage(WM_HYBRID_RELAYOUT, 0, 0))
        m_layout.pending = true;
}

void CHybridCtrl::OnTrailingRelayout()
{
    KillTimer(HYBRID_TIMER_RELAYOUT);
    m_layout.trailing = false;
    UpdateLayout(false);
}

void CHybridCtrl::RequestLayout(bool now)
{
    if (now)
        UpdateLayout(true);
}

bool CHybridCtrl::AllowLayout()
{
    const DWORD now = ::GetTickCount();
    if (now - m_layout.windowStart >= kLayoutWindowMs) {
        m_layout.requests = 0;
        m_layout.windowStart = now;
        return true;
    }
    if (m_layout.requests < kLayoutsPerWindow) {
        ++m_layout.requests;
        return true;
    }
    return false;
}

void CHybridCtrl::RecalcLayout(bool force)
{
    if (!m_rootCell)
        return;
    CRect area;
    GetCellAreaRect(&area);
    if (area.Width() == 0 && !force)
        return;
    CIPtr<IHybridCell> root(m_rootCell);
    root->SetRect(CRect(0, 0, area.Width(), 0));
    const int saved = GetScrollPos();
    m_scrollPos = 0; // cells lay out in document coordinates
    const bool nested = m_layout.layingOut;
    m_layout.layingOut = true;
    m_contentHeight = root->Layout(true);
    m_layout.layingOut = nested;
    m_scrollPos = saved;
    UpdateScrollBar();
    RequestImplantedUpdate();
}

void CHybridCtrl::GetCellAreaRect(CRect* out)
{
    if (!out)
        return;
    out->SetRectEmpty();
    if (!GetSafeHwnd())
        return;
    GetClientRect(out);
    if (m_scroll.shown)
        out->right = std::max(out->left, out->right - m_scroll.width);
}

// Implanted windows

void CHybridCtrl::AddImplantedWnd(IHybridCell* cell, HWND wnd)
{
    if (!cell || !wnd)
        return;
    SImplantedWnd entry{cell, wnd};
    for (int i = 0; i < m_implanted.GetSize(); ++i)
        if (m_implanted.GetAt(i) && *m_implanted.GetAt(i) == entry)
            return;
    m_implanted.Add(new SImplantedWnd(entry));
    RequestImplantedUpdate();
}

void CHybridCtrl::RemoveImplantedWnd(IHybridCell* cell, HWND wnd)
{
    SImplantedWnd entry{cell, wnd};
    for (int i = 0; i < m_implanted.GetSize(); ++i) {
        if (m_implanted.GetAt(i) && *m_implanted.GetAt(i) == entry) {
            m_implanted.RemoveAt(i);
            return;
        }
    }
}

void CHybridCtrl::RequestImplantedUpdate()
{
    if (m_implantedUpdatePending || !GetSafeHwnd())
        return;
    if (PostMessage(WM_HYBRID_PLACEIMPLANTED, 0, 0))
        m_implantedUpdatePending = true;
}

void CHybridCtrl::PlaceImplantedWnds()
{
    for (int i = 0; i < m_implanted.GetSize(); ++i) {
        SImplantedWnd* entry = m_implanted.GetAt(i);
        if (!entry)
            break;
        if (entry->cell && entry->cell->IsVisible()) {
            CRect rect;
            entry->cell->GetRect(&rect);
            ::ShowWindow(entry->wnd, SW_SHOW);
            ::MoveWindow(entry->wnd, rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
        } else {
            ::ShowWindow(entry->wnd, SW_HIDE);
        }
    }
}
