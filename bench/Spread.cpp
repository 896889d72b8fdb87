#include "bench/Spread.h"

#include <algorithm>
#include <cstdio>

namespace {

// The value at fraction `at` (0 to 1) of the sorted figures, interpolated
// linearly between the two figures it falls between.
double At(const std::vector<double>& sorted, double at)
{
    const double index = at * static_cast<double>(sorted.size() - 1);
    const size_t below = static_cast<size_t>(index);
    if (below + 1 >= sorted.size())
        return sorted.back();
    return sorted[below] + (index - static_cast<double>(below)) * (sorted[below + 1] - sorted[below]);
}

} // namespace

SSpread SpreadOf(std::vector<double> figures)
{
    SSpread s;
    if (figures.empty())
        return s;
    std::sort(figures.begin(), figures.end());
    s.count = static_cast<int>(figures.size());
    s.median = At(figures, 0.5);
    s.lowQuartile = At(figures, 0.25);
    s.highQuartile = At(figures, 0.75);
    s.min = figures.front();
    s.max = figures.back();
    return s;
}

std::string SpreadText(const SSpread& spread, const char* what)
{
    if (spread.count == 0)
        return std::string("none (no ") + what + ")";
    char text[160];
    std::snprintf(text, sizeof text, "%.2f (median of %d %s; quartiles %.2f to %.2f, all %.2f to %.2f)", spread.median,
                  spread.count, what, spread.lowQuartile, spread.highQuartile, spread.min, spread.max);
    return text;
}
