#pragma once
// CHybridSlider: a track-bar content (type letter 'L'): a thumb on a sunken
// groove dragged over an integer range. In tracking mode a second thumb
// follows the mouse (notification 31) and the release commits it (32); with
// high style bit 0x1 (immediate mode) every mouse update sets the position
// and sends 32.
#include "hybrid/ContentBase.h"
#include "hybrid/IHybridSlider.h"

enum : DWORD {
    HSL_IMMEDIATE = 0x1,
};

class CHybridSlider : public CContentBase<IHybridSlider>
{
public:
    CHybridSlider();

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;

    WCHAR GetType() override { return L'L'; }
    void Draw(CDC* dc, CRect rect) override;
    void OnMouseMove(const CPoint& point) override;
    bool OnLButtonDown(const CPoint& point) override;
    void OnLButtonUp(const CPoint& point) override;
    bool OnKeyDown(UINT virtualKey, UINT keyData) override;
    int GetPreferredWidth() override { return m_vertical ? m_thumb.cx : m_length; }
    int GetPreferredHeight(int) override { return m_vertical ? m_length : m_thumb.cy; }

    IStretchContent* SetLength(int length) override;
    IHybridSlider* SetRange(int minimum, int maximum) override;
    void GetRange(int& minimum, int& maximum) override;
    void SetPos(int value) override;
    int GetPos() override { return m_position; }
    IHybridSlider* SetUserValue(int value) override;
    int GetUserValue() override { return m_userValue; }
    int GetTrackPos() override { return m_trackPos; }
    [[nodiscard]] bool IsTracking() override { return HasMouseCapture(); }
    void SetVertical(bool vertical) override;

    // The groove of a content rectangle.
    CRect TrackRect(const CRect& rect) const;
    // Centre of the thumb for a value, along the track.
    int ValueToPixel(const CRect& track, int value) const;
    // Value at a mouse coordinate along the track (not clamped).
    int PixelToValue(const CRect& track, int coordinate) const;

private:
    int Clamp(int value) const;
    void UpdateFromPoint(const CPoint& point);
    void DrawThumb(HDC dc, const CRect& rect, const CRect& track, int value, UINT bitmap);
    [[nodiscard]] bool Immediate() { return (GetStyleBits() >> 32) & HSL_IMMEDIATE; }

    int m_minimum = 0;
    int m_maximum = 100;
    int m_position = 0;
    int m_trackPos = 0;
    int m_userValue = 3;
    int m_halfThumb = 0;
    bool m_vertical = false;
    UINT m_normalBitmap = 0;
    UINT m_trackingBitmap = 0;
    UINT m_disabledBitmap = 0;
    CSize m_thumb{0, 0};
    int m_length = 200;
};
