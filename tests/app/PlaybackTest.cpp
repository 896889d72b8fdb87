// The playback thread on the captured sound device: what it plays is read
// back from the capture and measured in sound and pitch (CaptureKit).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

#include "audio/CreateAudioReader.h"
#include "app/AppSettings.h"
#include "app/FragmentDisplay.h"
#include "app/PlayRange.h"
#include "app/PlaybackThread.h"
#include "app/TimeContainer.h"
#include "tests/support/TestSupport.h"
#include "CaptureKit.h"

namespace {

using namespace captest;

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

    void Open(bool cache = true)
    {
        CIPtr<IAudioReader> reader;
        ASSERT_TRUE(CreateAudioReader(testsupport::TestData(L"steps_440_660_880.wav").c_str(), &reader, cache));
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
        ASSERT_TRUE(StartPlaybackThread(&m_ctx));
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
        JoinPlaybackThread(&m_ctx);
        return ends;
    }
    void WaitPass(int n)
    {
        for (int i = 0; i < 60000 && m_ctx.pass < n && m_ctx.thread.IsStarted(); ++i)
            Sleep(1);
    }

    HWND m_window = nullptr;
    SPlayContext m_ctx;
    CIPtr<ITimeContainer> m_tc;
    uint64_t m_from = 0;
    DWORD m_code = 0;
};

TEST_F(Playback, OncePlaysTheRangeAtItsTempoWithThePitchKept)
{
    Open();
    // 0.8x: 4 s of source become 5 s, still 440 then 660 Hz, none of the
    // 880 Hz that follows the range.
    m_ctx.SetRange(Fragment(0, 4, 0.8f));
    Start();
    EXPECT_EQ(1, WaitEnd());
    EXPECT_EQ(0u, m_code);
    CCapture slow(m_from);
    EXPECT_NEAR(5.0, slow.Sound(), 0.1);
    EXPECT_NEAR(440.0, slow.Frequency(440), 4.4);
    EXPECT_NEAR(660.0, slow.Frequency(660), 6.6);
    EXPECT_NEAR(2.5, slow.Sound(440), 0.1);
    EXPECT_EQ(0.0, slow.Sound(880));
    EXPECT_EQ(440, slow.Runs().at(slow.Leading() > 0 ? 1 : 0).tone);
    EXPECT_EQ(0, m_tc->GetPlayPosition(false)) << "back to the range's start after playing";

    // The same range at the original tempo: 4 s.
    m_ctx.SetAtOriginalTempo(true);
    Start();
    EXPECT_EQ(1, WaitEnd());
    CCapture original(m_from);
    EXPECT_NEAR(4.0, original.Sound(), 0.08);
    EXPECT_NEAR(660.0, original.Frequency(660), 6.6);
    EXPECT_EQ(0.0, original.Sound(880));
}

TEST_F(Playback, TheWholeFilePlaysToItsLastSampleAndEndsByItself)
{
    Open();
    CIPtr<CFragmentDisplay> fragments(new CFragmentDisplay(m_tc));
    m_ctx.SetRange(ChoosePlayRange(fragments, m_tc, m_ctx.reader)); // neither selection nor fragment
    Start();
    EXPECT_EQ(1, WaitEnd());
    CCapture c(m_from);
    EXPECT_NEAR(10.0, c.Sound(), 0.05);
    EXPECT_NEAR(6.0, c.Sound(880), 0.05) << "the tail is missing";
    EXPECT_NEAR(880.0, c.Frequency(880), 8.8);

    // The selection gives the range, the active fragment how to play it.
    m_tc->SetSelection(2000000, 1000000);
    fragments->AddFragment(0, 4000000, nullptr);
    fragments->SetActiveIndex(0);
    fragments->SetActiveTempo(0.5f);
    fragments->ToggleActiveLoop();
    fragments->SetActivePreDelay(3);
    const SFragmentInfo r = ChoosePlayRange(fragments, m_tc, m_ctx.reader);
    EXPECT_EQ(1000000, r.StartTime);
    EXPECT_EQ(2000000, r.EndTime);
    EXPECT_EQ(0.5f, r.Tempo);
    EXPECT_EQ(1, r.Looped);
    EXPECT_EQ(3, r.PreDelaySec);
    m_tc->Clear();
}

TEST_F(Playback, PreDelayComesOnceThenPassesFollowWithoutGapAtTheTempoOfTheMoment)
{
    Open();
    // 1.5 s to 2.5 s: half a second of 440, half of 660.
    m_ctx.SetRange(Fragment(1.5, 2.5, 1.0f, 1, 2));
    Start();
    WaitPass(1);
    m_ctx.SetRange(Fragment(1.5, 2.5, 0.5f, 1, 2)); // each later pass: 2 s
    WaitPass(3);
    m_ctx.SetRange(Fragment(1.5, 2.5, 0.5f, 0, 2)); // loop off: this pass is the last
    EXPECT_EQ(1, WaitEnd());
    EXPECT_GE(m_ctx.pass.load(), 4);
    CCapture c(m_from);
    EXPECT_GE(c.Leading(), 1.9) << "the pre-delay's silence";
    EXPECT_LE(c.LongestGap(), 0.25) << "a gap between passes";
    const std::vector<double> passes = PassLengths(c);
    ASSERT_EQ(size_t(m_ctx.pass.load()), passes.size());
    EXPECT_NEAR(1.0, passes.front(), 0.05);
    EXPECT_NEAR(2.0, passes[passes.size() - 2], 0.1);
    EXPECT_NEAR(2.0, passes.back(), 0.1);
    EXPECT_NEAR(440.0, c.Frequency(440), 4.4);
}

// A fragment cut inside the file where the tone is loud at both ends: from
// a peak of the 440 Hz step to a peak of the 660 Hz step.
constexpr double kCutFrom = 1.5 + 2.25 / 440, kCutTo = 2.0 + 300.25 / 660;

TEST_F(Playback, LoopPassesEndWithTheFragmentsLastSoundAndJoinWithoutGapOrClick)
{
    Open();
    for (float tempo : {0.5f, 0.8f}) {
        SCOPED_TRACE(tempo);
        m_ctx.SetRange(Fragment(kCutFrom, kCutTo, tempo, 1));
        Start();
        WaitPass(2);
        m_ctx.SetRange(Fragment(kCutFrom, kCutTo, tempo, 0));
        EXPECT_EQ(1, WaitEnd());
        const int passes = m_ctx.pass.load();
        ASSERT_GE(passes, 3);
        SettledSize([](unsigned ms) { testsupport::PumpMessages(ms); });
        const std::vector<int16_t> s = CCapture(m_from).Left();
        // Every pass is the fragment's frames / tempo long, one after the other.
        const auto frameOf = [](double t) { return static_cast<long long>(t * 1e6) * kRate / 1000000; };
        const long long pass = std::llround((frameOf(kCutTo) - frameOf(kCutFrom)) / double(tempo));
        const auto first = std::find_if(s.begin(), s.end(), [](int16_t v) { return v != 0; });
        ASSERT_NE(s.end(), first);
        const long long start = (first - s.begin()) - 1;
        const long long end = start + passes * pass;
        ASSERT_LE(end, static_cast<long long>(s.size()));
        const auto step = [&](long long i) { return std::abs(s[i] - s[i - 1]); };

        // Inside each pass (its middle half) the stretched tone steps at most this much.
        int inside = 0;
        for (int p = 0; p < passes; ++p)
            for (long long i = start + p * pass + pass / 4; i < start + p * pass + 3 * pass / 4; ++i)
                inside = std::max(inside, step(i));
        int largest = 0, zeros = 0, longestZeros = 0;
        for (long long i = start + 2; i < end; ++i) {
            largest = std::max(largest, step(i));
            zeros = s[i] == 0 ? zeros + 1 : 0;
            longestZeros = std::max(longestZeros, zeros);
        }
        EXPECT_LE(longestZeros, kRate / 1000) << "silence between or inside passes";
        EXPECT_LE(largest, inside * 21 / 20) << "a click at a join";

        for (int p = 1; p <= passes; ++p) {
            SCOPED_TRACE(p);
            const long long e = start + p * pass;
            int last = 0, level = 0, rising = 0;
            for (long long i = e - kRate / 500; i < e; ++i)
                last = std::max(last, std::abs(int(s[i])));
            // Before the last few milliseconds' fade: the fragment's end, 660 Hz at its level.
            for (long long i = e - kRate / 50; i < e - kRate / 200; ++i) {
                level = std::max(level, std::abs(int(s[i])));
                rising += s[i - 1] < 0 && s[i] >= 0;
            }
            EXPECT_GE(last, 1000) << "the last 2 ms are silent";
            EXPECT_NEAR(16384, level, 2000);
            EXPECT_NEAR(660 * 0.015, rising, 1.5);
        }
    }
}

TEST_F(Playback, ALoopPlaysStraightFromAReaderWithoutTheCache)
{
    Open(false);
    m_ctx.SetRange(Fragment(1.5, 2.5, 0.8f, 1));
    Start();
    WaitPass(2);
    m_ctx.SetRange(Fragment(1.5, 2.5, 0.8f, 0));
    EXPECT_EQ(1, WaitEnd());
    ASSERT_EQ(3, m_ctx.pass.load());
    SettledSize([](unsigned ms) { testsupport::PumpMessages(ms); });
    const std::vector<double> passes = PassLengths(CCapture(m_from));
    ASSERT_EQ(3u, passes.size());
    for (double p : passes)
        EXPECT_NEAR(1.25, p, 0.04);
}

TEST_F(Playback, EveryWayOutEndsTheStateAndTellsTheWindow)
{
    // Stop while a long loop plays.
    Open();
    m_ctx.SetRange(Fragment(0, 10, 0.5f, 1));
    Start();
    Sleep(200);
    // The cursor follows what is heard, moved while the thread naps.
    const LONGLONG heard = m_tc->GetPlayCursor();
    EXPECT_GT(heard, 0);
    EXPECT_LT(heard, 10000000);
    m_ctx.stop = true;
    EXPECT_EQ(1, WaitEnd(5000));
    EXPECT_EQ(0u, m_code);
    EXPECT_EQ(kPlayIdle, m_ctx.state.load());
    EXPECT_FALSE(m_ctx.failed);

    // A failure before playing (no reader) still ends and tells.
    m_ctx.reader = nullptr;
    Start();
    EXPECT_EQ(1, WaitEnd(5000));
    EXPECT_EQ(0xFFFFFFFFu, m_code);
    EXPECT_TRUE(m_ctx.failed);

    // A tempo far outside the playable bounds is kept inside them.
    SFragmentInfo f = Fragment(0, 1, 1000.0f);
    m_ctx.SetRange(f);
    EXPECT_EQ(8.0f, m_ctx.Snapshot().tempo);
    f.Tempo = 0;
    m_ctx.SetRange(f);
    EXPECT_EQ(0.05f, m_ctx.Snapshot().tempo);
}

} // namespace
