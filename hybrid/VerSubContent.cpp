#include "hybrid/VerSubContent.h"
#include <algorithm>
#include "hybrid/HybridCtrl.h"

CVerSubContent::CVerSubContent(CHybridCtrl* control, IHybridCell* owner) : CSubContent(control, owner)
{
}

void CVerSubContent::Link(IHybridCell* cell, int, IHybridCell* before)
{
    if (!before || !m_first) {
        // Appended.
        if (m_last) {
            m_last->SetNext(cell);
            cell->SetPrev(m_last);
        }
        m_last = cell;
        if (!m_first)
            m_first = cell;
        return;
    }
    CIPtr<IHybridCell> prev(before->GetPrev());
    cell->SetPrev(prev);
    cell->SetNext(before);
    before->SetPrev(cell);
    if (prev)
        prev->SetNext(cell);
    if (IsSameObject(before, m_first))
        m_first = cell;
}

void CVerSubContent::RemoveChild(IHybridCell* cell)
{
    if (!cell)
        return;
    if (IsSameObject(cell, m_first)) {
        m_first = cell->GetNext();
        if (!m_first)
            m_last = nullptr;
        else if (IsSameObject(cell, m_last))
            m_last = cell->GetPrev();
    } else if (IsSameObject(cell, m_last)) {
        m_last = cell->GetPrev();
    }
}

void CVerSubContent::GetChildren(CCellArray* children)
{
    if (!children)
        return;
    for (IHybridCell* cell = m_first; cell; cell = cell->GetNext())
        children->Add(cell);
}

int CVerSubContent::Layout(int contentHeight)
{
    if (!m_owner)
        return 0;
    const CRect inner = GetInnerRect();
    int y = inner.top;
    const DWORD bits = OwnerLowBits();
    if (bits & (HCB_ALIGNBOTTOM | HCB_ALIGNCENTER)) {
        int sum = 0;
        for (IHybridCell* cell = m_first; cell; cell = cell->GetNext())
            sum += cell->GetPreferredHeight(inner.Width(), false);
        if (sum < contentHeight)
            y = (bits & HCB_ALIGNBOTTOM) ? inner.top + contentHeight - sum : inner.top + (contentHeight - sum) / 2;
    }
    CIPtr<IHybridCell> cell(m_first);
    while (cell) {
        cell->SetRect(CRect(inner.left, y, inner.right, 0));
        y = cell->Layout(true);
        cell = cell->GetNext();
    }
    return y;
}

int CVerSubContent::GetPreferredHeight(int width)
{
    int height = OwnerMargin(1) + OwnerMargin(3);
    for (IHybridCell* cell = m_first; cell; cell = cell->GetNext())
        if (cell->IsShown())
            height += cell->GetPreferredHeight(width, false);
    return height;
}

int CVerSubContent::GetPreferredWidth()
{
    int width = 0;
    for (IHybridCell* cell = m_first; cell; cell = cell->GetNext())
        width = std::max(width, cell->GetPreferredWidth());
    width += m_leftGap + m_rightGap;
    if (m_control) {
        CRect area;
        m_control->GetCellAreaRect(&area);
        width = std::min(width, static_cast<int>(area.Width()));
    }
    return width;
}

void CVerSubContent::Draw(CDC* dc, bool drawGaps)
{
    if (!m_owner)
        return;
    CRect inner;
    m_owner->GetContentRect(&inner);
    inner.top += OwnerMargin(1);
    CRect clip;
    dc->GetClipBox(&clip);
    int lowest = inner.top;
    for (CIPtr<IHybridCell> cell(m_first); cell; cell = cell->GetNext()) {
        CRect rect, meet;
        cell->GetRect(&rect);
        if (meet.IntersectRect(&rect, &clip))
            cell->Draw(dc);
        if (drawGaps) {
            FillGap(dc, CRect(inner.left, rect.top, rect.left, rect.bottom));
            FillGap(dc, CRect(rect.right, rect.top, inner.right, rect.bottom));
        }
        lowest = std::max(lowest, static_cast<int>(rect.bottom));
    }
    if (drawGaps)
        FillGap(dc, CRect(inner.left, lowest, inner.right, inner.bottom));
}

void CVerSubContent::SetChildren(CCellArray* children)
{
    if (!children)
        return;
    m_first = nullptr;
    m_last = nullptr;
    const int n = static_cast<int>(children->GetSize());
    for (int i = 0; i < n; ++i) {
        IHybridCell* cell = children->GetAt(i);
        cell->SetPrev(i > 0 ? children->GetAt(i - 1) : nullptr);
        cell->SetNext(i + 1 < n ? children->GetAt(i + 1) : nullptr);
    }
    if (n > 0) {
        m_first = children->GetAt(0);
        m_last = children->GetAt(n - 1);
    }
    if (m_control)
        m_control->UpdateLayout(false);
}

IHybridCell* CVerSubContent::GetNeighbour(IHybridCell* cell, UINT virtualKey)
{
    if (!cell)
        return nullptr;
    if (virtualKey == VK_UP)
        return cell->GetPrev();
    if (virtualKey == VK_DOWN)
        return cell->GetNext();
    return nullptr;
}
