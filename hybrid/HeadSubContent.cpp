#include "hybrid/HeadSubContent.h"
#include <algorithm>
#include "hybrid/HybridCtrl.h"

CHeadSubContent::CHeadSubContent(CHybridCtrl* control, IHybridCell* owner, IHybridHeading* columnModel)
    : CSubContent(control, owner), m_columnModel(columnModel)
{
}

void CHeadSubContent::Link(IHybridCell* cell, int column, IHybridCell*)
{
    if (column < 0)
        column = 0;
    // A cell displaced from its column leaves the tree properly (its links
    // and references are broken), instead of being dropped while it still
    // points at this row.
    if (column < m_columns.GetSize()) {
        CIPtr<IHybridCell> old(m_columns.GetAt(column));
        if (old)
            DetachChild(old);
    }
    m_columns.SetAtGrow(column, cell);
}

void CHeadSubContent::RemoveChild(IHybridCell* cell)
{
    for (int i = 0; i < m_columns.GetSize(); ++i)
        if (m_columns.GetAt(i) && m_columns.GetAt(i) == cell)
            m_columns.SetAt(i, nullptr);
}

void CHeadSubContent::RemoveAll()
{
    for (int i = 0; i < m_columns.GetSize(); ++i) {
        CIPtr<IHybridCell> cell(m_columns.GetAt(i));
        if (cell) {
            DetachChild(cell);
            m_columns.SetAt(i, nullptr);
        }
    }
}

bool CHeadSubContent::IsEmpty()
{
    return m_columns.GetSize() == 0;
}
int CHeadSubContent::GetColumnCount()
{
    return static_cast<int>(m_columns.GetSize());
}

bool CHeadSubContent::GetColumnCell(int index, IHybridCell** out)
{
    if (index < 0 || index >= m_columns.GetSize())
        return false;
    return ReturnInterface(m_columns.GetAt(index), out);
}

bool CHeadSubContent::GetColumnModel(IHybridHeading** out)
{
    return ReturnInterface(m_columnModel, out);
}

void CHeadSubContent::GetChildren(CCellArray* children)
{
    if (!children)
        return;
    for (int i = 0; i < m_columns.GetSize(); ++i)
        if (IHybridCell* cell = m_columns.GetAt(i))
            children->Add(cell);
}

void CHeadSubContent::ApplyPercentages(int available)
{
    const DWORD bits = OwnerLowBits();
    const int n = m_columnModel->GetCount();
    int first = 0, last = n; // columns [first, last) share the rest
    if (n > 0) {
        if (bits & HCB_FIXED_LAST) {
            last = n - 1;
        } else if ((bits & HCB_FIXED_LAST2) && n > 2) {
            last = n - 2;
        } else if ((bits & HCB_FIXED_LAST3) && n > 3) {
            last = n - 3;
        } else if (bits & HCB_FIXED_FIRST) {
            first = 1;
        } else if (bits & HCB_FIXED_ENDS) {
            first = 1;
            last = n - 1;
        } else if (bits & HCB_FIXED_FIRST2) {
            first = std::min(2, n);
        }
    }
    for (int i = 0; i < n; ++i)
        if (i < first || i >= last)
            available -= m_columnModel->GetWidth(i);
    for (int i = first; i < last; ++i)
        m_columnModel->SetWidth(i, std::max(0, m_columnModel->GetSecondValue(i) * available / 100));
}

int CHeadSubContent::Layout(int)
{
    if (!m_owner)
        return 0;
    const DWORD margins = m_owner->GetMargins();
    const int leftMargin = margins & 0xFF, topMargin = (margins >> 8) & 0xFF;
    const int rightMargin = (margins >> 16) & 0xFF, bottomMargin = (margins >> 24) & 0xFF;
    const CRect inner = GetInnerRect();
    if (OwnerLowBits() & HCB_PERCENT) {
        if (!m_columnModel)
            return 0;
        ApplyPercentages(inner.Width());
    }
    const int n = static_cast<int>(m_columns.GetSize());
    const int top = inner.top + topMargin;
    int bottom = top;
    std::vector<int> xs(n), ws(n), hs(n);
    int x = inner.left;
    for (int i = 0; i < n; ++i) {
        int w = m_columnModel ? m_columnModel->GetWidth(i) : 0;
        if (margins) {
            if (i == 0)
                w -= leftMargin;
            if (i == n - 1 && x + w >= inner.right)
                w -= rightMargin;
        }
        w = std::max(w, 0);
        xs[i] = x;
        ws[i] = w;
        if (IHybridCell* cell = m_columns.GetAt(i)) {
            hs[i] = cell->GetPreferredHeight(w, false);
            bottom = std::max(bottom, top + hs[i]);
        }
        x += w;
    }
    for (int i = 0; i < n; ++i) {
        CIPtr<IHybridCell> cell(m_columns.GetAt(i));
        if (!cell)
            continue;
        const DWORD bits = static_cast<DWORD>(cell->GetStyleBits());
        int y = top, height = hs[i];
        if (bits & HCB_VSTRETCH)
            height = bottom - top;
        else if (bits & HCB_VBOTTOM)
            y = bottom - height;
        else if (bits & HCB_VCENTER)
            y = top + (bottom - top - height) / 2;
        cell->SetRect(CRect(xs[i], y, xs[i] + ws[i], y + height));
        cell->Layout(false);
    }
    return bottom + bottomMargin;
}

int CHeadSubContent::GetPreferredHeight(int)
{
    int height = 0;
    for (int i = 0; i < m_columns.GetSize(); ++i)
        if (IHybridCell* cell = m_columns.GetAt(i))
            height = std::max(height, cell->GetPreferredHeight(m_columnModel ? m_columnModel->GetWidth(i) : 0, false));
    return height;
}

void CHeadSubContent::Draw(CDC* dc, bool drawGaps)
{
    CSubContent::Draw(dc, drawGaps);
    if (!m_owner)
        return;
    const CRect inner = GetInnerRect();
    CRect clip;
    dc->GetClipBox(&clip);
    int x = inner.left;
    for (int i = 0; i < m_columns.GetSize(); ++i) {
        CIPtr<IHybridCell> cell(m_columns.GetAt(i));
        if (cell) {
            CRect rect, meet;
            cell->GetRect(&rect);
            if (meet.IntersectRect(&rect, &clip))
                cell->Draw(dc);
            if (drawGaps && !(static_cast<DWORD>(cell->GetStyleBits()) & HCB_TRANSPARENT)) {
                FillGap(dc, CRect(rect.left, inner.top, rect.right, rect.top));
                FillGap(dc, CRect(rect.left, rect.bottom, rect.right, inner.bottom));
            }
            x += rect.Width();
        } else {
            const int w = m_columnModel ? m_columnModel->GetWidth(i) : 0;
            if (drawGaps)
                FillGap(dc, CRect(x, inner.top, x + w, inner.bottom));
            x += w;
        }
    }
    if (drawGaps && !(OwnerLowBits() & HCB_TRANSPARENT))
        FillGap(dc, CRect(x, inner.top, inner.right, inner.bottom));
}

IHybridCell* CHeadSubContent::GetNeighbour(IHybridCell* cell, UINT virtualKey)
{
    if (!cell || (virtualKey != VK_LEFT && virtualKey != VK_RIGHT))
        return nullptr;
    for (int i = 0; i < m_columns.GetSize(); ++i) {
        if (m_columns.GetAt(i) && IsSameObject(m_columns.GetAt(i), cell)) {
            const int j = virtualKey == VK_RIGHT ? i + 1 : i - 1;
            return j >= 0 && j < m_columns.GetSize() ? m_columns.GetAt(j) : nullptr;
        }
    }
    return nullptr;
}
