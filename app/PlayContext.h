#pragma once
// SPlayContext: what one playback thread plays, shared between the pane that
// starts it and the thread. The range and how to play it are written by the
// pane at any time (also while playing) and read by the thread as one
// snapshot under the context's lock; the flags and the state are atomic.
// Whatever the thread must see at once (a stop, a changed range, tempo or
// loop flag, a play position the position slider asked for) also sets the
// context's wake event, which the thread naps on.
#include <atomic>
#include <memory>

#include "platform/mfc/afxmt.h"
#include "platform/mfc/afxworker.h"
#include "common/Interfaces.h"
#include "common/ScopedHandle.h"
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

// The stop flag: read as a bool; setting it wakes the thread.
class CPlayStopFlag
{
public:
    explicit CPlayStopFlag(const CKernelHandle& wake) : m_wake(wake) {}
    CPlayStopFlag(const CPlayStopFlag&) = delete;
    CPlayStopFlag& operator=(const CPlayStopFlag&) = delete;

    CPlayStopFlag& operator=(bool on)
    {
        m_on = on;
        if (on && m_wake)
            SetEvent(m_wake.Get());
        return *this;
    }
    operator bool() const { return m_on; }
    bool load() const { return m_on; }

private:
    const CKernelHandle& m_wake;
    std::atomic<bool> m_on{false};
};

struct SPlayContext
{
    // A change of anything the thread plays by wakes it; writing the same
    // again (the pane does so on every position message) does not, unless
    // the thread asked for the next hand-over.
    void SetRange(const SFragmentInfo& fragment);
    // The thread must know what the pane holds now (the last pass was heard
    // to its end: was the loop switched on meanwhile?): the pane's next
    // SetRange wakes it, changed or not. Answers the hand-overs so far. The
    // thread waits for that hand-over up to 250 ms before the play is over,
    // so a window that does not hand the range on at every position message
    // ends every play that much later.
    unsigned AskHandOver();
    // How many times the pane has handed the range on.
    unsigned HandOvers() const;
    void SetAtOriginalTempo(bool on);
    SPlaySnapshot Snapshot() const;
    void Wake() const
    {
        if (wake)
            SetEvent(wake.Get());
    }

    // Auto-reset; made by StartPlaybackThread before the first thread runs.
    CKernelHandle wake;
    HWND window = nullptr; // receives the end and position messages
    CPlayStopFlag stop{wake};
    CIPtr<IAudioReader> reader;
    CIPtr<ITimeContainer> timeContainer;
    std::atomic<int> state{kPlayIdle};
    std::atomic<DWORD> startTick{0};
    // The passes heard so far (a pass written ahead counts once it is
    // heard), set by the thread as the cursor moves and at the end.
    std::atomic<int> pass{0};
    // Set by a thread that could not play (the output refused the sound, the
    // stretcher its channels, a seek failed) before it ends; cleared at start.
    std::atomic<bool> failed{false};
    // The running thread, known until the pane has joined it.
    CWorkerThread thread;

private:
    mutable CCriticalSection m_lock; // guards the four fields below
    SFragmentInfo m_fragment;
    bool m_atOriginalTempo = false;
    unsigned m_handOvers = 0;
    bool m_handOverAsked = false;
};
