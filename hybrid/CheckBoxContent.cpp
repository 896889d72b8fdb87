#include "hybrid/CheckBoxContent.h"
#include "hybrid/ContentDrawing.h"

namespace {

const int kBox = 13;

} // namespace

STDMETHODIMP CCheckBoxContent::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out, {Primary(IID_IHybridContent), Primary(IID_IHybridCheckBox)});
}

void CCheckBoxContent::SetText(LPCWSTR text)
{
    if (m_text == (text ? text : L""))
        return;
    m_text = text;
    Invalidate();
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
    const HDC hdc = dc->GetSafeHdc();
    if (!(GetStyleBits() & HCB_TRANSPARENT))
        dc->FillSolidRect(&rect, GetStateBkColor());
    CRect box(rect.left, CentredTop(rect, kBox), rect.left + kBox, CentredTop(rect, kBox) + kBox);
    UINT state = m_pressed ? DFCS_PUSHED : 0;
    if (m_state == 1)
        state |= DFCS_CHECKED;
    else if (m_state == 2)
        state |= DFCS_CHECKED | DFCS_INACTIVE;
    ::DrawFrameControl(hdc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | state);
    rect.left += 16;
    DrawBoxLabel(hdc, GetStyle(), rect, m_text, IsEnabled(), GetStateTextColor(), IsFocusCell());
}

bool CCheckBoxContent::OnLButtonDown(const CPoint&)
{
    CaptureMouse();
    m_pressed = true;
    Invalidate();
    return true;
}

void CCheckBoxContent::OnMouseMove(const CPoint& point)
{
    if (!HasMouseCapture())
        return;
    const bool inside = GetRect().PtInRect(point) != FALSE;
    if (inside != m_pressed) {
        m_pressed = inside;
        Invalidate();
    }
}

void CCheckBoxContent::OnLButtonUp(const CPoint&)
{
    if (!HasMouseCapture())
        return;
    ReleaseMouse();
    if (m_pressed)
        Toggle();
    m_pressed = false;
}

bool CCheckBoxContent::OnKeyDown(UINT virtualKey, UINT)
{
    if (virtualKey != VK_SPACE)
        return false;
    Toggle();
    return true;
}

int CCheckBoxContent::GetPreferredWidth()
{
    return 19 + MeasureStyleText(GetCtrl(), GetStyle(), m_text).cx;
}

int CCheckBoxContent::GetPreferredHeight(int)
{
    IHybridStyle* style = GetStyle();
    return style ? style->GetTextHeight() : 0;
}
