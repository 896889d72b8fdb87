// The application's own pages of the install wizard: it adds none.
#include "installer/SetupHooks.h"

CInstallPage* CreateAppInstallPage(int, CInstallDlg*)
{
    return nullptr;
}
