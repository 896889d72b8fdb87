// CHybridCtrl's painting: full repaints of the cell tree and the queue of
// single cells to redraw outside WM_PAINT (drained by one posted message).
#include "hybrid/HybridCtrl.h"
#include <algorithm>
#include <memory>
#include "common/CritSecLock.h"
#include "common/DrawRoutines.h"
#include "hybrid/ContentDrawing.h"

BOOL CHybridCtrl::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CHybridCtrl::OnPaint()
{
    m_fullRepaintPending = false;
    bool viaWindowDC = m_rubberBand.tracking;
    {
        CPaintDC dc(this);
        if (!viaWindowDC)
            DrawAll(&dc);
    }
    if (viaWindowDC)
        DrawAll(nullptr);
}

void CHybridCtrl::DrawAll(CDC* dc)
{
    std::unique_ptr<CClientDC> own;
    if (!dc) {
        own.reset(new CClientDC(this));
        dc = own.get();
    }
    const bool wasDrawn = m_rubberBand.drawn;
    if (wasDrawn)
        ToggleRubberBand();
    if (m_rootCell) {
        // Most cells draw in the default style: with its font selected once
        // for the whole pass they need not select it each.
        CFontSelector font(dc->GetSafeHdc(), StyleFont(m_styles[0]));
        CIPtr<IHybridCell> root(m_rootCell);
        root->Draw(dc);
    }
    CRect area;
    GetCellAreaRect(&area);
    const int bottom = m_contentHeight - GetScrollPos();
    if (bottom < area.Height())
        dc->FillSolidRect(area.left, std::max(bottom, 0), area.Width(), area.Height() - std::max(bottom, 0), m_bkColor);
    own.reset();
    if ((wasDrawn || m_rubberBand.tracking) && !m_rubberBand.drawn)
        ToggleRubberBand();
}

void CHybridCtrl::InvalidateAll(bool erase)
{
    m_fullRepaintPending = true;
    if (GetSafeHwnd())
        Invalidate(erase);
}

bool CHybridCtrl::IsRepaintPending()
{
    if (m_fullRepaintPending)
        return true;
    CCritSecLock lock(&m_layout.lock);
    return m_layout.pending;
}

void CHybridCtrl::QueueCellRedraw(IHybridCell* cell, const CRect* clip)
{
    if (!cell || !GetSafeHwnd() || IsRepaintPending())
        return;
    CCritSecLock lock(&m_redraw.lock);
    const bool wasEmpty = m_redraw.entries.empty();
    m_redraw.entries.push_back(SRedrawQueue::SEntry{cell, clip ? *clip : CRect(), clip != nullptr});
    if (wasEmpty)
        PostMessage(WM_HYBRID_DRAWQUEUED, 0, 0);
}

void CHybridCtrl::DrawQueuedCells()
{
    {
        CCritSecLock lock(&m_redraw.lock);
        if (m_redraw.entries.empty())
            return;
    }
    const bool wasDrawn = m_rubberBand.drawn;
    if (wasDrawn)
        ToggleRubberBand();
    {
        CClientDC dc(this);
        CFontSelector font(dc.GetSafeHdc(), StyleFont(m_styles[0]));
        for (;;) {
            SRedrawQueue::SEntry entry;
            {
                CCritSecLock lock(&m_redraw.lock);
                if (m_redraw.entries.empty())
                    break;
                entry = m_redraw.entries.front();
                m_redraw.entries.pop_front();
            }
            if (!entry.cell)
                continue;
            const int saved = dc.SaveDC();
            if (entry.clipped)
                dc.IntersectClipRect(&entry.clip);
            entry.cell->Draw(&dc);
            dc.RestoreDC(saved);
        }
    }
    if (wasDrawn)
        ToggleRubberBand();
}
