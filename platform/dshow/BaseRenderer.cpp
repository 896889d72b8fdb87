#include "platform/dshow/BaseRenderer.h"

#include <evcode.h>

CRendererInputPin::CRendererInputPin(CBaseRenderer* renderer) : CBaseInputPin(L"In", renderer), m_renderer(renderer)
{
}

STDMETHODIMP CRendererInputPin::Receive(IMediaSample* sample)
{
    return m_renderer->Receive(sample);
}

STDMETHODIMP CRendererInputPin::EndOfStream()
{
    return m_renderer->EndOfStream();
}

STDMETHODIMP CRendererInputPin::BeginFlush()
{
    (void)CBaseInputPin::BeginFlush(); // only records the state: always S_OK
    return m_renderer->BeginFlush();
}

STDMETHODIMP CRendererInputPin::EndFlush()
{
    HRESULT hr = m_renderer->EndFlush();
    (void)CBaseInputPin::EndFlush(); // only records the state: always S_OK
    return hr;
}

HRESULT CRendererInputPin::CheckMediaType(const CMediaType* mt)
{
    return m_renderer->CheckMediaType(mt);
}

HRESULT CRendererInputPin::SetMediaType(const CMediaType* mt)
{
    HRESULT hr = CBaseInputPin::SetMediaType(mt);
    return FAILED(hr) ? hr : m_renderer->SetMediaType(mt);
}

HRESULT CRendererInputPin::BreakConnect()
{
    m_renderer->BreakConnect();
    return CBaseInputPin::BreakConnect();
}

HRESULT CRendererInputPin::CompleteConnect(IPin* receivePin)
{
    HRESULT hr = CBaseInputPin::CompleteConnect(receivePin);
    return FAILED(hr) ? hr : m_renderer->CompleteConnect(receivePin);
}

CBaseRenderer::CBaseRenderer(const CLSID& clsid, const wchar_t* name)
    : CBaseFilter(name, clsid), m_input(this), m_seeking(this, &m_input)
{
}

CBaseRenderer::~CBaseRenderer() = default;

HRESULT CBaseRenderer::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IAMFilterMiscFlags)
        return GetInterface(static_cast<IAMFilterMiscFlags*>(this), ppv);
    if (riid == IID_IMediaSeeking)
        return GetInterface(static_cast<IMediaSeeking*>(&m_seeking), ppv);
    return CBaseFilter::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP_(ULONG) CBaseRenderer::GetMiscFlags()
{
    return AM_FILTER_MISC_FLAGS_IS_RENDERER;
}

CBasePin* CBaseRenderer::GetPin(int n)
{
    return n == 0 ? &m_input : nullptr;
}

STDMETHODIMP CBaseRenderer::Stop()
{
    HRESULT hr;
    bool wasActive;
    {
        CFilterLock lock(m_lock);
        wasActive = m_state != State_Stopped;
        hr = CBaseFilter::Stop();
        m_endOfStream = false;
        m_completeSent = false;
        m_firstSampleSeen = false;
    }
    // Wait for a sample that is still being rendered; new ones see the stopped state.
    std::lock_guard<std::mutex> wait(m_receiveLock);
    if (wasActive)
        OnStopStreaming();
    return hr;
}

STDMETHODIMP CBaseRenderer::Pause()
{
    CFilterLock lock(m_lock);
    bool starting = m_state == State_Stopped;
    HRESULT hr = CBaseFilter::Pause();
    if (FAILED(hr))
        return hr;
    if (starting) {
        m_endOfStream = false;
        m_completeSent = false;
        m_firstSampleSeen = false;
        OnStartStreaming();
    }
    return S_OK;
}

STDMETHODIMP CBaseRenderer::Run(REFERENCE_TIME start)
{
    bool complete;
    {
        CFilterLock lock(m_lock);
        HRESULT hr = CBaseFilter::Run(start);
        if (FAILED(hr))
            return hr;
        complete = TakeDueComplete();
    }
    if (complete)
        SendComplete();
    return S_OK;
}

HRESULT CBaseRenderer::SetMediaType(const CMediaType*)
{
    return S_OK;
}

HRESULT CBaseRenderer::BreakConnect()
{
    return S_OK;
}

HRESULT CBaseRenderer::CompleteConnect(IPin*)
{
    return S_OK;
}

HRESULT CBaseRenderer::Receive(IMediaSample* sample)
{
    std::lock_guard<std::mutex> rendering(m_receiveLock);
    HRESULT hr = m_input.CBaseInputPin::Receive(sample);
    if (hr != S_OK)
        return hr;
    bool first;
    {
        CFilterLock lock(m_lock);
        if (m_state == State_Stopped)
            return VFW_E_WRONG_STATE;
        if (m_endOfStream)
            return VFW_E_SAMPLE_REJECTED_EOS;
        first = !m_firstSampleSeen;
        m_firstSampleSeen = true;
    }
    if (first)
        OnReceiveFirstSample(sample);
    OnRenderStart(sample);
    DoRenderSample(sample); // a sample that fails to render is dropped
    OnRenderEnd(sample);
    return S_OK;
}

HRESULT CBaseRenderer::EndOfStream()
{
    bool complete;
    {
        CFilterLock lock(m_lock);
        if (m_state == State_Stopped)
            return VFW_E_WRONG_STATE;
        if (m_input.IsFlushing())
            return S_OK;
        m_endOfStream = true;
        complete = TakeDueComplete();
    }
    if (complete)
        SendComplete();
    return S_OK;
}

bool CBaseRenderer::TakeDueComplete()
{
    if (!m_endOfStream || m_completeSent || m_state != State_Running)
        return false;
    m_completeSent = true;
    return true;
}

void CBaseRenderer::SendComplete()
{
    // Outside a graph that listens nobody waits for the end: nothing to tell.
    (void)NotifyEvent(EC_COMPLETE, S_OK, reinterpret_cast<LONG_PTR>(static_cast<IBaseFilter*>(this)));
}

HRESULT CBaseRenderer::BeginFlush()
{
    CFilterLock lock(m_lock);
    m_endOfStream = false;
    m_completeSent = false;
    return S_OK;
}

HRESULT CBaseRenderer::EndFlush()
{
    return S_OK;
}
