#include "installer/InstallPage.h"
#include "installer/InstallDlg.h"
#include "installer/InstallPages.h"
#include "installer/InstallerIds.h"
#include "installer/SetupHooks.h"

CInstallPage::CInstallPage(UINT templateId, CInstallDlg* wizard)
    : CLocalizedDlg(templateId, wizard), m_templateId(templateId), m_wizard(wizard)
{
}

CInstallPage::~CInstallPage() = default;

CString CInstallPage::GetTitle()
{
    return CString();
}

UINT CInstallPage::GetNextTextId()
{
    return 0;
}

bool CInstallPage::OnLeave()
{
    return true;
}

bool CInstallPage::OnActivate()
{
    return true;
}

void CInstallPage::OnFinish()
{
}

void CInstallPage::OnOK()
{
}

void CInstallPage::OnCancel()
{
    if (m_wizard)
        m_wizard->OnCancel();
}

CInstallPage* CreateInstallPage(CInstallDlg* wizard, int index)
{
    if (!wizard)
        return nullptr;
    switch (index) {
    case CInstallDlg::kWelcome: return new CWelcomeInstallPage(wizard);
    case CInstallDlg::kLicense: return new CInstPage_License(wizard);
    case CInstallDlg::kFolder: return new CFolderInstallPage(wizard);
    case CInstallDlg::kShortcuts: return new CShortcutsInstallPage(wizard);
    default: break;
    }
    if (index == wizard->GetProcessIndex())
        return new CInstPage_Process(wizard);
    if (index == wizard->GetFinishedIndex())
        return new CFinishedInstallPage(wizard);
    if (index >= CInstallDlg::kFirstAppPage && index < wizard->GetProcessIndex())
        return GetSetupHooks().CreateAppInstallPage(index - CInstallDlg::kFirstAppPage, wizard);
    return nullptr;
}
