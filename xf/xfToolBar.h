#pragma once
// Toolbars and the status bar: control bars whose windows are made after
// their parameters were read.
#include "xf/xfControlBar.h"

class CxfToolBar : public CxfControlBar
{
    DECLARE_DYNAMIC(CxfToolBar)
public:
    CxfToolBar();
    int GetBorderWidth() override;
};

// A toolbar always docked at the bottom, without a gripper.
class CxfStatusBar : public CxfToolBar
{
    DECLARE_DYNAMIC(CxfStatusBar)
public:
    CxfStatusBar();
    int GetDockExtent() override;
    int GetBorderWidth() override;
};
