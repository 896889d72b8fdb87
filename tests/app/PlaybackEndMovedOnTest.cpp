// A range's end moved on (outward) while its pass is heard: the pass plays
// on to the new end, or ends at its own end where that is too near; either
// way no stretch of sound is left between two fades too short to be more
// than a tick, and nothing is heard twice or skipped.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "PlaybackFixture.h"

namespace {

using namespace playtest;

// The stretches of sound between two fades shorter than kShortest (a tick).
std::vector<SSound> Ticks(const CCapture& c)
{
    const std::vector<SSound> ticks = ShortSounds(c, kShortest);
    for (const SSound& t : ticks)
        ADD_FAILURE() << "a tick: " << t.frames << " frames of sound between two fades, " << double(t.at) / kRate
                      << " s into the capture";
    return ticks;
}

// The cuts within passes (not a pass's join to the next), each checked to
// go on with the source frame after the old sound's last.
std::vector<SCut> CutsWithin(const CCapture& c, const std::vector<int16_t>& source, size_t from, size_t to)
{
    std::vector<SCut> within;
    for (const SCut& cut : FindCuts(c, source, from - kRate / 20, to + kRate / 10, kFade)) {
        if (cut.newSource == static_cast<long long>(from))
            continue;
        within.push_back(cut);
        const long long missing = cut.Missing(kFade);
        EXPECT_EQ(0, missing) << "frames " << (missing > 0 ? "skipped" : "heard twice") << " at the cut "
                              << double(cut.at) / kRate << " s into the capture";
    }
    return within;
}

TEST_F(Playback, AnEndMovedOnNearThePassesEndLeavesNoTickAndNothingTwice)
{
    Open(true, kQuietTwo);
    const std::vector<int16_t> source = Source();
    const double from = 1.0, to = 2.0;
    const size_t fromFrame = size_t(from * kRate), toFrame = size_t(to * kRate);
    const struct
    {
        float tempo;
        bool looped;
    } rows[] = {{1.0f, false}, {1.0f, true}, {0.5f, false}, {0.5f, true}};
    // Seconds of sound before the old end when the cursor shows the pass
    // there (the move comes at the cursor's next reading, a little later).
    // At the first the old end is still far from what the device holds (a
    // third of a second on the captured device): the pass plays on.
    const double moments[] = {0.8, 0.45, 0.3, 0.18, 0.08};
    const double moves[] = {0.005, 0.010, 0.015, 0.030};
    for (const auto& row : rows) {
        int tries = 0, ticked = 0, playedOn = 0;
        for (double moment : moments) {
            for (double move : moves) {
                SCOPED_TRACE(testing::Message() << row.tempo << "x " << (row.looped ? "looped" : "once") << ", "
                                                << move * 1000 << " ms on, " << moment << " s before the end");
                m_ctx.SetRange(Fragment(from, to, row.tempo, row.looped));
                Start();
                if (WaitHeard(1, to - moment * row.tempo, to) != 1) {
                    m_ctx.stop = true;
                    WaitEnd();
                    continue; // the cursor stepped over the moment
                }
                m_ctx.SetRange(Fragment(from, to + move, row.tempo, row.looped));
                if (row.looped) {
                    WaitHeard(2, from, from + 0.3);
                    m_ctx.SetRange(Fragment(from, to + move, row.tempo, 0));
                }
                EXPECT_EQ(1, WaitEnd());
                SettledSize([](unsigned ms) { testsupport::PumpMessages(ms); });
                const CCapture c(m_from);
                ++tries;
                ticked += !Ticks(c).empty();
                // Pass 1 played on after a cut in it, or ended at its own
                // end (a fade to zero exactly its length after its start),
                // with nothing skipped.
                const std::vector<SSound> sounds = SoundsBetweenZeros(c);
                ASSERT_FALSE(sounds.empty());
                const long long own = std::llround((to - from) / row.tempo * kRate);
                const size_t ownEnd = sounds.front().at + size_t(own);
                bool endedOwn = false;
                for (const SSound& sound : sounds)
                    endedOwn = endedOwn || std::llabs(static_cast<long long>(sound.at + sound.frames) -
                                                      static_cast<long long>(ownEnd)) <= 4;
                bool cut1 = false;
                for (const SCut& cut : CutsWithin(c, source, fromFrame, toFrame))
                    cut1 = cut1 || cut.at < ownEnd;
                playedOn += cut1;
                EXPECT_TRUE(cut1 || endedOwn) << "pass 1 neither played on nor ended at its own end";
                if (moment == moments[0]) {
                    EXPECT_TRUE(cut1) << "the pass did not play on";
                }
            }
        }
        std::printf("[ figures  ] %.1fx %s: %d moves, %d played on, %d with a tick\n", row.tempo,
                    row.looped ? "looped" : "once", tries, playedOn, ticked);
        EXPECT_GE(tries, 12) << "too few moves made at their moments";
    }
}

TEST_F(Playback, AnEndDraggedOnLeavesNoTickAndNothingTwice)
{
    // Steps of 5 ms of source every few milliseconds from 1.2 s of sound
    // before the pass's end on: the end moves on at about half the pace the
    // sound is heard on the captured device, so what is heard catches up
    // with it.
    Open(true, kQuietTwo);
    const std::vector<int16_t> source = Source();
    const double from = 1.0, to = 3.0;
    for (const float tempo : {1.0f, 0.5f}) {
        SCOPED_TRACE(testing::Message() << tempo << "x");
        m_ctx.SetRange(Fragment(from, to, tempo, 0));
        Start();
        ASSERT_EQ(1, WaitHeard(1, to - 1.2 * tempo, to));
        int steps = 0;
        double end = to;
        for (; steps < 400 && m_ctx.state.load() != kPlayEnded; ++steps) {
            end += 0.005;
            m_ctx.SetRange(Fragment(from, end, tempo, 0));
            Sleep(tempo < 1.0f ? 4 : 2);
        }
        EXPECT_EQ(1, WaitEnd());
        SettledSize([](unsigned ms) { testsupport::PumpMessages(ms); });
        const CCapture c(m_from);
        const size_t ticks = Ticks(c).size();
        const size_t cuts = CutsWithin(c, source, size_t(from * kRate), size_t(end * kRate)).size();
        std::printf("[ figures  ] a drag at %.1fx: %d steps, the end %.3f s on, %.2f s captured, %zu cuts, %zu ticks\n",
                    tempo, steps, end - to, double(c.Left().size()) / kRate, cuts, ticks);
    }
}

} // namespace
