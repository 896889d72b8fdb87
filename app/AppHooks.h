#pragma once
// What the installer, the uninstaller and the options dialog ask of the
// application: its own wizard pages, uninstall steps, options pages and the
// saving of the settings.
#include <windows.h>
#include "installer/SetupHooks.h"

class COptionsDlg;
class COptionsPage;

// Step 0 "Unregistering components", step 1 "Cleaning registry", else null
// (which ends the uninstaller's steps).
LPCWSTR GetUninstallStepName(int step);
// Step 1 deletes the uninstall entry and the settings key with their
// subkeys; the other steps do nothing.
void DoUninstallStep(int step);
// The application adds no pages to the install wizard.
int GetAppInstallPageCount();
// One options page: the interface language.
int GetAppOptionsPageCount();
// The title string of options page index; 0 outside the pages.
UINT GetAppOptionsPageTitleId(int index);
// A new page made as a child of the dialog; null outside the pages.
COptionsPage* CreateAppOptionsPage(COptionsDlg* dialog, int index);
// Saves the settings when the options dialog applied all its pages; false
// when they could not be saved.
[[nodiscard]] bool SaveAppSettingsHook();
// The uninstall steps and install pages above, as the installer takes them.
SSetupHooks GetAppSetupHooks();
