#include "installer/SetupEntry.h"
#include <cwchar>
#include "common/ProductInfo.h"

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

bool RunSetupFromCommandLine(LPCWSTR commandLine)
{
    if (FindSwitch(commandLine) == ESetupKind::None)
        return false;
    AcquireInstanceLock();
    // The install wizard and the uninstaller run here, modally; until they
    // exist a switch only ends the program.
    ReleaseInstanceLock();
    return true;
}

bool RunSetupFromCommandLine()
{
    return RunSetupFromCommandLine(::GetCommandLineW());
}
