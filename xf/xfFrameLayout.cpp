// CxfFrame: deferred layout, bars, split sizes, splitters and their painting.
#include "xf/xfFrame.h"
#include <algorithm>
#include "common/DrawRoutinesDC.h"
#include "xf/xfControlBar.h"
#include "xf/xfPane.h"

namespace {

const int kSplitter = CxfFrame::SplitterWidth;
const COLORREF kGripDot = RGB(0xA3, 0xA3, 0xA3);

// Whether the size text ends in "p" (a percentage of the available space).
bool IsPercent(LPCWSTR text)
{
    const size_t n = wcslen(text);
    return n > 0 && text[n - 1] == L'p';
}

} // namespace

void CxfFrame::RequestLayout(bool resetSizes)
{
    if (!m_bLayoutEnabled)
        return;
    m_bLayoutPending = true;
    if (resetSizes)
        m_bSizesInvalid = true;
}

void CxfFrame::LayoutPendingFrames(CxfFrame* frame)
{
    if (frame->m_bLayoutPending) {
        frame->RecalcLayout();
        frame->Invalidate(TRUE);
        frame->m_bLayoutPending = false;
    }
    for (INT_PTR i = 0; i < frame->m_bars.GetSize(); ++i)
        LayoutPendingFrames(frame->m_bars[i]);
    for (INT_PTR i = 0; i < frame->m_children.GetSize(); ++i)
        LayoutPendingFrames(frame->m_children[i]);
}

std::vector<int> CxfFrame::VisibleChildren() const
{
    std::vector<int> visible;
    for (INT_PTR i = 0; i < m_children.GetSize(); ++i)
        if (m_children[i]->m_bShown)
            visible.push_back(static_cast<int>(i));
    return visible;
}

void CxfFrame::PlaceBars()
{
    // A bar placed for the first time takes the largest row of the placed
    // bars of its side before it.
    for (INT_PTR i = 0; i < m_bars.GetSize(); ++i) {
        CxfControlBar* bar = m_bars[i];
        if (bar->m_dock.IsPlaced())
            continue;
        int row = 0;
        for (INT_PTR j = 0; j < i; ++j) {
            const SxfDockPos& d = m_bars[j]->m_dock;
            if (!d.IsPlaced() || d.side != bar->m_dock.side)
                break;
            row = std::max(row, d.row);
        }
        bar->m_dock.row = row;
        bar->m_dock.pos = 0;
    }
    // Two passes: the first finds the area left by the bars; the second
    // moves them, left and bottom bars fitting that area.
    for (int pass = 0; pass < 2; ++pass) {
        int l = m_rcClient.left, t = m_rcClient.top, r = m_rcClient.right, b = m_rcClient.bottom;
        for (INT_PTR i = 0; i < m_bars.GetSize(); ++i) {
            CxfControlBar* bar = m_bars[i];
            if (!bar->m_bShown)
                continue;
            const int extent = bar->GetDockExtent();
            CRect rc;
            switch (bar->m_dock.side) {
            case SideLeft:
                rc.SetRect(l, m_rcArea.top, l + extent, m_rcClient.bottom);
                l += extent;
                break;
            case SideRight:
                rc.SetRect(r - extent, t, r, b);
                r -= extent;
                break;
            case SideBottom:
                rc.SetRect(m_rcArea.left, b - extent, m_rcClient.Width(), b);
                b -= extent;
                break;
            default:
                rc.SetRect(0, t, m_rcClient.Width(), t + extent);
                t += extent;
                break;
            }
            if (pass == 1 && bar->m_hWnd)
                bar->MoveWindow(&rc, TRUE);
        }
        if (pass == 0)
            m_rcArea.SetRect(l, t, r, b);
    }
}

void CxfFrame::RecalcLayout()
{
    GetClientRect(&m_rcClient);
    m_rcArea = m_rcClient;
    PlaceBars();

    if (m_pPane) {
        if (m_pPane->m_hWnd)
            m_pPane->MoveWindow(&m_rcArea, TRUE);
    } else {
        if (m_rcArea.Width() == 0 || m_rcArea.Height() == 0)
            return;
        if (m_nMode == ModeOverlap) {
            for (INT_PTR i = 0; i < m_children.GetSize() && m_children[i]; ++i)
                m_children[i]->MoveWindow(&m_rcArea, TRUE);
        } else {
            const std::vector<int> visible = VisibleChildren();
            const bool sideBySide = m_nMode == ModeSideBySide;
            const int extent = sideBySide ? m_rcArea.Width() : m_rcArea.Height();
            const int count = static_cast<int>(visible.size());
            // More bars or splitters than room leaves nothing to share.
            const int available = std::max(0, extent - kSplitter * std::max(0, count - 1));
            if (m_bSizesInvalid || m_sizes.size() != static_cast<size_t>(m_children.GetSize())) {
                m_sizes.assign(static_cast<size_t>(m_children.GetSize()), 0);
                m_draggedShares.clear();
                m_bSizesInvalid = false;
            }
            const int lastClient = sideBySide ? m_nLastClientWidth : m_nLastClientHeight;
            int used = 0;
            for (int k = 0; k < count; ++k) {
                CxfFrame* child = m_children[visible[k]];
                const int old = m_sizes[static_cast<size_t>(visible[k])];
                int size;
                const size_t at = static_cast<size_t>(visible[k]);
                const double dragged = at < m_draggedShares.size() ? m_draggedShares[at] : 0;
                LPCWSTR text = child->GetParam(L"width");
                if (!text)
                    text = child->GetParam(L"height");
                if (dragged > 0 && old != 0) {
                    // Truncated, so that two shares never need more than
                    // the room; the last child fills what is left.
                    size = text && IsPercent(text) ? static_cast<int>(dragged * available) : old;
                } else if (child->HasParam(L"ProportionalWidth") && old != 0) {
                    // Without an earlier client size there is no proportion
                    // to keep: the size stays.
                    size =
                        lastClient > 0 ? static_cast<int>(static_cast<long long>(old) * available / lastClient) : old;
                } else if (child->HasParam(L"ConstWidth") && old != 0) {
                    size = old;
                } else {
                    size = 0;
                    if (text && *text) {
                        size = _wtoi(text);
                        if (IsPercent(text))
                            size = static_cast<int>(static_cast<long long>(size) * available / 100);
                    }
                }
                size = std::max(0, size);
                if (k == count - 1 && size + used < available)
                    size = available - used;
                m_sizes[static_cast<size_t>(visible[k])] = size;
                used += size + (k > 0 ? kSplitter : 0);
            }
            PositionChildren();
        }
    }
    m_nLastClientWidth = m_rcClient.Width();
    m_nLastClientHeight = m_rcClient.Height();
}

void CxfFrame::PositionChildren()
{
    const bool sideBySide = m_nMode == ModeSideBySide;
    int at = sideBySide ? m_rcArea.left : m_rcArea.top;
    for (int i : VisibleChildren()) {
        const int size = m_sizes[static_cast<size_t>(i)];
        CRect rc = sideBySide ? CRect(at, m_rcArea.top, at + size, m_rcArea.bottom)
                              : CRect(m_rcArea.left, at, m_rcArea.right, at + size);
        m_children[i]->MoveWindow(&rc, TRUE);
        at += size + kSplitter;
    }
    Invalidate(TRUE);
}

CRect CxfFrame::SplitterRect(int splitter) const
{
    const std::vector<int> visible = VisibleChildren();
    int lead = m_nMode == ModeSideBySide ? m_rcArea.left : m_rcArea.top;
    for (int k = 0; k <= splitter; ++k)
        lead += m_sizes[static_cast<size_t>(visible[k])] + (k > 0 ? kSplitter : 0);
    return m_nMode == ModeSideBySide ? CRect(lead, m_rcArea.top, lead + kSplitter, m_rcArea.bottom)
                                     : CRect(m_rcArea.left, lead, m_rcArea.right, lead + kSplitter);
}

int CxfFrame::HitTestSplitter(CPoint point) const
{
    if ((m_nMode != ModeStacked && m_nMode != ModeSideBySide) || m_pPane)
        return -1;
    const int count = static_cast<int>(VisibleChildren().size());
    if (m_sizes.size() != static_cast<size_t>(m_children.GetSize()))
        return -1; // not laid out yet
    for (int k = 0; k + 1 < count; ++k)
        if (SplitterRect(k).PtInRect(point))
            return k;
    return -1;
}

BOOL CxfFrame::OnSetCursor(CWnd*, UINT, UINT)
{
    CPoint pt;
    ::GetCursorPos(&pt);
    ScreenToClient(&pt);
    if (HitTestSplitter(pt) < 0)
        return FALSE;
    ::SetCursor(::LoadCursorW(nullptr, m_nMode == ModeSideBySide ? IDC_SIZEWE : IDC_SIZENS));
    return TRUE;
}

void CxfFrame::OnLButtonDown(UINT, CPoint point)
{
    const int k = HitTestSplitter(point);
    if (k < 0)
        return;
    m_nSplitter = k;
    m_ptDragStart = point;
    SetCapture();
}

void CxfFrame::OnLButtonUp(UINT, CPoint)
{
    m_nSplitter = -1;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

void CxfFrame::OnMouseMove(UINT, CPoint point)
{
    if (::GetCapture() != m_hWnd)
        return;
    if (m_rcArea.PtInRect(m_ptDragStart)) {
        if (m_nSplitter >= 0)
            DragSplitter(point);
        return;
    }
    if (IsDragMove(m_ptDragStart, point)) {
        ::ReleaseCapture();
        OnFrameDrag(m_ptDragStart);
    }
}

void CxfFrame::DragSplitter(CPoint point)
{
    const std::vector<int> visible = VisibleChildren();
    const int k = m_nSplitter;
    if (k + 1 >= static_cast<int>(visible.size()))
        return;
    const bool sideBySide = m_nMode == ModeSideBySide;
    const CRect splitter = SplitterRect(k);
    const int index1 = visible[k], index2 = visible[k + 1];
    const int size1 = m_sizes[static_cast<size_t>(index1)];
    const int start = (sideBySide ? splitter.left : splitter.top) - size1;
    const int span = size1 + kSplitter + m_sizes[static_cast<size_t>(index2)];
    const int p = sideBySide ? point.x : point.y;

    SIZE min1{}, min2{};
    m_children[index1]->GetMinSize(min1, false);
    m_children[index2]->GetMinSize(min2, false);
    const int least1 = sideBySide ? min1.cx : min1.cy;
    const int least2 = sideBySide ? min2.cx : min2.cy;
    int first = p - start - kSplitter / 2;
    int second = span - first - kSplitter;
    if (first < least1) {
        first = least1;
        second = span - kSplitter - first;
    }
    if (second < least2) {
        second = least2;
        first = span - kSplitter - second;
    }
    m_sizes[static_cast<size_t>(index1)] = std::max(0, first);
    m_sizes[static_cast<size_t>(index2)] = std::max(0, second);
    // The split the user chose outlives the next layout (a resize).
    const int count = static_cast<int>(visible.size());
    const int available = (sideBySide ? m_rcArea.Width() : m_rcArea.Height()) - kSplitter * (count - 1);
    if (available > 0) {
        m_draggedShares.resize(m_sizes.size(), 0);
        for (int index : {index1, index2})
            m_draggedShares[static_cast<size_t>(index)] =
                std::max(1e-9, static_cast<double>(m_sizes[static_cast<size_t>(index)]) / available);
    }
    PositionChildren();
}

SIZE CxfFrame::GetBarsExtent() const
{
    SIZE size{0, 0};
    for (INT_PTR i = 0; i < m_bars.GetSize(); ++i) {
        CxfControlBar* bar = m_bars[i];
        if (!bar->m_bShown)
            continue;
        if (bar->IsVertical())
            size.cx += bar->GetDockExtent();
        else
            size.cy += bar->GetDockExtent();
    }
    return size;
}

void CxfFrame::GetMinSize(SIZE& size, bool barsOnly)
{
    size = GetBarsExtent();
    if (m_pPane) {
        if (!barsOnly) {
            SIZE pane{};
            m_pPane->GetMinSize(pane);
            size.cx += pane.cx;
            size.cy += pane.cy;
        }
    } else {
        SIZE children{0, 0};
        for (int i : VisibleChildren()) {
            SIZE c{};
            m_children[i]->GetMinSize(c, barsOnly);
            if (m_nMode == ModeStacked) {
                children.cy += c.cy;
                children.cx = std::max(children.cx, c.cx);
            } else if (m_nMode == ModeSideBySide) {
                children.cx += c.cx;
                children.cy = std::max(children.cy, c.cy);
            } else {
                children.cx = std::max(children.cx, c.cx);
                children.cy = std::max(children.cy, c.cy);
            }
        }
        size.cx += children.cx;
        size.cy += children.cy;
    }
    if (!barsOnly) {
        size.cx = std::max<LONG>(size.cx, 30);
        size.cy = std::max<LONG>(size.cy, 30);
    }
}

void CxfFrame::PaintSplitters(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    dc->FillSolidRect(&client, face);
    if ((m_nMode != ModeStacked && m_nMode != ModeSideBySide) || m_pPane ||
        m_sizes.size() != static_cast<size_t>(m_children.GetSize()))
        return;
    const bool vertical = m_nMode == ModeSideBySide;
    const bool windowColour = HasParam(L"WndColorSplitters");
    const int count = static_cast<int>(VisibleChildren().size());
    for (int k = 0; k + 1 < count; ++k) {
        const CRect rc = SplitterRect(k);
        if (windowColour)
            dc->FillSolidRect(&rc, ::GetSysColor(COLOR_WINDOW));
        else
            DrawGradientRect(dc, &rc, LightenColour(face, 5), ShadeColour(face, 10), vertical ? 3 : 4);
        const int middle = vertical ? (rc.top + rc.bottom) / 2 : (rc.left + rc.right) / 2;
        for (int offset = 25; offset >= -20; offset -= 5) {
            const int x = vertical ? rc.left + 3 : middle + offset;
            const int y = vertical ? middle + offset : rc.top + 3;
            dc->SetPixel(x, y, kGripDot);
            if (!windowColour)
                dc->SetPixel(x + 1, y + 1, RGB(0xFF, 0xFF, 0xFF));
        }
    }
}
