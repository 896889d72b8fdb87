#include "common/ButtonEdit.h"

CButtonEdit::CButtonEdit(UINT bitmapId, COLORREF transparent, LPCWSTR toolTip, UINT message)
    : m_button(bitmapId, transparent, toolTip), m_message(message)
{
}

CButtonEdit::CButtonEdit(UINT bitmapId, COLORREF transparent, UINT toolTipId, UINT message)
    : m_button(bitmapId, transparent, toolTipId), m_message(message)
{
}

void CButtonEdit::PreSubclassWindow()
{
    CEdit::PreSubclassWindow();
    PostMessage(WM_CONTROL_SETUP);
}

void CButtonEdit::SetUp()
{
    if (m_button.GetSafeHwnd())
        return;
    if (!m_button.Create(L"", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 0, 0), this, IDC_EDIT_BUTTON))
        return;
    m_button.PostMessage(WM_CONTROL_SETUP);
    m_button.EnableWindow(IsWindowEnabled());
    PlaceButton();
}

// A square as high as the client area at the right edge; the right margin
// keeps the text clear of it, the left margin stays.
void CButtonEdit::PlaceButton()
{
    if (!m_button.GetSafeHwnd())
        return;
    CRect client;
    GetClientRect(&client);
    const int side = client.Height();
    m_button.MoveWindow(client.right - side, 0, side, side);
    const DWORD margins = static_cast<DWORD>(SendMessage(EM_GETMARGINS));
    SetMargins(LOWORD(margins), static_cast<UINT>(side));
}

LRESULT CButtonEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CONTROL_SETUP: SetUp(); return 0;
    case WM_SIZE: {
        const LRESULT result = CEdit::WindowProc(message, wParam, lParam);
        PlaceButton();
        return result;
    }
    case WM_ENABLE:
        if (m_button.GetSafeHwnd())
            m_button.EnableWindow(static_cast<BOOL>(wParam));
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_EDIT_BUTTON && HIWORD(wParam) == BN_CLICKED &&
            reinterpret_cast<HWND>(lParam) == m_button.GetSafeHwnd()) {
            const HWND parent = ::GetParent(m_hWnd);
            const UINT notification = m_message;
            OnButton();
            if (notification != EDIT_BUTTON_NO_MESSAGE && parent)
                ::PostMessageW(parent, notification, 0, 0);
            return 0;
        }
        break;
    default: break;
    }
    return CEdit::WindowProc(message, wParam, lParam);
}
