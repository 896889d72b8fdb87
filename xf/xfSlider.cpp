#include "xf/xfSlider.h"
#include "xf/xfControlBar.h"

STDMETHODIMP CxfSlider::QueryInterface(REFIID riid, void** out)
{
    if (IsEqualIID(riid, IID_IxfHasID))
        return AnswerQueryInterface(riid, out, {{IID_IxfHasID, static_cast<IxfHasID*>(this)}});
    return AnswerQuery(riid, out,
                       {Primary(IID_IHybridContent), Primary(IID_IHybridSlider), Primary(IID_IStretchContent)});
}

void CxfSlider::OnAttach()
{
    CHybridSlider::OnAttach();
    CHybridCtrl* control = GetCtrl();
    CxfControlBar* bar = control ? dynamic_cast<CxfControlBar*>(control->GetParent()) : nullptr;
    if (!bar)
        return;
    SetVertical(bar->IsVertical());
    if (m_item.HasFlag(XF_ITEMF_ALT))
        SetCellStyleBits(static_cast<DWORD>(GetStyleBits()), static_cast<DWORD>(GetStyleBits() >> 32) | HSL_IMMEDIATE);
    if (m_item->nParam != 0)
        SetLength(static_cast<int>(m_item->nParam));
}
