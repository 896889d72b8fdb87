#pragma once
// CTimeLineContent: the time ruler. Labels the visible part of the time axis
// at a step that keeps the labels apart, and scrolls the views when dragged
// (the time under the pointer stays under it; no clamping).
#include "app/DisplayContent.h"

class CTimeLineContent : public CDisplayContent<ITimeLine>
{
public:
    explicit CTimeLineContent(ITimeContainer* container);

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;

    int GetPreferredHeight(int width) override;
    HCURSOR GetCursor(const CPoint&) override { return ::LoadCursorW(nullptr, IDC_SIZEWE); }
    bool OnLButtonDown(const CPoint& point) override;
    void OnMouseMove(const CPoint& point) override;
    bool OnRButtonDown(const CPoint&, bool*) override { return true; }
    void Draw(CDC* dc, CRect rect) override;
    void Paint(CDC*, CRect, int, int) override { Invalidate(); }

    // The grid step for labels at least minSpacing µs apart: 0.5 s, 1 s, 5 s
    // or 10 s when one lies between minSpacing and twice it, else the
    // smallest multiple (1 to 10) of the power of ten below minSpacing that
    // reaches it.
    static LONGLONG GridStep(LONGLONG minSpacing);

private:
    // The size of "88:88:888", measured once.
    CSize LabelSize();

    CSize m_label{-1, -1};
    CPoint m_dragStart{0, 0};
    LONGLONG m_dragStartPosition = 0;
};
