#pragma once
// PCM playback through the waveOut device.
#include <windows.h>
#include <unknwn.h>

#include "audio/AudioFormat.h"
#include "audio/AudioIIDs.h"

struct IAudioOut : public IUnknown
{
    // deviceId: a waveOut device number, or (UINT)-1 for the wave mapper.
    [[nodiscard]] virtual bool Open(const SAudioFormat* format, UINT deviceId) = 0;
    // All bytes into the output's ring, or none (false when they do not fit).
    // Never waits for the device.
    [[nodiscard]] virtual bool Write(const void* data, int bytes) = 0;
    virtual void RequestReset() = 0;
    virtual int GetPendingBytes() = 0;
    virtual int GetPendingMs() = 0;
    virtual void SetVolume(UINT percent) = 0;
    virtual UINT GetBlockSize() = 0;
    // At least one whole block waits in the ring.
    [[nodiscard]] virtual bool IsFull() = 0;
    // Drops everything queued: what waits for the device at once; what the
    // device holds plays on until the sound written next can follow it (at
    // the driver's next period), or for a short while when none comes, no
    // longer counted as pending.
    virtual void Reset() = 0;
    // End of the stream: the bytes of an unfinished last block go to the
    // device too, instead of waiting for more.
    virtual void Drain() = 0;
};
