#include "common/ProductInfo.h"
#include <shellapi.h>

#include "common/ScopedHandle.h"

SProductInfo g_productInfo;

namespace {
CKernelHandle g_instanceHandle;
}

LPCWSTR SProductInfo::GetName()
{
    return g_productInfo.name;
}
LPCWSTR SProductInfo::GetFolderName()
{
    return g_productInfo.folderName;
}
LPCWSTR SProductInfo::GetRegistryKey()
{
    return g_productInfo.registryKey;
}
LPCWSTR SProductInfo::GetUninstallKey()
{
    return g_productInfo.uninstallKey;
}
LPCWSTR SProductInfo::GetWebSiteUrl()
{
    return g_productInfo.webSiteUrl;
}
LPCWSTR SProductInfo::GetHelpUrl()
{
    return g_productInfo.helpUrl;
}
LPCWSTR SProductInfo::GetLanguagesUrl()
{
    return g_productInfo.languagesUrl;
}
int SProductInfo::GetPopupMenuId()
{
    return g_productInfo.popupMenuId;
}
int SProductInfo::GetIconId()
{
    return g_productInfo.iconId;
}

void OpenLink(LPCWSTR target)
{
    if (target == nullptr)
        return;
    ShellExecuteW(nullptr, L"open", target, nullptr, nullptr, SW_SHOWNORMAL);
}

bool IsAppInstanceRunning(LPCWSTR)
{
    return false;
}

void AcquireInstanceLock()
{
}

void ReleaseInstanceLock()
{
    g_instanceHandle.Reset();
}
