#include "app/AppSettings.h"

#include <windows.h>

namespace {

BOOL g_autoLoopNewSel = 0;

} // namespace

bool GetAutoLoopNewSel()
{
    return g_autoLoopNewSel != 0;
}

void SetAutoLoopNewSel(bool on)
{
    g_autoLoopNewSel = on ? 1 : 0;
}
