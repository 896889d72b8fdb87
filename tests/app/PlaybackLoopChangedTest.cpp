// A looped fragment's range changed in a pass's last moments, while the next
// pass is queued behind it (about a second is queued ahead, and in the pass's
// last tens of milliseconds the device itself holds the next pass's first
// frames). An end moved inward ends the pass heard at its new end or at its
// old end, and the next pass is heard once, whole, from the range's start to
// the new end, with no click and no tick in it. A start moved leaves the pass
// heard playing on without a dip, and the next pass begins at the new start.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "PlaybackFixture.h"

namespace {

using namespace playtest;

// What went wrong in a row's moves, for its figures.
struct SFaults
{
    int moves = 0, twice = 0, clicks = 0, ticks = 0, unwhole = 0, dips = 0, elsewhere = 0;
    void Print(const char* what) const
    {
        std::printf("[ figures  ] %s: %d moves; heard twice %d, a click %d, a tick %d, not whole %d, a dip %d, "
                    "not at the new start %d\n",
                    what, moves, twice, clicks, ticks, unwhole, dips, elsewhere);
    }
};

// Every change is made in pass 2 (after a loop's first pass the queue runs
// as it does for the rest of the loop), and pass 3 is the last.
class PlaybackLoopChanged : public Playback
{
protected:
    static constexpr int kHeard = 2;

    // Switches the loop off (the range `f` with the loop off) once the
    // capture reaches frame `at`, early in the pass that is to be the last.
    // False when the capture was past frame `by` by then (on a busy machine),
    // or the play had ended.
    bool LoopOffAt(size_t at, size_t by, SFragmentInfo f)
    {
        size_t now = CapturedFrames(m_from);
        for (int i = 0; i < 20000 && now < at && m_ctx.state.load() != kPlayEnded; ++i) {
            Sleep(1);
            now = CapturedFrames(m_from);
        }
        f.Looped = 0;
        m_ctx.SetRange(f);
        return now < by && m_ctx.state.load() != kPlayEnded;
    }

    // Moves the end of a looped fragment inward by `move` seconds of source
    // at each of the moments (seconds of sound before pass 2's end), and
    // judges pass 3, and pass 2 where the new end lay far enough ahead for
    // the device not to hold it yet (kEarly seconds of sound; the captured
    // device holds about 0.35 s).
    static constexpr double kEarly = 0.45;
    void EndInward(float tempo, double from, double to, double move, const std::vector<double>& moments)
    {
        const std::vector<int16_t> source = Source();
        const size_t fromFrame = FrameOf(from);
        SFaults faults;
        double earliest = 0, latest = 1e9; // the moments the moves came at
        for (size_t i = 0; i < moments.size(); ++i) {
            const double end = Shifted(to, i, tempo), newEnd = end - move;
            const size_t endFrame = FrameOf(end), newEndFrame = FrameOf(newEnd);
            const size_t passFrames = size_t(std::llround((endFrame - fromFrame) / double(tempo)));
            const int ownStep = LargestStep(source, fromFrame, endFrame);
            if (!PlayUntil(Fragment(from, end, tempo, 1), passFrames, moments[i], kHeard))
                continue; // the capture never showed the moment
            m_ctx.SetRange(Fragment(from, newEnd, tempo, 1));
            // Pass 3 begins at pass 2's old end, or up to the move earlier.
            const size_t newPass = size_t(std::llround((newEndFrame - fromFrame) / double(tempo)));
            const size_t pass3 = m_first + kHeard * passFrames;
            const bool lastIs3 = LoopOffAt(pass3 + newPass / 4, pass3 + newPass / 2, Fragment(from, newEnd, tempo, 0));
            EXPECT_EQ(1, WaitEndHandingOn(Fragment(from, newEnd, tempo, 0)));
            SettledSize([](unsigned ms) { testsupport::PumpMessages(ms); });
            const CCapture c(m_from);
            const size_t oldEnd = m_first + kHeard * passFrames; // as passes 1 and 2 were written
            const double moment = double(oldEnd - m_askedAt) / kRate;
            SCOPED_TRACE(testing::Message() << tempo << "x, the end " << move * 1000 << " ms inward " << moment * 1000
                                            << " ms of sound before pass 2's end");
            if (!lastIs3)
                continue; // the loop was switched off late
            ++faults.moves;
            earliest = std::max(earliest, moment);
            latest = std::min(latest, moment);
            // The range's start heard once after pass 2's: pass 3's start.
            const std::vector<size_t> starts = StartsOf(c, source, fromFrame, m_first + kShortest, kFade);
            if (starts.size() != size_t(kHeard)) {
                ++faults.twice;
                ADD_FAILURE() << "the range's start heard " << starts.size()
                              << " times after pass 1's, not twice (pass 2's and pass 3's)";
                if (starts.size() < size_t(kHeard))
                    continue;
            }
            const size_t next = starts[kHeard - 1];
            // No step inside pass 3 larger than the source's own (its fades
            // step less; the stage's blends a little more now and then), but
            // into and out of a hole where the device ran dry; the step into
            // its first zero is pass 2's end, which may be a hard cut.
            size_t stepAt = 0;
            const int step =
                LargestStepBesideNoHole(std::vector<int16_t>(c.Left().begin() + next + 1, c.Left().end()), &stepAt);
            if (step > ownStep + ownStep / 4) {
                ++faults.clicks;
                ADD_FAILURE() << "a click in pass 3: a step of " << step << ", the source's largest " << ownStep << ", "
                              << double(stepAt + 1) / kRate * 1000 << " ms into it";
            }
            // A pass that plays the new range is one sound, with no fade to
            // zero and back in it where nothing changes, as long as an
            // untouched pass of the new range: pass 3, and pass 2 after an
            // early move (it then ends at the new end).
            const std::vector<SSound> sounds = SoundsBetweenZeros(c);
            const auto judgeWhole = [&](const char* which, size_t start, size_t end) {
                int stretches = 0;
                size_t last = start;
                for (const SSound& sound : sounds) {
                    if (sound.at <= start || sound.at >= end)
                        continue;
                    stretches += stretches == 0 || sound.before <= kRate / 1000;
                    last = sound.at + sound.frames;
                }
                if (stretches != 1) {
                    ++faults.dips;
                    ADD_FAILURE() << which << " heard in " << stretches << " stretches between exact zeros";
                }
                const long long whole = static_cast<long long>(last + 1 - start - HoleFrames(sounds, start, last));
                if (std::llabs(whole - static_cast<long long>(newPass)) > static_cast<long long>(kFade)) {
                    ++faults.unwhole;
                    ADD_FAILURE() << which << " lasts " << whole << " frames, an untouched pass of the new range "
                                  << newPass;
                }
            };
            judgeWhole("pass 3", next, c.Left().size());
            if (moment - move / tempo >= kEarly)
                judgeWhole("pass 2", starts[0], next);
            const std::vector<SSound> ticks = ShortSounds(c, kShortest);
            if (!ticks.empty()) {
                ++faults.ticks;
                ADD_FAILURE() << "a tick: " << ticks.front().frames << " frames of sound between two fades, "
                              << (double(ticks.front().at) - double(oldEnd)) / kRate * 1000
                              << " ms after pass 2's old end";
            }
            // Pass 3 is a copy of the source from the range's start, and
            // whole up to the new end: its last sound (after a clean cut in
            // it, if any, with nothing heard twice or skipped there) lasts
            // as long as the source from where it fades in to the new end,
            // at the tempo. (Its last milliseconds are the stage's play-out
            // of a mirrored tail, no copy of the source, but as long.)
            const long long copy = FindPlace(c, source, fromFrame, next, kFade);
            EXPECT_TRUE(copy >= 0 && std::llabs(copy - static_cast<long long>(next)) <= 2)
                << "pass 3 is no copy of the source from the range's start";
            const size_t searchFrom = fromFrame - kRate / 20, searchTo = endFrame + kRate / 10;
            for (const SCut& cut : FindCuts(c, source, searchFrom, searchTo, kFade)) {
                if (cut.newSource == static_cast<long long>(fromFrame) || tempo != 1.0f)
                    continue; // a pass's start; slowed, a cut is judged by the place it goes on from
                EXPECT_EQ(0, cut.Missing(kFade))
                    << "frames skipped (+) or heard twice (-) at a cut "
                    << (double(cut.at) - double(oldEnd)) / kRate * 1000 << " ms after pass 2's old end";
            }
            for (const SPlaced& p :
                 PlacesInPass(c, source, next, fromFrame, c.Left().size(), searchFrom, searchTo, kFade, tempo))
                EXPECT_LE(std::llabs(p.off), kPlaceSlack)
                    << p.off << " source frames skipped (+) or heard again (-) against an untouched play, "
                    << (double(p.at) - double(oldEnd)) / kRate * 1000 << " ms after pass 2's old end";
            size_t lastIn = next; // the last sound's first (zero) frame
            size_t lastFrom = fromFrame;
            for (const SFadeIn& in : FindFadeIns(c, source, searchFrom, searchTo, kFade)) {
                if (in.at + 1 > next) {
                    lastIn = in.at + 1;
                    lastFrom = size_t(in.source);
                }
            }
            // A hole puts what follows it later by as much.
            const SSound& last = sounds.back();
            const long long heard = static_cast<long long>(last.at + last.frames - lastIn + 1) -
                                    static_cast<long long>(HoleFrames(sounds, lastIn, last.at));
            // (An end made in place where what was written reached within a
            // fade of it ends up to a fade later, with a whole fade.)
            const long long want = std::llround((double(newEndFrame) - double(lastFrom)) / tempo);
            if (std::llabs(heard - want) > static_cast<long long>(kFade)) {
                ++faults.unwhole;
                ADD_FAILURE() << "pass 3's last sound lasts " << heard << " frames, the source to the new end " << want
                              << " at the tempo";
            }
        }
        char what[96];
        std::snprintf(what, sizeof what, "%.1fx, the end %.0f ms inward %.0f-%.0f ms before pass 2's end", tempo,
                      move * 1000, latest * 1000, earliest * 1000);
        faults.Print(what);
        EXPECT_GE(faults.moves, int(moments.size()) * 2 / 3) << what << ": too few moves made at their moments";
    }

    // Moves the start of a looped fragment by `move` seconds of source at
    // each of the moments (seconds of sound before pass 2's end), and judges
    // pass 2 and pass 3's start. In the `window` where the device holds the
    // next pass's first frames, pass 3 may keep the old start (the new one
    // counts from the pass after it); pass 2 plays whole all the same.
    void StartMoved(float tempo, double from, double to, double move, const std::vector<double>& moments,
                    bool window = false)
    {
        const std::vector<int16_t> source = Source();
        const size_t fromFrame = FrameOf(from), endFrame = FrameOf(to), newFromFrame = FrameOf(from + move);
        const size_t passFrames = size_t(std::llround((endFrame - fromFrame) / double(tempo)));
        const size_t newPass = size_t(std::llround((endFrame - newFromFrame) / double(tempo)));
        const int ownStep = LargestStep(source, std::min(fromFrame, newFromFrame), endFrame);
        SFaults faults;
        for (double left : moments) {
            if (!PlayUntil(Fragment(from, to, tempo, 1), passFrames, left, kHeard))
                continue; // the capture never showed the moment
            m_ctx.SetRange(Fragment(from + move, to, tempo, 1));
            const size_t pass3 = m_first + kHeard * passFrames;
            const bool lastIs3 =
                LoopOffAt(pass3 + newPass / 4, pass3 + newPass / 2, Fragment(from + move, to, tempo, 0));
            EXPECT_EQ(1, WaitEndHandingOn(Fragment(from + move, to, tempo, 0)));
            SettledSize([](unsigned ms) { testsupport::PumpMessages(ms); });
            const CCapture c(m_from);
            SCOPED_TRACE(testing::Message() << tempo << "x, the start " << move * 1000 << " ms on "
                                            << double(m_first + kHeard * passFrames - m_askedAt) / kRate * 1000
                                            << " ms of sound before pass 2's end");
            if (!lastIs3)
                continue; // the loop was switched off late
            ++faults.moves;
            // Pass 2 begins at the old start, pass 3 at the new one (or, in
            // the window, at the old one too).
            const std::vector<size_t> starts = StartsOf(c, source, fromFrame, m_first + kShortest, kFade);
            long long next = FindPlace(c, source, newFromFrame, m_first + kShortest, kFade);
            if (window && starts.size() > 1 && (next < 0 || static_cast<long long>(starts[1]) < next))
                next = static_cast<long long>(starts[1]);
            if (starts.empty() || next <= static_cast<long long>(starts.front())) {
                ++faults.elsewhere;
                ADD_FAILURE() << "pass 3 does not begin at the new start after pass 2";
                continue;
            }
            const size_t heard = starts.front();
            // Pass 2 is one sound from its fade-in to its fade-out: no fade
            // to an exact zero and back in it. A hole of more than a
            // millisecond is the device running dry on a busy machine,
            // judged elsewhere; it puts pass 3 that much later.
            int stretches = 0;
            for (const SSound& sound : SoundsBetweenZeros(c))
                stretches +=
                    sound.at > heard && sound.at < size_t(next) && (stretches == 0 || sound.before <= kRate / 1000);
            if (stretches != 1) {
                ++faults.dips;
                ADD_FAILURE() << "pass 2 heard in " << stretches << " stretches between exact zeros";
            }
            // Nor a step larger than the source's own (the stage's blends a
            // little more now and then), but into and out of a hole where
            // the device ran dry: pass 2 ends with its fade, not cut short.
            const std::vector<int16_t> pass2(c.Left().begin() + heard + 1, c.Left().begin() + next + 1);
            const int step = LargestStepBesideNoHole(pass2);
            if (step > ownStep + ownStep / 4) {
                ++faults.clicks;
                ADD_FAILURE() << "a click in pass 2: a step of " << step << ", the source's largest " << ownStep;
            }
            if (stretches == 1 && LongestZeroRun(pass2) <= size_t(kRate / 1000) &&
                std::llabs(next - static_cast<long long>(heard + passFrames)) > 8) {
                ++faults.elsewhere;
                ADD_FAILURE() << "pass 3 begins " << next - static_cast<long long>(heard + passFrames)
                              << " frames after pass 2's end";
            }
        }
        char what[64];
        std::snprintf(what, sizeof what, "%.1fx, the start %+.0f ms", tempo, move * 1000);
        faults.Print(what);
        EXPECT_GE(faults.moves, int(moments.size()) - 2) << what << ": too few moves made at their moments";
    }

    // The end of the pass heard (pass 2 looped, the only pass played once)
    // moved inward by kIn of sound at each of the moments (seconds of sound
    // before the pass's end), to a place the device already holds once the
    // move is no nearer the end than kInHeld, and straight back a few
    // milliseconds later, as a drag that overshoots and comes back does: to
    // where it was, or `back` seconds of source past it. With `tempo2` the
    // tempo steps to it while the inward end waits to be heard, and back in
    // pass 3 as the loop is switched off: each a cut. The pass heard plays
    // to the end in force, faded, nothing cut short (an inward end the
    // device does not hold yet is made in place, and moved back the rest
    // follows it: one dip); looped, pass 3 follows, and every sound after a
    // cut goes on where an untouched play has reached.
    static constexpr double kIn = 0.1;
    static constexpr double kInHeld = 0.3;
    struct SInAndBack
    {
        float tempo;
        bool looped;
        double back = 0;  // seconds of source past the old end
        float tempo2 = 0; // > 0: the tempo while the inward end waits, and after it
    };
    void EndInwardAndBack(const SInAndBack& row, double from, double to)
    {
        const std::vector<int16_t> source = Source();
        const size_t fromFrame = FrameOf(from);
        const int heardPass = row.looped ? kHeard : 1;
        const std::vector<double> moments = {0.38, 0.33, 0.28, 0.24, 0.2, 0.17};
        const DWORD backAfterMs[] = {3, 8, 14, 25};
        const float after = row.tempo2 > 0 ? row.tempo2 : row.tempo;
        SFaults faults;
        int held = 0;
        for (size_t i = 0; i < moments.size(); ++i) {
            const double end = Shifted(to, i, row.tempo), inForce = end + row.back;
            const size_t endFrame = FrameOf(end), forceFrame = FrameOf(inForce);
            const size_t passFrames = size_t(std::llround((endFrame - fromFrame) / double(row.tempo)));
            const int ownStep = LargestStep(source, fromFrame, forceFrame);
            if (!PlayUntil(Fragment(from, end, row.tempo, row.looped), passFrames, moments[i], heardPass))
                continue; // the capture never showed the moment
            const double inward = end - kIn * row.tempo;
            m_ctx.SetRange(Fragment(from, inward, after, row.looped));
            Sleep(backAfterMs[i % 4]);
            const size_t backAt = CapturedFrames(m_from);
            m_ctx.SetRange(Fragment(from, inForce, after, row.looped));
            bool lastIs3 = true;
            if (row.looped) {
                const size_t pass3 = m_first + kHeard * passFrames;
                const size_t forcePass = size_t(std::llround((forceFrame - fromFrame) / double(after)));
                lastIs3 =
                    LoopOffAt(pass3 + forcePass / 4, pass3 + forcePass / 2, Fragment(from, inForce, row.tempo, 0));
            }
            EXPECT_EQ(1, WaitEndHandingOn(Fragment(from, inForce, row.tempo, 0)));
            const double moment = (double(m_first + heardPass * passFrames) - double(m_askedAt)) / kRate;
            // What was left of the pass up to the inward end when the end
            // came back (the captured device plays several times faster
            // than the wall clock).
            const double inwardAt = double(m_first + (heardPass - 1) * passFrames) +
                                    (double(FrameOf(inward)) - double(fromFrame)) / row.tempo;
            const double leftAtBack = (inwardAt - double(backAt)) / kRate;
            if (moment - kIn < kLatest || leftAtBack < kLatest || !lastIs3)
                continue; // the inward end may have been heard before a move; or the loop went off late
            SettledSize([](unsigned ms) { testsupport::PumpMessages(ms); });
            const CCapture c(m_from);
            SCOPED_TRACE(testing::Message()
                         << row.tempo << "x " << (row.looped ? "looped" : "once") << ", the end " << kIn * 1000
                         << " ms of sound inward " << moment * 1000 << " ms of sound before the pass's end, back "
                         << leftAtBack * 1000 << " ms of sound before the inward end"
                         << (row.back > 0 ? ", past the old end" : "")
                         << (row.tempo2 > 0 ? ", a tempo step meanwhile" : ""));
            ++faults.moves;
            held += moment - kIn <= kInHeld;
            const std::vector<SSound> sounds = SoundsBetweenZeros(c);
            // The pass heard, and looped pass 3, from its start (its zero).
            size_t start = m_first, next = c.Left().size();
            if (row.looped) {
                const std::vector<size_t> starts = StartsOf(c, source, fromFrame, m_first + kShortest, kFade);
                if (starts.size() != size_t(kHeard)) {
                    ++faults.twice;
                    ADD_FAILURE() << "the range's start heard " << starts.size()
                                  << " times after pass 1's, not twice (pass 2's and pass 3's)";
                    continue;
                }
                start = starts[0];
                next = starts[1];
            }
            // Each pass judged: no step larger than the source's own, at most
            // a dip (where the move came before the device held the inward
            // end), every cut at an untouched play's place, and its last
            // sound as long as the source from where it began to the end in
            // force (exactly where nothing was cut at another tempo).
            const auto judge = [&](const char* which, size_t first, size_t last, float tempo, float cutTempo) {
                const std::vector<int16_t> pass(c.Left().begin() + first + 1, c.Left().begin() + last);
                const int step = LargestStepBesideNoHole(pass);
                if (step > ownStep + ownStep / 4) {
                    ++faults.clicks;
                    ADD_FAILURE() << "a click in " << which << ": a step of " << step << ", the source's largest "
                                  << ownStep;
                }
                int stretches = 0;
                for (const SSound& sound : sounds)
                    stretches +=
                        sound.at > first && sound.at < last && (stretches == 0 || sound.before <= kRate / 1000);
                if (stretches > 2) {
                    ++faults.dips;
                    ADD_FAILURE() << which << " heard in " << stretches << " stretches between exact zeros";
                }
                size_t lastIn = first, lastFrom = fromFrame;
                float lastTempo = tempo;
                for (const SPlaced& p : PlacesInPass(c, source, first, fromFrame, last, fromFrame - kRate / 20,
                                                     forceFrame + kRate / 10, kFade, tempo)) {
                    EXPECT_LE(std::llabs(p.off), kPlaceSlack)
                        << which << ": " << p.off << " source frames skipped (+) or heard again (-) against an "
                        << "untouched play, " << double(p.at - first) / kRate * 1000 << " ms into it";
                    faults.elsewhere += std::llabs(p.off) > kPlaceSlack;
                    // A join after the pass's old end goes on at its tempo.
                    if (p.source != static_cast<long long>(endFrame))
                        lastTempo = cutTempo;
                    lastIn = p.at;
                    lastFrom = size_t(p.source);
                }
                const SSound* end = nullptr;
                for (const SSound& sound : sounds)
                    if (sound.at > first && sound.at < last)
                        end = &sound;
                if (!end)
                    return;
                const long long heard = static_cast<long long>(std::min(last, end->at + end->frames + 1) - lastIn) -
                                        static_cast<long long>(HoleFrames(sounds, lastIn, end->at));
                const long long want = std::llround((double(forceFrame) - double(lastFrom)) / lastTempo);
                const long long slack = row.tempo2 > 0 ? static_cast<long long>(kFade) : 8;
                if (std::llabs(heard - want) > slack) {
                    ++faults.unwhole;
                    ADD_FAILURE() << which << "'s last sound lasts " << heard << " frames, the source from there to "
                                  << "the end in force " << want << " at the tempo";
                }
            };
            judge(row.looped ? "pass 2" : "the pass", start, next, row.tempo, after);
            if (row.looped)
                judge("pass 3", next, c.Left().size(), after, row.tempo);
        }
        char what[112];
        std::snprintf(what, sizeof what, "%.1fx %s, the end %.0f ms inward and back%s%s (%d of them held)", row.tempo,
                      row.looped ? "looped" : "once", kIn * 1000, row.back > 0 ? " past it" : "",
                      row.tempo2 > 0 ? " with a tempo step" : "", held);
        faults.Print(what);
        EXPECT_GE(held, 2) << what << ": too few moves to a place the device held";
    }

    // The loop switched off at each of the moments (seconds of sound before
    // pass 2's end): the play ends with pass 2. Of pass 3 no more is heard
    // than the device held of its first frames (kDeviceHolds at most on the
    // captured device), faded out, and nothing after them; a switch the
    // thread meets only once pass 3 is heard is not judged (kLatest). With
    // `move`, the end is moved on by that much of source at the moments
    // `moveAt` after each switch (0: at once): pass 2 reaches it, unless the
    // device held pass 3's first frames already.
    static constexpr double kLatest = 0.06;
    // The captured device is given 80 ms of its own time, which it takes
    // four to seven times faster than it plays (faster on a busy machine,
    // where its sound comes in bursts).
    static constexpr double kDeviceHolds = 0.6;
    void LoopOffLate(float tempo, double from, double to, const std::vector<double>& moments, double move = 0,
                     const std::vector<double>& moveAt = {})
    {
        const std::vector<int16_t> source = Source();
        const size_t fromFrame = FrameOf(from);
        int judged = 0, whole = 0, slivers = 0, unheard = 0, clicks = 0, longest = 0;
        for (size_t i = 0; i < moments.size(); ++i) {
            const double end = Shifted(to, i, tempo), newEnd = end + move;
            const size_t endFrame = FrameOf(end);
            const size_t passFrames = size_t(std::llround((endFrame - fromFrame) / double(tempo)));
            const int ownStep = LargestStep(source, fromFrame, FrameOf(newEnd));
            if (!PlayUntil(Fragment(from, end, tempo, 1), passFrames, moments[i], kHeard))
                continue; // the capture never showed the moment
            m_ctx.SetRange(Fragment(from, end, tempo, 0));
            const size_t passEnd = m_first + kHeard * passFrames;
            const double moment = (double(passEnd) - double(m_askedAt)) / kRate;
            double movedAt = moment;
            if (move > 0) {
                const size_t target = moveAt[i] > 0 ? passEnd - size_t(moveAt[i] * kRate) : 0;
                size_t now = CapturedFrames(m_from);
                for (int k = 0; k < 20000 && now < target && m_ctx.state.load() != kPlayEnded; ++k) {
                    Sleep(1);
                    now = std::max(now, CapturedFrames(m_from));
                }
                m_ctx.SetRange(Fragment(from, newEnd, tempo, 0));
                movedAt = std::min(moment, (double(passEnd) - double(now)) / kRate);
            }
            EXPECT_EQ(1, WaitEndHandingOn(Fragment(from, newEnd, tempo, 0)));
            if (moment < kLatest || movedAt < kLatest ||
                (move > 0 && moveAt[i] > 0 && movedAt > moveAt[i] + kLateAllowed))
                continue; // too near the end to be sure pass 3 was not heard yet (or the move came late)
            SettledSize([](unsigned ms) { testsupport::PumpMessages(ms); });
            const CCapture c(m_from);
            SCOPED_TRACE(testing::Message()
                         << tempo << "x, the loop off " << moment * 1000 << " ms of sound before pass 2's end"
                         << (move > 0 ? ", the end moved on " : "") << movedAt * 1000);
            ++judged;
            const std::vector<SSound> sounds = SoundsBetweenZeros(c);
            ASSERT_FALSE(sounds.empty());
            const SSound& last = sounds.back();
            const int step = LargestStepBesideNoHole(c.Left());
            const std::vector<SSound> ticks = ShortSounds(c, kShortest);
            if (step > ownStep + ownStep / 4 || !ticks.empty()) {
                ++clicks;
                ADD_FAILURE() << "a click (a step of " << step << ", the source's largest " << ownStep << ") or "
                              << ticks.size() << " ticks";
            }
            const std::vector<size_t> starts = StartsOf(c, source, fromFrame, m_first + kShortest, kFade);
            if (starts.size() < 2) {
                // Pass 2 the last: it ends at the end in force, the device's
                // holes left out.
                const size_t newPass = size_t(std::llround((FrameOf(newEnd) - fromFrame) / double(tempo)));
                const long long beyond = static_cast<long long>(last.at + last.frames) -
                                         static_cast<long long>(m_first + passFrames + newPass) -
                                         static_cast<long long>(HoleFrames(sounds, m_first, last.at));
                if (std::llabs(beyond) > 8) {
                    unheard += move > 0;
                    ADD_FAILURE() << "pass 2 ends " << beyond << " frames after the end in force";
                }
                continue;
            }
            // Pass 3 begun: no more of it than the device held, one sound.
            const size_t heard3 = last.at + last.frames - starts[1] - HoleFrames(sounds, starts[1], last.at);
            longest = std::max(longest, int(heard3));
            int stretches = 0;
            for (const SSound& sound : sounds)
                stretches += sound.at > starts[1] && (stretches == 0 || sound.before <= kRate / 1000);
            if (std::llabs(static_cast<long long>(heard3) - static_cast<long long>(passFrames)) <= 8) {
                ++whole;
                ADD_FAILURE() << "pass 3 heard whole after the loop was switched off in pass 2";
            } else if (heard3 > size_t(kDeviceHolds * kRate) + kFade || stretches != 1) {
                ADD_FAILURE() << heard3 << " frames of pass 3 heard, in " << stretches
                              << " stretches between exact zeros, after the loop was switched off in pass 2";
            } else {
                ++slivers;
            }
        }
        std::printf("[ figures  ] %.1fx, the loop off late%s: %d judged; pass 3 whole %d, in part %d (at most %d "
                    "frames), a move not heard %d, a click or a tick %d\n",
                    tempo, move > 0 ? " and the end moved on" : "", judged, whole, slivers, longest, unheard, clicks);
        EXPECT_GE(judged, int(moments.size()) / 2) << "too few switches made at their moments";
    }
};
REAL_TIME_SUITE(PlaybackLoopChanged);

// Over pass 2's last 0.3 s of sound, and most where the device holds the
// next pass's first frames (about its last 70 ms): the last several are
// the last reading of the capture before the pass's end, which the device
// puts a few milliseconds before it, each time at another place.
const std::vector<double> kInwardMoments = {0.29, 0.17, 0.09, 0.045, 0.02, 0.012, 0.008, 0.005, 0.003, 0.001};
const double kInwardMoves[] = {0.005, 0.030, 0.100};
// Earlier in pass 2 (1.2 to 0.45 s of sound before its end): the writing
// has gone past the new end, or the stage was fed past it, or the pass's
// end is queued; the pass heard plays on unchanged up to the new end.
const std::vector<double> kEarlyInwardMoments = {1.2, 0.95, 0.7, 0.45};
const double kEarlyInwardMoves[] = {0.030, 0.100};

TEST_F(PlaybackLoopChanged, AnEndMovedInwardAtAPassesEndPlaysTheNextPassOnceAndWholeAt1x)
{
    Open(true, kQuietTwo);
    for (double move : kInwardMoves)
        EndInward(1.0f, 1.0, 2.0, move, kInwardMoments);
    for (double move : kEarlyInwardMoves)
        EndInward(1.0f, 1.0, 2.5, move, kEarlyInwardMoments);
}

TEST_F(PlaybackLoopChanged, AnEndMovedInwardAtAPassesEndPlaysTheNextPassOnceAndWholeAtOneFifth)
{
    Open(true, kQuietTwo);
    for (double move : kInwardMoves)
        EndInward(0.2f, 1.0, 1.3, move, kInwardMoments);
    for (double move : kEarlyInwardMoves)
        EndInward(0.2f, 1.0, 1.3, move, kEarlyInwardMoments);
}

// Moved inward into what the device holds and back to where it was, or past
// it; with a tempo step while the inward end waits (looped, so that pass 3
// shows where the writing goes on).
TEST_F(PlaybackLoopChanged, AnEndMovedInwardIntoTheDevicesPartAndStraightBackPlaysToTheEndInForce)
{
    Open(true, kQuietTwo);
    const SInAndBack rows[] = {{1.0f, false},         {1.0f, true},          {1.0f, false, 0.03}, {1.0f, true, 0.03},
                               {0.2f, false},         {0.2f, true},          {0.2f, false, 0.01}, {0.2f, true, 0.01},
                               {1.0f, true, 0, 0.8f}, {0.2f, true, 0, 0.25f}};
    for (const SInAndBack& row : rows)
        EndInwardAndBack(row, 1.0, row.tempo < 1.0f ? 1.3 : 2.0);
}

// In pass 2's last 0.12 s of sound, around where the device comes to hold
// pass 3's first frames; and switched off before then, with the end moved
// on 160 to 80 ms of sound before the end, or at once after a switch
// around then.
const std::vector<double> kLoopOffMoments = {0.12, 0.1, 0.09, 0.085, 0.08, 0.075, 0.07, 0.065};
const std::vector<double> kLoopOffEarly = {0.3, 0.3, 0.3, 0.3};
const std::vector<double> kMovedOnAfterLoopOff = {0.16, 0.13, 0.1, 0.08};
const std::vector<double> kLoopOffThenMovedOn = {0.1, 0.09, 0.08, 0.075};

TEST_F(PlaybackLoopChanged, ALoopSwitchedOffAsAPassEndsEndsThePlayWithThatPass)
{
    Open(true, kQuietTwo);
    LoopOffLate(1.0f, 1.0, 2.0, kLoopOffMoments);
    LoopOffLate(0.2f, 1.0, 1.3, kLoopOffMoments);
    LoopOffLate(1.0f, 1.0, 2.0, kLoopOffEarly, 0.03, kMovedOnAfterLoopOff);
    LoopOffLate(0.2f, 1.0, 1.3, kLoopOffEarly, 0.01, kMovedOnAfterLoopOff);
    LoopOffLate(1.0f, 1.0, 2.0, kLoopOffThenMovedOn, 0.03, std::vector<double>(4, 0.0));
    LoopOffLate(0.2f, 1.0, 1.3, kLoopOffThenMovedOn, 0.01, std::vector<double>(4, 0.0));
}

// Over pass 2's last 1.2 s of sound, before the device holds the next
// pass's first frames (later the next pass may keep its old start). At the
// first the next pass may not be queued yet; from about 0.35 s of sound
// before the end at 1.0x (0.8 s at 0.2x) the device's part and the pass's
// play-out hold the rest of the pass already.
const std::vector<double> kStartMoments = {1.2, 0.85, 0.6, 0.45, 0.3, 0.13};
const double kStartMoves[] = {-0.100, -0.005, 0.005, 0.100};
// In pass 2's last 62 ms of sound, where the device holds pass 3's first
// frames: a start moved later by more than the slack before a range's start
// leaves those frames outside the new range, yet the pass heard plays whole.
const std::vector<double> kStartWindowMoments = {0.062, 0.045, 0.03, 0.02, 0.012, 0.005};
const double kStartWindowMoves[] = {0.150, 0.200};

TEST_F(PlaybackLoopChanged, AStartMovedLateInAPassLeavesItPlayingOnAt1x)
{
    Open(true, kQuietTwo);
    for (double move : kStartMoves)
        StartMoved(1.0f, 1.0, 2.3, move, kStartMoments);
    for (double move : kStartWindowMoves)
        StartMoved(1.0f, 1.0, 2.3, move, kStartWindowMoments, true);
}

TEST_F(PlaybackLoopChanged, AStartMovedLateInAPassLeavesItPlayingOnAtOneFifth)
{
    Open(true, kQuietTwo);
    for (double move : kStartMoves)
        StartMoved(0.2f, 1.0, 1.3, move, kStartMoments);
    for (double move : kStartWindowMoves)
        StartMoved(0.2f, 1.0, 1.3, move, kStartWindowMoments, true);
}

} // namespace
