#include "hybrid/SeparatorContent.h"
#include "common/DrawRoutines.h"
#include "hybrid/ContentDrawing.h"

STDMETHODIMP CSeparatorContent::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out, {Primary(IID_IHybridContent), Primary(IID_IHybridSeparator)});
}

void CSeparatorContent::OnAttach()
{
    if (HighBits() & HSB_NOMARGINS)
        m_left = m_top = m_right = m_bottom = 0;
}

void CSeparatorContent::SetMargins(int left, int top, int right, int bottom)
{
    m_left = left;
    m_top = top;
    m_right = right;
    m_bottom = bottom;
}

int CSeparatorContent::GetPreferredHeight(int)
{
    const DWORD high = HighBits();
    if (high & (HSB_ETCHED_RULE | HSB_HEIGHT2))
        return 2;
    if (high & HSB_THIN_SEPARATOR)
        return 1;
    if (high & HSB_THICK_SEPARATOR)
        return 3;
    return m_top + m_bottom + 2;
}

void CSeparatorContent::Draw(CDC* dc, CRect rect)
{
    const HDC hdc = dc->GetSafeHdc();
    const DWORD high = HighBits();
    if (high & HSB_ETCHED_RULE) {
        DrawLine(hdc, rect.left, rect.top, rect.right, rect.top, HYBRID_SHADOW);
        DrawLine(hdc, rect.left, rect.top + 1, rect.right, rect.top + 1, HYBRID_LIGHT);
        return;
    }
    if (!(static_cast<DWORD>(GetStyleBits()) & HCB_TRANSPARENT))
        dc->FillSolidRect(&rect, IsSelected() ? GetSelBkColor() : GetBkColor());
    const int x1 = rect.left + m_left, x2 = rect.right - m_right, y = rect.top + m_top;
    if (high & (HSB_SHADED_LINE | HSB_GREY_LINE)) {
        const COLORREF colour = (high & HSB_SHADED_LINE) ? ShadeColour(GetBkColor(), 10) : HYBRID_SHADOW;
        DrawLine(hdc, x1, y, x2, y, colour);
    } else if (high & HSB_ETCHED) {
        DrawLine(hdc, x1, y, x2, y, HYBRID_SHADOW);
        DrawLine(hdc, x1, y + 1, x2, y + 1, HYBRID_LIGHT);
    }
}
