#pragma once
// Small numeric routines.
#include <cstdint>
#include <cstdlib>

// Stores a - b when asked; true when |a - b| is below the tolerance.
[[nodiscard]] inline bool IsWithinTolerance(int a, int b, int tolerance, int* difference = nullptr)
{
    const long long d = static_cast<long long>(a) - b;
    if (difference)
        *difference = static_cast<int>(d);
    return (d < 0 ? -d : d) < tolerance;
}

// The highest set bit as a mask; 0 for 0.
inline uint32_t HighestBit(uint32_t value)
{
    if (!value)
        return 0;
    return uint32_t(1) << (31 - __builtin_clz(value));
}

// Position 0-31 of the highest set bit; 0 for 0.
inline int HighestBitIndex(uint32_t value)
{
    return value ? 31 - __builtin_clz(value) : 0;
}

[[nodiscard]] inline bool HasSeveralBits(uint32_t value)
{
    return (value & (value - 1)) != 0;
}

[[nodiscard]] inline bool IsPowerOfTwoOrZero(uint32_t value)
{
    return !HasSeveralBits(value);
}

inline int CompareInts(int a, int b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}
