#pragma once
// What the installer asks of the application it installs, handed over as a
// record of functions before any setup runs (the installer never links the
// application). A hook left null means: no uninstall steps, no extra pages.
#include <windows.h>

class CInstallDlg;
class CInstallPage;

struct SSetupHooks
{
    // The name of uninstall step `step` (static text: it is posted to the
    // dialog); null ends the steps.
    LPCWSTR (*uninstallStepName)(int step) = nullptr;
    void (*doUninstallStep)(int step) = nullptr;
    // Extra wizard pages of the application, shown after the shortcuts page.
    int (*appInstallPageCount)() = nullptr;
    CInstallPage* (*createAppInstallPage)(int index, CInstallDlg* wizard) = nullptr;

    LPCWSTR UninstallStepName(int step) const { return uninstallStepName ? uninstallStepName(step) : nullptr; }
    void DoUninstallStep(int step) const
    {
        if (doUninstallStep)
            doUninstallStep(step);
    }
    int AppInstallPageCount() const { return appInstallPageCount ? appInstallPageCount() : 0; }
    CInstallPage* CreateAppInstallPage(int index, CInstallDlg* wizard) const
    {
        return createAppInstallPage ? createAppInstallPage(index, wizard) : nullptr;
    }
};

// Replaces the hooks every later setup uses (the user-interface thread sets
// them before it starts a setup).
void SetSetupHooks(const SSetupHooks& hooks);
const SSetupHooks& GetSetupHooks();
