#include "xf/xfControlBar.h"
#include <cstdlib>
#include "common/DrawRoutinesDC.h"
#include "hybrid/HybridMessages.h"
#include "xf/xfPane.h"

IMPLEMENT_DYNAMIC(CxfControlBar, CxfFrame)

BEGIN_MESSAGE_MAP(CxfControlBar, CxfFrame)
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

namespace {

// The gripper strip along the start of the bar.
const int kGripperStrip = 10;
const COLORREF kGripperDash = RGB(0xA3, 0xA3, 0xA3);

} // namespace

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

void CxfControlBar::PaintSplitters(CDC* dc)
{
    PaintBar(dc, m_bGripper);
}

void CxfControlBar::PaintBar(CDC* dc, bool gripper)
{
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(&client, GetBkColor());
    const int end = client.Height() - 5;
    if (gripper && end > 5) {
        const bool vertical = IsVertical();
        for (int v = 5; v < end; v += 2) {
            if (vertical)
                DrawLine(dc, v, 4, v, 7, kGripperDash, PS_SOLID, 1);
            else
                DrawLine(dc, 4, v, 7, v, kGripperDash, PS_SOLID, 1);
        }
    }
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    dc->Draw3dRect(&client, face, face);
}

void CxfControlBar::OnLButtonDown(UINT, CPoint point)
{
    if ((IsVertical() ? point.y : point.x) >= kGripperStrip)
        return;
    m_ptDragStart = point;
    SetCapture();
}

void CxfControlBar::OnMouseMove(UINT, CPoint point)
{
    if (::GetCapture() != m_hWnd || !m_bGripper)
        return;
    // The product of the offsets, not the distance: a move along one axis
    // alone never starts a drag.
    const long long dx = point.x - m_ptDragStart.x;
    const long long dy = point.y - m_ptDragStart.y;
    if (std::llabs(dx * dy) > 9) {
        ::ReleaseCapture();
        OnBarDrag(m_ptDragStart);
    }
}

void CxfControlBar::OnBarDrag(CPoint)
{
}

BOOL CxfControlBar::OnSetCursor(CWnd*, UINT, UINT)
{
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    return TRUE;
}

LRESULT CxfControlBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HYBRID_NOTIFY && (wParam == HN_LBUTTONDOWN_EMPTY || wParam == HN_RBUTTONDOWN_EMPTY) &&
        HasParam(L"activator")) {
        if (m_pFrame)
            m_pFrame->ActivateFrame();
        return 0;
    }
    return CxfFrame::WindowProc(message, wParam, lParam);
}
