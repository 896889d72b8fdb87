// CxfStatusBar: the bottom bar with its size grip.
#include "xf/xfToolBar.h"
#include <algorithm>
#include "common/DrawRoutinesDC.h"
#include "xf/xfResources.h"

IMPLEMENT_DYNAMIC(CxfStatusBar, CxfToolBar)

BEGIN_MESSAGE_MAP(CxfStatusBar, CxfToolBar)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_MOUSEMOVE()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CxfStatusBar::CxfStatusBar()
{
    m_bGripper = false;
    m_nBkKind = BkMenu;
}

int CxfStatusBar::GetDockExtent()
{
    return std::max(CxfToolBar::GetDockExtent(), 15);
}

int CxfStatusBar::GetBorderWidth()
{
    return 2;
}

bool CxfStatusBar::IsHostMaximized()
{
    CWnd* host = GetHostWnd();
    return host && host->IsZoomed();
}

int CxfStatusBar::GetGripMargin()
{
    return IsHostMaximized() ? 0 : GripZone;
}

void CxfStatusBar::PaintSplitters(CDC* dc)
{
    CxfToolBar::PaintSplitters(dc);
    if (IsHostMaximized())
        return;
    CRect client;
    GetClientRect(&client);
    const SIZE size = GetBitmapResourceSize(IDB_XF_SIZE_GRIP);
    const CRect grip(client.right - size.cx, client.bottom - size.cy, client.right, client.bottom);
    DrawBitmapTransparentCentred(IDB_XF_SIZE_GRIP, dc, &grip, RGB(0xFF, 0, 0));
}

bool CxfStatusBar::InGripZone(CPoint clientPoint)
{
    CRect client;
    GetClientRect(&client);
    return clientPoint.x > client.right - GripZone;
}

BOOL CxfStatusBar::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message)
{
    CPoint point;
    ::GetCursorPos(&point);
    ScreenToClient(&point);
    if (!InGripZone(point))
        return CxfToolBar::OnSetCursor(wnd, hitTest, message);
    ::SetCursor(::LoadCursorW(nullptr, IDC_SIZENWSE));
    return TRUE;
}

void CxfStatusBar::OnLButtonDown(UINT, CPoint point)
{
    CWnd* host = GetHostWnd();
    if (!host || !InGripZone(point))
        return;
    CPoint screen = point;
    ClientToScreen(&screen);
    host->SendMessage(WM_SYSCOMMAND, SC_SIZE + WMSZ_BOTTOMRIGHT, MAKELPARAM(screen.x, screen.y));
}
