// CHybridCtrl's mouse input: hit testing, capture on behalf of a cell,
// button presses and releases (selection, rubber band start, drag start and
// end), double clicks, the wheel and mouse moves.
#include "hybrid/HybridCtrl.h"
#include <algorithm>
#include "hybrid/HybridCtrlInternal.h"

using HybridCtrlDetail::LowBits;
using HybridCtrlDetail::ParentOf;

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
        m_rubberBand.rect.SetRect(point.x, y, point.x, y);
        m_rubberBand.tracking = true;
        ToggleRubberBand();
        SetCapture();
        HitTest(point, &m_rubberBand.cell);
        if (m_rubberBand.cell && m_rubberBand.cell->Notify(HN_RUBBERBAND_START, m_rubberBand.cell) == 0)
            m_rubberBand.cell = nullptr;
    }

    if (isSelectable) {
        if (shift && previousCurrent) {
            CRect target, from;
            selectable->GetRect(&target);
            previousCurrent->GetRect(&from);
            const bool above = target.top < from.top || (target.top == from.top && target.left < from.left);
            for (CIPtr<IHybridCell> cell(previousCurrent); cell; cell = above ? PrevItemCell(cell) : NextCell(cell)) {
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
    const bool wasTracking = m_rubberBand.tracking;
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
    if (m_rubberBand.tracking)
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

void CHybridCtrl::OnMouseMove(UINT flags, CPoint point)
{
    const bool captured = ::GetCapture() == GetSafeHwnd();
    if (captured) {
        if (!m_dragging) {
            if (m_dragEnabled && m_currentCell && m_currentCell->IsSelected() && !m_rubberBand.tracking &&
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

    if (m_rubberBand.tracking) {
        if (m_rubberBand.drawn)
            ToggleRubberBand();
        CRect area;
        GetCellAreaRect(&area);
        const int x =
            std::max(static_cast<int>(area.left), std::min(static_cast<int>(point.x), static_cast<int>(area.right)));
        if ((point.y < 0 || point.y > area.Height()) && !m_autoScrollRunning) {
            ::SetTimer(GetSafeHwnd(), HYBRID_TIMER_AUTOSCROLL, 50, nullptr);
            PostMessage(WM_TIMER, HYBRID_TIMER_AUTOSCROLL, 0);
            m_autoScrollRunning = true;
        }
        m_rubberBand.rect.right = x;
        m_rubberBand.rect.bottom = point.y + GetScrollPos();
        CRect band = m_rubberBand.rect;
        band.NormalizeRect();
        if (band.Width() > 4 || band.Height() > 4) {
            if (CIPtr<IHybridCell> bandCell = m_rubberBand.cell)
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
