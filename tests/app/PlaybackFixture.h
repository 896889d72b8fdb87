#pragma once
// The playback thread's test fixture: a thread on the captured sound device,
// its window and time container, and what it plays read back (CaptureKit).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "audio/CreateAudioReader.h"
#include "app/AppSettings.h"
#include "app/PlaybackThread.h"
#include "app/TimeContainer.h"
#include "tests/support/Starvation.h"
#include "tests/support/TestSupport.h"
#include "CaptureKit.h"

namespace playtest {

using namespace captest;

// Quiet brown noise: a place in it is found again by its samples, and a
// click stands out from its small steps.
constexpr const wchar_t* kQuiet = L"quiet_brown_10s.ogg";
// The same in two channels of their own: both reach an exact zero at the
// same frame only where a fade ends.
constexpr const wchar_t* kQuietTwo = L"quiet_brown_two_10s.wav";
constexpr size_t kFade = kRate * 5 / 1000; // frames of each fade
// A cut's new sound lasts at least four fades between its fade-in and the
// next fade (a pass's end, or another cut); the fades' own quietest frames
// round to zero, up to a quarter of a fade in all.
constexpr size_t kShortest = 4 * kFade - kFade / 4;

// A time's frame as the playback thread counts it (the range in whole
// microseconds, as Fragment gives it).
inline size_t FrameOf(double seconds)
{
    return static_cast<size_t>(static_cast<long long>(seconds * 1e6) * kRate / 1000000);
}
// Frames captured since byte `from`.
inline size_t CapturedFrames(uint64_t from)
{
    return static_cast<size_t>((testsupport::CaptureSize() - from) / 4);
}
// The captured device takes its sound a period at a time: 40 ms of sound
// every 10 ms of wall time. A change timed by the capture is made at the
// first reading at or after its moment, so up to a period later (on a busy
// machine a little more; later still, it is not made).
constexpr double kPeriod = 0.04;
constexpr double kLateAllowed = kPeriod + 0.015;
// A fragment's end moved on by part of a period from one change to the
// next (at the tempo), so that the device's periods meet the pass at other
// places each time: changes timed by the capture come at other moments than
// the few that one run of periods allows.
inline double Shifted(double to, size_t change, float tempo)
{
    return to + std::fmod(double(change) * 0.0247, kPeriod) * tempo;
}

class Playback : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_EQ(1u, waveOutGetNumDevs()) << "the captured sound device is missing";
        m_window = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        SetToFragmentBeginAfterStop(true);
    }
    void TearDown() override
    {
        if (m_ctx.thread.IsStarted()) {
            m_ctx.stop = true;
            JoinPlaybackThread(&m_ctx);
        }
        DestroyWindow(m_window);
    }

    void Open(bool cache = true, const wchar_t* file = L"steps_440_660_880.wav")
    {
        CIPtr<IAudioReader> reader;
        ASSERT_TRUE(CreateAudioReader(testsupport::TestData(file).c_str(), &reader, cache));
        for (DWORD percent = 0; !reader->IsReady(&percent);)
            Sleep(10);
        m_tc = new CTimeContainer;
        m_tc->SetReader(reader);
        m_ctx.window = m_window;
        m_ctx.reader = reader;
        m_ctx.timeContainer = m_tc;
    }
    static SFragmentInfo Fragment(double from, double to, float tempo, int looped = 0, int preDelay = 0)
    {
        SFragmentInfo f;
        f.StartTime = LONGLONG(from * 1e6);
        f.EndTime = LONGLONG(to * 1e6);
        f.Tempo = tempo;
        f.Looped = looped;
        f.PreDelaySec = preDelay;
        return f;
    }
    void Start()
    {
        m_from = SettledSize([](unsigned ms) { testsupport::PumpMessages(ms); });
        m_tc->SetPlayCursor(-1);
        m_heard = SHeardPass();
        ASSERT_TRUE(StartPlaybackThread(&m_ctx));
    }
    // The left channel of the whole file, as its reader gives it.
    std::vector<int16_t> Source()
    {
        std::vector<int16_t> left = SourceLeft(m_ctx.reader);
        EXPECT_FALSE(left.empty());
        return left;
    }

    // Waits until the cursor shows pass `pass` or a later one between
    // `from` and `to` seconds; answers the pass, 0 when the play ended first.
    int WaitHeard(int pass, double from, double to)
    {
        for (int i = 0; i < 60000 && m_ctx.state.load() != kPlayEnded; ++i) {
            const LONGLONG cursor = m_tc->GetPlayCursor();
            if (m_heard.Follow(cursor) >= pass && cursor >= 0 && m_heard.at >= from && m_heard.at < to)
                return m_heard.pass;
            Sleep(1);
        }
        return 0;
    }
    // Plays `f` from the range's start and waits until, by the capture,
    // `left` seconds of sound are left before the end of pass `pass`, which
    // comes `pass` times `passFrames` after m_first (the capture frame before
    // pass 1's first sound, the fade-in's zero: passes follow each other
    // without a gap); m_askedAt is the capture's frame then. False (and the
    // play stopped) when that moment, or that pass's end, went by unseen.
    bool PlayUntil(const SFragmentInfo& f, size_t passFrames, double left, int pass = 1)
    {
        m_ctx.SetRange(f);
        Start();
        m_first = SIZE_MAX;
        for (int i = 0; i < 5000 && m_first == SIZE_MAX && m_ctx.state.load() != kPlayEnded; ++i) {
            m_first = FirstSoundSoFar(m_from, kRate);
            if (m_first == SIZE_MAX)
                Sleep(1);
        }
        bool seen = false;
        if (m_first != SIZE_MAX && m_first > 0) {
            --m_first;
            const size_t end = m_first + pass * passFrames;
            const size_t target = end - std::min(passFrames, size_t(left * kRate));
            for (int i = 0; i < 20000 && m_ctx.state.load() != kPlayEnded; ++i) {
                m_askedAt = CapturedFrames(m_from);
                // Nearer the end than a period, the last reading before it
                // is the moment.
                if (m_askedAt >= target || m_askedAt + size_t(kPeriod * kRate) > end) {
                    seen = m_askedAt < target + size_t(kLateAllowed * kRate) && m_askedAt < end;
                    break;
                }
                Sleep(1);
            }
        }
        if (!seen) {
            m_ctx.stop = true;
            WaitEnd();
        }
        return seen;
    }
    // Switches the loop off (the range `f` with the loop off) early in pass
    // `pass`, which is then the last. False when the cursor never showed it.
    bool LastIs(int pass, SFragmentInfo f)
    {
        const double from = f.StartTime / 1e6, to = f.EndTime / 1e6;
        const int heard = WaitHeard(pass, from, from + (to - from) / 2);
        f.Looped = 0;
        m_ctx.SetRange(f);
        return heard == pass;
    }
    // WaitEnd, handing the range `f` on meanwhile as the pane does at every
    // position message, so that the thread need not wait the longest for
    // the hand-over at the end of the last pass.
    int WaitEndHandingOn(const SFragmentInfo& f)
    {
        for (int i = 0; i < 12000 && m_ctx.state.load() != kPlayEnded; ++i) {
            m_ctx.SetRange(f);
            Sleep(5);
        }
        return WaitEnd();
    }
    // Waits for the end message; the number of end messages that came.
    int WaitEnd(DWORD ms = 60000)
    {
        int ends = 0;
        for (DWORD waited = 0; waited < ms && ends == 0; waited += 5) {
            MSG msg;
            while (PeekMessageW(&msg, m_window, 0, 0, PM_REMOVE))
                ends += msg.message == WM_PLAYBACK_ENDED;
            Sleep(5);
        }
        testsupport::PumpMessages(50);
        MSG msg;
        while (PeekMessageW(&msg, m_window, WM_PLAYBACK_ENDED, WM_PLAYBACK_ENDED, PM_REMOVE))
            ++ends;
        EXPECT_EQ(kPlayEnded, m_ctx.state.load());
        DWORD code = 0;
        EXPECT_TRUE(m_ctx.thread.GetExitCode(code));
        m_code = code;
        if (ends == 0)
            m_ctx.stop = true; // a play that never ends fails, not hangs
        JoinPlaybackThread(&m_ctx);
        return ends;
    }
    HWND m_window = nullptr;
    SPlayContext m_ctx;
    CIPtr<ITimeContainer> m_tc;
    uint64_t m_from = 0;
    DWORD m_code = 0;
    SHeardPass m_heard;
    size_t m_first = 0;   // PlayUntil
    size_t m_askedAt = 0; // PlayUntil
};

} // namespace playtest
