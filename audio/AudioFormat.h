#pragma once
// The sample format of a reader or an output.
#include <cstdint>

struct SAudioFormat
{
    // All three fields all bits set: no format has been set yet.
    uint32_t nSamplesPerSec = 0xFFFFFFFFu;
    uint32_t nBitsPerSample = 0xFFFFFFFFu;
    uint32_t nChannels = 0xFFFFFFFFu;

    SAudioFormat() = default;
    SAudioFormat(uint32_t rate, uint32_t bits, uint32_t channels)
        : nSamplesPerSec(rate), nBitsPerSample(bits), nChannels(channels)
    {
    }

    // Bytes per frame; the division by 8 comes first.
    int32_t GetBlockAlign() const { return static_cast<int32_t>(nBitsPerSample) / 8 * static_cast<int32_t>(nChannels); }
    int32_t GetBytesPerSecond() const
    {
        return static_cast<int32_t>(nSamplesPerSec) * static_cast<int32_t>(nBitsPerSample) *
               static_cast<int32_t>(nChannels) / 8;
    }
};
static_assert(sizeof(SAudioFormat) == 12, "three 32-bit fields");
