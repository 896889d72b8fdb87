// The application's answers to the options dialog until the application
// shell provides them: one page (the language), and saving the language
// choice under the settings key.
#include "app/OptionsHooks.h"

#include "common/Languages.h"
#include "common/OVRegKey.h"
#include "common/ProductInfo.h"

int GetAppOptionsPageCount()
{
    return 1;
}

UINT GetAppOptionsPageTitleId(int index)
{
    return index == 0 ? 10075 : 0;
}

void SaveAppSettingsHook()
{
    COVRegKey key;
    if (key.Create(HKEY_CURRENT_USER, SProductInfo::GetRegistryKey()))
        PersistLanguageChoice(key.GetHandle(), false);
}
