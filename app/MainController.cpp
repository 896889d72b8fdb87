#include "app/MainController.h"
#include "app/AboutDlg.h"
#include "app/AppIds.h"
#include "app/OptionsDlg.h"
#include "app/SysInfoDlg.h"
#include "app/AppSettings.h"
#include "app/StartPagePane.h"
#include "common/Pickers.h"
#include "common/ProductInfo.h"
#include "common/RecentList.h"
#include "hybrid/HybridIIDs.h"
#include "hybrid/IHybridSlider.h"
#include "xf/xfFrame.h"
#include "xf/xfMDIClient.h"

IMPLEMENT_DYNAMIC(CMainController, CxfController)

BEGIN_MESSAGE_MAP(CMainController, CxfController)
    ON_COMMAND(ID_CMD_OPEN, &CMainController::OnOpen)
    ON_COMMAND(ID_CMD_VOLUME, &CMainController::OnVolume)
    ON_UPDATE_COMMAND_UI(ID_CMD_VOLUME, &CMainController::OnUpdateVolume)
    ON_COMMAND(ID_CMD_EXIT, &CMainController::OnExit)
    ON_COMMAND(ID_CMD_AUTOSCROLL, &CMainController::OnAutoscroll)
    ON_UPDATE_COMMAND_UI(ID_CMD_AUTOSCROLL, &CMainController::OnUpdateAutoscroll)
    ON_COMMAND(ID_CMD_VOLUME_UP, &CMainController::OnVolumeUp)
    ON_COMMAND(ID_CMD_VOLUME_DOWN, &CMainController::OnVolumeDown)
    ON_COMMAND(ID_CMD_HELP, &CMainController::OnHelp)
    ON_COMMAND(ID_CMD_OPTIONS, &CMainController::OnOptions)
    ON_COMMAND(ID_CMD_ABOUT, &CMainController::OnAbout)
    ON_COMMAND(ID_CMD_SYSINFO, &CMainController::OnSysInfo)
END_MESSAGE_MAP()

namespace {

// The files the Open dialog offers first; every other kind through "All Files".
const wchar_t kOpenFilter[] = L"Audio files (*.mp3;*.wav)|*.mp3;*.wav|All Files (*.*)|*.*||";

int ClampVolume(int percent)
{
    return percent < 0 ? 0 : (percent > 100 ? 100 : percent);
}

} // namespace

CMainController::CMainController()
{
    m_nId = CONTROLLER_MAIN;
}

void CMainController::OpenAudioFile(LPCWSTR path)
{
    if (!path || !m_pFrame)
        return;
    CxfMDIClient* area = m_pFrame->FindMDIClient(MDI_MAIN);
    if (!area)
        return;
    // The path is copied first: it may be an entry of the recent list, which
    // the list changes below.
    const CString file(path);
    if (area->OpenDocumentFrame(CONTROLLER_DOCUMENT, file, nullptr)) {
        // Remove, then Add: a path already listed moves to the front.
        GetRecentList().Remove(file);
        GetRecentList().Add(file);
    } else {
        // The document frame of a refused file is gone by now; the
        // document may have said why before it went.
        m_pFrame->MessageBox(IDS_CANT_OPEN_FILE, MB_OK);
        GetRecentList().Remove(file);
    }
    RebuildStartPage();
}

void CMainController::RebuildStartPage()
{
    CxfPane* pane = m_pFrame ? m_pFrame->FindPane(PANE_START_PAGE) : nullptr;
    if (pane && pane->IsKindOf(RUNTIME_CLASS(CStartPagePane)))
        static_cast<CStartPagePane*>(pane)->RebuildRecentList();
}

void CMainController::OnOpen()
{
    CWnd* host = GetHostWnd();
    const CString path = BrowseForFile(kOpenFilter, true, host ? host->GetSafeHwnd() : nullptr, nullptr);
    if (!path.IsEmpty())
        OpenAudioFile(path);
}

void CMainController::OnVolume()
{
    if (CIPtr<IHybridSlider> slider = FindVolumeSlider()) {
        SetVolume(ClampVolume(slider->GetPos()));
        m_nShownVolume = GetVolume();
    }
}

void CMainController::OnUpdateVolume(CCmdUI*)
{
    // The position is written only when the volume changed since it was
    // last shown: the same update also runs just before the slider's own
    // command, and must not put back the old volume the user just moved
    // away from.
    if (CIPtr<IHybridSlider> slider = FindVolumeSlider()) {
        slider->SetRange(0, 100);
        if (GetVolume() != m_nShownVolume && !slider->IsTracking()) {
            slider->SetPos(GetVolume());
            m_nShownVolume = GetVolume();
        }
    }
}

CIPtr<IHybridSlider> CMainController::FindVolumeSlider()
{
    CIPtr<IHybridContent> content;
    CIPtr<IHybridSlider> slider;
    if (m_pFrame && m_pFrame->FindContent(ID_CMD_VOLUME, &content))
        content->QueryInterface(IID_IHybridSlider, reinterpret_cast<void**>(&slider));
    return slider;
}

void CMainController::OnExit()
{
    if (CWnd* host = GetHostWnd())
        host->PostMessage(WM_CLOSE);
}

void CMainController::OnAutoscroll()
{
    SetAutoscrollPlayback(!GetAutoscrollPlayback());
}

void CMainController::OnUpdateAutoscroll(CCmdUI* cmdUI)
{
    cmdUI->SetCheck(GetAutoscrollPlayback() ? 1 : 0);
}

void CMainController::OnVolumeUp()
{
    SetVolume(ClampVolume(GetVolume() + 1));
}

void CMainController::OnVolumeDown()
{
    SetVolume(ClampVolume(GetVolume() - 1));
}

void CMainController::OnHelp()
{
    OpenLink(SProductInfo::GetHelpUrl());
}

void CMainController::OnOptions()
{
    ShowOptionsDialog(0);
}

void CMainController::OnAbout()
{
    ShowAboutDialog(AfxGetMainWnd());
}

void CMainController::OnSysInfo()
{
    ShowSysInfoDialog(AfxGetMainWnd());
}

IxfFrameListContent* CMainController::GetMainFrameList()
{
    CxfMDIClient* area = m_pFrame ? m_pFrame->FindMDIClient(MDI_MAIN) : nullptr;
    IxfFrameListContent* list = nullptr;
    if (!area || !area->GetFrameList(&list))
        return nullptr;
    return list;
}
