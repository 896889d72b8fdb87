#pragma once
// CPictureButton: an owner-drawn push button showing a bitmap resource with
// a transparent colour, a tooltip over its whole face and a hatched look
// when disabled. Bound to a template button by subclassing (or created);
// it finishes its set-up on a message it posts itself. A double click
// counts as a second click.
#include "platform/mfc/afxwin.h"

// Posted by a control to itself to finish its set-up after subclassing.
constexpr UINT WM_CONTROL_SETUP = WM_APP + 8;

class CPictureButton : public CButton
{
public:
    CPictureButton(UINT bitmapId, COLORREF transparent, LPCWSTR toolTip);
    CPictureButton(UINT bitmapId, COLORREF transparent, UINT toolTipId);

    BOOL PreTranslateMessage(MSG* msg) override;
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    // Frame (pushed while selected), the bitmap centred (one pixel right and
    // down while pushed) and, when disabled, the hatch.
    virtual void DrawItem(LPDRAWITEMSTRUCT item);

    [[nodiscard]] bool HasToolTip() const { return m_toolTip.GetSafeHwnd() != nullptr; }
    const CString& GetToolTipText() const { return m_toolTipText; }
    // The tool-tip control, or null when the button has none.
    HWND GetToolTipWnd() const { return m_toolTip.GetSafeHwnd(); }

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void SetUp();

    CToolTipCtrl m_toolTip;
    UINT m_bitmapId;
    COLORREF m_transparent;
    CString m_toolTipText;
};
