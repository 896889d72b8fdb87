#pragma once
// SPlayContext: what one playback thread plays, shared between the pane that
// starts it and the thread. The range and how to play it are written by the
// pane at any time (also while playing) and read by the thread as one
// snapshot under the context's lock; the flags and the state are atomic.
#include <atomic>
#include <memory>

#include "platform/mfc/afxmt.h"
#include "platform/mfc/afxworker.h"
#include "common/Interfaces.h"
#include "audio/IAudioReader.h"
#include "app/FragmentInfo.h"
#include "app/ITimeContainer.h"

enum EPlayState : int { kPlayIdle = 0, kPlayPlaying = 1, kPlayEnded = 2 };

// One consistent reading of the range: the fragment as the pane last wrote
// it and the tempo to play it at (1.0 when playing at the original tempo,
// else the fragment's, always within the playable bounds).
struct SPlaySnapshot
{
    SFragmentInfo fragment;
    float tempo = 1.0f;
    LONGLONG RangeMin() const { return fragment.StartTime < fragment.EndTime ? fragment.StartTime : fragment.EndTime; }
    LONGLONG RangeMax() const { return fragment.StartTime < fragment.EndTime ? fragment.EndTime : fragment.StartTime; }
};

struct SPlayContext
{
    void SetRange(const SFragmentInfo& fragment);
    void SetAtOriginalTempo(bool on);
    SPlaySnapshot Snapshot() const;

    HWND window = nullptr;                 // receives the end and position messages
    std::atomic<bool> stop{false};
    CIPtr<IAudioReader> reader;
    CIPtr<ITimeContainer> timeContainer;
    std::atomic<int> state{kPlayIdle};
    std::atomic<DWORD> startTick{0};
    std::atomic<int> pass{0};
    // Set by a thread that could not play (the output refused the sound, the
    // stretcher its channels, a seek failed) before it ends; cleared at start.
    std::atomic<bool> failed{false};
    // The running thread, known until the pane has joined it.
    CWorkerThread thread;

private:
    mutable CCriticalSection m_lock;       // guards the two fields below
    SFragmentInfo m_fragment;
    bool m_atOriginalTempo = false;
};
