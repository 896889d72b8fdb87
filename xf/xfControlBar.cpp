#include "xf/xfControlBar.h"
#include "xf/xfPane.h"

IMPLEMENT_DYNAMIC(CxfControlBar, CxfFrame)

CxfControlBar::CxfControlBar()
{
    m_nKind = KindControlBar;
}

int CxfControlBar::GetDockExtent()
{
    return m_pPane ? m_pPane->GetPreferredExtent() + 8 : 0;
}

int CxfControlBar::GetBorderWidth()
{
    return 4;
}

int CxfControlBar::GetGripMargin()
{
    return 0;
}

bool CxfControlBar::FindContent(UINT, IHybridContent**)
{
    return false;
}

COLORREF CxfControlBar::GetBkColor()
{
    return ::GetSysColor(COLOR_BTNFACE);
}

void CxfControlBar::OnParam(SxfParam& param)
{
    CxfFrame::OnParam(param);
    const CString& key = param.key;
    if (key == L"top")
        m_dock.side = SideTop;
    else if (key == L"left")
        m_dock.side = SideLeft;
    else if (key == L"right")
        m_dock.side = SideRight;
    else if (key == L"bottom")
        m_dock.side = SideBottom;
    else if (key == L"nogripper")
        m_bGripper = false;
}

void CxfControlBar::RecalcLayout()
{
    CRect client;
    GetClientRect(&client);
    const int b = GetBorderWidth();
    m_rcInner.SetRect(b, b, client.Width() - b - GetGripMargin(), client.Height() - b);
    if (m_bGripper) {
        if (IsVertical())
            m_rcInner.top += 10;
        else
            m_rcInner.left += 10;
    }
    if (m_pPane && m_pPane->m_hWnd)
        m_pPane->MoveWindow(&m_rcInner, TRUE);
}
