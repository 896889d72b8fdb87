// The sides of a comparison (ours, a plain baseline, ...) run in turn, round
// after round: ours, plain, ours, plain, ... Load on a shared machine comes
// and goes over seconds; timed phase after phase it falls on one side and
// moves the ratio, timed in turn it falls on both sides of a round alike. A
// ratio is then judged from the rounds' own ratios (their median and spread),
// not from two totals taken at different times.
#pragma once

#include <functional>
#include <vector>

#include "bench/Spread.h"

// Seconds on the performance counter.
double Now();

// One run of one side, giving its figure (wall seconds, CPU seconds:
// the same unit on every side of a comparison); negative when it failed.
using Measure = std::function<double()>;

// A Measure of the wall time `run` takes.
Measure WallTime(std::function<void()> run);

class CInterleavedRounds
{
public:
    // Runs each side once per round, in the order given, `rounds` times. A
    // side whose run fails is left out of the rounds after it; the others
    // go on.
    CInterleavedRounds(int rounds, const std::vector<Measure>& sides);

    bool Failed(int side) const { return m_failed[side]; }
    bool AnyFailed() const;
    // The side's figures, one per round it ran to the end.
    const std::vector<double>& Figures(int side) const { return m_figures[side]; }
    SSpread Spread(int side) const { return SpreadOf(m_figures[side]); }
    // The spread of side a's figure over side b's, round by round (the
    // rounds both sides finished; a round where b's figure is 0 gives no
    // ratio, and the spread's count says so).
    SSpread RatioSpread(int a, int b) const;

private:
    std::vector<std::vector<double>> m_figures;
    std::vector<bool> m_failed;
};
