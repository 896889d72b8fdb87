// CHybridCtrl's focus and current cells and the selection of item cells.
#include "hybrid/HybridCtrl.h"

void CHybridCtrl::SetActiveCell(IHybridCell* cell, bool focus, bool notify)
{
    CIPtr<IHybridCell>& target = focus ? m_focusCell : m_currentCell;
    if (focus && cell && (static_cast<DWORD>(cell->GetStyleBits()) & HCB_NOFOCUS))
        return;
    if (IsSameObject(target, cell))
        return;
    if (focus && cell) {
        IHybridContent* content = cell->GetContentPtr();
        if (content && (!content->CanFocus() || !content->IsEnabled()))
            return;
    }
    CIPtr<IHybridCell> keep(cell);
    if (CIPtr<IHybridCell> old = target) {
        if (CIPtr<IHybridContent> content = old->GetContentPtr())
            content->OnActivate(false);
        old->Notify(HN_DEACTIVATED, old);
        old->Invalidate();
    }
    target = cell;
    if (!cell)
        return;
    if (CIPtr<IHybridContent> content = cell->GetContentPtr())
        content->OnActivate(true);
    cell->Invalidate();
    if (!focus) {
        cell->Notify(HN_CURRENT, cell);
        if (notify)
            cell->Notify(HN_CURRENT_BY_USER, cell);
    }
}

void CHybridCtrl::SelectCell(IHybridCell* cell)
{
    SetActiveCell(cell, false, false);
    if (cell)
        cell->SetSelected(true, true);
}

void CHybridCtrl::ClearSelection(int, bool notify)
{
    if (CIPtr<IHybridSubContent> root = m_rootSub)
        root->SelectAll(false, notify);
}

void CHybridCtrl::PostSelectionChanged()
{
    if (m_selectionNotifyPending || !GetSafeHwnd())
        return;
    if (PostMessage(WM_HYBRID_SELCHANGED, 0, 0))
        m_selectionNotifyPending = true;
}

bool CHybridCtrl::GetFocusCell(IHybridCell** out)
{
    return ReturnInterface(m_focusCell, out);
}

void CHybridCtrl::InvalidateSelectedCells()
{
    CCellArray cells;
    EnumSelectedCells(cells);
    for (int i = 0; i < cells.GetSize(); ++i)
        cells.GetAt(i)->Invalidate();
}
