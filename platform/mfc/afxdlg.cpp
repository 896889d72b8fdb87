#include "platform/mfc/afxdlg.h"
#include "platform/mfc/afxmsg.h"
#include "platform/mfc/afxstate.h"
#include "platform/mfc/afxapp.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, &CDialog::OnOK)
    ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    // Every other message reaches the object through its window procedure
    // first; only WM_INITDIALOG is answered here.
    if (message != WM_INITDIALOG)
        return FALSE;
    CDialog* pDlg = dynamic_cast<CDialog*>(CWnd::FromHandlePermanent(hWnd));
    return pDlg ? pDlg->OnInitDialog() : TRUE;
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_pParentWnd(pParentWnd)
{
    SetTemplateName(MAKEINTRESOURCEW(nIDTemplate));
}

CDialog::CDialog(LPCWSTR lpszTemplateName, CWnd* pParentWnd) : m_pParentWnd(pParentWnd)
{
    SetTemplateName(lpszTemplateName);
}

CDialog::~CDialog()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this)
        DestroyWindow();
}

void CDialog::SetTemplateName(LPCWSTR lpszTemplateName)
{
    if (lpszTemplateName && !IS_INTRESOURCE(lpszTemplateName)) {
        m_strTemplateName = lpszTemplateName;
        m_lpszTemplateName = m_strTemplateName;
    } else {
        m_lpszTemplateName = lpszTemplateName;
    }
}

namespace {
// The template resource of the resource module, locked; null when missing.
LPCDLGTEMPLATEW FindTemplate(LPCWSTR lpszTemplateName)
{
    if (!lpszTemplateName)
        return nullptr;
    HINSTANCE hInst = AfxGetResourceHandle();
    HRSRC hRes = ::FindResourceW(hInst, lpszTemplateName, MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    if (!hRes)
        return nullptr;
    HGLOBAL hGlobal = ::LoadResource(hInst, hRes);
    return hGlobal ? static_cast<LPCDLGTEMPLATEW>(::LockResource(hGlobal)) : nullptr;
}
} // namespace

BOOL CDialog::CreateDlgIndirect(LPCDLGTEMPLATEW lpDialogTemplate, HWND hWndParent, HINSTANCE hInst)
{
    if (!lpDialogTemplate || m_hWnd)
        return FALSE;
    m_bCreating = true;
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateDialogIndirectParamW(hInst, lpDialogTemplate, hWndParent, AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    return EndCreate(hWnd);
}

HWND CDialog::GetModelessParent() const
{
    if (HWND h = m_pParentWnd->GetSafeHwnd())
        return h;
    CWnd* pMain = AfxGetMainWnd();
    return pMain ? pMain->m_hWnd : nullptr;
}

BOOL CDialog::Create(LPCWSTR lpszTemplateName, CWnd* pParentWnd)
{
    if (lpszTemplateName)
        SetTemplateName(lpszTemplateName);
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    return CreateDlgIndirect(FindTemplate(m_lpszTemplateName), GetModelessParent(), AfxGetResourceHandle());
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd)
{
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    return CreateDlgIndirect(lpDialogTemplate, GetModelessParent(), AfxGetResourceHandle());
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd)
{
    m_lpDialogTemplate = lpDialogTemplate;
    if (pParentWnd)
        m_pParentWnd = pParentWnd;
    return lpDialogTemplate != nullptr;
}

HWND CDialog::GetModalOwner() const
{
    HWND h = m_pParentWnd->GetSafeHwnd();
    if (!h) {
        CWnd* pMain = AfxGetMainWnd();
        h = pMain ? pMain->m_hWnd : ::GetActiveWindow();
    }
    // A child window can't own a popup: take its top-level window.
    while (h && (::GetWindowLongPtrW(h, GWL_STYLE) & WS_CHILD))
        h = ::GetParent(h);
    return h;
}

BOOL CDialog::CreateModalWindow(HWND hWndOwner)
{
    // A run that cannot start answers -1, never an earlier run's result.
    m_nModalResult = -1;
    LPCDLGTEMPLATEW tmpl = m_lpDialogTemplate ? m_lpDialogTemplate : FindTemplate(m_lpszTemplateName);
    if (!tmpl)
        return FALSE;
    // Armed before creation: EndDialog during OnInitDialog ends the run
    // before the loop starts.
    m_bContinueModal = true;
    if (!CreateDlgIndirect(tmpl, hWndOwner, AfxGetResourceHandle())) {
        m_bContinueModal = false;
        return FALSE;
    }
    return TRUE;
}

void CDialog::RunModalWindow()
{
    if (ContinueModal()) {
        DWORD flags = MLF_SHOWONIDLE;
        if (GetStyle() & DS_NOIDLEMSG)
            flags |= MLF_NOIDLEMSG;
        try {
            RunModalLoop(flags);
        } catch (CException* e) {
            e->Delete();
            m_nModalResult = -1;
        }
    }
    if (m_hWnd)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
}

INT_PTR CDialog::DoModal()
{
    HWND hOwner = GetModalOwner();
    bool reenable = false;
    if (hOwner && hOwner != ::GetDesktopWindow() && ::IsWindowEnabled(hOwner)) {
        ::EnableWindow(hOwner, FALSE);
        reenable = true;
    }
    if (CreateModalWindow(hOwner))
        RunModalWindow();
    // The owner is enabled again before the dialog goes, so that the system
    // hands the activation back to it.
    if (reenable)
        ::EnableWindow(hOwner, TRUE);
    if (hOwner && m_hWnd && ::GetActiveWindow() == m_hWnd)
        ::SetActiveWindow(hOwner);
    int result = m_nModalResult;
    m_bContinueModal = false;
    DestroyWindow();
    return result;
}

void CDialog::EndDialog(int nResult)
{
    if (m_bContinueModal)
        EndModalLoop(nResult);
    else
        m_nModalResult = nResult;
    ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog()
{
    // Filling the controls cannot fail: only the save direction validates.
    (void)UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

namespace {

// Whether every window between the dialog and w, a descendant of it or the
// dialog itself (both left out), is visible and enabled. The dialog
// manager's search for a mnemonic starts at the target and walks the
// dialog's windows until it comes back to it, entering only visible,
// enabled ones: from a target under a hidden or disabled window it never
// comes back (under Wine the thread loops for good).
bool IsReachableInDialog(HWND dialog, HWND w)
{
    for (HWND p = w == dialog ? nullptr : ::GetParent(w); p && p != dialog; p = ::GetParent(p))
        if ((::GetWindowLongW(p, GWL_STYLE) & (WS_VISIBLE | WS_DISABLED)) != WS_VISIBLE)
            return false;
    return true;
}

} // namespace

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST || !m_hWnd)
        return FALSE;
    if (pMsg->hwnd != m_hWnd && !::IsChild(m_hWnd, pMsg->hwnd))
        return FALSE;
    // A key for a window the user cannot reach has no dialog navigation to
    // do; it goes on to ordinary dispatch.
    if (!IsReachableInDialog(m_hWnd, pMsg->hwnd))
        return FALSE;
    return ::IsDialogMessageW(m_hWnd, pMsg);
}

// ---- data exchange --------------------------------------------------------------

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd)
        return;
    HWND h = pDX->PrepareCtrl(nIDC);
    // A refused binding leaves the member unbound; the next exchange tries
    // again.
    if (h)
        (void)rControl.SubclassWindow(h);
}

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value)
{
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!h)
        return;
    if (pDX->m_bSaveAndValidate) {
        int n = ::GetWindowTextLengthW(h);
        n = ::GetWindowTextW(h, value.GetBuffer(n + 1), n + 1);
        value.ReleaseBuffer(n);
    } else {
        ::SetWindowTextW(h, value);
    }
}

void DDX_Check(CDataExchange* pDX, int nIDC, int& value)
{
    HWND h = pDX->PrepareCtrl(nIDC);
    if (!h)
        return;
    if (pDX->m_bSaveAndValidate)
        value = static_cast<int>(::SendMessageW(h, BM_GETCHECK, 0, 0));
    else
        ::SendMessageW(h, BM_SETCHECK, static_cast<WPARAM>(value), 0);
}
