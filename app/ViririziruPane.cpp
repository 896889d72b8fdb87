// CViririziruPane: building the views, the project file, the layout and the
// messages the views and the playback thread post.
#include "app/ViririziruPane.h"

#include "common/LocalizedString.h"
#include "hybrid/CellBuilder.h"
#include "app/AppIds.h"
#include "app/AppSettings.h"
#include "app/AudioSliderContent.h"
#include "app/AuxFiles.h"
#include "app/FragmentDisplay.h"
#include "app/PlaybackThread.h"
#include "app/ProjectFile.h"
#include "app/TimeContainer.h"
#include "app/TimeLineContent.h"
#include "app/TimeScrollerContent.h"
#include "app/ViewMessages.h"
#include "app/ViririziruController.h"
#include "app/ViririziruInfoPane.h"
#include "app/WaveDisplayContent.h"
#include "xf/xfFrame.h"

IMPLEMENT_DYNAMIC(CViririziruPane, CxfPane)

namespace {

const UINT kTranscriptionTemplate = 1085;
const UINT kMiddleCtrlId = 6028;
const UINT kTopCtrlId = 33002;
const UINT kBottomCtrlId = 33001;
// Set when no project file was found: the empty start comes once the views
// have their size.
const UINT_PTR kEmptyStartTimer = 1;
const wchar_t kProjectExtension[] = L"mcfi";

} // namespace

CViririziruPane::CViririziruPane(CxfFrame* frame) : CxfPane(kTranscriptionTemplate, frame)
{
}

CViririziruPane::~CViririziruPane()
{
    // A pane destroyed without OnExitPane must not leave a thread on it.
    if (m_play.thread.IsStarted()) {
        m_play.stop = true;
        JoinPlaybackThread(&m_play);
    }
    if (m_pTime)
        m_pTime->Clear();
}

CViririziruPane* CViririziruPane::CreateIn(CxfFrame* frame)
{
    return CreatePaneIn<CViririziruPane>(frame, kTranscriptionTemplate);
}

void CViririziruPane::OnInitPane(SxfContext* request)
{
    CxfPane::OnInitPane(request);
    if (!m_ctrlMiddle.Create(this, kMiddleCtrlId, WS_VISIBLE) || !m_ctrlTop.Create(this, kTopCtrlId, WS_VISIBLE) ||
        !m_ctrlBottom.Create(this, kBottomCtrlId, WS_VISIBLE))
        return;
    m_ctrlMiddle.SetSingleSelect(true);
    BuildViews();
    CxfPane* info = FindPane(PANE_INFORMATION);
    if (info && info->IsKindOf(RUNTIME_CLASS(CViririziruInfoPane))) {
        m_pInfoPane = static_cast<CViririziruInfoPane*>(info);
        m_pInfoPane->SetFragmentDisplay(m_pFragments);
        LoadProjectFile();
    }
    CRect client;
    GetClientRect(&client);
    OnSize(SIZE_RESTORED, client.Width(), client.Height());
}

void CViririziruPane::BuildViews()
{
    m_pTime = new CTimeContainer;
    m_pTimeLine = new CTimeLineContent(m_pTime);
    m_pPosSlider = new CAudioSliderContent(m_pTime);
    {
        CCellBuilder top(&m_ctrlTop);
        top.AddSeparator();
        top.SetContent(m_pTimeLine).AddContent();
        top.SetContent(m_pPosSlider).SetStdStyle(2).SetStyleBits(HCB_OFFSCREEN).AddContent();
    }
    m_pWave = new CWaveDisplayContent(m_pTime, false);
    m_pFragments = new CFragmentDisplay(m_pTime);
    {
        CCellBuilder middle(&m_ctrlMiddle);
        middle.SetContent(m_pWave).SetStyleBits(HCB_OFFSCREEN).AddContent();
        middle.SetContent(m_pFragments).SetStyleBits(HCB_FILLAREA | HCB_NOFRAME).AddContent();
    }
    m_pScroller = new CTimeScrollerContent(m_pTime);
    CCellBuilder bottom(&m_ctrlBottom);
    bottom.SetContent(m_pScroller).AddContent();
}

void CViririziruPane::LoadProjectFile()
{
    CxfController* found = FindControllerById(CONTROLLER_DOCUMENT);
    if (!found || !found->IsKindOf(RUNTIME_CLASS(CViririziruController)))
        return;
    auto* controller = static_cast<CViririziruController*>(found);
    m_pReader = controller->GetReader();
    if (!m_pReader || !m_pTime || !m_pWave || !m_pFragments || !m_pInfoPane)
        return;
    m_pTime->SetReader(m_pReader);
    m_pWave->SetReader(m_pReader);
    m_strPath = controller->GetPathName();
    m_pFragments->RemoveAll();
    m_strProject = MakeAuxFilePath(m_strPath, kProjectExtension);
    if (!::LoadProjectFile(m_strProject, m_pFragments, m_pTime, &m_bProjectUnsafe))
        m_firstViewPending = SetTimer(kEmptyStartTimer, 100, nullptr) != 0;
    m_pInfoPane->RequestListRefresh();
    if (m_bProjectUnsafe) {
        CLocalizedString text;
        text.Format(IDS_PROJECT_NOT_KEPT, static_cast<LPCWSTR>(m_strProject));
        MessageBox(text, MB_OK | MB_ICONWARNING);
    }
}

bool CViririziruPane::SaveProjectFile()
{
    if (m_strPath.IsEmpty() || m_bProjectUnsafe)
        return true;
    if (::SaveProjectFile(m_strProject, m_pFragments, m_pTime))
        return true;
    // Told on the top-level window: while a document frame closes it is no
    // longer part of the tree that leads to the host.
    CLocalizedString text;
    text.Format(IDS_SAVE_FAILED, static_cast<LPCWSTR>(m_strProject));
    XfMessageBox(CWnd::FromHandle(::GetAncestor(m_hWnd, GA_ROOT)), text, MB_OK | MB_ICONERROR);
    return false;
}

void CViririziruPane::OnExitPane()
{
    KillTimer(kEmptyStartTimer);
    m_firstViewPending = false;
    StopPlayback();
    if (!m_strPath.IsEmpty())
        (void)SaveProjectFile(); // a failure was told to the user
    if (m_pTime)
        m_pTime->Clear();
    m_pTimeLine = nullptr;
    m_pPosSlider = nullptr;
    m_pWave = nullptr;
    m_pFragments = nullptr;
    m_pScroller = nullptr;
    m_pTime = nullptr;
    m_pReader = nullptr;
    m_strPath.Empty();
    m_strProject.Empty();
    CxfPane::OnExitPane();
}

// ---- the active fragment, as the information pane changes it ------------------

void CViririziruPane::SetActiveComment(LPCTSTR text)
{
    if (!m_pFragments)
        return;
    m_pFragments->SetActiveComment(text);
    ShowActiveFragment();
}

void CViririziruPane::SetActivePreDelay(int seconds)
{
    if (m_pFragments)
        m_pFragments->SetActivePreDelay(seconds);
}

void CViririziruPane::ToggleActiveLoop()
{
    if (m_pFragments)
        m_pFragments->ToggleActiveLoop();
}

void CViririziruPane::SetActiveTempo(float tempo)
{
    if (m_pFragments)
        m_pFragments->SetActiveTempo(tempo);
}

bool CViririziruPane::HasActive()
{
    return m_pFragments && m_pFragments->HasActive();
}

void CViririziruPane::ShowActiveFragment()
{
    if (!m_pFragments || !m_pInfoPane)
        return;
    SFragmentInfo active;
    m_pInfoPane->UpdateActiveFragment(m_pFragments->GetActive(active) ? &active : nullptr);
}

// ---- layout ---------------------------------------------------------------------

void CViririziruPane::OnSize(UINT type, int cx, int cy)
{
    CxfPane::OnSize(type, cx, cy);
    if (!m_ctrlTop.m_hWnd || !m_ctrlMiddle.m_hWnd || !m_ctrlBottom.m_hWnd)
        return;
    m_ctrlTop.MoveWindow(0, 0, cx, 1);
    m_ctrlBottom.MoveWindow(0, 0, cx, 1);
    m_ctrlTop.RecalcLayout(true);
    m_ctrlBottom.RecalcLayout(true);
    const int top = m_ctrlTop.GetContentHeight();
    const int bottom = m_ctrlBottom.GetContentHeight();
    m_ctrlTop.MoveWindow(0, 0, cx, top);
    m_ctrlBottom.MoveWindow(0, cy - bottom, cx, bottom);
    m_ctrlMiddle.MoveWindow(0, top, cx, std::max(0, cy - top - bottom));
    m_ctrlMiddle.RecalcLayout(true);
}

void CViririziruPane::OnTimer(UINT_PTR id)
{
    CxfPane::OnTimer(id);
    if (id != kEmptyStartTimer || !m_pFragments || !m_pTime)
        return;
    KillTimer(kEmptyStartTimer);
    m_firstViewPending = false;
    m_pFragments->RemoveAll();
    // To this pane: the frame would route it to whichever pane is active.
    PostMessage(WM_COMMAND, ID_CMD_ZOOM_WHOLE, 0);
    m_pTime->SetSelection(0, 0);
}

// ---- posted messages --------------------------------------------------------------

LRESULT CViririziruPane::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PLAYBACK_ENDED: OnPlaybackEnded(); return 0;
    case WM_PLAY_POSITION: OnPlayPosition(); return 0;
    case WM_FRAGMENT_ADDED: OnFragmentAdded(reinterpret_cast<SFragmentInfo*>(wParam)); return 0;
    case WM_FRAGMENTS_CHANGED: OnFragmentsChanged(); return 0;
    case WM_ACTIVE_FRAGMENT_REPLACED: OnActiveReplaced(); return 0;
    case WM_POSITION_SLIDER_RELEASED: OnSliderReleased(); return 0;
    default: return CxfPane::WindowProc(message, wParam, lParam);
    }
}

void CViririziruPane::OnFragmentAdded(SFragmentInfo* fragment)
{
    // A fragment made while playing does not take over what plays.
    if (fragment && m_pFragments && !m_play.thread.IsStarted())
        m_pFragments->SetActive(fragment);
}

void CViririziruPane::OnFragmentsChanged()
{
    if (!m_pFragments || !m_pInfoPane)
        return;
    ShowActiveFragment();
    m_pInfoPane->RequestListRefresh();
}

void CViririziruPane::OnActiveReplaced()
{
    StopPlayback();
    SFragmentInfo active;
    if (m_pFragments && m_pTime && m_pFragments->GetActive(active)) {
        m_pTime->SetSelection(active.StartTime, active.EndTime);
        m_pTime->SetPlayPosition(active.StartTime);
    }
}

void CViririziruPane::OnSliderReleased()
{
    // A running thread takes the new play position at once.
    m_play.Wake();
    if (!m_pPosSlider || !m_pFragments || !m_pTime)
        return;
    const LONGLONG t = m_pTime->GetPlayPosition(false);
    if (t == -1)
        return;
    SFragmentInfo active;
    if (m_pFragments->GetActive(active) &&
        (t < std::min(active.StartTime, active.EndTime) || t > std::max(active.StartTime, active.EndTime)))
        m_pFragments->SetActiveIndex(-1);
    if (!m_pTime->IsInSelection(t))
        m_pTime->SetSelection(0, 0);
}
