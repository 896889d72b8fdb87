#include "installer/SetupEntry.h"
#include <cwchar>
#include "common/ProductInfo.h"
#include "installer/InstallDlg.h"
#include "installer/UninstallDlg.h"

namespace {

enum class ESetupKind { None, Install, Uninstall };

ESetupKind FindSwitch(LPCWSTR commandLine)
{
    if (!commandLine)
        return ESetupKind::None;
    if (std::wcsstr(commandLine, L"/OVInst"))
        return ESetupKind::Install;
    if (std::wcsstr(commandLine, L"/OVUninst"))
        return ESetupKind::Uninstall;
    return ESetupKind::None;
}

} // namespace

bool RunSetupFromCommandLine(LPCWSTR commandLine, const SSetupHooks& hooks)
{
    const ESetupKind kind = FindSwitch(commandLine);
    if (kind == ESetupKind::None)
        return false;
    SetSetupHooks(hooks);
    AcquireInstanceLock();
    if (kind == ESetupKind::Install) {
        CInstallDlg wizard;
        wizard.DoModal();
    } else {
        CUninstallDlg uninstaller;
        uninstaller.DoModal();
    }
    ReleaseInstanceLock();
    return true;
}

bool RunSetupFromCommandLine(const SSetupHooks& hooks)
{
    return RunSetupFromCommandLine(::GetCommandLineW(), hooks);
}
