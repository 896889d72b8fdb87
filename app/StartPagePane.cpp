#include "app/StartPagePane.h"
#include "app/AppIds.h"
#include "app/AppSettings.h"
#include "app/MainController.h"
#include "common/PathUtils.h"
#include "common/RecentList.h"
#include "hybrid/CellBuilder.h"
#include "hybrid/HybridMessages.h"
#include "hybrid/TextContent.h"
#include "xf/xfFrame.h"

IMPLEMENT_DYNAMIC(CStartPagePane, CxfPane)

BEGIN_MESSAGE_MAP(CStartPagePane, CxfPane)
    ON_WM_SIZE()
END_MESSAGE_MAP()

namespace {

// Data value of the "Open File..." line.
const DWORD_PTR kOpenLine = static_cast<DWORD_PTR>(-1);

} // namespace

CStartPagePane::CStartPagePane(CxfFrame* frame) : CxfPane(IDD_STARTPAGE, frame)
{
}

CStartPagePane::~CStartPagePane() = default;

CStartPagePane* CStartPagePane::CreateIn(CxfFrame* frame)
{
    return CreatePaneIn<CStartPagePane>(frame, IDD_STARTPAGE);
}

void CStartPagePane::OnInitPane(SxfContext* request)
{
    CxfPane::OnInitPane(request);
    SetTitle(IDS_START_PAGE);
    if (!m_ctrl.Create(this, IDC_STARTPAGE_CTRL, WS_VISIBLE))
        return;
    CRect client;
    GetClientRect(&client);
    m_ctrl.MoveWindow(&client);

    CCellBuilder builder(&m_ctrl);
    builder.SetChildGap2(20, 20).AddCell().BeginChildren();
    builder.AddSeparator();
    builder.SetTextID(IDS_RECENT_FILES).SetStdStyle(2).AddText();
    builder.AddSeparator();
    builder.ReturnCell(&m_pRecentCell).AddCell();
    builder.AddSeparator();
    builder.SetStyleBits(0, 0x2).AddSeparator();
    builder.AddSeparator();
    builder.SetTextID(IDS_OPEN_FILE).SetStyleBits(0, HTB_LINK).SetData(kOpenLine).AddText();
    builder.EndChildren();
    RebuildRecentList();
}

void CStartPagePane::RebuildRecentList()
{
    if (!m_pRecentCell)
        return;
    m_ctrl.DetachCells(m_fileCells, true);
    CCellBuilder builder(&m_ctrl);
    const CRecentList& list = GetRecentList();
    for (int i = 0; i < list.GetCount(); ++i) {
        CIPtr<IHybridCell> line;
        builder.SetParent(m_pRecentCell)
            .SetStyleBits(0, HTB_LINK)
            .SetText(GetFileNameOfPath(list.GetAt(i), true))
            .SetData(static_cast<DWORD_PTR>(i))
            .ReturnCell(&line)
            .AddText();
        if (line)
            m_fileCells.Add(line);
    }
}

void CStartPagePane::OnLineClicked(IHybridCell* cell)
{
    const DWORD_PTR data = cell->GetData();
    if (data == kOpenLine) {
        if (CWnd* top = GetTopFrame())
            top->PostMessage(WM_COMMAND, ID_CMD_OPEN, 0);
        return;
    }
    if (data >= static_cast<DWORD_PTR>(GetRecentList().GetCount()))
        return;
    CxfController* controller = FindControllerById(CONTROLLER_MAIN);
    if (controller && controller->IsKindOf(RUNTIME_CLASS(CMainController)))
        static_cast<CMainController*>(controller)->OpenAudioFile(GetRecentList().GetAt(static_cast<int>(data)));
}

LRESULT CStartPagePane::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HYBRID_NOTIFY && wParam == HN_LINK_CLICKED && lParam)
        OnLineClicked(reinterpret_cast<IHybridCell*>(lParam));
    return CxfPane::WindowProc(message, wParam, lParam);
}

void CStartPagePane::OnSize(UINT, int cx, int cy)
{
    if (m_ctrl.GetSafeHwnd()) {
        m_ctrl.MoveWindow(0, 0, cx, cy);
        m_ctrl.Invalidate();
    }
}
