#include "hybrid/SubContent.h"
#include "hybrid/HybridCell.h"
#include "hybrid/HybridCtrl.h"

CSubContent::CSubContent(CHybridCtrl* control, IHybridCell* owner)
    : m_leftGap(0), m_rightGap(0), m_control(control), m_owner(owner), m_refs(0)
{
}

CSubContent::~CSubContent()
{
}

STDMETHODIMP CSubContent::QueryInterface(REFIID riid, void** out)
{
    return AnswerQueryInterface(riid, out,
                                {{IID_IUnknown, static_cast<IHybridSubContent*>(this)},
                                 {IID_IHybridSubContent, static_cast<IHybridSubContent*>(this)}});
}

STDMETHODIMP_(ULONG) CSubContent::AddRef()
{
    return m_refs.AddRef();
}
STDMETHODIMP_(ULONG) CSubContent::Release()
{
    return m_refs.Release(this);
}

CRect CSubContent::GetInnerRect()
{
    CRect rect(0, 0, 0, 0);
    if (m_owner)
        m_owner->GetContentRect(&rect);
    rect.left += m_leftGap;
    rect.right -= m_rightGap;
    return rect;
}

COLORREF CSubContent::GetGapColor()
{
    if (!m_owner)
        return ::GetSysColor(COLOR_WINDOW);
    if (!m_owner->IsSelected())
        return m_owner->GetBkColor();
    return m_control && m_control->HasFocus() ? ::GetSysColor(COLOR_HIGHLIGHT) : ::GetSysColor(COLOR_INACTIVECAPTION);
}

DWORD CSubContent::OwnerLowBits()
{
    return m_owner ? static_cast<DWORD>(m_owner->GetStyleBits()) : 0;
}

int CSubContent::OwnerMargin(int side)
{
    return m_owner ? static_cast<int>((m_owner->GetMargins() >> (8 * side)) & 0xFF) : 0;
}

void CSubContent::FillGap(CDC* dc, const CRect& rect)
{
    if (rect.IsRectEmpty())
        return;
    CRect clip, meet;
    dc->GetClipBox(&clip);
    if (meet.IntersectRect(&clip, &rect))
        dc->FillSolidRect(&rect, GetGapColor());
}

void CSubContent::Draw(CDC* dc, bool drawGaps)
{
    if (!drawGaps || (m_leftGap == 0 && m_rightGap == 0) || !m_owner)
        return;
    CRect rect;
    m_owner->GetContentRect(&rect);
    if (m_leftGap)
        FillGap(dc, CRect(rect.left, rect.top, rect.left + m_leftGap, rect.bottom));
    if (m_rightGap)
        FillGap(dc, CRect(rect.right - m_rightGap, rect.top, rect.right, rect.bottom));
}

bool CSubContent::InsertChild(int column, IHybridCell** out, IHybridCell* before)
{
    if (!out)
        return false;
    CIPtr<IHybridCell> cell(new CHybridCell(m_control, this));
    Link(cell, column, before);
    *out = cell.Detach();
    if (m_control)
        m_control->UpdateLayout(false);
    return true;
}

void CSubContent::SelectAll(bool select, bool notify)
{
    CCellArray children;
    GetChildren(&children);
    for (int i = 0; i < children.GetSize(); ++i)
        children.GetAt(i)->SetSelected(select, notify);
}

bool CSubContent::HitTest(POINT point, IHybridCell** out)
{
    if (!out || !m_owner)
        return false;
    CRect rect;
    m_owner->GetRect(&rect);
    if (!rect.PtInRect(point))
        return false;
    CCellArray children;
    GetChildren(&children);
    for (int i = 0; i < children.GetSize(); ++i)
        if (children.GetAt(i)->HitTest(point, out))
            return true;
    return false;
}

void CSubContent::SelectInRect(const RECT* documentRect)
{
    CCellArray children;
    GetChildren(&children);
    for (int i = 0; i < children.GetSize(); ++i)
        children.GetAt(i)->SelectInRect(documentRect, 0);
}

void CSubContent::CollectSelected(CCellArray* selected)
{
    if (!selected || !m_control)
        return;
    CCellArray children;
    GetChildren(&children);
    CCellCollector collector(*selected);
    for (int i = 0; i < children.GetSize(); ++i)
        m_control->EnumSelectedCells(collector, children.GetAt(i));
}

bool CSubContent::GetOwnerCell(IHybridCell** out)
{
    return ReturnInterface(m_owner, out);
}
bool CSubContent::GetColumnModel(IHybridHeading**)
{
    return false;
}
int CSubContent::GetColumnCount()
{
    return 0;
}
bool CSubContent::GetColumnCell(int, IHybridCell**)
{
    return false;
}

void CSubContent::DetachChild(IHybridCell* cell)
{
    if (m_control)
        m_control->DetachCell(cell);
    else
        cell->Detach();
}

void CSubContent::RemoveAll()
{
    CCellArray children;
    GetChildren(&children);
    for (int i = 0; i < children.GetSize(); ++i)
        DetachChild(children.GetAt(i));
}

IHybridSubContent* CSubContent::SetLeftGap(int gap)
{
    m_leftGap = gap;
    return this;
}
int CSubContent::GetLeftGap()
{
    return m_leftGap;
}
int CSubContent::GetRightGap()
{
    return m_rightGap;
}
IHybridSubContent* CSubContent::SetRightGap(int gap)
{
    m_rightGap = gap;
    return this;
}
void CSubContent::SetChildren(CCellArray*)
{
}
IHybridCell* CSubContent::GetNeighbour(IHybridCell*, UINT)
{
    return nullptr;
}

bool CSubContent::IsEmpty()
{
    CCellArray children;
    GetChildren(&children);
    return children.GetSize() == 0;
}
