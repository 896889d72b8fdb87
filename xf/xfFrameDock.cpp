// CxfFrame: where dragged frames and bars would land, the drop indicator
// that shows it, the drag start and the drop of a bar.
#include "xf/xfFrame.h"
#include "xf/xfControlBar.h"
#include "xf/xfTgtPosIndicator.h"
#include "xf/xfTracker.h"

namespace {

// Width of the frame indicator's strip along the chosen side.
const int kStrip = 20;

} // namespace

void CxfFrame::SIndicatorDeleter::operator()(CxfTgtPosIndicator* indicator) const
{
    if (indicator->GetSafeHwnd())
        indicator->DestroyWindow();
    delete indicator;
}

bool CxfFrame::IsInside(const CxfFrame* ancestor) const
{
    for (const CxfFrame* f = this; f; f = f->m_pFrame)
        if (f == ancestor)
            return true;
    return false;
}

namespace {

// Whether the window exists and its screen rectangle (filled) holds the point.
bool WindowHolds(CWnd* wnd, POINT screenPoint, CRect& window)
{
    if (!wnd->m_hWnd)
        return false;
    wnd->GetWindowRect(&window);
    return window.PtInRect(screenPoint) != FALSE;
}

} // namespace

void CxfFrame::OnFrameDrag(CPoint pressPoint)
{
    // The tracker shows the caption band's title, when there is one.
    CString title;
    if (m_pCaptionLabel)
        title = m_pCaptionLabel->GetText();
    CxfFrameTracker tracker(this, pressPoint, title);
    tracker.Run();
}

bool CxfFrame::HitTestDock(POINT screenPoint, CxfFrame** frame, int* side)
{
    CRect window;
    if (!WindowHolds(this, screenPoint, window))
        return false;
    for (INT_PTR i = 0; i < m_children.GetSize(); ++i)
        if (m_children[i]->m_bShown && m_children[i]->HitTestDock(screenPoint, frame, side))
            return true;
    // Edges in tie order: top, bottom, left, right.
    const int distance[4] = {screenPoint.y - window.top, window.bottom - screenPoint.y, screenPoint.x - window.left,
                             window.right - screenPoint.x};
    const int sides[4] = {SideTop, SideBottom, SideLeft, SideRight};
    int nearEdges = 0, best = -1;
    for (int e = 0; e < 4; ++e) {
        if (distance[e] <= 0)
            continue;
        if (distance[e] < 20)
            ++nearEdges;
        if (distance[e] < 50 && (best < 0 || distance[e] < distance[best]))
            best = e;
    }
    if (best < 0 || nearEdges >= 2)
        return false;
    if (frame)
        *frame = this;
    if (side)
        *side = sides[best];
    return true;
}

bool CxfFrame::HitTestBarDock(POINT screenPoint, CxfFrame** frame, SxfDockPos* dock)
{
    CRect window;
    if (!WindowHolds(this, screenPoint, window))
        return false;
    for (INT_PTR i = 0; i < m_children.GetSize(); ++i)
        if (m_children[i]->m_bShown && m_children[i]->HitTestBarDock(screenPoint, frame, dock))
            return true;
    CPoint point = screenPoint;
    ScreenToClient(&point);
    if (point.y >= m_rcArea.top)
        return false;
    const int side = point.x < m_rcArea.left ? SideLeft : point.x >= m_rcArea.right ? SideRight : SideTop;
    for (INT_PTR i = 0; i < m_bars.GetSize(); ++i) {
        CxfControlBar* bar = m_bars[i];
        if (!bar->m_bShown || bar->m_dock.side != side)
            continue;
        CRect barRect;
        bar->GetWindowRect(&barRect);
        if (!barRect.PtInRect(screenPoint))
            continue;
        if (frame)
            *frame = this;
        if (dock) {
            dock->row = bar->m_dock.row;
            dock->pos = point.x;
            dock->side = side;
        }
        return true;
    }
    return false;
}

void CxfFrame::DockControlBar(CxfControlBar* bar, const SxfDockPos& dock)
{
    // A bar never moves into itself (its own frames would lose their place).
    if (!bar || IsInside(bar) || dock.side < SideLeft || dock.side > SideBottom)
        return;
    CxfControlBar* first = nullptr;
    for (INT_PTR i = 0; i < m_bars.GetSize() && !first; ++i)
        if (m_bars[i]->m_dock.side == dock.side && m_bars[i]->m_dock.row == dock.row)
            first = m_bars[i];
    if (first == bar)
        return;
    bar->SetFrame(this);
    const int at = first ? m_bars.Find(first) : static_cast<int>(m_bars.GetSize());
    m_bars.InsertAt(at, bar);
    bar->m_dock = dock;
    bar->RequestLayout(true);
    RequestLayout(true);
}

void CxfFrame::ShowDropIndicator(int side)
{
    CRect rect;
    if (m_children.GetSize() > 0) {
        rect = m_rcArea;
        ClientToScreen(&rect);
    } else {
        GetWindowRect(&rect);
    }
    switch (side) {
    case SideLeft: rect.right = rect.left + kStrip; break;
    case SideTop: rect.bottom = rect.top + kStrip; break;
    case SideRight: rect.left = rect.right - kStrip; break;
    case SideBottom: rect.top = rect.bottom - kStrip; break;
    default: break;
    }
    ShowIndicatorAt(rect);
}

void CxfFrame::ShowBarIndicator(const SxfDockPos& dock)
{
    HideDropIndicator();
    for (INT_PTR i = 0; i < m_bars.GetSize(); ++i) {
        CxfControlBar* bar = m_bars[i];
        if (!bar->m_bShown || bar->m_dock.side != dock.side || bar->m_dock.row != dock.row)
            continue;
        // The band of the row across the whole frame.
        CRect band;
        bar->GetWindowRect(&band);
        ScreenToClient(&band);
        CRect client;
        GetClientRect(&client);
        if (bar->IsVertical()) {
            band.top = client.top;
            band.bottom = client.bottom;
        } else {
            band.left = client.left;
            band.right = client.right;
        }
        ClientToScreen(&band);
        ShowIndicatorAt(band);
        return;
    }
}

void CxfFrame::ShowIndicatorAt(const RECT& screenRect)
{
    m_pIndicator.reset(new CxfTgtPosIndicator);
    if (!m_pIndicator->ShowAt(screenRect))
        m_pIndicator.reset();
}

void CxfFrame::HideDropIndicator()
{
    m_pIndicator.reset();
}
