#pragma once
// The product-information record: the product's names, registry paths, web
// addresses and resource ids. The application fills the one global record
// at the start of its initialisation; everything else only reads it.
#include "platform/mfc/afx.h"

struct SProductInfo
{
    CString name;         // display name: window titles, message boxes
    CString folderName;   // default installation folder name
    CString registryKey;  // settings key under HKEY_CURRENT_USER
    CString uninstallKey; // uninstall entry under HKEY_LOCAL_MACHINE
    CString webSiteUrl;
    CString helpUrl;
    CString languagesUrl;
    int popupMenuId = 0; // default menu of the context-menu routine
    int iconId = 0;
    int aboutPictureId = 0;
    int installerPictureId = 0;

    // Readers of the global record.
    static LPCWSTR GetName();
    static LPCWSTR GetFolderName();
    static LPCWSTR GetRegistryKey();
    static LPCWSTR GetUninstallKey();
    static LPCWSTR GetWebSiteUrl();
    static LPCWSTR GetHelpUrl();
    static LPCWSTR GetLanguagesUrl();
    static int GetPopupMenuId();
    static int GetIconId();
};

extern SProductInfo g_productInfo;

// Hands a path or web address to the shell's "open" verb; null does nothing.
void OpenLink(LPCWSTR target);

// Any number of instances may run at the same time: always false.
[[nodiscard]] bool IsAppInstanceRunning(LPCWSTR name);
// Hooks the installer calls around its wizards; the program holds no
// instance handle of its own, so the pair has nothing to do unless one was set.
void AcquireInstanceLock();
void ReleaseInstanceLock();
