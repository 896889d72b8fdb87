// CViririziruPane: the commands of an open file (view, tempo, fragments,
// playback) and their command-UI states.
#include "app/ViririziruPane.h"

#include "hybrid/IHybridButton.h"
#include "hybrid/IHybridSlider.h"
#include "app/AppIds.h"
#include "app/AppSettings.h"
#include "app/FragmentTempoDlg.h"
#include "app/Tempo.h"
#include "app/ViririziruInfoPane.h"
#include "xf/xfFrame.h"
#include "xf/xfMDIClient.h"

namespace {

const COLORREF kButtonMask = 0xC0C0C0;
// Margin of the views at each side when zooming to fit.
const int kZoomMargin = 5;

} // namespace

BEGIN_MESSAGE_MAP(CViririziruPane, CxfPane)
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_COMMAND(ID_CMD_CLOSE, &CViririziruPane::OnCloseDocument)
    ON_COMMAND(ID_CMD_TEMPO_SLIDER, &CViririziruPane::OnTempoSlider)
    ON_UPDATE_COMMAND_UI(ID_CMD_TEMPO_SLIDER, &CViririziruPane::OnUpdateTempoSlider)
    ON_COMMAND(ID_CMD_TEMPO_ORIGINAL, &CViririziruPane::OnTempoOriginal)
    ON_COMMAND(ID_CMD_REMOVE, &CViririziruPane::OnRemoveActive)
    ON_UPDATE_COMMAND_UI(ID_CMD_REMOVE, &CViririziruPane::OnUpdateNeedsActive)
    ON_COMMAND(ID_CMD_REMOVE_ALL, &CViririziruPane::OnRemoveAll)
    ON_COMMAND(ID_CMD_ZOOM_WHOLE, &CViririziruPane::OnZoomWhole)
    ON_COMMAND(ID_CMD_ZOOM_SELECTION, &CViririziruPane::OnZoomSelection)
    ON_UPDATE_COMMAND_UI(ID_CMD_ZOOM_SELECTION, &CViririziruPane::OnUpdateNeedsSelection)
    ON_COMMAND(ID_CMD_PLAY, &CViririziruPane::OnPlay)
    ON_UPDATE_COMMAND_UI(ID_CMD_PLAY, &CViririziruPane::OnUpdatePlay)
    ON_COMMAND(ID_CMD_PLAY_ORIGINAL, &CViririziruPane::OnPlayOriginal)
    ON_UPDATE_COMMAND_UI(ID_CMD_PLAY_ORIGINAL, &CViririziruPane::OnUpdatePlayOriginal)
    ON_COMMAND(ID_CMD_STOP, &CViririziruPane::OnStopCommand)
    ON_UPDATE_COMMAND_UI(ID_CMD_STOP, &CViririziruPane::OnUpdateStop)
    ON_COMMAND(ID_CMD_TEMPO_HALF, &CViririziruPane::OnTempoHalf)
    ON_COMMAND(ID_CMD_ZOOM_IN, &CViririziruPane::OnZoomIn)
    ON_COMMAND(ID_CMD_ZOOM_OUT, &CViririziruPane::OnZoomOut)
    ON_COMMAND(ID_CMD_NEXT, &CViririziruPane::OnNext)
    ON_COMMAND(ID_CMD_PREVIOUS, &CViririziruPane::OnPrevious)
    ON_COMMAND(ID_CMD_TEMPO_02, &CViririziruPane::OnTempo02)
    ON_COMMAND(ID_CMD_TEMPO_08, &CViririziruPane::OnTempo08)
    ON_COMMAND(ID_CMD_LOOP, &CViririziruPane::OnLoop)
    ON_UPDATE_COMMAND_UI(ID_CMD_LOOP, &CViririziruPane::OnUpdateLoop)
    ON_COMMAND(ID_CMD_SELECT_TEMPO, &CViririziruPane::OnSelectTempo)
    ON_COMMAND(ID_CMD_FRAGMENT_FROM_POSITION, &CViririziruPane::OnFragmentFromPosition)
    ON_UPDATE_COMMAND_UI(ID_CMD_FRAGMENT_FROM_POSITION, &CViririziruPane::OnUpdateFragmentFromPosition)
    ON_COMMAND(ID_CMD_TEMPO_DOWN, &CViririziruPane::OnTempoDown)
    ON_COMMAND(ID_CMD_TEMPO_UP, &CViririziruPane::OnTempoUp)
    ON_UPDATE_COMMAND_UI(ID_CMD_TEMPO_DOWN, &CViririziruPane::OnUpdateNeedsActive)
    ON_UPDATE_COMMAND_UI(ID_CMD_TEMPO_UP, &CViririziruPane::OnUpdateNeedsActive)
    // 33032: no menu item gives it; the pane takes it and its update.
    ON_COMMAND(ID_CMD_SPARE, &CViririziruPane::OnSpareCommand)
    ON_UPDATE_COMMAND_UI(ID_CMD_SPARE, &CViririziruPane::OnUpdateSpareCommand)
    ON_COMMAND(ID_CMD_NEW_FRAGMENT, &CViririziruPane::OnNewFragment)
    ON_UPDATE_COMMAND_UI(ID_CMD_NEW_FRAGMENT, &CViririziruPane::OnUpdateNeedsSelection)
    ON_COMMAND(ID_CMD_AUTOLOOP, &CViririziruPane::OnAutoLoop)
    ON_UPDATE_COMMAND_UI(ID_CMD_AUTOLOOP, &CViririziruPane::OnUpdateAutoLoop)
    ON_COMMAND(ID_CMD_TO_FRAGMENT_BEGIN, &CViririziruPane::OnToFragmentBegin)
    ON_COMMAND(ID_CMD_BEGIN_AFTER_STOP, &CViririziruPane::OnBeginAfterStop)
    ON_UPDATE_COMMAND_UI(ID_CMD_BEGIN_AFTER_STOP, &CViririziruPane::OnUpdateBeginAfterStop)
END_MESSAGE_MAP()

// ---- zoom -----------------------------------------------------------------------

int CViririziruPane::WaveWidth()
{
    return m_pWave ? m_pWave->GetRect().Width() : 0;
}

void CViririziruPane::ZoomWholeFile()
{
    if (!m_pWave || !m_pTime || !m_pReader)
        return;
    const int w = WaveWidth() - kZoomMargin;
    if (w <= 0)
        return;
    if (m_pTime->SetScale(m_pReader->GetDuration() * 1000 / w / 10))
        m_pTime->SetPosition(0);
}

void CViririziruPane::ZoomSelection()
{
    if (!m_pWave || !m_pTime)
        return;
    const int w = WaveWidth() - 2 * kZoomMargin;
    const LONGLONG a = m_pTime->GetSelMin(), b = m_pTime->GetSelMax();
    if (w <= 0 || a == b)
        return;
    m_pTime->SetScale((b - a) / w / 10);
    m_pTime->SetPosition(a - m_pTime->PixelToTime(kZoomMargin, false));
}

void CViririziruPane::Zoom(bool in)
{
    if (!m_pWave || !m_pTime)
        return;
    LONGLONG t = m_pTime->GetPlayPosition(false);
    if (t == -1)
        t = m_pTime->GetPlayCursor();
    if (t == -1)
        return;
    const int width = WaveWidth();
    int x = m_pTime->TimeToPixel(t, true);
    if (x < 0 || x > width) {
        // The anchor is out of sight: the time under the middle stays.
        x = width / 2;
        t = m_pTime->PixelToTime(x, true);
        if (t < 0 || t > m_pTime->GetLength())
            x = -1;
    }
    const LONGLONG scale = m_pTime->GetScale();
    m_pTime->SetScale(in ? scale / 2 : scale * 2);
    if (x != -1)
        m_pTime->SetPosition(t - m_pTime->PixelToTime(x, false));
}

// ---- commands ---------------------------------------------------------------------

void CViririziruPane::OnCloseDocument()
{
    StopPlayback();
    if (CxfMDIClient* area = m_pFrame ? m_pFrame->FindMDIClient(MDI_MAIN) : nullptr)
        area->CloseActiveFrame();
}

void CViririziruPane::OnTempoSlider()
{
    CIPtr<IHybridSlider> slider;
    if (GetControl(ID_CMD_TEMPO_SLIDER, IID_IHybridSlider, reinterpret_cast<void**>(&slider)) && slider->IsTracking())
        SetActiveTempo(TempoFromSliderValue(slider->GetTrackPos()));
}

void CViririziruPane::OnUpdateTempoSlider(CCmdUI*)
{
    CIPtr<IHybridSlider> slider;
    if (!GetControl(ID_CMD_TEMPO_SLIDER, IID_IHybridSlider, reinterpret_cast<void**>(&slider)) || !HasActive())
        return;
    slider->SetRange(kTempoSliderMin, kTempoSliderMax);
    slider->SetPos(SliderValueFromTempo(m_pFragments->GetActiveTempo()));
}

void CViririziruPane::OnTempoOriginal()
{
    SetActiveTempo(1.0f);
}

void CViririziruPane::OnRemoveActive()
{
    if (m_pFragments)
        m_pFragments->RemoveActive();
}

void CViririziruPane::OnUpdateNeedsActive(CCmdUI* cmdUI)
{
    cmdUI->Enable(HasActive());
}

void CViririziruPane::OnRemoveAll()
{
    if (!m_pFragments || !m_pInfoPane)
        return;
    if (MessageBox(IDS_REMOVE_ALL_QUESTION, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    m_pFragments->RemoveAll();
    m_pInfoPane->RequestListRefresh();
}

void CViririziruPane::OnZoomWhole()
{
    ZoomWholeFile();
}

void CViririziruPane::OnZoomSelection()
{
    ZoomSelection();
}

void CViririziruPane::OnUpdateNeedsSelection(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_pTime && m_pTime->HasSelection());
}

void CViririziruPane::OnSpareCommand()
{
}

void CViririziruPane::OnUpdateSpareCommand(CCmdUI*)
{
}

void CViririziruPane::OnUnmappedCommand()
{
}

void CViririziruPane::OnUpdateUnmappedCommand(CCmdUI* cmdUI)
{
    OnUpdateNeedsSelection(cmdUI);
}

void CViririziruPane::OnPlay()
{
    StartStopPlayback(false);
}

void CViririziruPane::OnUpdatePlay(CCmdUI* cmdUI)
{
    // A running playback can always be stopped, also while the file loads.
    const bool playing = IsPlaying();
    cmdUI->Enable(playing || IsReaderReady());
    CIPtr<IHybridButton> button;
    if (GetControl(ID_CMD_PLAY, IID_IHybridButton, reinterpret_cast<void**>(&button))) {
        button->SetImage(playing ? IDB_STOP : IDB_PLAY, kButtonMask);
        button->SetTextID(playing ? IDS_STOP : IDS_PLAY);
    }
}

void CViririziruPane::OnPlayOriginal()
{
    StartStopPlayback(true);
}

void CViririziruPane::OnUpdatePlayOriginal(CCmdUI* cmdUI)
{
    cmdUI->Enable(IsPlaying() || IsReaderReady());
}

void CViririziruPane::OnStopCommand()
{
    StopPlayback();
}

void CViririziruPane::OnUpdateStop(CCmdUI* cmdUI)
{
    cmdUI->Enable(IsPlaying());
}

void CViririziruPane::OnTempoHalf()
{
    SetActiveTempo(0.5f);
}

void CViririziruPane::OnZoomIn()
{
    Zoom(true);
}

void CViririziruPane::OnZoomOut()
{
    Zoom(false);
}

void CViririziruPane::OnNext()
{
    if (m_pFragments)
        m_pFragments->SelectNext();
}

void CViririziruPane::OnPrevious()
{
    if (m_pFragments)
        m_pFragments->SelectPrev();
}

void CViririziruPane::OnTempo02()
{
    SetActiveTempo(0.2f);
}

void CViririziruPane::OnTempo08()
{
    SetActiveTempo(0.8f);
}

void CViririziruPane::OnLoop()
{
    ToggleActiveLoop();
}

void CViririziruPane::OnUpdateLoop(CCmdUI* cmdUI)
{
    SFragmentInfo active;
    const bool has = m_pFragments && m_pFragments->GetActive(active);
    cmdUI->Enable(has);
    cmdUI->SetCheck(has && active.Looped ? 1 : 0);
}

void CViririziruPane::OnSelectTempo()
{
    if (!HasActive()) {
        MessageBox(IDS_ACTIVATE_FIRST, MB_OK);
        return;
    }
    CFragmentTempoDlg dialog(GetHostWnd(), m_pFragments->GetActiveTempo());
    if (dialog.DoModal() == IDOK)
        SetActiveTempo(dialog.GetTempo());
}

void CViririziruPane::OnFragmentFromPosition()
{
}

void CViririziruPane::OnUpdateFragmentFromPosition(CCmdUI* cmdUI)
{
    cmdUI->Enable(IsPlaying());
}

void CViririziruPane::OnTempoDown()
{
    if (m_pFragments)
        m_pFragments->AdjustActiveTempo(-0.05f);
}

void CViririziruPane::OnTempoUp()
{
    if (m_pFragments)
        m_pFragments->AdjustActiveTempo(0.05f);
}

void CViririziruPane::OnNewFragment()
{
    if (m_pFragments && m_pTime)
        m_pFragments->AddFragment(m_pTime->GetSelMin(), m_pTime->GetSelMax(), nullptr);
}

void CViririziruPane::OnAutoLoop()
{
    SetAutoLoopNewSel(!GetAutoLoopNewSel());
}

void CViririziruPane::OnUpdateAutoLoop(CCmdUI* cmdUI)
{
    cmdUI->SetCheck(GetAutoLoopNewSel() ? 1 : 0);
}

void CViririziruPane::OnToFragmentBegin()
{
    StopPlayback();
    if (!m_pTime)
        return;
    LONGLONG t = 0;
    SFragmentInfo active;
    if (m_pTime->HasSelection())
        t = m_pTime->GetSelMin();
    else if (m_pFragments && m_pFragments->GetActive(active))
        t = active.StartTime;
    m_pTime->SetPlayPosition(t);
}

void CViririziruPane::OnBeginAfterStop()
{
    SetToFragmentBeginAfterStop(!GetToFragmentBeginAfterStop());
}

void CViririziruPane::OnUpdateBeginAfterStop(CCmdUI* cmdUI)
{
    cmdUI->SetCheck(GetToFragmentBeginAfterStop() ? 1 : 0);
}
