#include "hybrid/CheckBoxContent.h"

STDMETHODIMP CCheckBoxContent::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out, {Primary(IID_IHybridContent), Primary(IID_IHybridCheckBox)});
}

void CCheckBoxContent::SetCheck(int state, bool notify)
{
    if (state == m_state)
        return;
    m_threeState = state == 2;
    m_state = state;
    if (notify)
        NotifyCell(HN_CHECKBOX_CHANGED);
    Invalidate();
}

void CCheckBoxContent::Toggle()
{
    const int next = GetCheck() + 1;
    const int limit = m_threeState ? 2 : 1;
    SetCheck(next > limit ? 0 : next, true);
}

void CCheckBoxContent::Draw(CDC* dc, CRect rect)
{
    if (!(GetStyleBits() & HCB_TRANSPARENT))
        dc->FillSolidRect(&rect, GetStateBkColor());
    CRect box = BoxRect(rect);
    UINT state = m_pushed ? DFCS_PUSHED : 0;
    if (m_state == 1)
        state |= DFCS_CHECKED;
    else if (m_state == 2)
        state |= DFCS_CHECKED | DFCS_INACTIVE;
    ::DrawFrameControl(dc->GetSafeHdc(), &box, DFC_BUTTON, DFCS_BUTTONCHECK | state);
    DrawLabel(dc->GetSafeHdc(), rect);
}

int CCheckBoxContent::GetPreferredWidth()
{
    return 19 + MeasureStyleText(GetCtrl(), GetStyle(), m_text).cx;
}
