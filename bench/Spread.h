// The spread of a benchmark's figures: the median says what a figure is, the
// quartiles and the extremes say how far load on the machine moved it.
#pragma once

#include <string>
#include <vector>

struct SSpread
{
    int count = 0; // no figures: every other member is 0
    double median = 0;
    double lowQuartile = 0; // quartiles interpolated between neighbouring figures
    double highQuartile = 0;
    double min = 0;
    double max = 0;
};

SSpread SpreadOf(std::vector<double> figures);

// "1.12 (median of 40 pairs; quartiles 1.05 to 1.20, all 0.98 to 1.40)"; the
// figures with two decimals, `what` names what was counted.
std::string SpreadText(const SSpread& spread, const char* what = "pairs");
