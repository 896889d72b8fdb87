// The application's side of the setup, as this test program supplies it:
// the program's two uninstall steps and no extra wizard pages, handed to the
// installer as its hooks before any test runs.
#include "installer/SetupHooks.h"
#include "common/OVRegKey.h"
#include "common/ProductInfo.h"

namespace {

LPCWSTR GetUninstallStepName(int step)
{
    return step == 0 ? L"Unregistering components" : step == 1 ? L"Cleaning registry" : nullptr;
}

void DoUninstallStep(int step)
{
    if (step == 1)
        DeleteRegKeyTree(HKEY_LOCAL_MACHINE, SProductInfo::GetUninstallKey());
}

int GetAppInstallPageCount()
{
    return 0;
}

CInstallPage* CreateAppInstallPage(int, CInstallDlg*)
{
    return nullptr;
}

[[maybe_unused]] const bool kHooksHandedOver = [] {
    SSetupHooks hooks;
    hooks.uninstallStepName = &GetUninstallStepName;
    hooks.doUninstallStep = &DoUninstallStep;
    hooks.appInstallPageCount = &GetAppInstallPageCount;
    hooks.createAppInstallPage = &CreateAppInstallPage;
    SetSetupHooks(hooks);
    return true;
}();

} // namespace
