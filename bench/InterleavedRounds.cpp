#include "bench/InterleavedRounds.h"

#include <windows.h>

#include <algorithm>
#include <utility>

double Now()
{
    static const double perSecond = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / perSecond;
}

Measure WallTime(std::function<void()> run)
{
    return [run = std::move(run)] {
        const double t0 = Now();
        run();
        return Now() - t0;
    };
}

CInterleavedRounds::CInterleavedRounds(int rounds, const std::vector<Measure>& sides)
    : m_figures(sides.size()), m_failed(sides.size(), false)
{
    for (int round = 0; round < rounds; ++round)
        for (size_t side = 0; side < sides.size(); ++side) {
            if (m_failed[side])
                continue;
            const double figure = sides[side]();
            if (figure < 0)
                m_failed[side] = true;
            else
                m_figures[side].push_back(figure);
        }
}

bool CInterleavedRounds::AnyFailed() const
{
    return std::find(m_failed.begin(), m_failed.end(), true) != m_failed.end();
}

SSpread CInterleavedRounds::RatioSpread(int a, int b) const
{
    // A side that failed stopped at its failure: the first rounds are the
    // ones both sides finished.
    const size_t rounds = std::min(m_figures[a].size(), m_figures[b].size());
    std::vector<double> ratios;
    for (size_t i = 0; i < rounds; ++i)
        if (m_figures[b][i] > 0)
            ratios.push_back(m_figures[a][i] / m_figures[b][i]);
    return SpreadOf(std::move(ratios));
}
