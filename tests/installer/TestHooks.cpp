// The application's side of the setup, as this test program supplies it:
// the program's two uninstall steps and no extra wizard pages.
#include "installer/SetupHooks.h"
#include "common/OVRegKey.h"
#include "common/ProductInfo.h"

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
