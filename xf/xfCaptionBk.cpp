#include "xf/xfCaptionBk.h"
#include "common/DrawRoutinesDC.h"

STDMETHODIMP CxfCaptionBk::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out, {Primary(IID_IHybridContent)});
}

void CxfCaptionBk::SetActive(bool active)
{
    if (active == m_bActive)
        return;
    m_bActive = active;
    Invalidate();
}

void CxfCaptionBk::Draw(CDC* dc, CRect rect)
{
    const COLORREF face = ::GetSysColor(COLOR_3DFACE);
    const COLORREF caption = ::GetSysColor(m_bActive ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    DrawGradientRect(dc, &rect, caption, face, 3);
    dc->SetPixel(rect.left, rect.top, face);
    dc->SetPixel(rect.right - 1, rect.top, face);
    dc->SetPixel(rect.left, rect.bottom - 1, face);
    dc->SetPixel(rect.right - 1, rect.bottom - 1, face);
}
