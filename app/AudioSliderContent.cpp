#include "app/AudioSliderContent.h"

#include <algorithm>
#include "common/MiniSkin.h"
#include "common/TimeUtils.h"
#include "app/ViewMessages.h"
#include "app/ViewResources.h"

CAudioSliderContent::CAudioSliderContent(ITimeContainer* container) : CDisplayContent<ITimeLine>(container)
{
}

STDMETHODIMP CAudioSliderContent::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out, {Primary(IID_IHybridContent), Primary(IID_IDisplay), Primary(IID_ITimeLine)});
}

void CAudioSliderContent::Draw(CDC* dc, CRect rect)
{
    if (!m_container || !dc)
        return;
    dc->FillSolidRect(&rect, GetBkColor());
    DrawMarker(dc, rect, m_container->GetPlayCursor(), false);
    DrawMarker(dc, rect, m_dragTime != -1 ? m_dragTime : m_container->GetPlayPosition(false), true);
}

void CAudioSliderContent::DrawMarker(CDC* dc, const CRect& r, LONGLONG t, bool second)
{
    if (t == -1)
        return;
    int x = r.left + m_container->TimeToPixel(t, true) - 4;
    CFontSelector font(dc->GetSafeHdc(), GetStyleFont());
    dc->SetTextColor(RGB(0, 0, 0));
    dc->SetBkMode(TRANSPARENT);
    dc->SetBkColor(RGB(192, 192, 192));
    const CString label = FormatTimeMinSecMs(t);
    const int cx = dc->GetTextExtent(label).cx;
    // The balloon stands right of its column unless it would cross the
    // right edge; then it is mirrored to the left.
    UINT bitmap = second ? IDB_BALLOON_POSITION : IDB_BALLOON_CURSOR;
    UINT skin = IDS_BALLOON_SKIN;
    int insetLeft = 11, insetRight = 4;
    if (x + cx + 15 > r.right) {
        bitmap = second ? IDB_BALLOON_POSITION_LEFT : IDB_BALLOON_CURSOR_LEFT;
        skin = IDS_BALLOON_SKIN_LEFT;
        x = x - (cx + 15) + 8;
        std::swap(insetLeft, insetRight);
    }
    const CRect box(x, r.top, x + cx + 15, r.bottom);
    CMiniSkin balloon(bitmap, RGB(255, 255, 255), skin);
    balloon.Draw(dc, box);
    CRect text(box.left + insetLeft, box.top + 3, box.right - insetRight, box.bottom - 6);
    dc->DrawText(label, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

bool CAudioSliderContent::OnLButtonDown(const CPoint& point)
{
    if (!m_container)
        return false;
    CaptureMouse();
    OnMouseMove(point);
    return true;
}

void CAudioSliderContent::OnMouseMove(const CPoint& point)
{
    if (!HasMouseCapture() || !m_container)
        return;
    LONGLONG t = m_container->PixelToTime(point.x - GetRect().left, true);
    t = std::max<LONGLONG>(t, 0);
    const LONGLONG length = m_container->GetLength();
    if (t >= length)
        t = length - 1;
    m_dragTime = t;
    Invalidate();
}

void CAudioSliderContent::OnLButtonUp(const CPoint& point)
{
    if (!m_container)
        return;
    if (HasMouseCapture()) {
        m_container->SetPlayPosition(m_dragTime);
        m_dragTime = -1;
        PostToOwner(WM_POSITION_SLIDER_RELEASED);
    }
    CDisplayContent<ITimeLine>::OnLButtonUp(point);
}
