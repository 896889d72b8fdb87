#pragma once
// The implanted window content's own operations (type letter 'i').
#include "hybrid/IHybridContent.h"

struct IHybridImplantedWnd : public IHybridContent
{
    virtual void SetHeight(int height) = 0;
    // Only once, and only for a child window of the control.
    virtual void SetWnd(HWND wnd) = 0;
};
