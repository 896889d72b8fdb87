#include "hybrid/SliderContent.h"
#include "common/DrawRoutines.h"
#include "hybrid/HybridResources.h"

namespace {

const COLORREF kThumbKey = 0xFFFFFF;

} // namespace

CHybridSlider::CHybridSlider()
{
    SetVertical(false);
}

STDMETHODIMP CHybridSlider::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out, {Primary(IID_IHybridSlider)});
}

IStretchContent* CHybridSlider::SetLength(int length)
{
    m_length = length;
    RequestRelayout();
    return this;
}

IHybridSlider* CHybridSlider::SetRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = maximum;
    return this;
}

void CHybridSlider::GetRange(int& minimum, int& maximum)
{
    minimum = m_minimum;
    maximum = m_maximum;
}

int CHybridSlider::Clamp(int value) const
{
    if (value < m_minimum)
        value = m_minimum;
    if (value > m_maximum)
        value = m_maximum;
    return value;
}

void CHybridSlider::SetPos(int value)
{
    if (value == m_position)
        return;
    m_position = Clamp(value);
    Invalidate();
}

IHybridSlider* CHybridSlider::SetUserValue(int value)
{
    m_userValue = value;
    return this;
}

void CHybridSlider::SetVertical(bool vertical)
{
    m_normalBitmap = vertical ? IDB_HYBRID_THUMB_V : IDB_HYBRID_THUMB_H;
    m_trackingBitmap = vertical ? IDB_HYBRID_THUMB_V_TRACK : IDB_HYBRID_THUMB_H_TRACK;
    m_disabledBitmap = vertical ? IDB_HYBRID_THUMB_V_DISABLED : IDB_HYBRID_THUMB_H_DISABLED;
    const SIZE size = GetBitmapResourceSize(m_normalBitmap);
    m_thumb = CSize(size.cx, size.cy);
    m_halfThumb = (vertical ? m_thumb.cy : m_thumb.cx) / 2 + 1;
    m_vertical = vertical;
    RequestRelayout();
}

CRect CHybridSlider::TrackRect(const CRect& rect) const
{
    CRect track;
    if (m_vertical) {
        track.top = rect.top + m_halfThumb;
        track.bottom = rect.bottom - m_halfThumb;
        track.left = rect.left + (rect.Width() / 2 - 2);
        track.right = track.left + 4;
    } else {
        track.left = rect.left + m_halfThumb;
        track.right = rect.right - m_halfThumb;
        track.top = rect.top + (rect.Height() / 2 - 2);
        track.bottom = track.top + 4;
    }
    return track;
}

int CHybridSlider::ValueToPixel(const CRect& track, int value) const
{
    if (m_maximum == m_minimum)
        return m_vertical ? track.top : track.left;
    const int64_t span = static_cast<int64_t>(m_maximum) - m_minimum;
    const int64_t offset = static_cast<int64_t>(value) - m_minimum;
    if (m_vertical)
        return track.bottom - static_cast<int>(track.Height() * offset / span);
    return track.left + static_cast<int>(track.Width() * offset / span);
}

int CHybridSlider::PixelToValue(const CRect& track, int coordinate) const
{
    if (track.Width() == 0 || track.Height() == 0)
        return m_minimum;
    const int64_t span = static_cast<int64_t>(m_maximum) - m_minimum;
    if (m_vertical)
        return m_maximum - static_cast<int>(span * (coordinate - track.top) / track.Height());
    return m_minimum + static_cast<int>(span * (coordinate - track.left) / track.Width());
}

void CHybridSlider::DrawThumb(HDC dc, const CRect& rect, const CRect& track, int value, UINT bitmap)
{
    const int p = ValueToPixel(track, value);
    CRect thumb(rect);
    if (m_vertical) {
        thumb.top = p - m_halfThumb;
        thumb.bottom = p + m_halfThumb;
    } else {
        thumb.left = p - m_halfThumb;
        thumb.right = p + m_halfThumb;
    }
    DrawBitmapTransparentCentred(bitmap, dc, thumb, kThumbKey);
}

void CHybridSlider::Draw(CDC* dc, CRect rect)
{
    if (!(GetStyleBits() & HCB_TRANSPARENT))
        dc->FillSolidRect(&rect, GetStateBkColor());
    CRect track = TrackRect(rect);
    CRect groove(track);
    dc->Draw3dRect(&groove, 0xA3A3A3, 0xFFFFFF);
    groove.DeflateRect(1, 1);
    dc->Draw3dRect(&groove, 0x000000, 0xC0C0C0);
    const HDC hdc = dc->GetSafeHdc();
    DrawThumb(hdc, rect, track, m_position, IsEnabled() ? m_normalBitmap : m_disabledBitmap);
    if (HasMouseCapture() && !Immediate())
        DrawThumb(hdc, rect, track, m_trackPos, m_trackingBitmap);
}

void CHybridSlider::UpdateFromPoint(const CPoint& point)
{
    const int value = PixelToValue(TrackRect(GetRect()), m_vertical ? point.y : point.x);
    if (Immediate()) {
        SetPos(value);
        NotifyCell(HN_SLIDER_POSITION);
        return;
    }
    if (value == m_trackPos)
        return;
    m_trackPos = Clamp(value);
    Invalidate();
    NotifyCell(HN_SLIDER_TRACKING);
}

bool CHybridSlider::OnLButtonDown(const CPoint& point)
{
    CaptureMouse();
    UpdateFromPoint(point);
    return true;
}

void CHybridSlider::OnMouseMove(const CPoint& point)
{
    if (HasMouseCapture())
        UpdateFromPoint(point);
}

void CHybridSlider::OnLButtonUp(const CPoint&)
{
    if (!HasMouseCapture())
        return;
    if (!Immediate())
        SetPos(m_trackPos);
    ReleaseMouse();
    NotifyCell(HN_SLIDER_POSITION);
}

bool CHybridSlider::OnKeyDown(UINT virtualKey, UINT)
{
    if (virtualKey != VK_ESCAPE)
        return false;
    m_trackPos = m_position;
    ReleaseMouse();
    Invalidate();
    return true;
}
