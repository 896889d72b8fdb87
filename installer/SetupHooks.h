#pragma once
// What the installer asks of the application it installs. The application
// defines these functions.
#include <windows.h>

class CInstallDlg;
class CInstallPage;

// The name of uninstall step `step` (static text: it is posted to the
// dialog); null ends the steps.
LPCWSTR GetUninstallStepName(int step);
void DoUninstallStep(int step);
// Extra wizard pages of the application, shown after the shortcuts page.
int GetAppInstallPageCount();
CInstallPage* CreateAppInstallPage(int index, CInstallDlg* wizard);
