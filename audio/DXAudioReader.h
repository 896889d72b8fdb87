#pragma once
// Reader of every format the system's DirectShow decoders turn into PCM
// (MP3, WMA, ...): a filter graph from the file through the decoders to our
// sink (CRenderer), run without a clock, pushes decoded buffers into a 1 MiB
// ring, from which Read serves. The announced length comes from the stream's
// duration; Read makes it exact, filling a stream that ends early with zeros
// after its last real bytes and cutting one that runs longer.
#include <windows.h>
#include <dshow.h>

#include <atomic>
#include <climits>

#include "audio/AudioReader.h"
#include "audio/GrabberSample.h"
#include "audio/SampleCallback.h"
#include "platform/mfc/afxworker.h"
#include "common/Interfaces.h"
#include "common/RingBuffer.h"
#include "platform/mfc/afxmt.h"

// Builds source -> (decoders) -> sink for `path`, the sink accepting PCM
// audio; hands out the graph (set to run without a clock), the sink's control
// interface and the connected WAVEFORMATEX. False on any failure, with
// nothing handed out.
[[nodiscard]] bool BuildAudioGraph(LPCWSTR path, IGraphBuilder** graph, IGrabberSample** grabber, WAVEFORMATEX* format);
// The first pin of `filter` in `direction`, counted; null when none.
CIPtr<IPin> FirstPin(IBaseFilter* filter, PIN_DIRECTION direction);

class CDXAudioReader : public CAudioReader, public ISampleCallback
{
public:
    CDXAudioReader();
    ~CDXAudioReader() override;

    [[nodiscard]] HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return CAudioReader::AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return CAudioReader::Release(); }

    // False when no graph can be built, or the stream has no duration or no
    // usable wave format.
    [[nodiscard]] bool Open(LPCWSTR path) override;
    // Needs Start. Waits for decoded data; ends in bounded time also when the
    // graph stalls or the reader is aborted or stopped meanwhile.
    [[nodiscard]] bool Read(void* buffer, DWORD bytes, DWORD* got) override;
    [[nodiscard]] bool Seek(LONGLONG frame, DWORD* reserved = nullptr) override;
    [[nodiscard]] bool Start() override;
    [[nodiscard]] bool Stop() override;
    // Also wakes a Read that waits, so that it gives up at once.
    void Abort() override;

    // ISampleCallback (the graph's streaming thread / the event pump)
    HRESULT OnSample(IMediaSample* sample, REFERENCE_TIME start, REFERENCE_TIME stop, BOOL flag) override;
    void OnEndOfStream() override;

    static const int kRingBytes = 1048576;
    // No new data for this long while a Read waits counts as the end of the stream.
    static const DWORD kStallMs = 5000;
    // Longest single wait of a Read for data, or of a delivery for room. The
    // other side wakes it as soon as the awaited bytes or room are there;
    // this bounds how often the stall, abort and stop conditions are looked
    // at without a wake.
    static const DWORD kWaitStepMs = 50;
    // Longest wait for the graph to reach a state (stopped, on Stop and Seek).
    static const DWORD kStateWaitMs = 5000;

private:
    struct SPumpState
    {
        CIPtr<IMediaEvent> events;
        CIPtr<ISampleCallback> callback;
        std::atomic<bool> stop{false};
        // Set together with stop, so that the pump ends without waiting out
        // its current wait for a graph event.
        CEvent stopNow{FALSE, TRUE};
        // Held while an event is taken from the graph and handled, and
        // while a seek drops the events of the old run.
        CCriticalSection eventsLock;
    };
    static UINT EventPump(LPVOID param);

    // Stops the graph and waits for the stopped state; a delivery waiting
    // for room gives up meanwhile.
    [[nodiscard]] bool StopGraph();
    // False also when the graph is not there within kStateWaitMs.
    [[nodiscard]] bool WaitForState(OAFilterState wanted);
    // Takes every queued graph event and forgets it; the caller holds the
    // events lock.
    void DropQueuedEvents();
    // Puts n bytes (or zeros for a null data) into the ring in pieces as room
    // frees up; false when the reader is being stopped first.
    [[nodiscard]] bool PutIntoRing(const BYTE* data, LONGLONG n);
    // 100-ns stream time <-> frames at the file's sample rate (128-bit products).
    LONGLONG FramesAt(REFERENCE_TIME t) const;
    REFERENCE_TIME TimeOfFrame(LONGLONG frame) const;

    bool m_graphRunning = false;
    CRingBuffer m_ring;
    // Wake the reader once the bytes it waits for (or the end, an abort)
    // are there, and a waiting delivery once room frees up (or the graph is
    // being stopped). Each side announces its wait under the wait lock and
    // is woken only while it waits (the reader once per wait). Condition variables rather than
    // events: waking one is no system call when nobody waits, and under Wine
    // not a round trip through its server when somebody does, so the
    // decoding thread loses next to no time handing data over.
    CCriticalSection m_waitLock;
    CONDITION_VARIABLE m_dataArrived = CONDITION_VARIABLE_INIT;
    CONDITION_VARIABLE m_roomFreed = CONDITION_VARIABLE_INIT;
    std::atomic<int> m_readerWaitsFor{INT_MAX};
    std::atomic<bool> m_deliveryWaits{false};
    // Wakes the reader (or the delivery) so that a wait being entered
    // cannot miss it.
    void WakeReader();
    void WakeDelivery();
    std::atomic<bool> m_stopping{false};
    CWorkerThread m_pump;
    SPumpState m_pumpState;
    std::atomic<LONGLONG> m_seekTarget{-1};
    // Stream offset (bytes from frame 0) of the next byte the graph
    // delivers; -1 until the first sample after a seek places it.
    std::atomic<LONGLONG> m_receivedByte{-1};
    LONGLONG m_mediaDuration = 0;
    CIPtr<IGraphBuilder> m_graph;
    CIPtr<IGrabberSample> m_grabber;
    CIPtr<IMediaControl> m_control;
    CIPtr<IMediaSeeking> m_seeking;
    CIPtr<IMediaEvent> m_events;
    std::atomic<bool> m_endOfStream{false};
};
