#pragma once
// The work area of one open audio file (pane 2 of a document frame): the
// time ruler and position slider above, the waveform view over the fragment
// display in the middle, the time scroller below. It loads and saves the
// file's project file, answers the view, tempo, fragment and playback
// commands, chooses what to play and runs the playback thread, whose posted
// messages become cursor moves, scrolling and information-pane updates.
#include "common/Interfaces.h"
#include "audio/IAudioReader.h"
#include "hybrid/HybridCtrl.h"
#include "app/ITimeContainer.h"
#include "app/PlayContext.h"
#include "app/ViewInterfaces.h"
#include "xf/xfPane.h"

class CViririziruInfoPane;

class CViririziruPane : public CxfPane
{
    DECLARE_DYNAMIC(CViririziruPane)
public:
    explicit CViririziruPane(CxfFrame* frame);
    ~CViririziruPane() override;

    // A new pane with its window made in the frame; null when the window
    // could not be made.
    static CViririziruPane* CreateIn(CxfFrame* frame);

    void OnInitPane(SxfContext* request) override;
    // Stops playback, saves the project file and lets the views go.
    void OnExitPane() override;

    // Play or stop: a running playback stops; otherwise the chosen range
    // plays (at 1.0x when atOriginalTempo).
    void StartStopPlayback(bool atOriginalTempo);
    // Asks the running thread to stop and waits for it.
    void StopPlayback();
    bool IsPlaying() const;

    // Saves the project file now (also called on every way the frame
    // closes). False, after telling the user which file could not be
    // written, when the save failed; true when saved or nothing to save.
    bool SaveProjectFile();

    // What the information pane changes; each does nothing without the
    // fragment display or an active fragment.
    void SetActiveComment(LPCTSTR text);
    void SetActivePreDelay(int seconds);
    void ToggleActiveLoop();
    void SetActiveTempo(float tempo);
    bool HasActive();

    // The views and the time model (null before OnInitPane or after the
    // pane was emptied).
    IFragmentDisplay* GetFragmentDisplay() const { return m_pFragments; }
    ITimeContainer* GetTimeContainer() const { return m_pTime; }
    IDisplay* GetWaveDisplay() const { return m_pWave; }
    IAudioReader* GetReader() const { return m_pReader; }
    CViririziruInfoPane* GetInfoPane() const { return m_pInfoPane; }
    // The audio file's path; empty until the project file was loaded.
    const CString& GetPath() const { return m_strPath; }
    const SPlayContext& GetPlayContext() const { return m_play; }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    DECLARE_MESSAGE_MAP()

private:
    CHybridCtrl m_ctrlMiddle;
    CHybridCtrl m_ctrlTop;
    CHybridCtrl m_ctrlBottom;
    CIPtr<IAudioReader> m_pReader;
    CIPtr<ITimeContainer> m_pTime;
    CIPtr<ITimeLine> m_pTimeLine;
    CIPtr<ITimeLine> m_pPosSlider;
    CIPtr<IDisplay> m_pWave;
    CIPtr<IFragmentDisplay> m_pFragments;
    CIPtr<ITimeScroller> m_pScroller;
    SPlayContext m_play;
    CViririziruInfoPane* m_pInfoPane = nullptr;
    CString m_strPath;
};
