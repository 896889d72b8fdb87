// CViririziruPane: starting and stopping the playback thread and following
// what it reports.
#include "app/ViririziruPane.h"

#include "app/AppIds.h"
#include "app/AppSettings.h"
#include "app/PlayRange.h"
#include "app/PlaybackThread.h"
#include "app/ViririziruInfoPane.h"
#include "xf/xfFrame.h"

bool CViririziruPane::IsPlaying() const
{
    return m_play.thread.IsStarted();
}

bool CViririziruPane::IsReaderReady()
{
    return m_pReader && m_pReader->IsReady();
}

void CViririziruPane::ChoosePlayRange()
{
    m_play.SetRange(::ChoosePlayRange(m_pFragments, m_pTime, m_pReader));
}

void CViririziruPane::StartStopPlayback(bool atOriginalTempo)
{
    if (m_play.thread.IsStarted()) {
        StopPlayback();
        return;
    }
    if (!m_pFragments)
        return;
    m_play.window = m_hWnd;
    m_play.reader = m_pReader;
    m_play.timeContainer = m_pTime;
    m_play.SetAtOriginalTempo(atOriginalTempo);
    m_play.startTick = ::GetTickCount();
    m_play.state = kPlayIdle;
    ChoosePlayRange();
    // Refused by the system: nothing runs, Play stays what it was, and the
    // user is told.
    if (!StartPlaybackThread(&m_play))
        TellPlaybackFailed();
}

void CViririziruPane::TellPlaybackFailed()
{
    XfMessageBox(CWnd::FromHandle(::GetAncestor(m_hWnd, GA_ROOT)), IDS_CANT_PLAY, MB_OK | MB_ICONERROR);
}

void CViririziruPane::StopPlayback()
{
    // Also while the reader is not ready (still loading, or aborted because
    // the frame is closing): a running thread must never outlive the views.
    if (!m_play.thread.IsStarted())
        return;
    m_play.stop = true;
    ForgetThread();
}

void CViririziruPane::ForgetThread()
{
    JoinPlaybackThread(&m_play);
    if (m_pTime) {
        // Twice, so that the previous cursor is gone as well.
        m_pTime->SetPlayCursor(-1);
        m_pTime->SetPlayCursor(-1);
    }
    if (m_pInfoPane)
        m_pInfoPane->UpdatePlayback(-1, 0);
}

void CViririziruPane::OnPlaybackEnded()
{
    // A late end message of a thread already joined by Stop finds the state
    // idle (or that of a newer thread) and changes nothing.
    if (m_play.thread.IsStarted() && m_play.state == kPlayEnded) {
        ForgetThread();
        if (m_play.failed)
            TellPlaybackFailed();
    }
}

void CViririziruPane::OnPlayPosition()
{
    if (m_pTime && m_play.state == kPlayPlaying) {
        const LONGLONG cursor = m_pTime->GetPlayCursor();
        const LONGLONG span = m_pWave ? m_pTime->PixelToTime(WaveWidth(), false) : 0;
        const LONGLONG position = m_pTime->GetPosition();
        if (GetAutoscrollPlayback() && cursor != -1) {
            if (cursor < position)
                m_pTime->SetPosition(cursor);
            else if (cursor > position + span)
                m_pTime->SetPosition(position + span / 2);
        }
        if (m_pInfoPane)
            m_pInfoPane->UpdatePlayback(cursor, m_play.startTick);
    }
    if (m_pFragments)
        ChoosePlayRange();
}
