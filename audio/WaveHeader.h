#pragma once
// One device buffer of the audio output: a WAVEHDR that owns its data block.
#include <windows.h>
#include <mmsystem.h>

struct SWaveHeader : public WAVEHDR
{
    // Allocates a zero-filled data block of size bytes; a failed allocation
    // leaves a header without data (capacity 0) that is never used.
    explicit SWaveHeader(DWORD size);
    ~SWaveHeader();

    SWaveHeader(const SWaveHeader&) = delete;
    SWaveHeader& operator=(const SWaveHeader&) = delete;

    // Never written, or handed back by the device.
    [[nodiscard]] bool IsFree() const { return dwFlags == 0 || (dwFlags & WHDR_DONE); }
    // With the device and not yet played.
    [[nodiscard]] bool IsPending() const { return (dwFlags & WHDR_PREPARED) && !(dwFlags & WHDR_DONE); }

    DWORD capacity;
};
