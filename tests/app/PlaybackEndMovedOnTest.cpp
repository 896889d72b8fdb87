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

// The sounds that fade in within passes (not a pass's start), each checked
// to go on where an untouched play at the tempo has reached (at 1.0x: with
// the source frame after the old sound's last, wherever the old sound's
// fade is found).
std::vector<SPlaced> CutsWithin(const CCapture& c, const std::vector<int16_t>& source, size_t from, size_t to,
                                float tempo)
{
    if (tempo == 1.0f) {
        for (const SCut& cut : FindCuts(c, source, from - kRate / 20, to + kRate / 10, kFade)) {
            const long long missing = cut.Missing(kFade);
            EXPECT_TRUE(cut.newSource == static_cast<long long>(from) || missing == 0)
                << missing << " frames " << (missing > 0 ? "skipped" : "heard twice") << " at the cut "
                << double(cut.at) / kRate << " s into the capture";
        }
    }
    const std::vector<int16_t>& s = c.Left();
    const size_t first = size_t(std::find_if(s.begin(), s.end(), [](int16_t v) { return v != 0; }) - s.begin()) - 1;
    const std::vector<SPlaced> within =
        PlacesInPass(c, source, first, from, s.size(), from - kRate / 20, to + kRate / 10, kFade, tempo);
    for (const SPlaced& p : within)
        EXPECT_LE(std::llabs(p.off), kPlaceSlack)
            << p.off << " source frames " << (p.off > 0 ? "skipped" : "heard again") << " at a cut "
            << double(p.at) / kRate << " s into the capture, against an untouched play";
    return within;
}

// A range's end moved on by a little at moments near its pass's end, at
// 1.0x and 0.5x, played once or looped: one case each way, each about as
// long as the longest of the other tables.
class PlaybackEndMovedOnNear : public Playback
{
protected:
    void LeavesNoTickAndNothingTwice(bool looped);
};
REAL_TIME_SUITE(PlaybackEndMovedOnNear);

void PlaybackEndMovedOnNear::LeavesNoTickAndNothingTwice(bool looped)
{
    Open(true, kQuietTwo);
    const std::vector<int16_t> source = Source();
    const double from = 1.0, to = 2.0;
    const size_t fromFrame = size_t(from * kRate), toFrame = size_t(to * kRate);
    const struct
    {
        float tempo;
        bool looped;
    } rows[] = {{1.0f, looped}, {0.5f, looped}};
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
                // (A hole where the device ran dry puts the end later by as
                // much.)
                for (const SSound& sound : sounds)
                    endedOwn =
                        endedOwn ||
                        std::llabs(static_cast<long long>(sound.at + sound.frames) -
                                   static_cast<long long>(ownEnd + HoleFrames(sounds, sounds.front().at, sound.at))) <=
                            4;
                bool cut1 = false;
                // (A join after the pass's own end is no cut in it.)
                for (const SPlaced& cut : CutsWithin(c, source, fromFrame, toFrame, row.tempo))
                    cut1 = cut1 || (cut.at < ownEnd && cut.source != static_cast<long long>(toFrame));
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

TEST_F(PlaybackEndMovedOnNear, AnEndMovedOnNearThePassesEndLeavesNoTickAndNothingTwicePlayedOnce)
{
    LeavesNoTickAndNothingTwice(false);
}

TEST_F(PlaybackEndMovedOnNear, AnEndMovedOnNearThePassesEndLeavesNoTickAndNothingTwiceLooped)
{
    LeavesNoTickAndNothingTwice(true);
}

REAL_TIME_TEST_F(Playback, AnEndDraggedOnLeavesNoTickAndNothingTwice)
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
        const size_t cuts = CutsWithin(c, source, size_t(from * kRate), size_t(end * kRate), tempo).size();
        std::printf("[ figures  ] a drag at %.1fx: %d steps, the end %.3f s on, %.2f s captured, %zu cuts, %zu ticks\n",
                    tempo, steps, end - to, double(c.Left().size()) / kRate, cuts, ticks);
    }
}

// Pass 1 of a capture whose end was moved on to `newEndFrame` (from its own
// end, and through any step of a drag or an earlier move before: `ends`),
// judged: the sound reaches the new end (the last sound of pass 1, from its
// last fade-in on, lasts as long as the source from there to the new end,
// at the tempo; looped, a pass is extended once, so it may reach the end of
// one of the earlier steps instead, the next pass taking the rest up; played
// once, a step's end after which the rest would be a tick), then
// the next pass follows from the range's start (looped) or nothing (once);
// every cut and join in pass 1 begins where an untouched play of it has
// reached (a join: the end it follows; at 1.0x a cut goes on with the
// source frame after the old sound's last), no sound between two fades is a
// tick, and pass 1 is heard in at most `dips` + 1 stretches between exact
// zeros (a dip a move's cut or piece; -1: a dip at every sound that fades
// in where it must). `first` is the capture frame before pass 1's first
// sound. Failures are added; answers what went wrong.
struct SEndMovedOn
{
    bool unheard = false, ticked = false, twice = false, dipped = false;
};
SEndMovedOn JudgeEndMovedOn(const CCapture& c, const std::vector<int16_t>& source, size_t first, size_t fromFrame,
                            const std::vector<size_t>& ends, size_t newEndFrame, float tempo, bool looped, int dips = 1)
{
    SEndMovedOn judged;
    const std::vector<SSound> sounds = SoundsBetweenZeros(c);
    size_t next = SIZE_MAX; // looped: pass 2's start (its zero)
    if (looped) {
        const std::vector<size_t> starts = StartsOf(c, source, fromFrame, first + kShortest, kFade);
        if (starts.empty()) {
            ADD_FAILURE() << "no pass 2 from the range's start";
            return judged;
        }
        next = starts.front();
    }
    // Each fade-in in pass 1 after its start: a cut's, or a join after an
    // end that pass 1 was written for (there the old sound is the stage's
    // play-out of its end, no copy of the source a cut is found by).
    const size_t searchFrom = fromFrame - kRate / 20, searchTo = newEndFrame + kRate / 20;
    const std::vector<SPlaced> placed =
        PlacesInPass(c, source, first, fromFrame, std::min(next, c.Left().size()), searchFrom, searchTo, kFade, tempo);
    const std::vector<SCut> cuts =
        tempo == 1.0f ? FindCuts(c, source, searchFrom, searchTo, kFade) : std::vector<SCut>();
    size_t lastIn = first; // the last sound's first (zero) frame
    size_t lastFrom = fromFrame;
    for (const SPlaced& in : placed) {
        lastIn = in.at;
        lastFrom = size_t(in.source);
        const double into = (double(in.at) - double(first)) / kRate;
        const auto cut = std::find_if(cuts.begin(), cuts.end(), [&](const SCut& k) { return k.at + 1 == in.at; });
        if (std::llabs(in.off) > kPlaceSlack) {
            judged.twice = true;
            ADD_FAILURE() << in.off << " source frames skipped (+) or heard again (-) against an untouched play, "
                          << into << " s into pass 1";
        } else if (cut != cuts.end() && cut->Missing(kFade) != 0) {
            judged.twice = true;
            ADD_FAILURE() << cut->Missing(kFade) << " frames skipped (+) or heard twice (-) at a cut " << into
                          << " s into pass 1";
        }
    }
    // The stretches of pass 1; a hole of more than a millisecond is the device
    // running dry, not a dip.
    int stretches = 0;
    const SSound* last = nullptr;
    for (const SSound& sound : sounds) {
        if (sound.at < first || sound.at >= next)
            continue;
        stretches += stretches == 0 || sound.before <= kRate / 1000;
        last = &sound;
    }
    if (!last) {
        ADD_FAILURE() << "pass 1 not heard";
        return judged;
    }
    if (stretches > 1 + (dips < 0 ? int(placed.size()) : dips)) {
        judged.dipped = true;
        ADD_FAILURE() << "pass 1 heard in " << stretches << " stretches between exact zeros";
    }
    // A hole puts what follows it later by as much.
    const long long heard = static_cast<long long>(last->at + last->frames - lastIn + 1) -
                            static_cast<long long>(HoleFrames(sounds, lastIn, last->at));
    long long want = std::llround((double(newEndFrame) - double(lastFrom)) / tempo);
    // Looped, a pass is extended once: to the end in force then, a later
    // step's end is the next pass's. Played once, a step's end kept when
    // the steps after it add less than the shortest sound a piece may be
    // (a tick) is where the play ends.
    for (size_t k = 1; k + 1 < ends.size(); ++k) {
        const long long atStep = std::llround((double(ends[k]) - double(lastFrom)) / tempo);
        const bool tickAfter = double(ends.back()) - double(ends[k]) < 4.0 * kFade * tempo;
        if ((looped || tickAfter) && std::llabs(heard - atStep) <= 4)
            want = atStep;
    }
    if (std::llabs(heard - want) > 4) {
        judged.unheard = true;
        ADD_FAILURE() << "pass 1 does not reach the new end: its last sound, from source frame " << lastFrom
                      << " on, lasts " << heard << " frames, the source from there to the new end " << want
                      << " at the tempo";
    }
    const std::vector<SSound> ticks = ShortSounds(c, kShortest);
    if (!ticks.empty()) {
        judged.ticked = true;
        ADD_FAILURE() << "a tick: " << ticks.front().frames << " frames of sound between two fades, "
                      << (double(ticks.front().at) - double(first)) / kRate << " s into pass 1";
    }
    return judged;
}

// Moves that the judge found wrong, for a row's figures.
struct SEndMovedOnFigures
{
    int moves = 0, unheard = 0, ticked = 0, twice = 0, dipped = 0;
    void Add(const SEndMovedOn& j)
    {
        ++moves;
        unheard += j.unheard;
        ticked += j.ticked;
        twice += j.twice;
        dipped += j.dipped;
    }
    void Print(const char* what) const
    {
        std::printf("[ figures  ] %s: %d moves; the new end not reached %d, a tick %d, heard twice or skipped %d, "
                    "more than one dip %d\n",
                    what, moves, unheard, ticked, twice, dipped);
    }
};
REAL_TIME_SUITE(PlaybackEndMovedLate);

// An end moved on in a pass's last 0.6 s of sound, at any moment before its
// old end is heard, even where the pass's end (its play-out, or the device's
// part) is queued already: the pass plays on to the new end.
class PlaybackEndMovedLate : public Playback
{
protected:
    // A move that the capture shows nearer the old end than this is not
    // judged: by the time the thread wakes to it, the old end may be heard.
    // 15 ms of wall time on the captured device, for a busy machine.
    static constexpr double kLatest = 0.06;
    // Looped, the device holds the next pass's first frames once it holds
    // less than 70 ms of sound of the pass before (and a block more): a move
    // nearer the old end than this is taken up by the next pass.
    static constexpr double kNextPassHeld = 0.08;

    struct SRow
    {
        float tempo;
        bool looped;
        double move;      // seconds of source the end moves on by
        double first = 0; // > 0: an earlier move by this many seconds of source, kFirstAt before the old end
    };
    // The earlier move of a row that moves the end twice: this many seconds
    // of sound before the old end.
    static constexpr double kFirstAt = 0.45;
    // Moves the end of a fragment from 1 s to `to` on at moments swept over
    // its pass's last 0.6 s of sound; or, where the row moves it twice, at
    // moments swept over the last 0.8 s of sound before the end the earlier
    // move put in force (played once, every move made before the play's
    // sound ends is heard; looped, the second may be left to the next pass).
    void Sweep(const SRow& row, double to)
    {
        const std::vector<int16_t> source = Source();
        const double from = 1.0;
        const size_t fromFrame = FrameOf(from);
        const std::vector<double> moments =
            row.first > 0 ? std::vector<double>{0.8, 0.55, 0.35, 0.2, 0.1}
                          : std::vector<double>{0.58, 0.47, 0.38, 0.3, 0.2, 0.16, 0.12, 0.1, 0.085};
        SEndMovedOnFigures figures;
        for (size_t i = 0; i < moments.size(); ++i) {
            const double end = Shifted(to, i, row.tempo), inForce = end + row.first, newEnd = inForce + row.move;
            const size_t endFrame = FrameOf(end);
            const size_t passFrames = size_t(std::llround((endFrame - fromFrame) / double(row.tempo)));
            if (!PlayUntil(Fragment(from, end, row.tempo, row.looped), passFrames,
                           row.first > 0 ? kFirstAt : moments[i]))
                continue; // the capture never showed the moment
            // The end in force: the old one, or where the earlier move put it,
            // which the sound reaches `ahead` frames after the pass's start.
            const size_t ahead = size_t(std::llround((FrameOf(inForce) - fromFrame) / double(row.tempo)));
            if (row.first > 0) {
                m_ctx.SetRange(Fragment(from, inForce, row.tempo, row.looped));
                const size_t target = m_first + ahead - size_t(moments[i] * kRate);
                for (int k = 0; k < 20000 && m_ctx.state.load() != kPlayEnded; ++k) {
                    m_askedAt = CapturedFrames(m_from);
                    if (m_askedAt >= target)
                        break;
                    Sleep(1);
                }
            }
            const double moment = (double(m_first + ahead) - double(m_askedAt)) / kRate;
            const SFragmentInfo moved = Fragment(from, newEnd, row.tempo, row.looped);
            m_ctx.SetRange(moved);
            const bool lastIs2 = !row.looped || LastIs(2, moved);
            EXPECT_EQ(1, WaitEndHandingOn(Fragment(from, newEnd, row.tempo, 0)));
            if (moment < (row.looped ? kNextPassHeld : kLatest) || moment > moments[i] + kLateAllowed + 0.01)
                continue; // too near the end in force to be sure it was not heard yet (or the move came late)
            SettledSize([](unsigned ms) { testsupport::PumpMessages(ms); });
            const CCapture c(m_from);
            SCOPED_TRACE(testing::Message()
                         << row.tempo << "x " << (row.looped ? "looped" : "once") << ", " << row.move * 1000
                         << " ms on " << moment * 1000 << " ms of sound before the end in force"
                         << (row.first > 0 ? ", twice" : ""));
            if (!lastIs2) {
                ADD_FAILURE() << "the cursor never showed pass 2: " << c.Describe();
                continue;
            }
            std::vector<size_t> ends = {endFrame};
            if (row.first > 0)
                ends.push_back(FrameOf(inForce));
            ends.push_back(FrameOf(newEnd));
            figures.Add(JudgeEndMovedOn(c, source, m_first, fromFrame, ends, ends.back(), row.tempo, row.looped,
                                        int(ends.size()) - 1));
        }
        char what[80];
        std::snprintf(what, sizeof what, "%.1fx %s, %.0f ms on late in the pass%s", row.tempo,
                      row.looped ? "looped" : "once", row.move * 1000, row.first > 0 ? ", the second move" : "");
        figures.Print(what);
        EXPECT_GE(figures.moves, int(moments.size()) / 2) << what << ": too few moves made at their moments";
    }

    struct SDrag
    {
        float tempo;
        bool looped;
        double moment; // seconds of sound before the old end at the first step
        double step;   // seconds of source a step
        DWORD everyMs; // wall time between steps
        int steps;
    };
    // Drags the end of a fragment from 1 s to `to` on, step by step, through
    // the moment its old end would be heard, faster than what is heard
    // catches up with it (else the drag is not judged: the pass ends where
    // the end was when it was heard).
    void Drag(const SDrag& row, double to, int runs)
    {
        const std::vector<int16_t> source = Source();
        const double from = 1.0;
        const size_t fromFrame = FrameOf(from), endFrame = FrameOf(to);
        const size_t passFrames = size_t(std::llround((endFrame - fromFrame) / double(row.tempo)));
        SEndMovedOnFigures figures;
        int overtaken = 0;
        for (int run = 0; run < runs; ++run) {
            if (!PlayUntil(Fragment(from, to, row.tempo, row.looped), passFrames, row.moment))
                continue;
            std::vector<size_t> ends = {endFrame};
            // What is heard stayed before the end in force by more than the
            // shortest sound a move may add after a kept end (less is not
            // heard when played once) and a late wake of the thread: a drag
            // slower than that, on a busy machine, is overtaken, not judged.
            const size_t lead = 4 * kFade + kRate / 50;
            bool ahead = true;
            double end = to;
            for (int k = 0; k < row.steps; ++k) {
                const size_t heard = CapturedFrames(m_from);
                ahead = ahead && heard + lead < m_first + size_t((double(ends.back()) - double(fromFrame)) / row.tempo);
                end += row.step;
                ends.push_back(FrameOf(end));
                m_ctx.SetRange(Fragment(from, end, row.tempo, row.looped));
                Sleep(row.everyMs);
            }
            const bool lastIs2 = !row.looped || LastIs(2, Fragment(from, end, row.tempo, 1));
            EXPECT_EQ(1, WaitEndHandingOn(Fragment(from, end, row.tempo, 0)));
            if (!ahead) {
                ++overtaken;
                continue;
            }
            SettledSize([](unsigned ms) { testsupport::PumpMessages(ms); });
            const CCapture c(m_from);
            SCOPED_TRACE(testing::Message()
                         << row.tempo << "x " << (row.looped ? "looped" : "once") << ", dragged " << (end - to) * 1000
                         << " ms on from " << double(m_first + passFrames - m_askedAt) / kRate * 1000
                         << " ms of sound before the old end");
            if (!lastIs2) {
                ADD_FAILURE() << "the cursor never showed pass 2: " << c.Describe();
                continue;
            }
            figures.Add(JudgeEndMovedOn(c, source, m_first, fromFrame, ends, ends.back(), row.tempo, row.looped,
                                        row.looped ? 1 : -1));
        }
        char what[96];
        std::snprintf(what, sizeof what, "%.1fx %s, dragged on from %.2f s before the end (%d overtaken)", row.tempo,
                      row.looped ? "looped" : "once", row.moment, overtaken);
        figures.Print(what);
        EXPECT_GE(figures.moves, runs / 2) << what << ": too few drags stayed ahead of what is heard";
    }
};

TEST_F(PlaybackEndMovedLate, AnEndMovedOnLateInAPassIsHeardInItAt1x)
{
    Open(true, kQuietTwo);
    const SRow rows[] = {{1.0f, false, 0.03}, {1.0f, false, 0.1},       {1.0f, true, 0.03},
                         {1.0f, true, 0.1},   {1.0f, false, 0.05, 0.6}, {1.0f, true, 0.05, 0.6}};
    for (const SRow& row : rows)
        Sweep(row, 2.0);
}

TEST_F(PlaybackEndMovedLate, AnEndMovedOnLateInAPassIsHeardInItAtOneFifth)
{
    Open(true, kQuietTwo);
    const SRow rows[] = {{0.2f, false, 0.03}, {0.2f, false, 0.1},        {0.2f, true, 0.03},
                         {0.2f, true, 0.1},   {0.2f, false, 0.03, 0.12}, {0.2f, true, 0.03, 0.12}};
    for (const SRow& row : rows)
        Sweep(row, 1.4);
}

TEST_F(PlaybackEndMovedLate, AnEndDraggedOnThroughAPassesEndIsHeardInIt)
{
    // At 1.0x what is heard moves on by about 4 ms of source a millisecond
    // on the captured device, at 0.2x by 0.8 ms: the steps go faster.
    Open(true, kQuietTwo);
    const SDrag rows[] = {
        {1.0f, false, 0.15, 0.010, 1, 40},
        {1.0f, true, 0.15, 0.010, 1, 40},
        {0.2f, false, 0.3, 0.005, 2, 40},
        {0.2f, true, 0.3, 0.005, 2, 40},
    };
    for (const SDrag& row : rows)
        Drag(row, row.tempo < 1.0f ? 1.4 : 2.0, 2);
}

} // namespace
