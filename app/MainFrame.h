#pragma once
// The program's only top-level window: a modeless dialog whose client area
// holds the main layout (menu bar, toolbar, status bar, document area)
// through the framework's host agent. Closing it ends the program.
#include "platform/mfc/afxwin.h"
#include "xf/xfAgent.h"

class CMainFrame : public CDialog
{
public:
    CMainFrame();
    ~CMainFrame() override;

    CxfAgent& GetAgent() { return m_agent; }

protected:
    BOOL OnInitDialog() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;
    // Enter and Escape never close the main window.
    void OnOK() override {}
    void OnCancel() override {}

    void OnClose();
    void OnDropFiles(HDROP drop);
    LRESULT OnQueryDragIcon(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    CxfAgent m_agent;
    HICON m_hIcon;
};
