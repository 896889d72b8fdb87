// Walks over CHybridCtrl's cell tree: all, focusable, item and selected cells,
// and the search of a text content by a cell's user data.
#include "hybrid/HybridCtrl.h"
#include "hybrid/IHybridText.h"

void CHybridCtrl::EnumCells(CCellVisitor& visitor, DWORD flags, IHybridCell* start)
{
    if (!m_rootCell)
        return;
    CIPtr<IHybridCell> cell(start ? start : m_rootCell.Get());
    bool visit = false;
    if (flags & HCE_ALL) {
        visit = true;
    } else {
        IHybridContent* content = cell->GetContentPtr();
        if ((flags & HCE_FOCUSABLE) && content && content->CanFocus() && content->IsEnabled() && cell->IsVisible())
            visit = true;
        // An item cell without a content counts as enabled when the cell is.
        const bool enabled = content ? content->IsEnabled() : cell->IsEnabled();
        if ((flags & HCE_ITEMS) && (static_cast<DWORD>(cell->GetStyleBits()) & HCB_ITEM) && enabled &&
            cell->IsVisible())
            visit = true;
    }
    if (visit)
        visitor.Visit(cell);
    CIPtr<IHybridSubContent> sub;
    if (cell->GetSubContent(&sub) && sub) {
        CCellArray children;
        sub->GetChildren(&children);
        for (int i = 0; i < children.GetSize(); ++i)
            EnumCells(visitor, flags, children.GetAt(i));
    }
}

void CHybridCtrl::EnumSelectedCells(CCellVisitor& visitor, IHybridCell* start)
{
    if (!m_rootCell)
        return;
    CIPtr<IHybridCell> cell(start ? start : m_rootCell.Get());
    if (static_cast<DWORD>(cell->GetStyleBits()) & HCB_ITEM) {
        if (cell->IsSelected())
            visitor.Visit(cell);
        return;
    }
    CIPtr<IHybridSubContent> sub;
    if (cell->GetSubContent(&sub) && sub) {
        CCellArray children;
        sub->GetChildren(&children);
        for (int i = 0; i < children.GetSize(); ++i)
            EnumSelectedCells(visitor, children.GetAt(i));
    }
}

void CHybridCtrl::EnumSelectedCells(CCellArray& cells, IHybridCell* start)
{
    CCellCollector collector(cells);
    EnumSelectedCells(collector, start);
}

bool FindTextContentByData(IHybridCell* cell, DWORD_PTR data, IHybridText** out)
{
    if (!cell || !out)
        return false;
    if (cell->GetData() == data) {
        IHybridContent* content = cell->GetContentPtr();
        if (content && SUCCEEDED(content->QueryInterface(IID_IHybridText, reinterpret_cast<void**>(out))))
            return true;
    }
    CIPtr<IHybridSubContent> sub;
    if (!cell->GetSubContent(&sub) || !sub)
        return false;
    CCellArray children;
    sub->GetChildren(&children);
    for (int i = 0; i < children.GetSize(); ++i)
        if (FindTextContentByData(children.GetAt(i), data, out))
            return true;
    return false;
}
