#pragma once
// Base of the popup windows that take the keyboard and the mouse while the
// window they drop from keeps looking active (the combo drop-down list, the
// framework's popup menus). While a popup is open, its owner and every
// ancestor of the owner are subclassed so that they neither draw themselves
// inactive nor handle their deactivation; closing gives the activation and
// the focus back to the windows that had them when the popup was made.
// User-interface thread only.
#include "platform/mfc/afxdlg.h"
#include "common/PtrArrays.h"

class CActiveDlg : public CDialog
{
public:
    // One subclassed window of the owner chain; destroying it puts the
    // window's own procedure back.
    struct SSubclassInfo
    {
        explicit SSubclassInfo(HWND hwnd);
        virtual ~SSubclassInfo();
        SSubclassInfo(const SSubclassInfo&) = delete;
        SSubclassInfo& operator=(const SSubclassInfo&) = delete;

        HWND hwnd;
        WNDPROC savedProc;
    };

    CActiveDlg(UINT templateId, CWnd* owner, bool drawBorder);
    ~CActiveDlg() override;

    // The class library's modal run, except that neither the owner nor the
    // main window is disabled or re-activated by it.
    INT_PTR DoModal() override;
    BOOL OnInitDialog() override;

    // Once only: OnClosing, every popup's subclassing removed, activation and
    // focus given back; then a modal popup ends its run with 0 (its caller
    // deletes it) and a modeless one destroys its window and deletes itself.
    void Close();

    // Whether a window is subclassed by the open popups.
    [[nodiscard]] static bool IsSubclassed(HWND hwnd);

protected:
    // Called first by Close.
    virtual void OnClosing() {}

    // A hidden popup takes no default focus; a show or move that would
    // activate the popup shows or moves it first and activates it after
    // (see the reason there). Derived popups therefore show themselves
    // before they take the activation, and are not moved while active.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void OnPaint();
    DECLARE_MESSAGE_MAP()

private:
    CWnd* m_owner;
    bool m_closing = false;
    // A show or move that would have activated the popup: it activates
    // once that change is done, when it is visible then.
    bool m_activateWhenPlaced = false;
    bool m_drawBorder;
    HWND m_previousActive;
    HWND m_previousFocus;
};
