#include "app/TimeScrollerContent.h"

#include <algorithm>
#include "common/BitUtils.h"
#include "common/LocalizedString.h"
#include "app/ViewResources.h"

namespace {

const COLORREF kFace = RGB(240, 240, 240);
const COLORREF kFrame = RGB(163, 163, 163);
const int kEndTolerance = 10;

// A column far outside any screen stays one: it is never cut to 32 bits.
int ToColumn(LONGLONG x)
{
    return static_cast<int>(std::max<LONGLONG>(-1000000000, std::min<LONGLONG>(x, 1000000000)));
}

} // namespace

CTimeScrollerContent::CTimeScrollerContent(ITimeContainer* container)
    : CDisplayContent<ITimeScroller>(container), m_endGrip(GetBitmapResourceSize(IDB_SCROLLER_END_GRIP)),
      m_centreGrip(GetBitmapResourceSize(IDB_SCROLLER_GRIP))
{
}

STDMETHODIMP CTimeScrollerContent::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out, {Primary(IID_IHybridContent), Primary(IID_IDisplay), Primary(IID_ITimeScroller)});
}

CRect CTimeScrollerContent::GetThumbRect(const CRect& r)
{
    CRect thumb(r.left, r.top, r.left, r.bottom);
    if (!m_container)
        return thumb;
    const LONGLONG length = m_container->GetLength();
    if (length < 1)
        return thumb;
    const LONGLONG w = r.Width();
    const LONGLONG p = m_container->GetPosition();
    thumb.left = ToColumn(r.left + p * w / length);
    thumb.right = ToColumn(r.left + (m_container->PixelToTime(r.Width(), false) + p) * w / length);
    return thumb;
}

void CTimeScrollerContent::Draw(CDC* dc, CRect r)
{
    if (!m_container || !dc)
        return;
    dc->FillSolidRect(&r, GetBkColor());
    dc->Draw3dRect(&r, kFace, kFace);
    const CRect t = GetThumbRect(r);
    dc->FillSolidRect(&t, kFace);
    dc->Draw3dRect(&t, kFrame, kFrame);
    const int w = t.Width();
    const HDC hdc = dc->GetSafeHdc();
    if (w > m_centreGrip.cx + 2 * m_endGrip.cx) {
        const CRect right(t.right - m_endGrip.cx, t.top, t.right, t.bottom);
        const CRect left(t.left, t.top, t.left + m_endGrip.cx, t.bottom);
        DrawBitmapTransparentCentred(IDB_SCROLLER_END_GRIP, hdc, right, RGB(255, 255, 255));
        DrawBitmapTransparentCentred(IDB_SCROLLER_END_GRIP, hdc, left, RGB(255, 255, 255));
    }
    if (w > m_centreGrip.cx)
        DrawBitmapTransparentCentred(IDB_SCROLLER_GRIP, hdc, t, RGB(255, 255, 255));
}

LPCTSTR CTimeScrollerContent::GetToolTipText()
{
    return m_toolTip.IsEmpty() ? nullptr : static_cast<LPCTSTR>(m_toolTip);
}

HCURSOR CTimeScrollerContent::GetCursor(const CPoint& point)
{
    if (!HasMouseCapture()) {
        const CRect t = GetThumbRect(GetRect());
        const bool wide = t.Width() > kEndTolerance;
        UINT tip = 0;
        if (wide && IsWithinTolerance(point.x, t.left, kEndTolerance)) {
            m_dragMode = 1;
            tip = IDS_CHANGE_ZOOM;
        } else if (wide && IsWithinTolerance(point.x, t.right, kEndTolerance)) {
            m_dragMode = 2;
            tip = IDS_CHANGE_ZOOM;
        } else if (t.PtInRect(point)) {
            m_dragMode = 0;
            tip = IDS_SCROLL;
        } else {
            m_dragMode = 3;
        }
        CLocalizedString text;
        if (tip)
            text.LoadString(tip);
        if (text != m_toolTip) {
            m_toolTip = text;
            if (CHybridCtrl* control = GetCtrl())
                control->PopToolTip();
        }
    }
    if (m_dragMode == 0)
        return ::LoadCursorW(nullptr, IDC_SIZEWE);
    if (m_dragMode == 1 || m_dragMode == 2)
        return ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDC_ZOOM_ENDS));
    return nullptr;
}

bool CTimeScrollerContent::OnLButtonDown(const CPoint& point)
{
    if (!m_container)
        return false;
    CaptureMouse();
    m_dragStart = point;
    m_dragStartPosition = m_container->GetPosition();
    m_dragStartThumb = GetThumbRect(GetRect());
    return true;
}

void CTimeScrollerContent::OnMouseMove(const CPoint& point)
{
    if (!HasMouseCapture() || !m_container || m_dragMode == 3)
        return;
    const LONGLONG w = GetRect().Width();
    if (w <= 0)
        return;
    const LONGLONG length = m_container->GetLength();
    const LONGLONG dx = point.x - m_dragStart.x;
    // Not limited: past either end the views show time before the start
    // or after the end of the file.
    if (m_dragMode == 0 || m_dragMode == 1)
        m_container->SetPosition(m_dragStartPosition + dx * length / w);
    if (m_dragMode == 1)
        m_container->SetScale(length * (m_dragStartThumb.right - point.x) / w / (w * 10));
    else if (m_dragMode == 2)
        m_container->SetScale(length * (point.x - m_dragStartThumb.left) / w / (w * 10));
}
