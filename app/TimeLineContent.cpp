#include "app/TimeLineContent.h"

#include "common/TimeUtils.h"

CTimeLineContent::CTimeLineContent(ITimeContainer* container) : CDisplayContent<ITimeLine>(container)
{
}

STDMETHODIMP CTimeLineContent::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out, {Primary(IID_IHybridContent), Primary(IID_IDisplay), Primary(IID_ITimeLine)});
}

LONGLONG CTimeLineContent::GridStep(LONGLONG v)
{
    static const LONGLONG candidates[] = {500000, 1000000, 5000000, 10000000};
    if (v < 1)
        v = 1;
    for (LONGLONG c : candidates)
        if (v < c && c < 2 * v)
            return c;
    LONGLONG p = 1;
    while (p <= v / 10)
        p *= 10;
    LONGLONG step = p;
    while (step < v)
        step += p;
    return step;
}

CSize CTimeLineContent::LabelSize()
{
    if (m_label.cx != -1)
        return m_label;
    // Kept only when measured in the style's font; without a cell the
    // system font's size stands in until there is one.
    const CSize size = MeasureText(L"88:88:888");
    if (GetStyleFont())
        m_label = size;
    return size;
}

int CTimeLineContent::GetPreferredHeight(int)
{
    return LabelSize().cy + 14;
}

bool CTimeLineContent::OnLButtonDown(const CPoint& point)
{
    if (!m_container)
        return false;
    CaptureMouse();
    m_dragStart = point;
    m_dragStartPosition = m_container->GetPosition();
    return true;
}

void CTimeLineContent::OnMouseMove(const CPoint& point)
{
    if (!HasMouseCapture() || !m_container)
        return;
    m_container->SetPosition(m_container->PixelToTime(m_dragStart.x - point.x, false) + m_dragStartPosition);
}

void CTimeLineContent::Draw(CDC* dc, CRect rect)
{
    if (!m_container || !dc)
        return;
    const CSize label = LabelSize();
    dc->FillSolidRect(&rect, GetBkColor());
    CFontSelector font(dc->GetSafeHdc(), GetStyleFont());
    const int base = rect.bottom - 1;
    const LONGLONG step = GridStep(m_container->PixelToTime(label.cx + 4, false));
    const LONGLONG from = m_container->GetPosition();
    const LONGLONG to = m_container->PixelToTime(rect.Width(), true);
    // The first label at or after the left edge (never before time 0).
    LONGLONG t = from > 0 ? (from + step - 1) / step * step : 0;
    dc->SetTextColor(RGB(0, 0, 0));
    dc->SetBkMode(TRANSPARENT);
    for (; t <= to; t += step) {
        const int x = rect.left + m_container->TimeToPixel(t, true);
        DrawLine(dc->GetSafeHdc(), x, base - rect.Height() / 3, x, base, RGB(192, 192, 192));
        CRect box(x, rect.top, x + label.cx, rect.top + label.cy + 4);
        dc->DrawText(FormatTimeMinSecMs(t), &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}
