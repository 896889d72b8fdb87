// The application's side of the setup, handed to the installer as a record:
// its uninstall steps, and no pages of its own in the install wizard.
#include "app/AppHooks.h"

namespace {

CInstallPage* CreateAppInstallPage(int, CInstallDlg*)
{
    return nullptr;
}

} // namespace

SSetupHooks GetAppSetupHooks()
{
    SSetupHooks hooks;
    hooks.uninstallStepName = &GetUninstallStepName;
    hooks.doUninstallStep = &DoUninstallStep;
    hooks.appInstallPageCount = &GetAppInstallPageCount;
    hooks.createAppInstallPage = &CreateAppInstallPage;
    return hooks;
}
