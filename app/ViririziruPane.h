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
    [[nodiscard]] bool IsPlaying() const;
    // A file opened without a project is emptied and shown whole shortly
    // after the pane was built; true until that happened.
    [[nodiscard]] bool IsFirstViewPending() const { return m_firstViewPending; }

    // Saves the project file now (also called on every way the frame
    // closes). False, after telling the user which file could not be
    // written, when the save failed; true when saved, when there is nothing
    // to save, or when a damaged project that could not be kept aside is
    // left alone.
    [[nodiscard]] bool SaveProjectFile();

    // What the information pane changes; each does nothing without the
    // fragment display or an active fragment.
    void SetActiveComment(LPCTSTR text);
    void SetActivePreDelay(int seconds);
    void ToggleActiveLoop();
    void SetActiveTempo(float tempo);
    [[nodiscard]] bool HasActive();

    // The views and the time model (null before OnInitPane or after the
    // pane was emptied).
    IFragmentDisplay* GetFragmentDisplay() const { return m_pFragments; }
    ITimeContainer* GetTimeContainer() const { return m_pTime; }
    IDisplay* GetWaveDisplay() const { return m_pWave; }
    ITimeScroller* GetScroller() const { return m_pScroller; }
    IAudioReader* GetReader() const { return m_pReader; }
    CViririziruInfoPane* GetInfoPane() const { return m_pInfoPane; }
    // The audio file's path; empty until the project file was loaded.
    const CString& GetPath() const { return m_strPath; }
    const SPlayContext& GetPlayContext() const { return m_play; }

    // A command handler that does nothing and its update handler, which
    // enables the item while the time container has a selection. No
    // message-map entry names them.
    void OnUnmappedCommand();
    void OnUpdateUnmappedCommand(CCmdUI* cmdUI);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnSize(UINT type, int cx, int cy);
    void OnTimer(UINT_PTR id);
    DECLARE_MESSAGE_MAP()

private:
    // Takes the document's reader, hands it to the views and reads the
    // project file into them (or asks for the empty start).
    void LoadProjectFile();
    // The pane's own views, each null when it could not be made.
    void BuildViews();
    // Waits for the ended thread, forgets it and clears the cursor.
    void ForgetThread();
    // The user is told that the file could not be played.
    void TellPlaybackFailed();
    // The range to play, written into the play context.
    void ChoosePlayRange();
    // The information pane shows the active fragment (or none).
    void ShowActiveFragment();
    void OnPlaybackEnded();
    void OnPlayPosition();
    void OnFragmentAdded(SFragmentInfo* fragment);
    void OnFragmentsChanged();
    void OnActiveReplaced();
    void OnSliderReleased();

    void ZoomWholeFile();
    void ZoomSelection();
    void Zoom(bool in);
    // The waveform view's client width, 0 without the view or its cell.
    int WaveWidth();

    // Commands and their update handlers.
    void OnCloseDocument();
    void OnTempoSlider();
    void OnUpdateTempoSlider(CCmdUI* cmdUI);
    void OnTempoOriginal();
    void OnRemoveActive();
    void OnUpdateNeedsActive(CCmdUI* cmdUI);
    void OnRemoveAll();
    void OnZoomWhole();
    void OnZoomSelection();
    void OnUpdateNeedsSelection(CCmdUI* cmdUI);
    void OnPlay();
    void OnUpdatePlay(CCmdUI* cmdUI);
    void OnPlayOriginal();
    void OnUpdatePlayOriginal(CCmdUI* cmdUI);
    void OnStopCommand();
    void OnUpdateStop(CCmdUI* cmdUI);
    void OnTempoHalf();
    void OnZoomIn();
    void OnZoomOut();
    void OnNext();
    void OnPrevious();
    void OnTempo02();
    void OnTempo08();
    void OnLoop();
    void OnUpdateLoop(CCmdUI* cmdUI);
    void OnSelectTempo();
    void OnFragmentFromPosition();
    void OnUpdateFragmentFromPosition(CCmdUI* cmdUI);
    void OnTempoDown();
    void OnTempoUp();
    void OnSpareCommand();
    void OnUpdateSpareCommand(CCmdUI* cmdUI);
    void OnNewFragment();
    void OnAutoLoop();
    void OnUpdateAutoLoop(CCmdUI* cmdUI);
    void OnToFragmentBegin();
    void OnBeginAfterStop();
    void OnUpdateBeginAfterStop(CCmdUI* cmdUI);
    [[nodiscard]] bool IsReaderReady();

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
    bool m_firstViewPending = false;
    // Named when the file opened: the file may be deleted or grow while it
    // is open, and its fragments still belong to the file as it was.
    CString m_strProject;
    // The project file was damaged and no copy of it could be kept aside:
    // it is the only copy, and it is not saved over (the user was told).
    bool m_bProjectUnsafe = false;
};
