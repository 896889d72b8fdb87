#include "hybrid/ImplantedWndContent.h"

STDMETHODIMP CImplantedWndContent::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out, {Primary(IID_IHybridImplantedWnd)});
}

void CImplantedWndContent::Draw(CDC* dc, CRect rect)
{
    dc->FillSolidRect(&rect, GetBkColor());
}

void CImplantedWndContent::OnDetach()
{
    if (m_wnd)
        if (CHybridCtrl* control = GetCtrl())
            control->RemoveImplantedWnd(m_cell, m_wnd);
}

void CImplantedWndContent::SetHeight(int height)
{
    m_height = height;
    RequestRelayout();
}

void CImplantedWndContent::SetWnd(HWND wnd)
{
    CHybridCtrl* control = GetCtrl();
    if (m_wnd || !wnd || !control || ::GetParent(wnd) != control->GetSafeHwnd())
        return;
    m_wnd = wnd;
    control->AddImplantedWnd(m_cell, wnd);
}
