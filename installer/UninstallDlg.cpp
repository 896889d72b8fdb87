#include "installer/UninstallDlg.h"
#include <shlobj.h>
#include "common/LocalizedString.h"
#include "common/PathUtils.h"
#include "common/ProductInfo.h"
#include "installer/InstallerIds.h"
#include "installer/SelfDelete.h"
#include "installer/Shortcuts.h"
#include "xf/xfFrame.h"
#include "platform/mfc/afxapp.h"
#include "platform/mfc/afxworker.h"

CUninstallDlg::CUninstallDlg() : CLocalizedDlg(IDD_UNINSTALL), m_context(std::make_shared<SUninstallContext>())
{
}

CUninstallDlg::~CUninstallDlg()
{
    // A worker still running stops posting; the member joins it.
    m_context->window = nullptr;
}

void CUninstallDlg::DoDataExchange(CDataExchange* pDX)
{
    CLocalizedDlg::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_UNINSTALL_LOG, m_log);
}

BOOL CUninstallDlg::OnInitDialog()
{
    CLocalizedDlg::OnInitDialog();
    m_comStarted = SUCCEEDED(::CoInitialize(nullptr));
    CLocalizedString question;
    question.Format(IDS_UNINSTALL_QUESTION, SProductInfo::GetName());
    if (AfxMessageBox(question, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        EndDialog(IDCANCEL);
        return TRUE;
    }
    m_context->window = m_hWnd;
    auto* held = new std::shared_ptr<SUninstallContext>(m_context);
    if (!m_worker.Start(UninstallThreadProc, held)) {
        delete held;
        OnLogLine(L"Uninstallation is complete");
        OnDone();
    }
    return TRUE;
}

void CUninstallDlg::OnLogLine(LPCWSTR line)
{
    if (!line)
        return;
    UpdateData(TRUE);
    if (!m_log.IsEmpty())
        m_log += L"\r\n";
    m_log += line;
    UpdateData(FALSE);
}

void CUninstallDlg::OnDone()
{
    if (CWnd* finish = GetDlgItem(IDOK))
        finish->EnableWindow(TRUE);
    const CString program = m_context->folder.IsEmpty()
                                ? GetModuleFilePath()
                                : JoinPath(m_context->folder, GetFileNameOfPath(GetModuleFilePath(), true));
    for (int csidl : {CSIDL_DESKTOP, CSIDL_STARTUP, CSIDL_PROGRAMS})
        DeleteShortcut(program, csidl);
}

void CUninstallDlg::OnOK()
{
    if (m_comStarted)
        ::CoUninitialize();
    m_comStarted = false;
    if (m_context->folder.IsEmpty() && !ScheduleSelfDelete())
        XfMessageBox(this, IDS_SELF_DELETE_FAILED, MB_OK | MB_ICONEXCLAMATION);
    EndDialog(IDOK);
}

LRESULT CUninstallDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_UNINSTALL_LOG: OnLogLine(reinterpret_cast<LPCWSTR>(wParam)); return 0;
    case WM_UNINSTALL_DONE: OnDone(); return 0;
    case WM_DESTROY: m_context->window = nullptr; break;
    default: break;
    }
    return CLocalizedDlg::WindowProc(message, wParam, lParam);
}
