#pragma once
// Embeds one frame tree in an ordinary host window. The host constructs
// the agent as a member, calls OnHostMessage from its window procedure
// after the class library handled each message, and Destroy when it closes.
#include "platform/mfc/afxwin.h"

class CxfFrame;

class CxfAgent
{
public:
    // Flag bit: build the root frame from the factory's layout when the
    // host is created.
    static const DWORD FlagBuildLayout = 1;

    CxfAgent(CWnd* host, DWORD flags, int layoutKind);
    virtual ~CxfAgent() = default;
    CxfAgent(const CxfAgent&) = delete;
    CxfAgent& operator=(const CxfAgent&) = delete;

    // WM_CREATE builds the tree, WM_SIZE fits the root to the client area,
    // WM_INITDIALOG posts the show request, which shows the host; when the
    // host is activated or takes the focus, a focus left under a hidden
    // frame moves into the visible active frame.
    void OnHostMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Stops and tears down the tree and destroys the root frame's window.
    void Destroy();

    CxfFrame* GetRootFrame() const { return m_pRoot; }
    // Makes the agent hold its host in the registry of hosts (whose
    // members Destroy asks to close).
    void SetRegisterHost(bool reg) { m_bRegisterHost = reg; }

private:
    void BuildTree();
    void DestroyTree();

    CxfFrame* m_pRoot = nullptr;
    CWnd* m_pHost;
    DWORD m_dwFlags;
    int m_nLayoutKind;
    bool m_bRegisterHost = false;
};

// Posts XFM_HOSTNOTIFY to every registered host.
void PostToAllHosts();
