#pragma once
// CTimeScrollerContent: the bar standing for the whole file. Its thumb marks
// the part the views show; dragging the thumb scrolls, dragging either end
// of it zooms. It changes nothing but the time model.
#include "app/DisplayContent.h"

class CTimeScrollerContent : public CDisplayContent<ITimeScroller>
{
public:
    explicit CTimeScrollerContent(ITimeContainer* container);

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;

    void Draw(CDC* dc, CRect rect) override;
    void Paint(CDC*, CRect, int, int) override { Invalidate(); }
    LPCTSTR GetToolTipText() override;
    void OnMouseMove(const CPoint& point) override;
    bool OnLButtonDown(const CPoint& point) override;
    HCURSOR GetCursor(const CPoint& point) override;
    int GetPreferredHeight(int) override { return ::GetSystemMetrics(SM_CYHSCROLL); }

    // The thumb over a scroller rectangle r (may reach past r's right edge).
    CRect GetThumbRect(const CRect& r);
    // 0 scroll, 1 left end, 2 right end, 3 nothing under the mouse.
    int GetDragMode() const { return m_dragMode; }

private:
    CPoint m_dragStart{0, 0};
    LONGLONG m_dragStartPosition = 0;
    CRect m_dragStartThumb{0, 0, 0, 0};
    int m_dragMode = 3;
    CString m_toolTip;
    CSize m_endGrip;
    CSize m_centreGrip;
};
