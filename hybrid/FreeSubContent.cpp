#include "hybrid/FreeSubContent.h"
#include <algorithm>

CFreeSubContent::CFreeSubContent(CHybridCtrl* control, IHybridCell* owner) : CSubContent(control, owner)
{
}

STDMETHODIMP CFreeSubContent::QueryInterface(REFIID riid, void** out)
{
    return AnswerQueryInterface(riid, out,
                                {{IID_IUnknown, static_cast<IHybridSubContent*>(this)},
                                 {IID_IHybridSubContent, static_cast<IHybridSubContent*>(this)},
                                 {IID_IFreeHybridSubContent, static_cast<IFreeHybridSubContent*>(this)}});
}

void CFreeSubContent::Link(IHybridCell* cell, int, IHybridCell*)
{
    SCellInfo info(CRect(0, 0, 0, 0), cell);
    m_cells.Add(info);
}

void CFreeSubContent::RemoveChild(IHybridCell* cell)
{
    for (INT_PTR i = 0; i < m_cells.GetSize(); ++i) {
        if (m_cells[i].cell.Get() == cell) {
            m_cells.RemoveAt(i);
            return;
        }
    }
}

void CFreeSubContent::RemoveAll()
{
    // Each child's Detach removes its entry through RemoveChild.
    CCellArray children;
    GetChildren(&children);
    for (int i = 0; i < children.GetSize(); ++i)
        DetachChild(children.GetAt(i));
    m_cells.RemoveAll();
}

void CFreeSubContent::SetCellRect(IHybridCell* cell, int left, int top, int right, int bottom)
{
    for (INT_PTR i = 0; i < m_cells.GetSize(); ++i) {
        if (m_cells[i].cell.Get() == cell) {
            m_cells[i].rect.SetRect(left, top, right, bottom);
            return;
        }
    }
}

int CFreeSubContent::Layout(int)
{
    if (!m_owner)
        return 0;
    CRect owner;
    m_owner->GetRect(&owner);
    int bottom = 0;
    for (INT_PTR i = 0; i < m_cells.GetSize(); ++i) {
        CRect r = m_cells[i].rect;
        r.OffsetRect(owner.left, owner.top);
        m_cells[i].cell->SetRect(r);
        bottom = std::max(bottom, static_cast<int>(r.bottom));
    }
    return bottom;
}

int CFreeSubContent::GetPreferredHeight(int)
{
    int bottom = 0;
    for (INT_PTR i = 0; i < m_cells.GetSize(); ++i)
        bottom = std::max(bottom, static_cast<int>(m_cells[i].rect.bottom));
    return bottom;
}

int CFreeSubContent::GetPreferredWidth()
{
    int right = 0;
    for (INT_PTR i = 0; i < m_cells.GetSize(); ++i)
        right = std::max(right, static_cast<int>(m_cells[i].rect.right));
    return right;
}

void CFreeSubContent::Draw(CDC* dc, bool)
{
    CCellArray children;
    GetChildren(&children);
    for (int i = 0; i < children.GetSize(); ++i)
        children.GetAt(i)->Draw(dc);
}

void CFreeSubContent::GetChildren(CCellArray* children)
{
    if (!children)
        return;
    for (INT_PTR i = 0; i < m_cells.GetSize(); ++i)
        children->Add(m_cells[i].cell);
}
