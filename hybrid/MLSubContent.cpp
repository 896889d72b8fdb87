#include "hybrid/MLSubContent.h"
#include <algorithm>
#include "hybrid/HybridCtrl.h"

CMLSubContent::CMLSubContent(CHybridCtrl* control, IHybridCell* owner, int kind)
    : CVerSubContent(control, owner), m_kind(kind), m_justify(kind == 4)
{
}

void CMLSubContent::CloseRow(CCellArray& row, const CRect& inner, int x, int& y, int rowHeight)
{
    const int n = static_cast<int>(row.GetSize());
    // Spare width is spread only over a row that has cells and room left:
    // an empty row or an overflowing one gets nothing (and no division).
    int extra = 0;
    if (m_justify && n > 0) {
        const int spare = inner.Width() - (x - inner.left);
        extra = spare > 0 ? spare / n : 0;
    }
    const int rowBottom = y + rowHeight;
    int lastRight = inner.left;
    for (int k = 0; k < n; ++k) {
        IHybridCell* cell = row.GetAt(k);
        CRect r;
        cell->GetRect(&r);
        const DWORD bits = static_cast<DWORD>(cell->GetStyleBits());
        int top = y, height = 0;
        if (bits & HCB_VSTRETCH) {
            height = rowHeight;
        } else if (bits & HCB_VTOP) {
            height = r.Height();
        } else if (bits & HCB_VBOTTOM) {
            height = r.Height();
            top = rowBottom - height;
        } else if (bits & HCB_VCENTER) {
            height = r.Height();
            top = (rowBottom - y - height) / 2 + y;
        }
        r.left += extra * k;
        r.right += extra * (k + 1);
        r.top = top;
        r.bottom = top + height;
        cell->SetRect(r);
        cell->Layout(false);
        lastRight = r.right;
    }
    SRowInfo info{{inner.left, y, lastRight, rowBottom}, n};
    m_rows.Add(info);
    if (lastRight < inner.right)
        m_gapRects.Add(CRect(lastRight, y, inner.right, y + rowHeight));
    y = rowBottom;
    row.RemoveAll();
}

int CMLSubContent::Layout(int)
{
    m_rows.RemoveAll();
    m_gapRects.RemoveAll();
    if (!m_owner)
        return 0;
    const CRect inner = GetInnerRect();
    if (!m_first)
        return inner.top;
    int x = inner.left, y = inner.top, rowHeight = 0;
    CCellArray row;
    for (CIPtr<IHybridCell> cell(m_first); cell; cell = cell->GetNext()) {
        const int w = cell->GetPreferredWidth();
        const int h = cell->GetPreferredHeight(w, false);
        // A child that does not fit closes the row; a first child wider
        // than the row starts it alone and overflows on the right.
        if (x + w > inner.right && row.GetSize() > 0) {
            CloseRow(row, inner, x, y, rowHeight);
            x = inner.left;
            rowHeight = 0;
        }
        rowHeight = std::max(rowHeight, h);
        cell->SetRect(CRect(x, y, x + w, y + h));
        row.Add(cell);
        x += w;
    }
    CloseRow(row, inner, x, y, rowHeight);
    return y;
}

int CMLSubContent::GetPreferredHeight(int width)
{
    int x = 0, rowHeight = 0, total = 0, inRow = 0;
    for (IHybridCell* cell = m_first; cell; cell = cell->GetNext()) {
        const int w = cell->GetPreferredWidth();
        const int h = cell->GetPreferredHeight(w, false);
        if (x + w > width && inRow > 0) {
            total += rowHeight;
            x = 0;
            rowHeight = 0;
            inRow = 0;
        }
        rowHeight = std::max(rowHeight, h);
        x += w;
        ++inRow;
    }
    return total + rowHeight;
}

int CMLSubContent::GetPreferredWidth()
{
    int width = 0;
    for (IHybridCell* cell = m_first; cell; cell = cell->GetNext())
        width += cell->GetPreferredWidth();
    return width;
}

void CMLSubContent::Draw(CDC* dc, bool drawGaps)
{
    const int scroll = m_control ? m_control->GetScrollPos() : 0;
    CRect clip;
    dc->GetClipBox(&clip);
    int rowIndex = 0, inRow = 0;
    for (CIPtr<IHybridCell> cell(m_first); cell; cell = cell->GetNext()) {
        while (rowIndex < m_rows.GetSize() && inRow >= m_rows[rowIndex].count) {
            ++rowIndex;
            inRow = 0;
        }
        CRect rect;
        cell->GetRect(&rect);
        CRect band = rect;
        if (rowIndex < m_rows.GetSize()) {
            band.top = m_rows[rowIndex].rect.top - scroll;
            band.bottom = m_rows[rowIndex].rect.bottom - scroll;
        }
        ++inRow;
        CRect meet;
        if (!meet.IntersectRect(&band, &clip))
            continue;
        cell->Draw(dc);
        if (drawGaps) {
            FillGap(dc, CRect(rect.left, band.top, rect.right, rect.top));
            FillGap(dc, CRect(rect.left, rect.bottom, rect.right, band.bottom));
        }
    }
    if (drawGaps) {
        for (int i = 0; i < m_gapRects.GetSize(); ++i) {
            CRect gap = m_gapRects[i];
            gap.OffsetRect(0, -scroll);
            FillGap(dc, gap);
        }
    }
}

IHybridCell* CMLSubContent::GetNeighbour(IHybridCell* cell, UINT virtualKey)
{
    if (!cell)
        return nullptr;
    if (virtualKey == VK_LEFT)
        return cell->GetPrev();
    if (virtualKey == VK_RIGHT)
        return cell->GetNext();
    if (virtualKey != VK_UP && virtualKey != VK_DOWN)
        return nullptr;
    CRect own;
    cell->GetRect(&own);
    const bool up = virtualKey == VK_UP;
    for (IHybridCell* other = cell; other; other = up ? other->GetPrev() : other->GetNext()) {
        CRect r;
        other->GetRect(&r);
        const bool overlaps =
            (r.left >= own.left && r.left < own.right) || (r.right > own.left && r.right <= own.right);
        const bool beyond = up ? r.bottom <= own.top : r.top >= own.bottom;
        if (overlaps && beyond)
            return other;
    }
    return nullptr;
}
