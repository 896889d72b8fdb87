#pragma once
// A push source for graph tests: one output pin "Out" that offers 16-bit PCM
// (optionally after a 32-bit float type, as the system decoders do) and, while
// the filter is active, delivers a known ramp of bytes in blocks with time
// stamps, then end of stream.
#include <windows.h>
#include <strmif.h>

#include <atomic>
#include <thread>

#include "platform/dshow/BaseFilter.h"
#include "platform/dshow/BaseOutputPin.h"

class CTestSource;

class CTestSourcePin : public CBaseOutputPin
{
public:
    explicit CTestSourcePin(CTestSource* source);
    HRESULT CheckMediaType(const CMediaType* mt) override;
    HRESULT GetMediaType(int index, CMediaType* mt) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

private:
    CTestSource* m_source;
};

class CTestSource : public CBaseFilter
{
public:
    // `blocks` blocks of `blockBytes` bytes (whole 4-byte frames) each.
    CTestSource(int blocks, int blockBytes, bool offerFloatFirst);
    ~CTestSource() override;

    STDMETHODIMP Stop() override;
    STDMETHODIMP Pause() override;

    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override { return n == 0 ? &m_pin : nullptr; }

    // Byte i of the stream.
    static BYTE ByteAt(long long i) { return static_cast<BYTE>((i * 7 + i / 251) & 0xFF); }
    long long TotalBytes() const { return static_cast<long long>(m_blocks) * m_blockBytes; }
    // The segment start sent before the first block (100 ns).
    static const REFERENCE_TIME kSegmentStart = 5000000;

    int m_blocks;
    int m_blockBytes;
    bool m_offerFloatFirst;

private:
    void Stream();
    void JoinStreamer();

    CTestSourcePin m_pin;
    std::thread m_streamer;
    std::atomic<bool> m_stop{false};
};

// The 16-bit stereo 44100 Hz PCM type (or its 32-bit float sibling).
CMediaType MakePcmType(bool isFloat);
