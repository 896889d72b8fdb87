// The shortcut choices and the copy with its worker thread.
#include <shlobj.h>
#include "common/LocalizedString.h"
#include "common/ProductInfo.h"
#include "installer/InstallDlg.h"
#include "installer/InstallPages.h"
#include "installer/InstallerIds.h"
#include "installer/Shortcuts.h"
#include "platform/mfc/afxworker.h"
#include "xf/xfFrame.h"
#include <commctrl.h>

CShortcutsInstallPage::CShortcutsInstallPage(CInstallDlg* wizard) : CInstallPage(IDD_PAGE_SHORTCUTS, wizard)
{
}

CString CShortcutsInstallPage::GetTitle()
{
    return CLocalizedString(IDS_SHORTCUTS_TITLE);
}

void CShortcutsInstallPage::DoDataExchange(CDataExchange* pDX)
{
    CInstallPage::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_SHORTCUT_START_MENU, m_startMenu);
    DDX_Check(pDX, IDC_SHORTCUT_DESKTOP, m_desktop);
}

void CShortcutsInstallPage::OnFinish()
{
    ReleaseInstanceLock();
    UpdateData(TRUE);
    // Nothing was installed: no shortcut may point at it.
    if (GetWizard()->IsAborted())
        return;
    const CString path = GetWizard()->GetInstalledExePath();
    if (m_desktop)
        CreateShortcut(path, SProductInfo::GetName(), SProductInfo::GetFolderName(), CSIDL_DESKTOP);
    if (m_startMenu)
        CreateShortcut(path, SProductInfo::GetName(), SProductInfo::GetFolderName(), CSIDL_PROGRAMS);
}

CInstPage_Process::CInstPage_Process(CInstallDlg* wizard) : CInstallPage(IDD_PAGE_PROCESS, wizard)
{
    // The page's template holds a progress bar.
    INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_PROGRESS_CLASS};
    ::InitCommonControlsEx(&classes);
}

CInstPage_Process::~CInstPage_Process()
{
    StopWorker();
}

CString CInstPage_Process::GetTitle()
{
    return CLocalizedString(IDS_COPYING_TITLE);
}

UINT CInstPage_Process::GetNextTextId()
{
    return IDS_ABORT;
}

bool CInstPage_Process::OnActivate()
{
    GetWizard()->ShowCancelButton(false);
    GetWizard()->ShowBackButton(false);
    PostMessage(WM_INSTALL_START, 0, 0);
    return true;
}

void CInstPage_Process::StartCopy()
{
    if (m_thread.IsStarted())
        return;
    SendDlgItemMessage(IDC_COPY_PROGRESS, PBM_SETRANGE32, 0, static_cast<LPARAM>(GetWizard()->GetRequiredBytes()));
    m_context = std::make_unique<SInstallWork>();
    m_context->page = m_hWnd;
    m_context->folder = GetWizard()->GetInstallFolder();
    m_context->source = GetWizard()->GetSourceFolder();
    // The page joins the thread before it frees the context.
    if (!m_thread.Start(InstallCopyThreadProc, m_context.get())) {
        m_context.reset();
        PostMessage(WM_INSTALL_DONE, 0, 0);
    }
}

void CInstPage_Process::StopWorker()
{
    if (!m_thread.IsStarted())
        return;
    if (m_context) {
        m_context->abort = true;
        ::SetEvent(m_context->running.Get());
    }
    m_thread.Stop();
}

bool CInstPage_Process::OnLeave()
{
    if (!m_thread.IsStarted() || !m_context)
        return false;
    // The copy waits at its next block while the question is open; it is
    // never suspended, so it cannot hold a lock the interface needs.
    ::ResetEvent(m_context->running.Get());
    m_asking = true;
    const int answer = XfMessageBox(this, IDS_ABORT_COPY_QUESTION, MB_YESNO | MB_ICONQUESTION);
    m_asking = false;
    if (m_doneWhileAsking >= 0) {
        // The copy ended while the question was open: its result stands.
        const bool ok = m_doneWhileAsking == 1;
        m_doneWhileAsking = -1;
        if (!ok && answer == IDYES)
            GetWizard()->SetAborted();
        OnCopyDone(ok);
    } else if (answer == IDYES) {
        GetWizard()->SetAborted();
        StopWorker();
    } else {
        ::SetEvent(m_context->running.Get());
    }
    return false;
}

void CInstPage_Process::OnCancel()
{
    OnLeave();
}

void CInstPage_Process::OnCopyDone(bool ok)
{
    if (m_asking) {
        m_doneWhileAsking = ok ? 1 : 0;
        return;
    }
    // The worker has posted its last message: join it before its context goes.
    StopWorker();
    CInstallDlg* wizard = GetWizard();
    if (m_context)
        wizard->SetInstallFolder(m_context->folder);
    m_context.reset();
    const int index = wizard->FindPageIndex(this);
    if (ok || wizard->IsAborted()) {
        if (!wizard->ShowPage(index + 1))
            wizard->OnCancel(); // no page to go on with: the wizard ends
        return;
    }
    XfMessageBox(this, IDS_COPY_FAILED, MB_OK | MB_ICONERROR);
    XfMessageBox(this, IDS_TRY_REBOOT, MB_OK | MB_ICONEXCLAMATION);
    (void)wizard->ShowPage(index - 1); // the wizard is cancelled next either way
    wizard->OnCancel();
}

LRESULT CInstPage_Process::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INSTALL_START: StartCopy(); return 0;
    case WM_INSTALL_PROGRESS:
        if (m_context)
            SendDlgItemMessage(IDC_COPY_PROGRESS, PBM_SETPOS,
                               static_cast<WPARAM>(m_context->copied.load() & 0xFFFFFFFFu), 0);
        return 0;
    case WM_INSTALL_DONE: OnCopyDone(wParam != 0); return 0;
    default: break;
    }
    return CInstallPage::WindowProc(message, wParam, lParam);
}
