#include "common/PictureButton.h"
#include "common/DrawRoutines.h"

namespace {

const UINT_PTR kToolId = 1;

// 45-degree lines in the button face every second pixel across the face.
void DrawHatch(HDC dc, const RECT& rect)
{
    const int height = rect.bottom - rect.top;
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    for (int x = rect.left - height; x < rect.right; x += 2)
        DrawLine(dc, x, rect.bottom, x + height, rect.top, face);
}

} // namespace

CPictureButton::CPictureButton(UINT bitmapId, COLORREF transparent, LPCWSTR toolTip)
    : m_bitmapId(bitmapId), m_transparent(transparent), m_toolTipText(toolTip ? toolTip : L"")
{
}

CPictureButton::CPictureButton(UINT bitmapId, COLORREF transparent, UINT toolTipId)
    : m_bitmapId(bitmapId), m_transparent(transparent)
{
    m_toolTipText.LoadString(toolTipId);
}

void CPictureButton::PreSubclassWindow()
{
    CButton::PreSubclassWindow();
    PostMessage(WM_CONTROL_SETUP);
}

void CPictureButton::SetUp()
{
    if (m_toolTip.GetSafeHwnd())
        return;
    SetButtonStyle(BS_OWNERDRAW, FALSE);
    // Without a text there is nothing to show: no tool tip at all.
    if (m_toolTipText.IsEmpty() || !m_toolTip.Create(this, TTS_ALWAYSTIP))
        return;
    CRect client;
    GetClientRect(&client);
    m_toolTip.AddTool(this, m_toolTipText, &client, kToolId);
}

BOOL CPictureButton::PreTranslateMessage(MSG* msg)
{
    if (m_toolTip.GetSafeHwnd()) {
        m_toolTip.Activate(TRUE);
        m_toolTip.RelayEvent(msg);
    }
    return CButton::PreTranslateMessage(msg);
}

LRESULT CPictureButton::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CONTROL_SETUP: SetUp(); return 0;
    case WM_LBUTTONDBLCLK:
        // Fast clicks all count: the second press of a double click too.
        PostMessage(WM_LBUTTONDOWN, wParam, lParam);
        return 0;
    case WM_DESTROY:
        if (m_toolTip.GetSafeHwnd()) {
            m_toolTip.DelTool(this, kToolId);
            m_toolTip.DestroyWindow();
        }
        break;
    default: break;
    }
    return CButton::WindowProc(message, wParam, lParam);
}

BOOL CPictureButton::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* result)
{
    if (message != WM_DRAWITEM)
        return FALSE;
    DrawItem(reinterpret_cast<LPDRAWITEMSTRUCT>(lParam));
    if (result)
        *result = TRUE;
    return TRUE;
}

void CPictureButton::DrawItem(LPDRAWITEMSTRUCT item)
{
    if (!item || !item->hDC)
        return;
    const bool pressed = (item->itemState & ODS_SELECTED) != 0;
    CRect rect(item->rcItem);
    ::DrawFrameControl(item->hDC, &rect, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));
    CRect face(item->rcItem);
    if (pressed)
        face.OffsetRect(1, 1);
    DrawBitmapTransparentCentred(m_bitmapId, item->hDC, face, m_transparent);
    if (item->itemState & ODS_DISABLED)
        DrawHatch(item->hDC, item->rcItem);
}
