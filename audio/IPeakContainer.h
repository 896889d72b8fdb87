#pragma once
// Minimum/maximum peaks of one audio source, about two per millisecond.
#include <windows.h>
#include <unknwn.h>
#include <cstdint>

#include "audio/AudioIIDs.h"

struct IAudioReader;
struct IDisplay;

// Lowest and highest sample of a stretch, scaled to 8 bits. A new peak is
// {0, 0}, so every peak's range includes 0.
struct SPeak
{
    int8_t min = 0;
    int8_t max = 0;
};
static_assert(sizeof(SPeak) == 2, "two signed bytes");

struct IPeakContainer : public IUnknown
{
    [[nodiscard]] virtual bool StartBuild() = 0;
    // The peak over [from, to) in microseconds.
    [[nodiscard]] virtual bool GetPeak(LONGLONG from, LONGLONG to, SPeak* out) = 0;
    // Listeners are told to redraw when a build ends. Adding the same object
    // (by IUnknown identity) again answers its existing index.
    virtual int AddListener(IDisplay* display) = 0;
    [[nodiscard]] virtual bool RemoveListener(IDisplay* display) = 0;
    // No reference added.
    virtual IAudioReader* GetReader() = 0;
    [[nodiscard]] virtual bool IsComplete() = 0;
    virtual int GetPeakCount() = 0;
    // How far the peaks are filled.
    virtual int GetCurrentIndex() = 0;
    virtual void StopAndWait() = 0;
    virtual void Build() = 0;
    // 16-bit interleaved samples in file order; trailing partial frames are
    // dropped.
    virtual void AddSamples(const int16_t* samples, int bytes) = 0;
};
