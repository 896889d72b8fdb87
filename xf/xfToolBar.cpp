#include "xf/xfToolBar.h"
#include <algorithm>

IMPLEMENT_DYNAMIC(CxfToolBar, CxfControlBar)
IMPLEMENT_DYNAMIC(CxfStatusBar, CxfToolBar)

CxfToolBar::CxfToolBar()
{
    m_nKind = KindToolBar;
}

int CxfToolBar::GetBorderWidth()
{
    return 0;
}

CxfStatusBar::CxfStatusBar()
{
    m_bGripper = false;
}

int CxfStatusBar::GetDockExtent()
{
    return std::max(CxfToolBar::GetDockExtent(), 15);
}

int CxfStatusBar::GetBorderWidth()
{
    return 2;
}
