// The input side of CHybridCtrl: mouse, wheel, hover, rubber band, drag,
// capture on behalf of a cell, cursor and tooltip, keyboard and focus.
#include "hybrid/HybridCtrl.h"
#include <algorithm>
#include <climits>
#include <commctrl.h>
#include "common/DrawRoutines.h"

namespace {

const UINT kToolId = 39002;
const UINT kDropCursorId = 6003;

DWORD LowBits(IHybridCell* cell) { return static_cast<DWORD>(cell->GetStyleBits()); }

CIPtr<IHybridCell> ParentOf(IHybridCell* cell)
{
    CIPtr<IHybridCell> parent;
    if (cell)
        cell->GetParentCell(&parent);
    return parent;
}

} // namespace

bool CHybridCtrl::HitTest(CPoint point, IHybridCell** out)
{
    CIPtr<IHybridSubContent> root(m_rootSub);
    return root && root->HitTest(point, out);
}

bool CHybridCtrl::TargetCell(CPoint point, IHybridCell** out)
{
    CIPtr<IHybridCell> cell;
    HitTest(point, &cell);
    while (cell && (!cell->IsEnabled() || (LowBits(cell) & HCB_NOHIT)))
        cell = ParentOf(cell).Get();
    return ReturnInterface(cell, out);
}

void CHybridCtrl::SetCaptureCell(IHybridCell* cell)
{
    m_captureCell = cell;
    SetCapture();
}

void CHybridCtrl::ReleaseCaptureCell(IHybridCell* cell)
{
    if (!cell || !IsSameObject(cell, m_captureCell))
        return;
    m_captureCell = nullptr;
    ::ReleaseCapture();
}

bool CHybridCtrl::IsCaptureCell(IHybridCell* cell)
{
    return cell && IsSameObject(cell, m_captureCell);
}

void CHybridCtrl::GetRubberBandRect(CRect* out)
{
    if (!out)
        return;
    *out = m_rubberBand;
    out->NormalizeRect();
}

void CHybridCtrl::ToggleRubberBand()
{
    m_rubberBandDrawn = !m_rubberBandDrawn;
    if (!GetSafeHwnd())
        return;
    CClientDC dc(this);
    CRect band = m_rubberBand;
    band.NormalizeRect();
    band.OffsetRect(0, -GetScrollPos());
    dc.SetBkColor(RGB(0, 0, 0));
    dc.SetTextColor(RGB(255, 255, 255));
    if (band.Width() != 0 || band.Height() != 0)
        dc.DrawFocusRect(&band);
}

void CHybridCtrl::OnLButtonDown(UINT flags, CPoint point)
{
    OnMouseButtonDown(flags, point, true);
    CWnd::OnLButtonDown(flags, point);
}

void CHybridCtrl::OnRButtonDown(UINT flags, CPoint point)
{
    OnMouseButtonDown(flags, point, false);
}

void CHybridCtrl::OnMouseButtonDown(UINT flags, CPoint point, bool left)
{
    m_pressPoint = point;
    SetFocus();
    const bool ctrl = (flags & MK_CONTROL) != 0, shift = (flags & MK_SHIFT) != 0;
    CIPtr<IHybridCell> hit, selectable;
    HitTest(point, &hit);
    if (hit)
        hit->GetItemCell(&selectable);
    bool isSelectable = selectable != nullptr;
    UpdateCursorAndToolTip();
    CIPtr<IHybridCell> previousCurrent(m_currentCell);

    // Offer the press to the contents, upwards through style bit 2.
    bool consumed = false;
    for (CIPtr<IHybridCell> cell(hit); cell; cell = ParentOf(cell).Get()) {
        CIPtr<IHybridContent> content(cell->GetContentPtr());
        if (!content || !content->IsEnabled())
            break;
        if (left) {
            consumed = content->OnLButtonDown(point);
        } else {
            bool maySelect = true;
            consumed = content->OnRButtonDown(point, &maySelect);
            if (!maySelect)
                isSelectable = false;
        }
        if (consumed || !(LowBits(cell) & HCB_TRANSPARENT))
            break;
    }

    if (isSelectable) {
        if (!ctrl && !shift && !selectable->IsSelected())
            ClearSelection(0, true);
        selectable->SetSelected(!(ctrl && selectable->IsSelected()), true);
        SetActiveCell(selectable, false, true);
    } else if (!consumed && ::GetCapture() == nullptr && !m_singleSelect) {
        // A press on empty space starts a rubber band.
        const int y = point.y + GetScrollPos();
        m_rubberBand.SetRect(point.x, y, point.x, y);
        m_rubberBandTracking = true;
        ToggleRubberBand();
        SetCapture();
        HitTest(point, &m_rubberBandCell);
        if (m_rubberBandCell && m_rubberBandCell->Notify(HN_RUBBERBAND_START, m_rubberBandCell) == 0)
            m_rubberBandCell = nullptr;
    }

    if (isSelectable) {
        if (shift && previousCurrent) {
            CRect target, from;
            selectable->GetRect(&target);
            previousCurrent->GetRect(&from);
            const bool above = target.top < from.top || (target.top == from.top && target.left < from.left);
            for (CIPtr<IHybridCell> cell(previousCurrent); cell;
                 cell = above ? PrevItemCell(cell) : NextCell(cell)) {
                cell->SetSelected(true, true);
                if (IsSameObject(cell, selectable))
                    break;
            }
        }
        SetActiveCell(selectable, true, true);
        if (HWND parent = ::GetParent(GetSafeHwnd()))
            ::PostMessageW(parent, WM_HYBRID_ITEMPRESSED, static_cast<WPARAM>(selectable->GetData()), 0);
        if (m_dragEnabled)
            SetCapture();
    }

    if (!consumed)
        NotifyParent(left ? HN_LBUTTONDOWN_EMPTY : HN_RBUTTONDOWN_EMPTY, nullptr);
    SetActiveCell(hit, true, true);
    NotifyParent(left ? HN_LBUTTONDOWN : HN_RBUTTONDOWN, hit);
}

void CHybridCtrl::ResetMouseState()
{
    m_rubberBandCell = nullptr;
    if (m_rubberBandDrawn)
        ToggleRubberBand();
    if (m_rubberBandTracking) {
        m_rubberBandTracking = false;
        if (::GetCapture() == GetSafeHwnd())
            ::ReleaseCapture();
    }
    if (GetSafeHwnd())
        ::KillTimer(GetSafeHwnd(), HYBRID_TIMER_AUTOSCROLL);
    m_autoScrollRunning = false;
}

bool CHybridCtrl::EndDrag()
{
    if (!m_dragging)
        return false;
    if (::GetCapture() == GetSafeHwnd())
        ::ReleaseCapture();
    m_dragging = false;
    NotifyParent(HN_DRAG_END, nullptr);
    UpdateCursorAndToolTip();
    return true;
}

void CHybridCtrl::OnLButtonUp(UINT flags, CPoint point)
{
    const bool wasTracking = m_rubberBandTracking;
    ResetMouseState();
    CIPtr<IHybridCell> target;
    if (m_captureCell && ::GetCapture() == GetSafeHwnd())
        target = m_captureCell;
    else
        TargetCell(point, &target);
    if (target)
        if (CIPtr<IHybridContent> content = target->GetContentPtr())
            content->OnLButtonUp(point);
    if (EndDrag())
        return;
    // The capture taken for a possible drag ends with the button.
    if (!m_captureCell && ::GetCapture() == GetSafeHwnd())
        ::ReleaseCapture();
    const bool plain = !(flags & (MK_CONTROL | MK_SHIFT)) && !wasTracking && !m_hoverSelect;
    if (plain) {
        CIPtr<IHybridCell> current(m_currentCell);
        if (current)
            current->LockSelection(true);
        ClearSelection(0, true);
        if (current)
            current->LockSelection(false);
    }
    UpdateCursorAndToolTip();
    NotifyParent(HN_LBUTTONUP, nullptr);
}

void CHybridCtrl::OnRButtonUp(UINT, CPoint point)
{
    ResetMouseState();
    UpdateCursorAndToolTip();
    CIPtr<IHybridCell> hit;
    HitTest(point, &hit);
    bool consumed = false;
    if (hit)
        if (CIPtr<IHybridContent> content = hit->GetContentPtr())
            consumed = content->OnRButtonUp(point);
    EndDrag();
    if (!consumed) {
        if (hit)
            hit->Notify(HN_RBUTTONUP_CELL, hit);
        else
            NotifyParent(HN_RBUTTONUP_CELL, nullptr);
        NotifyParent(HN_RBUTTONUP, nullptr);
    }
}

void CHybridCtrl::OnLButtonDblClk(UINT, CPoint point)
{
    if (::GetCapture() == GetSafeHwnd())
        ::ReleaseCapture();
    m_dragging = false;
    CIPtr<IHybridCell> hit;
    HitTest(point, &hit);
    if (!hit)
        return;
    if (CIPtr<IHybridContent> content = hit->GetContentPtr())
        if (content->OnLButtonDblClk(point))
            return;
    hit->Notify(HN_DBLCLK, hit);
}

BOOL CHybridCtrl::OnMouseWheel(UINT, short delta, CPoint point)
{
    if (m_rubberBandTracking)
        return FALSE;
    ScreenToClient(&point);
    CIPtr<IHybridCell> hit;
    HitTest(point, &hit);
    for (CIPtr<IHybridCell> cell(hit); cell; cell = ParentOf(cell).Get()) {
        CIPtr<IHybridContent> content(cell->GetContentPtr());
        if (!content || !content->IsEnabled())
            break;
        if (content->OnMouseWheel(delta))
            return TRUE;
        if (!(LowBits(cell) & HCB_TRANSPARENT))
            break;
    }
    UINT lines = 0;
    if (!::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0))
        lines = 3;
    // One notch scrolls lines x 20 pixels; "one screen at a time"
    // (WHEEL_PAGESCROLL, all bits set) scrolls the cell area's height.
    int notch = static_cast<int>(lines) * 20;
    if (lines == WHEEL_PAGESCROLL) {
        CRect area;
        GetCellAreaRect(&area);
        notch = area.Height();
    }
    int pos = GetScrollPos() - (delta / 120) * notch;
    pos = std::max(0, std::min(pos, m_contentHeight - 1));
    return SetScrollPos(pos, true) ? TRUE : FALSE;
}

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

void CHybridCtrl::OnMouseMove(UINT flags, CPoint point)
{
    const bool captured = ::GetCapture() == GetSafeHwnd();
    if (captured) {
        if (!m_dragging) {
            if (m_dragEnabled && m_currentCell && m_currentCell->IsSelected() && !m_rubberBandTracking &&
                (abs(point.x - m_pressPoint.x) > 3 || abs(point.y - m_pressPoint.y) > 3)) {
                m_dragging = true;
                NotifyParent(HN_DRAG_START, nullptr);
            }
        } else {
            m_dropAnswer = NotifyParent(HN_DRAG_MOVE, nullptr);
        }
    } else if (!m_hoverTimerRunning) {
        ::SetTimer(GetSafeHwnd(), HYBRID_TIMER_HOVER, 100, nullptr);
        m_hoverTimerRunning = true;
    }

    if (m_rubberBandTracking) {
        if (m_rubberBandDrawn)
            ToggleRubberBand();
        CRect area;
        GetCellAreaRect(&area);
        const int x = std::max(static_cast<int>(area.left), std::min(static_cast<int>(point.x), static_cast<int>(area.right)));
        if ((point.y < 0 || point.y > area.Height()) && !m_autoScrollRunning) {
            ::SetTimer(GetSafeHwnd(), HYBRID_TIMER_AUTOSCROLL, 50, nullptr);
            PostMessage(WM_TIMER, HYBRID_TIMER_AUTOSCROLL, 0);
            m_autoScrollRunning = true;
        }
        m_rubberBand.right = x;
        m_rubberBand.bottom = point.y + GetScrollPos();
        CRect band = m_rubberBand;
        band.NormalizeRect();
        if (band.Width() > 4 || band.Height() > 4) {
            if (CIPtr<IHybridCell> bandCell = m_rubberBandCell)
                bandCell->Notify(HN_RUBBERBAND_CHANGED, bandCell);
            else if (CIPtr<IHybridSubContent> root = m_rootSub)
                root->SelectInRect(&band);
        }
        ToggleRubberBand();
    } else {
        if (m_hoverSelect) {
            CIPtr<IHybridCell> hit, item;
            HitTest(point, &hit);
            if (hit)
                hit->GetItemCell(&item);
            if (!item) {
                ClearSelection(0, true);
            } else if (!item->IsSelected()) {
                ClearSelection(0, true);
                item->SetSelected(true, true);
                item->Notify(HN_HOVER_SELECT, item);
            }
        }
        CIPtr<IHybridCell> hover;
        if (m_captureCell && captured)
            hover = m_captureCell;
        else
            TargetCell(point, &hover);
        SetHoverCell(hover, point, true);
    }
    UpdateCursorAndToolTip();
    (void)flags;
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
            if (m_toolTip.GetSafeHwnd()) {
                TOOLINFOW info{};
                info.cbSize = TTTOOLINFOW_V2_SIZE;
                info.hwnd = GetSafeHwnd();
                info.uId = kToolId;
                if (!text || !*text) {
                    m_toolTip.SendMessage(TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
                } else {
                    m_toolTip.SendMessage(TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&info));
                    info.uFlags = 0;
                    info.rect = rect;
                    info.lpszText = const_cast<LPWSTR>(text);
                    m_toolTip.SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
                }
                m_toolTip.Activate(text && *text);
            }
        } else {
            m_hoverCell = nullptr;
        }
    } else if (m_dropAnswer == 0) {
        cursor = ::LoadCursorW(nullptr, IDC_NO);
    } else if (m_dropAnswer == 2) {
        cursor = ::LoadCursorW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kDropCursorId));
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
    if (m_scrollBar.GetSafeHwnd() && m_scrollBarShown) {
        POINT cursor;
        ::GetCursorPos(&cursor);
        CRect bar;
        m_scrollBar.GetWindowRect(&bar);
        if (bar.PtInRect(cursor))
            return CWnd::OnSetCursor(wnd, hitTest, message);
    }
    if (!m_cursor)
        m_cursor = ::LoadCursorW(nullptr, IDC_ARROW);
    ::SetCursor(m_cursor);
    return TRUE;
}

// Keyboard

int CHybridCtrl::IndexOfCell(CCellArray& cells, IHybridCell* cell)
{
    for (int i = 0; i < cells.GetSize(); ++i)
        if (IsSameObject(cells.GetAt(i), cell))
            return i;
    return -1;
}

IHybridCell* CHybridCtrl::PrevItemCell(IHybridCell* cell)
{
    if (!cell)
        return nullptr;
    IHybridCell* prev = cell->GetPrev();
    return prev && (LowBits(prev) & HCB_ITEM) ? prev : nullptr;
}

IHybridCell* CHybridCtrl::NextCell(IHybridCell* cell)
{
    return cell ? cell->GetNext() : nullptr;
}

IHybridCell* CHybridCtrl::FindNeighbourCell(UINT virtualKey)
{
    CIPtr<IHybridCell> current(m_currentCell);
    if (!current)
        return nullptr;
    CIPtr<IHybridCell> parent = ParentOf(current);
    CIPtr<IHybridSubContent> sub;
    if (parent && parent->GetSubContent(&sub) && sub)
        if (IHybridCell* neighbour = sub->GetNeighbour(current, virtualKey))
            return neighbour;
    CRect from;
    current->GetRect(&from);
    const CPoint c0 = from.CenterPoint();
    CCellArray cells;
    CCellCollector collector(cells);
    EnumCells(collector, HCE_ITEMS);
    IHybridCell* best = nullptr;
    long long bestScore = INT_MAX;
    for (int i = 0; i < cells.GetSize(); ++i) {
        IHybridCell* cell = cells.GetAt(i);
        if (!cell)
            break;
        CRect rect;
        cell->GetRect(&rect);
        const CPoint c = rect.CenterPoint();
        const long long dx = c.x - c0.x, dy = c.y - c0.y;
        long long score = INT_MAX;
        switch (virtualKey) {
        case VK_LEFT: if (dx < 0) score = 10 * llabs(dy) + llabs(dx); break;
        case VK_UP: if (dy < 0) score = 10 * llabs(dx) + llabs(dy); break;
        case VK_RIGHT: if (dx > 0) score = 10 * llabs(dy) + llabs(dx); break;
        case VK_DOWN: if (dy > 0) score = 10 * llabs(dx) + llabs(dy); break;
        default: break;
        }
        if (score < bestScore) {
            bestScore = score;
            best = cell;
        }
    }
    // The answer stays alive in the tree after the local list goes.
    return best;
}

BOOL CHybridCtrl::PreTranslateMessage(MSG* msg)
{
    if (msg->message == WM_KEYDOWN || msg->message == WM_SYSKEYDOWN) {
        const bool shift = ::GetKeyState(VK_SHIFT) < 0, ctrl = ::GetKeyState(VK_CONTROL) < 0;
        const UINT key = static_cast<UINT>(msg->wParam);
        const UINT keyData = static_cast<UINT>(msg->lParam);
        // 1. A cell holding the mouse capture gets the key first.
        if (m_captureCell && ::GetCapture() == GetSafeHwnd()) {
            CIPtr<IHybridContent> content(m_captureCell->GetContentPtr());
            if (content && content->IsEnabled() && content->OnKeyDown(key, keyData))
                return TRUE;
        }
        // 2. Tab cycles through the focusable cells, then leaves the control.
        if (key == VK_TAB && !ctrl) {
            CCellArray cells;
            CCellCollector collector(cells);
            EnumCells(collector, HCE_FOCUSABLE);
            int index = 0;
            if (m_focusCell)
                index = IndexOfCell(cells, m_focusCell) + (shift ? -1 : 1);
            if (index >= 0 && index < cells.GetSize()) {
                SetActiveCell(cells.GetAt(index), true, false);
                EnsureVisible(cells.GetAt(index));
            } else {
                SetActiveCell(nullptr, true, false);
                HWND next = GetSafeHwnd();
                while ((next = ::GetWindow(next, shift ? GW_HWNDPREV : GW_HWNDNEXT)) != nullptr)
                    if (::GetWindowLongW(next, GWL_STYLE) & WS_TABSTOP)
                        break;
                if (next)
                    ::SetFocus(next);
                else
                    OnFocusArrival();
            }
            return TRUE;
        }
        // 3. The focus cell and its ancestors.
        for (CIPtr<IHybridCell> cell(m_focusCell); cell; cell = ParentOf(cell).Get()) {
            CIPtr<IHybridContent> content(cell->GetContentPtr());
            if (content && content->IsEnabled() && content->OnKeyDown(key, keyData))
                return TRUE;
        }
        // 4.-6. Navigation among the item cells.
        if (m_currentCell) {
            if (ctrl)
                return FALSE;
            const bool extend = shift && !m_singleSelect;
            CRect area, from;
            GetCellAreaRect(&area);
            CIPtr<IHybridCell> current(m_currentCell);
            current->GetRect(&from);
            CIPtr<IHybridCell> target(current);
            switch (key) {
            case VK_PRIOR:
            case VK_HOME:
                for (CIPtr<IHybridCell> cell(PrevItemCell(current)); cell; cell = PrevItemCell(cell)) {
                    CRect rect;
                    cell->GetRect(&rect);
                    if (key == VK_PRIOR && from.top - rect.top >= area.Height())
                        break;
                    target = cell;
                    if (extend)
                        cell->SetSelected(true, true);
                }
                if (extend)
                    for (CIPtr<IHybridCell> cell(NextCell(current)); cell; cell = NextCell(cell))
                        cell->SetSelected(false, true);
                break;
            case VK_NEXT:
            case VK_END:
                for (CIPtr<IHybridCell> cell(NextCell(current)); cell; cell = NextCell(cell)) {
                    CRect rect;
                    cell->GetRect(&rect);
                    if (key == VK_NEXT && rect.top - from.top >= area.Height())
                        break;
                    target = cell;
                    if (extend)
                        cell->SetSelected(true, true);
                }
                if (extend)
                    for (CIPtr<IHybridCell> cell(PrevItemCell(current)); cell; cell = PrevItemCell(cell))
                        cell->SetSelected(false, true);
                break;
            case VK_LEFT:
            case VK_UP:
            case VK_RIGHT:
            case VK_DOWN:
                target = FindNeighbourCell(key);
                break;
            default:
                target = nullptr;
                break;
            }
            if (::GetKeyState(VK_MENU) >= 0 && target && (LowBits(target) & HCB_ITEM)) {
                if (!extend)
                    ClearSelection(0, true);
                SetActiveCell(target, false, false);
                target->SetSelected(true, true);
                EnsureVisible(target);
            }
        }
    } else if (msg->message == WM_KEYUP) {
        if (CIPtr<IHybridCell> focus = m_focusCell)
            if (CIPtr<IHybridContent> content = focus->GetContentPtr())
                content->OnKeyUp(static_cast<UINT>(msg->wParam), static_cast<UINT>(msg->lParam));
    }
    // 7. Tooltip relay.
    if (m_toolTip.GetSafeHwnd()) {
        m_toolTip.Activate(TRUE);
        m_toolTip.RelayEvent(msg);
    }
    return CWnd::PreTranslateMessage(msg);
}

// Focus

void CHybridCtrl::OnFocusArrival()
{
    if (m_focusCell) {
        if (CIPtr<IHybridContent> content = m_focusCell->GetContentPtr())
            content->OnActivate(true);
    } else {
        CCellArray cells;
        CCellCollector collector(cells);
        EnumCells(collector, HCE_FOCUSABLE);
        if (cells.GetSize() > 0)
            SetActiveCell(::GetKeyState(VK_SHIFT) < 0 ? cells.GetAt(cells.GetSize() - 1) : cells.GetAt(0), true, false);
    }
    InvalidateSelectedCells();
}

void CHybridCtrl::OnSetFocus(CWnd* oldWnd)
{
    CWnd::OnSetFocus(oldWnd);
    m_hasFocus = true;
    OnFocusArrival();
}

void CHybridCtrl::OnKillFocus(CWnd* newWnd)
{
    CWnd::OnKillFocus(newWnd);
    m_hasFocus = false;
    if (CIPtr<IHybridCell> focus = m_focusCell)
        if (CIPtr<IHybridContent> content = focus->GetContentPtr())
            content->OnActivate(false);
    HWND next = newWnd ? newWnd->GetSafeHwnd() : nullptr;
    if (next && ::GetParent(next) == ::GetParent(GetSafeHwnd()))
        SetActiveCell(nullptr, true, false);
    InvalidateSelectedCells();
}
