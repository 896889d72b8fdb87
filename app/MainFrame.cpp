#include "app/MainFrame.h"
#include <shellapi.h>
#include "app/AppIds.h"
#include "app/AppSettings.h"
#include "app/MainController.h"
#include "common/WndPos.h"
#include "xf/xfFrame.h"

BEGIN_MESSAGE_MAP(CMainFrame, CDialog)
    ON_WM_CLOSE()
    ON_WM_DROPFILES()
    ON_MESSAGE(WM_QUERYDRAGICON, &CMainFrame::OnQueryDragIcon)
END_MESSAGE_MAP()

namespace {

// Space kept free around the window on the first start.
const int kPlacementMargin = 20;

} // namespace

CMainFrame::CMainFrame()
    : m_agent(this, CxfAgent::FlagBuildLayout, CONTROLLER_MAIN), m_hIcon(AfxGetApp()->LoadIcon(IDI_APP))
{
}

CMainFrame::~CMainFrame() = default;

BOOL CMainFrame::OnInitDialog()
{
    CDialog::OnInitDialog();
    DragAcceptFiles(TRUE);
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    SWndPos::Apply(GetMainWndPos(), this, kPlacementMargin, 0, 0);
    return TRUE;
}

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    const HWND self = m_hWnd;
    const LRESULT result = CDialog::WindowProc(message, wParam, lParam);
    // Closing destroys the window within the call above, and this object
    // with it (PostNcDestroy): then nothing of it may be touched any more.
    if (CWnd::FromHandlePermanent(self) != this)
        return result;
    m_agent.OnHostMessage(message, wParam, lParam);
    return result;
}

void CMainFrame::PostNcDestroy()
{
    delete this;
}

void CMainFrame::OnClose()
{
    SaveMainWndPos(GetSafeHwnd());
    m_agent.Destroy();
    DestroyWindow();
    ::PostQuitMessage(0);
}

void CMainFrame::OnDropFiles(HDROP drop)
{
    // Only the first file is opened. Its name is read at its real length,
    // so no path is cut short.
    if (::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
        const UINT length = ::DragQueryFileW(drop, 0, nullptr, 0);
        CString path;
        if (length > 0 &&
            ::DragQueryFileW(drop, 0, path.GetBuffer(static_cast<int>(length) + 1), length + 1) == length) {
            path.ReleaseBuffer(static_cast<int>(length));
            CxfFrame* root = m_agent.GetRootFrame();
            CxfController* controller = root ? root->GetController() : nullptr;
            if (controller && controller->IsKindOf(RUNTIME_CLASS(CMainController)))
                static_cast<CMainController*>(controller)->OpenAudioFile(path);
        } else {
            path.ReleaseBuffer(0);
        }
    }
    ::DragFinish(drop);
}

LRESULT CMainFrame::OnQueryDragIcon(WPARAM, LPARAM)
{
    return reinterpret_cast<LRESULT>(m_hIcon);
}
