#include "app/TempoText.h"

#include <cmath>

CString FormatTempo(float tempo)
{
    // Tempos are kept in single precision: 0.8f is 0.800000011..., so a
    // tenth is recognised within a small tolerance, not by equality.
    const double tenths = static_cast<double>(tempo) * 10;
    const bool wholeTenth = std::fabs(tenths - std::round(tenths)) < 0.001;
    CString text;
    text.Format(wholeTenth ? L"%.1f x" : L"%.2f x", static_cast<double>(tempo));
    return text;
}
