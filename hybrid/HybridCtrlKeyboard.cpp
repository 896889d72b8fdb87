// CHybridCtrl's keyboard input and focus: key routing (capture cell, Tab
// cycle, focus cell and its ancestors, navigation among item cells),
// neighbour search, and the control gaining and losing the focus.
#include "hybrid/HybridCtrl.h"
#include <climits>
#include "hybrid/HybridCtrlInternal.h"

using HybridCtrlDetail::LowBits;
using HybridCtrlDetail::ParentOf;

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
        case VK_LEFT:
            if (dx < 0)
                score = 10 * llabs(dy) + llabs(dx);
            break;
        case VK_UP:
            if (dy < 0)
                score = 10 * llabs(dx) + llabs(dy);
            break;
        case VK_RIGHT:
            if (dx > 0)
                score = 10 * llabs(dy) + llabs(dx);
            break;
        case VK_DOWN:
            if (dy > 0)
                score = 10 * llabs(dx) + llabs(dy);
            break;
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
        if (OfferKeyToCaptureCell(key, keyData) || CycleFocusByTab(key, shift, ctrl) ||
            OfferKeyToFocusChain(key, keyData))
            return TRUE;
        if (!NavigateItems(key, shift, ctrl))
            return FALSE;
    } else if (msg->message == WM_KEYUP) {
        if (CIPtr<IHybridCell> focus = m_focusCell)
            if (CIPtr<IHybridContent> content = focus->GetContentPtr())
                content->OnKeyUp(static_cast<UINT>(msg->wParam), static_cast<UINT>(msg->lParam));
    }
    RelayToToolTip(msg);
    return CWnd::PreTranslateMessage(msg);
}

void CHybridCtrl::RelayToToolTip(MSG* msg)
{
    if (m_toolTip.GetSafeHwnd()) {
        m_toolTip.Activate(TRUE);
        m_toolTip.RelayEvent(msg);
    }
}

// A cell holding the mouse capture gets a key first.
bool CHybridCtrl::OfferKeyToCaptureCell(UINT key, UINT keyData)
{
    if (m_captureCell && ::GetCapture() == GetSafeHwnd()) {
        CIPtr<IHybridContent> content(m_captureCell->GetContentPtr());
        if (content && content->IsEnabled() && content->OnKeyDown(key, keyData))
            return true;
    }
    return false;
}

// Tab cycles through the focusable cells, then leaves the control.
bool CHybridCtrl::CycleFocusByTab(UINT key, bool shift, bool ctrl)
{
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
        return true;
    }
    return false;
}

// The focus cell's content, then its ancestors' contents.
bool CHybridCtrl::OfferKeyToFocusChain(UINT key, UINT keyData)
{
    for (CIPtr<IHybridCell> cell(m_focusCell); cell; cell = ParentOf(cell).Get()) {
        CIPtr<IHybridContent> content(cell->GetContentPtr());
        if (content && content->IsEnabled() && content->OnKeyDown(key, keyData))
            return true;
    }
    return false;
}

// Moves the current item (and with Shift extends the selection); false
// when Ctrl is held, which leaves the key to the default handling.
bool CHybridCtrl::NavigateItems(UINT key, bool shift, bool ctrl)
{
    if (m_currentCell) {
        if (ctrl)
            return false;
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
        case VK_DOWN: target = FindNeighbourCell(key); break;
        default: target = nullptr; break;
        }
        if (::GetKeyState(VK_MENU) >= 0 && target && (LowBits(target) & HCB_ITEM)) {
            if (!extend)
                ClearSelection(0, true);
            SetActiveCell(target, false, false);
            target->SetSelected(true, true);
            EnsureVisible(target);
        }
    }
    return true;
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

UINT CHybridCtrl::OnGetDlgCode()
{
    return CWnd::OnGetDlgCode() | DLGC_WANTARROWS;
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
