#pragma once
// CButtonEdit: an edit box with a picture button glued to its right edge
// (a square as high as the client area; the text never runs under it).
// A click on the button calls OnButton, then posts the notification
// message, when there is one, to the parent (wParam and lParam 0).
#include "common/PictureButton.h"

// Child window id of the embedded button.
constexpr UINT IDC_EDIT_BUTTON = 10060;
// "No notification message".
constexpr UINT EDIT_BUTTON_NO_MESSAGE = static_cast<UINT>(-1);

class CButtonEdit : public CEdit
{
public:
    CButtonEdit(UINT bitmapId, COLORREF transparent, LPCWSTR toolTip, UINT message);
    CButtonEdit(UINT bitmapId, COLORREF transparent, UINT toolTipId, UINT message);

    CPictureButton& GetButton() { return m_button; }

protected:
    // What a click on the button does before the notification is posted.
    virtual void OnButton() {}
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void SetUp();
    void PlaceButton();

    CPictureButton m_button;
    UINT m_message;
};
