#include "xf/xfApp.h"
#include <vector>
#include "common/ProductInfo.h"
#include "platform/mfc/afxres.h"
#include "xf/xfFrame.h"
#include "xf/xfMessages.h"

IMPLEMENT_DYNCREATE(CxfApp, CWinApp)

BEGIN_MESSAGE_MAP(CxfApp, CWinApp)
    ON_COMMAND(ID_XF_SITE_LABEL, &CxfApp::OnSiteLabel)
    ON_COMMAND(ID_APP_EXIT, &CxfApp::OnAppExit)
END_MESSAGE_MAP()

namespace {

// Every descendant of a window, parents before children. Handles are
// collected first: a receiver may create or destroy windows.
void CollectDescendants(HWND parent, std::vector<HWND>& out)
{
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        out.push_back(child);
        CollectDescendants(child, out);
    }
}

bool IsKeyboardMessage(UINT message)
{
    return message >= WM_KEYFIRST && message <= 0x109 /* WM_UNICHAR */;
}

} // namespace

CxfApp::CxfApp(LPCWSTR appName) : CWinApp(appName)
{
}

CxfApp* CxfApp::Get()
{
    CWinApp* app = AfxGetApp();
    return app && app->IsKindOf(RUNTIME_CLASS(CxfApp)) ? static_cast<CxfApp*>(app) : nullptr;
}

BOOL CxfApp::InitInstance()
{
    return TRUE;
}

int CxfApp::Run()
{
    return CWinApp::Run();
}

int CxfApp::ExitInstance()
{
    return CWinApp::ExitInstance();
}

void CxfApp::RegisterFrame(CxfFrame* frame)
{
    if (frame)
        m_frames.Add(frame);
}

void CxfApp::UnregisterFrame(CxfFrame* frame)
{
    const int i = frame ? m_frames.Find(frame) : -1;
    if (i < 0)
        return;
    m_frames.RemoveAt(i);
    if (m_frames.GetSize() == 0)
        ::PostThreadMessageW(m_nThreadID, WM_QUIT, 0, 0);
}

void CxfApp::SendToTrees(UINT message, WPARAM wParam, LPARAM lParam, bool toHost)
{
    std::vector<HWND> frames;
    for (INT_PTR i = 0; i < m_frames.GetSize(); ++i)
        frames.push_back(m_frames[i]->GetSafeHwnd());
    for (HWND frame : frames) {
        if (!frame || !::IsWindow(frame))
            continue;
        if (toHost)
            if (HWND host = ::GetParent(frame))
                ::SendMessageW(host, message, wParam, lParam);
        std::vector<HWND> windows;
        CollectDescendants(frame, windows);
        for (HWND w : windows)
            if (::IsWindow(w))
                ::SendMessageW(w, message, wParam, lParam);
    }
}

void CxfApp::BroadcastToFrames(UINT message, WPARAM wParam, LPARAM lParam)
{
    SendToTrees(message, wParam, lParam, true);
}

BOOL CxfApp::OnIdle(LONG count)
{
    if (count < 1 && m_frames.GetSize() > 0)
        SendToTrees(XFM_IDLEUPDATE, 0, 0, false);
    return CWinApp::OnIdle(count);
}

void CxfApp::CloseAllFrames()
{
    for (INT_PTR i = 0; i < m_frames.GetSize(); ++i)
        if (HWND frame = m_frames[i]->GetSafeHwnd())
            if (HWND host = ::GetParent(frame))
                ::PostMessageW(host, WM_CLOSE, 0, 0);
}

BOOL CxfApp::PreTranslateMessage(MSG* msg)
{
    if (IsKeyboardMessage(msg->message)) {
        // Keys make the cursor shape current again (its own position).
        POINT cursor;
        if (::GetCursorPos(&cursor))
            ::SetCursorPos(cursor.x, cursor.y);
        if (msg->hwnd && ::GetDlgCtrlID(msg->hwnd) == static_cast<int>(ID_XF_FOCUS_PLACEHOLDER))
            msg->hwnd = ::GetParent(msg->hwnd);
    } else if (msg->message == WM_MOUSEWHEEL) {
        // The wheel scrolls what is under the mouse, whatever has the focus
        // (a window of this thread only: others can't be dispatched to).
        POINT cursor;
        if (::GetCursorPos(&cursor))
            if (HWND under = ::WindowFromPoint(cursor);
                under && ::GetWindowThreadProcessId(under, nullptr) == ::GetCurrentThreadId())
                msg->hwnd = under;
    }
    if (!msg->hwnd)
        return CWinApp::PreTranslateMessage(msg);

    HWND below = nullptr, outermost = nullptr;
    for (HWND w = msg->hwnd; w; w = ::GetParent(w)) {
        if (CWnd* wnd = CWnd::FromHandlePermanent(w))
            if (wnd->PreTranslateMessage(msg))
                return TRUE;
        below = outermost;
        outermost = w;
    }
    // A popup owned by a frame: the frame gets its say (accelerators).
    if (outermost)
        if (HWND owner = ::GetWindow(outermost, GW_OWNER); owner && owner != below)
            if (CWnd* wnd = CWnd::FromHandlePermanent(owner); wnd && wnd->IsKindOf(RUNTIME_CLASS(CxfFrame)))
                return wnd->PreTranslateMessage(msg);
    return FALSE;
}

void CxfApp::OnSiteLabel()
{
    OpenLink(SProductInfo::GetWebSiteUrl());
}

void CxfApp::OnAppExit()
{
    CloseAllFrames();
}
