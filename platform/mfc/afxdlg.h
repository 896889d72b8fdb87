#pragma once
// CDialog: dialogs from dialog templates in the resources (or in memory).
//
// Modeless: Create(id, parent) makes the window and returns; the dialog lives
// until DestroyWindow (override OnOK/OnCancel to destroy it, and PostNcDestroy
// to delete a heap object).
// Modal: DoModal() disables the owner, creates the window, runs RunModalLoop
// (every message passes the thread's PreTranslateMessage) until EndDialog,
// then hides and destroys the window and returns the EndDialog result (-1 when
// the template is missing or the window can't be made).
//
// OnInitDialog runs for WM_INITDIALOG; the base version fills the controls
// (UpdateData(FALSE)) and returns TRUE (focus to the first control).
// PreTranslateMessage gives keyboard messages of the dialog and its
// descendants to IsDialogMessage (Tab, Enter, Escape, mnemonics), except
// those for a window under a hidden or disabled window of the dialog.
#include <windows.h>
#include "platform/mfc/afxwnd.h"

// The dialog procedure of every dialog object.
INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// What DoDataExchange gets: the direction and the dialog.
class CDataExchange
{
public:
    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate) : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
    BOOL m_bSaveAndValidate; // TRUE: controls -> members; FALSE: members -> controls
    CWnd* m_pDlgWnd;
    HWND PrepareCtrl(int nIDC) const { return ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC); }
};

// Binds rControl to dialog item nIDC (once), routing its messages through it.
void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
void DDX_Check(CDataExchange* pDX, int nIDC, int& value);

class CDialog : public CWnd
{
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog() = default;
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    explicit CDialog(LPCWSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Modeless creation from the template named at construction or here.
    // Without a parent (here or at construction) the thread's main window,
    // when there is one, becomes the parent (the owner of a popup dialog).
    [[nodiscard]] virtual BOOL Create(LPCWSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    [[nodiscard]] virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr)
    {
        return Create(MAKEINTRESOURCEW(nIDTemplate), pParentWnd);
    }
    [[nodiscard]] virtual BOOL CreateIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd = nullptr);

    // Modal run; a template given by InitModalIndirect replaces the resource.
    virtual INT_PTR DoModal();
    [[nodiscard]] BOOL InitModalIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd = nullptr);
    // Ends a modal run with nResult (and hides the window, as the system does).
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();
    BOOL PreTranslateMessage(MSG* pMsg) override;

    void NextDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
    void PrevDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 1, 0); }
    void GotoDlgCtrl(CWnd* pWndCtrl)
    {
        ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->GetSafeHwnd()), 1);
    }
    void SetDefID(UINT nID) { ::SendMessageW(m_hWnd, DM_SETDEFID, nID, 0); }
    DWORD GetDefID() const { return static_cast<DWORD>(::SendMessageW(m_hWnd, DM_GETDEFID, 0, 0)); }
    void MapDialogRect(LPRECT lpRect) const { ::MapDialogRect(m_hWnd, lpRect); }

    LPCWSTR m_lpszTemplateName = nullptr;         // resource name or MAKEINTRESOURCE id
    LPCDLGTEMPLATEW m_lpDialogTemplate = nullptr; // in-memory template, or null
    CWnd* m_pParentWnd = nullptr;

protected:
    virtual void OnOK();
    virtual void OnCancel();

    // The owner of a modal run: the given parent's top-level window, else the
    // main window, else the active window. May be null.
    HWND GetModalOwner() const;
    // Creates the window for a modal run from the template, owned by
    // hWndOwner, and arms the modal state. FALSE when there is no template or
    // the window was not made.
    [[nodiscard]] BOOL CreateModalWindow(HWND hWndOwner);
    // Runs the modal loop of a window made by CreateModalWindow until it
    // ends (an exception out of a handler ends it with -1), then hides the
    // window without activating another.
    void RunModalWindow();
    // The parent of a modeless window: the given one, else the main window.
    [[nodiscard]] HWND GetModelessParent() const;
    // Creates the window from a template in memory (modeless or modal).
    [[nodiscard]] BOOL CreateDlgIndirect(LPCDLGTEMPLATEW lpDialogTemplate, HWND hWndParent, HINSTANCE hInst);

    DECLARE_MESSAGE_MAP()

private:
    CString m_strTemplateName; // keeps a string template name alive
    void SetTemplateName(LPCWSTR lpszTemplateName);
};
