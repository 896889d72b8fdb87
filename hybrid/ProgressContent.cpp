#include "hybrid/ProgressContent.h"
#include <algorithm>
#include "common/DrawRoutines.h"
#include "hybrid/ContentDrawing.h"

namespace {

const COLORREF kBarEdge = 0xFF0000;
const COLORREF kBarMiddle = 0xFFC8C8;
const int kTopBottomToMiddle = 2;

DWORD HighBits(uint64_t bits)
{
    return static_cast<DWORD>(bits >> 32);
}

} // namespace

STDMETHODIMP CProgressContent::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out, {Primary(IID_IHybridContent), Primary(IID_IHybridProgress)});
}

void CProgressContent::SetTotal(int64_t total)
{
    if (total == m_total)
        return;
    m_total = total;
    m_position = 0;
    Invalidate();
}

void CProgressContent::SetPos(int64_t position)
{
    if (position > m_total)
        position = m_total;
    if (position == m_position)
        return;
    m_position = position;
    Invalidate();
}

IHybridProgress* CProgressContent::SetTextCallback(PFN_PROGRESS_TEXT callback)
{
    m_textCallback = callback;
    return this;
}

int CProgressContent::BarWidth(int width) const
{
    if (m_total == 0)
        return 0;
    int w = static_cast<int>(static_cast<int64_t>(width) * m_position / m_total);
    if (m_position > 0 && w == 0)
        w = 1;
    return w;
}

CString CProgressContent::GetLabel()
{
    if (m_textCallback)
        return m_textCallback(this);
    const int64_t percent = m_total == 0 ? 0 : m_position * 100 / m_total;
    CString label;
    label.Format(L"%d %c", static_cast<int>(percent), L'%');
    return label;
}

int CProgressContent::GetPreferredHeight(int)
{
    if (HighBits(GetStyleBits()) & HPB_NOHEIGHT)
        return 0;
    return MeasureStyleText(GetCtrl(), GetStyle(), L"100%").cy + 2;
}

void CProgressContent::Draw(CDC* dc, CRect rect)
{
    const HDC hdc = dc->GetSafeHdc();
    const DWORD high = HighBits(GetStyleBits());
    const COLORREF base = GetBkColor();
    // A negative position draws an empty bar.
    CRect bar(rect.left, rect.top, rect.left + std::max(0, BarWidth(rect.Width())), rect.bottom);
    CRect rest(rect);
    if (!(high & HPB_FLAT)) {
        DrawGradientRect(hdc, bar, kBarEdge, kBarMiddle, kTopBottomToMiddle);
        rest.left = bar.right + 1;
        if (rest.Width() > 0)
            DrawGradientRect(hdc, rest, ::GetSysColor(COLOR_BTNFACE), HYBRID_LIGHT, kTopBottomToMiddle);
    } else {
        if (bar.Width() > 0) {
            dc->FillSolidRect(&bar, ShadeColour(base, 20));
            rest.left = bar.right + 1;
        }
        if (rest.Width() > 0)
            dc->FillSolidRect(&rest, base);
    }
    if (high & HPB_NOTEXT)
        return;
    const CString label = GetLabel();
    IHybridStyle* style = GetStyle();
    CFontSelector font(hdc, StyleFont(style));
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, GetTextColor());
    ::DrawTextW(hdc, label, label.GetLength(), &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}
