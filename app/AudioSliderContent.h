#pragma once
// CAudioSliderContent: the strip under the ruler that shows where playback
// stands (the play cursor) and where it should stand (the requested play
// position, or the time under the mouse while the left button is held).
// Releasing the button stores the position in the time model and posts
// WM_POSITION_SLIDER_RELEASED to the window holding the control.
#include "app/DisplayContent.h"

class CAudioSliderContent : public CDisplayContent<ITimeLine>
{
public:
    explicit CAudioSliderContent(ITimeContainer* container);

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;

    void Draw(CDC* dc, CRect rect) override;
    void Paint(CDC*, CRect, int, int) override { Invalidate(); }
    void OnMouseMove(const CPoint& point) override;
    bool OnLButtonDown(const CPoint& point) override;
    void OnLButtonUp(const CPoint& point) override;
    bool OnRButtonDown(const CPoint&, bool*) override { return true; }
    HCURSOR GetCursor(const CPoint&) override { return nullptr; }
    int GetPreferredHeight(int) override { return MeasureText(L"8").cy + 9; }
    void OnPlayCursorChanged() override { Invalidate(); }
    void OnPlayPositionChanged() override { Invalidate(); }

    // The time under the mouse during a drag; -1 otherwise.
    LONGLONG GetDragTime() const { return m_dragTime; }

private:
    // second: the requested-position marker (drawn paler, over the first).
    void DrawMarker(CDC* dc, const CRect& r, LONGLONG t, bool second);

    LONGLONG m_dragTime = -1;
};
