#include "app/AppHooks.h"
#include "app/AppIds.h"
#include "app/AppSettings.h"
#include "common/OVRegKey.h"
#include "common/ProductInfo.h"

namespace {

const UINT kOptionsPageTitles[] = {IDS_LANGUAGE};

} // namespace

LPCWSTR GetUninstallStepName(int step)
{
    switch (step) {
    case 0: return L"Unregistering components";
    case 1: return L"Cleaning registry";
    default: return nullptr;
    }
}

void DoUninstallStep(int step)
{
    if (step != 1)
        return;
    DeleteRegKeyTree(HKEY_LOCAL_MACHINE, SProductInfo::GetUninstallKey());
    DeleteRegKeyTree(HKEY_CURRENT_USER, SProductInfo::GetRegistryKey());
}

int GetAppInstallPageCount()
{
    return 0;
}

int GetAppOptionsPageCount()
{
    return static_cast<int>(sizeof(kOptionsPageTitles) / sizeof(kOptionsPageTitles[0]));
}

UINT GetAppOptionsPageTitleId(int index)
{
    return index >= 0 && index < GetAppOptionsPageCount() ? kOptionsPageTitles[index] : 0;
}

bool SaveAppSettingsHook()
{
    return SaveAppSettings();
}
