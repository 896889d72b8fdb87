#pragma once
// One audio file as signed 16-bit (or 8-bit WAV) interleaved PCM.
// Units: lengths in milliseconds, sizes in bytes, positions in frames
// (one sample of every channel).
//
// The contract every reader keeps (plain, decoding or cached):
// - Whole frames: Read delivers a whole number of frames, never part of
//   one; a buffer smaller than one frame gets false and moves nothing.
// - Exact seeks: Seek(frame) is refused outside [0, GetFrameCount()]; after
//   it, GetPosition() is frame and the next Read starts with that frame's
//   own samples, whatever the decoder's time units. A seek to the length
//   itself is taken, and the next Read gives false; the whole-file cache
//   alone refuses it (it seeks to the frames it holds, [0, GetFrameCount())).
//   A seek that is taken within the length is followed by audio, damaged
//   file or not (else it fails).
// - Announced length = delivered length: read from frame 0 to the end, a
//   reader delivers exactly GetFrameCount() frames. A stream that decodes
//   more ends at the announced length; one that ends early is either filled
//   with silence up to it or, once its end is met, announces what it
//   delivered from then on.
// - Peaks always end complete: the peak container of a reader becomes
//   complete (IsComplete) once the source is read to its end, early or not,
//   and at once when it has no peaks to build; only an abort or a stop of
//   the build leaves it incomplete.
#include <windows.h>
#include <unknwn.h>

#include "audio/AudioFormat.h"
#include "audio/AudioIIDs.h"

struct IPeakContainer;

struct IAudioReader : public IUnknown
{
    [[nodiscard]] virtual bool Open(LPCWSTR path) = 0;
    virtual LONGLONG GetDuration() = 0;
    virtual LONGLONG GetDataSize() = 0;
    virtual LONGLONG GetFrameCount() = 0;
    // The reader's peak container (made and started on the first request),
    // with a reference added. source: the reader it describes; null = this.
    [[nodiscard]] virtual bool GetPeakContainer(IPeakContainer** out, IAudioReader* source = nullptr) = 0;
    // One way: ends long work (cache loading, peak building) early.
    virtual void Abort() = 0;
    [[nodiscard]] virtual bool IsAborted() = 0;
    // Valid while the reader lives.
    virtual SAudioFormat* GetFormat() = 0;
    // False: nothing more can be read.
    [[nodiscard]] virtual bool Read(void* buffer, DWORD bytes, DWORD* got) = 0;
    [[nodiscard]] virtual bool Seek(LONGLONG frame, DWORD* reserved = nullptr) = 0;
    virtual LONGLONG GetPosition() = 0;
    virtual LPCWSTR GetPath() = 0;
    // False while background work must finish before reading; percent, when
    // given, then tells how far it is.
    [[nodiscard]] virtual bool IsReady(DWORD* percent = nullptr) = 0;
};

// The background work of a reader (decoding, caching).
struct IProcess : public IUnknown
{
    [[nodiscard]] virtual bool Start() = 0;
    [[nodiscard]] virtual bool Stop() = 0;
    [[nodiscard]] virtual bool IsRunning() = 0;
};
