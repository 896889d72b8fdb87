#include "xf/xfTracker.h"
#include "common/DrawRoutines.h"
#include "common/WindowRoutines.h"
#include "xf/xfResources.h"

namespace {

const COLORREF kWhite = RGB(0xFF, 0xFF, 0xFF);
const COLORREF kShadow = RGB(0xA3, 0xA3, 0xA3);
// WM_SYSCOMMAND: move by the caption, the system's move loop with the
// button held.
const WPARAM kMoveByCaption = SC_MOVE | HTCAPTION;

bool IsDown(int key)
{
    return (::GetKeyState(key) & 0x8000) != 0;
}

} // namespace

CxfFrameTracker::CxfFrameTracker(CxfFrame* dragged, CPoint grab, LPCWSTR text)
    : CDialog(IDD_XF_TRACKER, nullptr), m_ptGrab(grab), m_strText(text ? text : L""), m_pDragged(dragged)
{
}

void CxfFrameTracker::Run()
{
    if (!m_pDragged || !IsDown(VK_LBUTTON))
        return;
    DoModal();
}

int CxfFrameTracker::TitleHeight()
{
    CClientDC dc(this);
    CFontSelector font(&dc, GetFont());
    return dc.GetTextExtent(L"Ag", 2).cy;
}

BOOL CxfFrameTracker::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (IsTransparencySupported()) {
        SetWindowTransparency(m_hWnd, Alpha);
        return TRUE;
    }
    // Without translucency only a 2-pixel frame and the title strip show.
    const int text = TitleHeight();
    CRect client;
    GetClientRect(&client);
    if (m_ptGrab.x > client.Width())
        m_ptGrab.x = client.Width() / 2;
    CRgn outline, body;
    if (outline.CreateRectRgnIndirect(&client) &&
        body.CreateRectRgn(2, text + 4, client.Width() - 2, client.Height() - 2) &&
        outline.CombineRgn(&outline, &body, RGN_DIFF) != ERROR && SetWindowRgn(outline, TRUE))
        outline.Detach(); // the window owns it now
    return TRUE;
}

LRESULT CxfFrameTracker::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SHOWWINDOW:
        if (wParam)
            OnShown();
        break;
    case WM_MOVE:
        if (m_bTracking && !m_bEnded) {
            CPoint cursor;
            ::GetCursorPos(&cursor);
            Track(cursor);
        }
        break;
    case WM_EXITSIZEMOVE:
        // The move loop also ends on Escape, which cancels the drag.
        End(!IsDown(VK_ESCAPE));
        return 0;
    case WM_ERASEBKGND: return TRUE;
    case WM_PAINT: {
        CPaintDC dc(this);
        Paint(&dc);
        return 0;
    }
    default: break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void CxfFrameTracker::OnShown()
{
    CRect client;
    GetClientRect(&client);
    if (m_ptGrab.x > client.Width())
        m_ptGrab.x = client.Width() / 2;
    CPoint cursor;
    ::GetCursorPos(&cursor);
    SetWindowPos(nullptr, cursor.x - m_ptGrab.x, cursor.y - m_ptGrab.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_bTracking = true;
    PostMessage(WM_SYSCOMMAND, kMoveByCaption, 0);
}

void CxfFrameTracker::SetTarget(CxfFrame* target)
{
    if (m_pTarget)
        m_pTarget->HideDropIndicator();
    m_pTarget = target;
}

void CxfFrameTracker::Track(POINT cursor)
{
    CxfFrame* frame = nullptr;
    int side = 0;
    if (!m_pDragged->GetTopFrame()->HitTestDock(cursor, &frame, &side))
        return;
    // The dragged frame cannot land inside itself: no indicator there.
    if (frame->IsInside(m_pDragged)) {
        frame = nullptr;
        side = 0;
    }
    if (frame == m_pTarget && side == m_nPos)
        return;
    SetTarget(frame);
    m_nPos = side;
    if (m_pTarget)
        m_pTarget->ShowDropIndicator(side);
}

void CxfFrameTracker::Drop(CxfFrame* target)
{
    m_pDragged->DockFrame(target, m_nPos);
}

void CxfFrameTracker::End(bool drop)
{
    if (m_bEnded)
        return;
    m_bEnded = true;
    CxfFrame* target = m_pTarget;
    SetTarget(nullptr);
    if (target && drop)
        Drop(target);
    EndDialog(IDCANCEL);
}

void CxfFrameTracker::Paint(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(&client, ::GetSysColor(COLOR_BTNFACE));
    dc->Draw3dRect(&client, kWhite, kShadow);
    const int text = TitleHeight();
    const CRect body(1, text + 3, client.right - 1, client.bottom - 1);
    dc->Draw3dRect(&body, kShadow, kWhite);
    CRect title(2, 2, client.right - 1, text + 2);
    CFontSelector font(dc, GetFont());
    dc->SetBkMode(TRANSPARENT);
    dc->DrawText(m_strText, &title, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
}

// ---- control bars ---------------------------------------------------------------

CxfControlBarTracker::CxfControlBarTracker(CxfControlBar* bar, CPoint grab) : CxfFrameTracker(bar, grab, L"")
{
}

BOOL CxfControlBarTracker::OnInitDialog()
{
    // Sized first, so that a window shape made without translucency fits.
    CxfControlBar* bar = static_cast<CxfControlBar*>(m_pDragged);
    CRect window;
    bar->GetWindowRect(&window);
    const int extent = bar->GetDockExtent();
    const CSize size = bar->IsVertical() ? CSize(extent, window.Height()) : CSize(window.Width(), extent);
    SetWindowPos(nullptr, 0, 0, size.cx, size.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return CxfFrameTracker::OnInitDialog();
}

void CxfControlBarTracker::Track(POINT cursor)
{
    CxfFrame* frame = nullptr;
    SxfDockPos dock;
    if (!m_pDragged->GetTopFrame()->HitTestBarDock(cursor, &frame, &dock))
        return;
    if (frame->IsInside(m_pDragged)) {
        frame = nullptr;
        dock = SxfDockPos();
    }
    if (frame == m_pTarget && dock == m_dock)
        return;
    SetTarget(frame);
    m_dock = dock;
    if (m_pTarget)
        m_pTarget->ShowBarIndicator(dock);
}

void CxfControlBarTracker::Drop(CxfFrame* target)
{
    target->DockControlBar(static_cast<CxfControlBar*>(m_pDragged), m_dock);
}

void CxfControlBarTracker::Paint(CDC* dc)
{
    CxfControlBar* bar = static_cast<CxfControlBar*>(m_pDragged);
    CRect client;
    GetClientRect(&client);
    CxfControlBar::PaintBarFace(dc, client, bar->GetBkColor(), bar->IsVertical(), true);
}
