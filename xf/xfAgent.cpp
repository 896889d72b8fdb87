#include "xf/xfAgent.h"
#include <algorithm>
#include <vector>
#include "xf/xfCentral.h"
#include "xf/xfFrame.h"
#include "xf/xfLayout.h"
#include "xf/xfMessages.h"
#include "xf/xfPane.h"

namespace {
// Hosts of agents that asked to be registered; user-interface thread only.
std::vector<HWND>& HostRegistry()
{
    static std::vector<HWND> hosts;
    return hosts;
}
} // namespace

void PostToAllHosts()
{
    for (HWND host : HostRegistry())
        ::PostMessageW(host, XFM_HOSTNOTIFY, 0, 0);
}

CxfAgent::CxfAgent(CWnd* host, DWORD flags, int layoutKind) : m_pHost(host), m_dwFlags(flags), m_nLayoutKind(layoutKind)
{
}

void CxfAgent::OnHostMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!m_pHost)
        return;
    switch (message) {
    case WM_CREATE: BuildTree(); break;
    case WM_DESTROY: {
        std::vector<HWND>& hosts = HostRegistry();
        auto it = std::find(hosts.begin(), hosts.end(), m_pHost->m_hWnd);
        if (it != hosts.end())
            hosts.erase(it);
        // A host that never called Destroy still stops its tree in order.
        DestroyTree();
        break;
    }
    case WM_SIZE:
        if (m_pRoot && m_pRoot->m_hWnd)
            m_pRoot->MoveWindow(0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        break;
    case WM_INITDIALOG: m_pHost->PostMessage(XFM_SHOWHOST); break;
    case WM_ACTIVATE:
    case WM_SETFOCUS:
        // A dialog host gives the focus back to the window that had it when
        // the host was last active, which may since have been hidden with
        // its frame (a document switched meanwhile).
        if (m_pRoot && m_pRoot->m_hWnd && (message == WM_SETFOCUS || LOWORD(wParam) != WA_INACTIVE))
            m_pRoot->RescueHiddenFocus();
        break;
    default:
        if (message == XFM_SHOWHOST)
            m_pHost->ShowWindow(SW_SHOW);
        break;
    }
}

void CxfAgent::BuildTree()
{
    CxfFrame* root = new CxfFrame;
    if (!root->CreateWnd(m_pHost)) {
        delete root; // without a window nothing is built into it
        return;
    }
    m_pRoot = root;
    if (!(m_dwFlags & FlagBuildLayout))
        return;
    const CString layout = CxfCentral::Get().GetLayout(m_nLayoutKind);
    if (layout.IsEmpty())
        return;
    ParseLayout(root, layout);
    CxfFrame::Tidy(root);
    CxfFrame::UpdateFrameListEntries(root);
    CxfFrame* first = nullptr;
    // A controller whose Open failed ends the start there; the window shows
    // what was started.
    (void)CxfFrame::Start(root, nullptr, true, &first);
    if (first && first->GetPane()) {
        CxfPane* pane = first->GetPane();
        pane->SetActiveWindow();
        pane->SetFocus();
        first->ActivateFrame();
    }
    if (m_bRegisterHost)
        HostRegistry().push_back(m_pHost->m_hWnd);
}

void CxfAgent::DestroyTree()
{
    CxfFrame* root = m_pRoot;
    if (!root)
        return;
    m_pRoot = nullptr;
    (void)CxfFrame::Start(root, nullptr, false); // stopping opens nothing: it cannot fail
    CxfFrame::TearDown(root);
    root->DestroyWindow(); // the frame deletes itself
}

void CxfAgent::Destroy()
{
    if (!m_pHost)
        return;
    if (m_bRegisterHost)
        for (HWND host : std::vector<HWND>(HostRegistry()))
            ::PostMessageW(host, WM_CLOSE, 0, 0);
    DestroyTree();
}
