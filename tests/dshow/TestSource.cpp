#include "tests/dshow/TestSource.h"

#include <gtest/gtest.h>
#include <mmreg.h>
#include <uuids.h>

#include <mutex>

CMediaType MakePcmType(bool isFloat)
{
    CMediaType mt(MEDIATYPE_Audio, isFloat ? MEDIASUBTYPE_IEEE_FLOAT : MEDIASUBTYPE_PCM, FORMAT_WaveFormatEx);
    WAVEFORMATEX wf = {};
    wf.wFormatTag = isFloat ? WAVE_FORMAT_IEEE_FLOAT : WAVE_FORMAT_PCM;
    wf.nChannels = 2;
    wf.nSamplesPerSec = 44100;
    wf.wBitsPerSample = isFloat ? 32 : 16;
    wf.nBlockAlign = static_cast<WORD>(wf.nChannels * wf.wBitsPerSample / 8);
    wf.nAvgBytesPerSec = wf.nSamplesPerSec * wf.nBlockAlign;
    EXPECT_TRUE(mt.SetFormat(&wf, sizeof(wf)));
    mt.lSampleSize = wf.nBlockAlign;
    return mt;
}

CTestSourcePin::CTestSourcePin(CTestSource* source) : CBaseOutputPin(L"Out", source), m_source(source)
{
}

HRESULT CTestSourcePin::CheckMediaType(const CMediaType* mt)
{
    if (*mt == MakePcmType(false) || (m_source->m_offerFloatFirst && *mt == MakePcmType(true)))
        return S_OK;
    return VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CTestSourcePin::GetMediaType(int index, CMediaType* mt)
{
    if (m_source->m_offerFloatFirst) {
        if (index == 0) {
            *mt = MakePcmType(true);
            return S_OK;
        }
        --index;
    }
    if (index != 0)
        return VFW_S_NO_MORE_ITEMS;
    *mt = MakePcmType(false);
    return S_OK;
}

HRESULT CTestSourcePin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    ALLOCATOR_PROPERTIES want = *request, actual = {};
    want.cBuffers = 4;
    want.cbBuffer = m_source->m_blockBytes;
    want.cbAlign = 1;
    HRESULT hr = allocator->SetProperties(&want, &actual);
    if (FAILED(hr))
        return hr;
    return actual.cbBuffer >= want.cbBuffer ? S_OK : E_FAIL;
}

CTestSource::CTestSource(int blocks, int blockBytes, bool offerFloatFirst)
    : CBaseFilter(L"Test source", GUID_NULL), m_blocks(blocks), m_blockBytes(blockBytes),
      m_offerFloatFirst(offerFloatFirst), m_pin(this)
{
}

CTestSource::~CTestSource()
{
    JoinStreamer();
}

void CTestSource::JoinStreamer()
{
    m_stop = true;
    if (m_pin.Allocator())
        m_pin.Allocator()->Decommit(); // wakes a thread waiting for a buffer
    if (m_streamer.joinable())
        m_streamer.join();
}

STDMETHODIMP CTestSource::Stop()
{
    JoinStreamer(); // outside the state lock: the streamer takes it to deliver
    return CBaseFilter::Stop();
}

STDMETHODIMP CTestSource::Pause()
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    bool starting = m_state == State_Stopped;
    HRESULT hr = CBaseFilter::Pause();
    if (SUCCEEDED(hr) && starting && m_pin.IsConnected()) {
        m_stop = false;
        m_streamer = std::thread([this] { Stream(); });
    }
    return hr;
}

void CTestSource::Stream()
{
    // A downstream filter that refuses the segment refuses the samples as
    // well: the cases look at what arrived.
    (void)m_pin.DeliverNewSegment(kSegmentStart, kSegmentStart + 100000000, 1.0);
    const int frameBytes = 4;
    for (int b = 0; b < m_blocks && !m_stop; ++b) {
        IMediaSample* sample = nullptr;
        if (FAILED(m_pin.GetDeliveryBuffer(&sample, nullptr, nullptr, 0)))
            return;
        BYTE* data = nullptr;
        sample->GetPointer(&data);
        long long first = static_cast<long long>(b) * m_blockBytes;
        for (int i = 0; i < m_blockBytes; ++i)
            data[i] = ByteAt(first + i);
        sample->SetActualDataLength(m_blockBytes);
        REFERENCE_TIME start = first / frameBytes * 10000000LL / 44100;
        REFERENCE_TIME stop = (first + m_blockBytes) / frameBytes * 10000000LL / 44100;
        sample->SetTime(&start, &stop);
        sample->SetDiscontinuity(b == 0);
        sample->SetSyncPoint(TRUE);
        (void)m_pin.Deliver(sample); // refused while flushing or stopped: dropped, as a source does
        sample->Release();
    }
    if (!m_stop)
        (void)m_pin.DeliverEndOfStream(); // the cases look at whether the end arrived
}
