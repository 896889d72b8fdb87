#include "audio/DXAudioReader.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <mmreg.h>
#include <new>

#include "audio/FrameChecker.h"
#include "common/CritSecLock.h"
#include "common/DebugAssert.h"
#include "audio/Renderer.h"
#include "platform/dshow/MediaType.h"

namespace {

const LONGLONG kUnitsPerSecond = 10000000; // DirectShow time: 100 ns

} // namespace

CIPtr<IPin> FirstPin(IBaseFilter* filter, PIN_DIRECTION direction)
{
    CIPtr<IEnumPins> pins;
    if (!filter || FAILED(filter->EnumPins(&pins)) || !pins)
        return nullptr;
    IPin* pin = nullptr;
    while (pins->Next(1, &pin, nullptr) == S_OK && pin) {
        CIPtr<IPin> held;
        held.Attach(pin);
        PIN_DIRECTION d;
        if (SUCCEEDED(pin->QueryDirection(&d)) && d == direction)
            return held;
    }
    return nullptr;
}

bool BuildAudioGraph(LPCWSTR path, IGraphBuilder** graphOut, IGrabberSample** grabberOut, WAVEFORMATEX* format)
{
    if (!path || !graphOut || !grabberOut || !format)
        return false;
    CIPtr<IGraphBuilder> graph;
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                reinterpret_cast<void**>(&graph))) ||
        !graph)
        return false;
    CIPtr<IBaseFilter> source;
    if (FAILED(graph->AddSourceFilter(path, L"Source", &source)) || !source)
        return false;
    CIPtr<IPin> sourceOut = FirstPin(source, PINDIR_OUTPUT);
    if (!sourceOut)
        return false;

    CIPtr<IBaseFilter> checker(new (std::nothrow) CFrameChecker());
    if (!checker || FAILED(graph->AddFilter(checker, L"Frame Checker")))
        return false;
    CIPtr<IBaseFilter> sink(new (std::nothrow) CRenderer());
    CIPtr<IGrabberSample> grabber;
    if (!sink || FAILED(grabber.QueryFrom(sink, IID_IGrabberSample)))
        return false;
    CMediaType accepted(MEDIATYPE_Audio, MEDIASUBTYPE_PCM, GUID_NULL);
    if (FAILED(grabber->SetAcceptedMediaType(&accepted)) || FAILED(graph->AddFilter(sink, L"Audio grabber")))
        return false;
    CIPtr<IPin> sinkIn = FirstPin(sink, PINDIR_INPUT);
    if (!sinkIn || FAILED(graph->Connect(sourceOut, sinkIn)))
        return false;

    AM_MEDIA_TYPE mt = {};
    if (FAILED(grabber->GetConnectedMediaType(&mt)))
        return false;
    const bool hasWave = mt.formattype == FORMAT_WaveFormatEx && mt.cbFormat >= 18 && mt.pbFormat;
    if (hasWave)
        memcpy(format, mt.pbFormat, 18);
    FreeMediaType(mt);
    if (!hasWave)
        return false;

    CIPtr<IMediaFilter> mediaFilter;
    if (FAILED(mediaFilter.QueryFrom(graph, IID_IMediaFilter)) || FAILED(mediaFilter->SetSyncSource(nullptr)))
        return false;
    ReturnInterface(graph, graphOut);
    ReturnInterface(grabber, grabberOut);
    return true;
}

CDXAudioReader::CDXAudioReader() : m_ring(kRingBytes)
{
}

CDXAudioReader::~CDXAudioReader()
{
    // Normally stopped by its user; a graph still running must not keep
    // delivering into a reader that is gone.
    if (m_running && !Stop() && m_grabber)
        m_grabber->SetCallback(nullptr);
}

HRESULT STDMETHODCALLTYPE CDXAudioReader::QueryInterface(REFIID iid, void** out)
{
    if (iid == IID_ISampleCallback)
        return AnswerQueryInterface(iid, out, {{IID_ISampleCallback, static_cast<ISampleCallback*>(this)}});
    return CAudioReader::QueryInterface(iid, out);
}

LONGLONG CDXAudioReader::FramesAt(REFERENCE_TIME t) const
{
    // Rounded to the nearest frame: decoders truncate when they turn a
    // frame into a time (stamps, the stream's length), so the frame is the
    // nearest one.
    const LONGLONG rate = m_format.nSamplesPerSec;
    return static_cast<LONGLONG>((static_cast<__int128>(t) * rate + kUnitsPerSecond / 2) / kUnitsPerSecond);
}

REFERENCE_TIME CDXAudioReader::TimeOfFrame(LONGLONG frame) const
{
    // Rounded up: a decoder truncates a time into its frame, so the first
    // unit at or after the frame's start is the one that lands on it.
    const LONGLONG rate = m_format.nSamplesPerSec;
    return rate ? static_cast<REFERENCE_TIME>((static_cast<__int128>(frame) * kUnitsPerSecond + rate - 1) / rate) : 0;
}

bool CDXAudioReader::Open(LPCWSTR path)
{
    SetPath(path);
    if (!path || m_graph)
        return false;
    WAVEFORMATEX wave = {};
    if (!BuildAudioGraph(path, &m_graph, &m_grabber, &wave))
        return false;
    if (FAILED(m_control.QueryFrom(m_graph, IID_IMediaControl)) ||
        FAILED(m_seeking.QueryFrom(m_graph, IID_IMediaSeeking)) ||
        FAILED(m_events.QueryFrom(m_graph, IID_IMediaEvent)) || !m_grabber)
        return false;
    if (FAILED(m_seeking->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME)))
        return false;
    LONGLONG duration = 0;
    // Without a length there is nothing to announce, and every later
    // time/frame conversion would divide by it.
    if (FAILED(m_seeking->GetDuration(&duration)) || duration <= 0)
        return false;
    if (wave.nSamplesPerSec == 0 || wave.nChannels == 0 || wave.wBitsPerSample < 8)
        return false;
    m_mediaDuration = duration;
    m_format = SAudioFormat(wave.nSamplesPerSec, wave.wBitsPerSample, wave.nChannels);
    const LONGLONG align = m_format.GetBlockAlign();
    // The stream's length is its frame count turned into a time, truncated.
    const LONGLONG frames = FramesAt(duration);
    if (frames <= 0 || frames > static_cast<LONGLONG>(UINT_MAX) / align)
        return false; // too short to hold a frame, or beyond the 32-bit data size
    m_duration = duration / 10000;
    m_dataSize = static_cast<DWORD>(frames * align);
    m_position = 0;
    return true;
}

bool CDXAudioReader::Start()
{
    if (m_running || !m_grabber || !m_events)
        return false;
    if (FAILED(m_grabber->SetCallback(this)))
        return false;
    m_pumpState.events = m_events;
    m_pumpState.callback = static_cast<ISampleCallback*>(this);
    m_pumpState.stop = false;
    m_pumpState.stopNow.ResetEvent();
    if (!m_pump.Start(&CDXAudioReader::EventPump, &m_pumpState)) {
        m_grabber->SetCallback(nullptr);
        m_pumpState.events = nullptr;
        m_pumpState.callback = nullptr;
        return false;
    }
    m_running = true;
    if (!Seek(0)) {
        // Undone as far as it goes; the start has failed either way.
        if (!Stop())
            m_running = false;
        return false;
    }
    return true;
}

UINT CDXAudioReader::EventPump(LPVOID param)
{
    auto* state = static_cast<SPumpState*>(param);
    if (!state || !state->events || !state->callback)
        return static_cast<UINT>(-1);
    // The graph's event handle is signalled while events are queued; waiting
    // on it together with the stop event ends the pump at once on Stop.
    // Without it the pump looks for events and a stop every 100 ms.
    OAEVENT queued = 0;
    const HANDLE graphEvents =
        SUCCEEDED(state->events->GetEventHandle(&queued)) ? reinterpret_cast<HANDLE>(queued) : nullptr;
    while (!state->stop) {
        if (graphEvents) {
            const HANDLE handles[2] = {graphEvents, state->stopNow};
            if (WaitForMultipleObjects(2, handles, FALSE, INFINITE) != WAIT_OBJECT_0)
                continue; // stop (or a failed wait: the loop condition decides)
        } else if (WaitForSingleObject(state->stopNow, 100) == WAIT_OBJECT_0) {
            continue;
        }
        // Taken and handled under the events lock: a seek that drops the
        // queued events of the old run meets none half handled.
        CCritSecLock lock(&state->eventsLock);
        long code = 0;
        LONG_PTR p1 = 0, p2 = 0;
        HRESULT hr = state->events->GetEvent(&code, &p1, &p2, 0);
        if (hr == E_ABORT)
            continue; // none queued (a seek took them)
        if (FAILED(hr))
            break;
        state->events->FreeEventParams(code, p1, p2);
        // A graph that gives up ends the stream as surely as one that completes.
        if (code == EC_COMPLETE || code == EC_ERRORABORT || code == EC_USERABORT || code == EC_STREAM_ERROR_STOPPED ||
            code == EC_ERRORABORTEX)
            state->callback->OnEndOfStream();
    }
    return 0;
}

bool CDXAudioReader::WaitForState(OAFilterState wanted)
{
    const DWORD since = GetTickCount();
    for (;;) {
        OAFilterState state = State_Stopped;
        HRESULT hr = m_control->GetState(0, &state);
        if (hr == VFW_S_STATE_INTERMEDIATE) {
            if (GetTickCount() - since > kStateWaitMs)
                return false; // a graph that never gets there
            Sleep(10);
            continue;
        }
        if (FAILED(hr))
            return false;
        return state == wanted;
    }
}

bool CDXAudioReader::StopGraph()
{
    m_stopping = true;
    WakeDelivery(); // a delivery waiting for room gives up now
    bool ok = SUCCEEDED(m_control->Stop()) && WaitForState(State_Stopped);
    m_stopping = false;
    if (ok)
        m_graphRunning = false;
    return ok;
}

bool CDXAudioReader::Stop()
{
    if (!m_running)
        return false;
    if (m_graphRunning && !StopGraph())
        return false;
    m_grabber->SetCallback(nullptr);
    if (m_pump.IsStarted()) {
        m_pumpState.stop = true;
        m_pumpState.stopNow.SetEvent();
        m_pump.Join();
        m_pumpState.events = nullptr;
        m_pumpState.callback = nullptr;
    }
    m_running = false;
    m_ring.Reset();
    return true;
}

bool CDXAudioReader::Seek(LONGLONG frame, DWORD* reserved)
{
    if (reserved)
        *reserved = 0;
    if (!m_running || !m_seeking || !m_control || frame < 0 || frame > GetFrameCount())
        return false;
    if (frame == GetFrameCount()) {
        // At the end: the graph is left where it is (Read gives false from
        // here); the next seek within the length moves it.
        m_position = frame;
        return true;
    }
    if (m_graphRunning) {
        if (!StopGraph())
            return false;
        m_ring.Reset();
        // The old run's events (its end among them) are all queued once the
        // graph has stopped: dropped, so that only the new run's count.
        CCritSecLock lock(&m_pumpState.eventsLock);
        DropQueuedEvents();
        m_endOfStream = false;
    }
    if (FAILED(m_seeking->SetTimeFormat(&TIME_FORMAT_MEDIA_TIME)))
        return false;
    m_position = frame;
    m_seekTarget = frame;
    LONGLONG t = TimeOfFrame(frame);
    if (FAILED(m_seeking->SetPositions(&t, AM_SEEKING_AbsolutePositioning, nullptr, AM_SEEKING_NoPositioning))) {
        m_seekTarget = -1;
        return false;
    }
    m_receivedByte = -1;
    m_ring.Reset();
    m_endOfStream = false;
    return true;
}

void CDXAudioReader::DropQueuedEvents()
{
    long code = 0;
    LONG_PTR p1 = 0, p2 = 0;
    while (SUCCEEDED(m_events->GetEvent(&code, &p1, &p2, 0)))
        m_events->FreeEventParams(code, p1, p2);
}

bool CDXAudioReader::Read(void* buffer, DWORD bytes, DWORD* got)
{
    if (!buffer || !bytes || !got || !m_control || !m_running)
        return false;
    const LONGLONG frames = GetFrameCount();
    if (m_position >= frames)
        return false;
    if (!m_graphRunning) {
        if (FAILED(m_control->Run()))
            return false;
        m_graphRunning = true;
    }
    const LONGLONG align = m_format.GetBlockAlign();
    // Whole frames, never past the announced length, never more than the ring holds.
    LONGLONG want = std::min<LONGLONG>(bytes, (frames - m_position) * align);
    want = std::min<LONGLONG>(want, kRingBytes);
    want -= want % align;
    if (want <= 0)
        return false;

    BYTE* out = static_cast<BYTE*>(buffer);
    int lastSize = -1;
    DWORD lastChange = GetTickCount();
    for (;;) {
        const int held = m_ring.GetDataSize();
        if (held >= want) {
            m_ring.Read(out, static_cast<int>(want));
            break;
        }
        if (m_endOfStream) {
            // The real bytes still in the ring first, then silence up to the length.
            const int real = m_ring.Read(out, held - static_cast<int>(held % align));
            memset(out + real, 0, static_cast<size_t>(want - real));
            break;
        }
        if (IsAborted())
            return false;
        if (held != lastSize) {
            lastSize = held;
            lastChange = GetTickCount();
        } else if (GetTickCount() - lastChange > kStallMs) {
            m_endOfStream = true; // the graph stopped delivering without saying so
            continue;
        }
        // Announce the wait first, then look once more: a delivery that
        // filled the ring meanwhile has either been seen here or sees this
        // and wakes the wait, which it can only do once the wait has begun.
        CCritSecLock lock(&m_waitLock);
        m_readerWaitsFor = static_cast<int>(want);
        if (m_ring.GetDataSize() < want && !m_endOfStream && !IsAborted())
            SleepConditionVariableCS(&m_dataArrived, m_waitLock, kWaitStepMs);
        m_readerWaitsFor = INT_MAX;
    }
    if (m_deliveryWaits)
        WakeDelivery();
    *got = static_cast<DWORD>(want);
    m_position += want / align;
    return true;
}

bool CDXAudioReader::PutIntoRing(const BYTE* data, LONGLONG n)
{
    while (n > 0) {
        if (m_stopping)
            return false;
        const LONGLONG room = m_ring.GetFreeSpace();
        const int piece = static_cast<int>(std::min(n, room));
        if (piece <= 0) {
            CCritSecLock lock(&m_waitLock);
            m_deliveryWaits = true;
            if (m_ring.GetFreeSpace() == 0 && !m_stopping)
                SleepConditionVariableCS(&m_roomFreed, m_waitLock, kWaitStepMs);
            m_deliveryWaits = false;
            continue;
        }
        // This thread is the ring's only writer: the room seen above can
        // only have grown since.
        [[maybe_unused]] const bool written = data ? m_ring.Write(data, piece) : m_ring.WriteSilence(piece);
        RAVELIN_ASSERT(written);
        if (data)
            data += piece;
        n -= piece;
        // One wake per wait of the reader, once all it asked for is there.
        int waitsFor = m_readerWaitsFor;
        if (waitsFor != INT_MAX && m_ring.GetDataSize() >= waitsFor &&
            m_readerWaitsFor.compare_exchange_strong(waitsFor, INT_MAX))
            WakeReader();
    }
    return true;
}

HRESULT CDXAudioReader::OnSample(IMediaSample* sample, REFERENCE_TIME start, REFERENCE_TIME, BOOL)
{
    if (!sample)
        return E_INVALIDARG;
    // A discontinuity (set on the first buffer after every start and seek)
    // still carries real audio: it is kept.
    const LONGLONG align = m_format.GetBlockAlign();
    LONGLONG n = sample->GetActualDataLength();
    if (n < 0 || align <= 0)
        return E_FAIL;
    // Counted in bytes: a buffer that ends inside a frame leaves the rest of
    // that frame to the next one, and the frames keep their place.
    if (m_receivedByte < 0)
        m_receivedByte = FramesAt(start) * align;
    const LONGLONG received = m_receivedByte;
    const LONGLONG end = received + n;
    const LONGLONG target = m_seekTarget;
    const LONGLONG targetByte = target * align;
    if (target >= 0 && end <= targetByte) {
        m_receivedByte = end; // wholly before the seek target
        return S_OK;
    }
    BYTE* data = nullptr;
    if (n == 0 || FAILED(sample->GetPointer(&data)) || !data)
        return E_FAIL;
    if (target >= 0) {
        if (received < targetByte) {
            const LONGLONG skip = targetByte - received;
            data += skip;
            n -= skip;
        } else if (received > targetByte) {
            // Frames between the target and this sample read as silence; never
            // more than the file holds, whatever the time stamp says.
            const LONGLONG gap = std::min(received - targetByte, GetDataSize());
            if (!PutIntoRing(nullptr, gap))
                return S_FALSE;
        }
    }
    if (!PutIntoRing(data, n))
        return S_FALSE; // the reader is stopping
    m_seekTarget = -1;
    m_receivedByte = end;
    return S_OK;
}

// Taking the wait lock once makes sure that a wait announced before the wake
// has begun sleeping (it holds the lock until then); the wake itself comes
// after the lock is left, so the woken side does not run into it.
void CDXAudioReader::WakeReader()
{
    {
        CCritSecLock lock(&m_waitLock);
    }
    WakeConditionVariable(&m_dataArrived);
}

void CDXAudioReader::WakeDelivery()
{
    {
        CCritSecLock lock(&m_waitLock);
    }
    WakeConditionVariable(&m_roomFreed);
}

void CDXAudioReader::Abort()
{
    CAudioReader::Abort();
    WakeReader();
}

void CDXAudioReader::OnEndOfStream()
{
    m_endOfStream = true;
    WakeReader();
}
