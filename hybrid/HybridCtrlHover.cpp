// CHybridCtrl's hover cell, mouse cursor and tooltip.
#include "hybrid/HybridCtrl.h"
#include <commctrl.h>
#include "hybrid/HybridResources.h"

namespace {

const UINT kToolId = 39002;

} // namespace

void CHybridCtrl::SetHoverCell(IHybridCell* cell, CPoint point, bool)
{
    CIPtr<IHybridCell> old(m_hoverCell);
    const bool changed = !IsSameObject(old, cell);
    if (changed && old) {
        if (CIPtr<IHybridContent> content = old->GetContentPtr())
            content->OnMouseLeave();
        old->Notify(HN_MOUSE_LEAVE, old);
    }
    m_hoverCell = cell;
    if (!cell)
        return;
    CIPtr<IHybridContent> content(cell->GetContentPtr());
    if (content && content->IsEnabled()) {
        if (changed)
            content->OnMouseEnter();
        content->OnMouseMove(point);
    }
    if (changed)
        cell->Notify(HN_MOUSE_ENTER, cell);
}

void CHybridCtrl::OnHoverTimer()
{
    if (::GetCapture() == GetSafeHwnd())
        return;
    POINT cursor;
    ::GetCursorPos(&cursor);
    CRect area;
    GetCellAreaRect(&area);
    ClientToScreen(&area);
    if (area.PtInRect(cursor))
        return;
    ::KillTimer(GetSafeHwnd(), HYBRID_TIMER_HOVER);
    m_hoverTimerRunning = false;
    if (CIPtr<IHybridCell> hover = m_hoverCell) {
        if (CIPtr<IHybridContent> content = hover->GetContentPtr())
            content->OnMouseLeave();
        hover->Notify(HN_MOUSE_LEAVE, hover);
        m_hoverCell = nullptr;
    }
}

void CHybridCtrl::UpdateCursorAndToolTip()
{
    POINT point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    HCURSOR cursor = nullptr;
    if (!m_dragging) {
        CIPtr<IHybridCell> hover(m_hoverCell);
        if (hover && hover->GetCtrl()) {
            CRect rect;
            hover->GetRect(&rect);
            LPCTSTR text = reinterpret_cast<LPCTSTR>(hover->Notify(HN_TOOLTIP, hover));
            CIPtr<IHybridContent> content(hover->GetContentPtr());
            if (content && content->IsEnabled()) {
                if (HCURSOR own = content->GetCursor(CPoint(point)))
                    cursor = own;
                LPCTSTR own = content->GetToolTipText();
                if (own && *own)
                    text = own;
            }
            if (m_toolTip.GetSafeHwnd())
                UpdateToolTipTool(text, rect);
        } else {
            m_hoverCell = nullptr;
        }
    } else if (m_dropAnswer == 0) {
        cursor = ::LoadCursorW(nullptr, IDC_NO);
    } else if (m_dropAnswer == 2) {
        cursor = ::LoadCursorW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HYBRID_DROP));
    }
    if (cursor != m_cursor) {
        m_cursor = cursor;
        SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(GetSafeHwnd()), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    }
}

BOOL CHybridCtrl::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    if (m_cursorFrozen)
        return CWnd::OnSetCursor(wnd, hitTest, message);
    if (m_scroll.bar.GetSafeHwnd() && m_scroll.shown) {
        POINT cursor;
        ::GetCursorPos(&cursor);
        CRect bar;
        m_scroll.bar.GetWindowRect(&bar);
        if (bar.PtInRect(cursor))
            return CWnd::OnSetCursor(wnd, hitTest, message);
    }
    if (!m_cursor)
        m_cursor = ::LoadCursorW(nullptr, IDC_ARROW);
    ::SetCursor(m_cursor);
    return TRUE;
}

void CHybridCtrl::UpdateToolTipTool(LPCTSTR text, const CRect& rect)
{
    const CString wanted = text ? text : L"";
    TOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = GetSafeHwnd();
    info.uId = kToolId;
    info.rect = rect;
    info.lpszText = const_cast<LPWSTR>(static_cast<LPCWSTR>(wanted));
    if (wanted.IsEmpty()) {
        if (m_toolAdded)
            m_toolTip.SendMessage(TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
        m_toolAdded = false;
        m_toolText.Empty();
    } else if (!m_toolAdded) {
        m_toolAdded = m_toolTip.SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info)) != 0;
        m_toolText = wanted;
        m_toolRect = rect;
    } else {
        if (rect != m_toolRect) {
            m_toolTip.SendMessage(TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&info));
            m_toolRect = rect;
        }
        if (wanted != m_toolText) {
            m_toolTip.SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
            m_toolText = wanted;
        }
    }
    m_toolTip.Activate(!wanted.IsEmpty());
}

void CHybridCtrl::PopToolTip()
{
    if (m_toolTip.GetSafeHwnd())
        m_toolTip.SendMessage(TTM_POP, 0, 0);
}
