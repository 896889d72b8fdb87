#pragma once
// Window timers delivered by CHybridCtrl to contents and handlers that
// registered with CHybridCtrl::SetTimerCallback.
#include <windows.h>
#include <unknwn.h>
#include "hybrid/HybridIIDs.h"

struct ITimerCallback : public IUnknown
{
    virtual void OnTimer(UINT_PTR id) = 0;
};
