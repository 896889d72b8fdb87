#include "platform/dshow/TransformFilter.h"

#include <mutex>
#include <new>

// ---- input pin ----

CTransformInputPin::CTransformInputPin(const wchar_t* name, CTransformFilter* filter)
    : CBaseInputPin(name, filter), m_transform(filter)
{
}

STDMETHODIMP CTransformInputPin::Receive(IMediaSample* sample)
{
    HRESULT hr = CBaseInputPin::Receive(sample);
    if (hr != S_OK)
        return hr;
    return m_transform->Receive(sample);
}

STDMETHODIMP CTransformInputPin::EndOfStream()
{
    HRESULT hr = CheckStreaming();
    if (hr != S_OK)
        return hr == S_FALSE ? S_OK : hr;
    return m_transform->EndOfStream();
}

STDMETHODIMP CTransformInputPin::BeginFlush()
{
    (void)CBaseInputPin::BeginFlush(); // only records the state: always S_OK
    return m_transform->BeginFlush();
}

STDMETHODIMP CTransformInputPin::EndFlush()
{
    HRESULT hr = m_transform->EndFlush();
    (void)CBaseInputPin::EndFlush(); // only records the state: always S_OK
    return hr;
}

STDMETHODIMP CTransformInputPin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate)
{
    (void)CBasePin::NewSegment(start, stop, rate); // only records the segment: always S_OK
    return m_transform->NewSegment(start, stop, rate);
}

HRESULT CTransformInputPin::CheckMediaType(const CMediaType* mt)
{
    return m_transform->CheckInputType(mt);
}

HRESULT CTransformInputPin::SetMediaType(const CMediaType* mt)
{
    HRESULT hr = CBaseInputPin::SetMediaType(mt);
    return FAILED(hr) ? hr : m_transform->SetMediaType(PINDIR_INPUT, mt);
}

HRESULT CTransformInputPin::CheckConnect(IPin* pin)
{
    HRESULT hr = CBaseInputPin::CheckConnect(pin);
    return FAILED(hr) ? hr : m_transform->CheckConnect(PINDIR_INPUT, pin);
}

HRESULT CTransformInputPin::BreakConnect()
{
    m_transform->BreakConnect(PINDIR_INPUT);
    return CBaseInputPin::BreakConnect();
}

HRESULT CTransformInputPin::CompleteConnect(IPin* receivePin)
{
    HRESULT hr = CBaseInputPin::CompleteConnect(receivePin);
    return FAILED(hr) ? hr : m_transform->CompleteConnect(PINDIR_INPUT, receivePin);
}

// ---- output pin ----

CTransformOutputPin::CTransformOutputPin(const wchar_t* name, CTransformFilter* filter)
    : CBaseOutputPin(name, filter), m_transform(filter), m_seeking(this, filter->InputPin())
{
}

HRESULT CTransformOutputPin::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IMediaSeeking)
        return GetInterface(static_cast<IMediaSeeking*>(&m_seeking), ppv);
    return CBaseOutputPin::NonDelegatingQueryInterface(riid, ppv);
}

CTransformInputPin* CTransformOutputPin::ConnectedInputPin()
{
    CTransformInputPin* input = m_transform->InputPin();
    return input && input->IsConnected() ? input : nullptr;
}

HRESULT CTransformOutputPin::CheckMediaType(const CMediaType* mt)
{
    CTransformInputPin* input = ConnectedInputPin();
    if (!input)
        return E_UNEXPECTED;
    return m_transform->CheckTransform(&input->CurrentMediaType(), mt);
}

HRESULT CTransformOutputPin::GetMediaType(int index, CMediaType* mt)
{
    if (!ConnectedInputPin())
        return E_UNEXPECTED;
    return m_transform->GetMediaType(index, mt);
}

HRESULT CTransformOutputPin::SetMediaType(const CMediaType* mt)
{
    HRESULT hr = CBaseOutputPin::SetMediaType(mt);
    return FAILED(hr) ? hr : m_transform->SetMediaType(PINDIR_OUTPUT, mt);
}

HRESULT CTransformOutputPin::CheckConnect(IPin* pin)
{
    if (!ConnectedInputPin())
        return E_UNEXPECTED;
    HRESULT hr = CBaseOutputPin::CheckConnect(pin);
    return FAILED(hr) ? hr : m_transform->CheckConnect(PINDIR_OUTPUT, pin);
}

HRESULT CTransformOutputPin::BreakConnect()
{
    m_transform->BreakConnect(PINDIR_OUTPUT);
    return CBaseOutputPin::BreakConnect();
}

HRESULT CTransformOutputPin::CompleteConnect(IPin* receivePin)
{
    HRESULT hr = CBaseOutputPin::CompleteConnect(receivePin);
    return FAILED(hr) ? hr : m_transform->CompleteConnect(PINDIR_OUTPUT, receivePin);
}

HRESULT CTransformOutputPin::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    return m_transform->DecideBufferSize(allocator, request);
}

// ---- filter ----

CTransformFilter::CTransformFilter(const wchar_t* name, const CLSID& clsid) : CBaseFilter(name, clsid)
{
}

CTransformFilter::~CTransformFilter()
{
    // The output pin goes first, as it was made last.
    m_output.reset();
    m_input.reset();
}

CTransformInputPin* CTransformFilter::NewInputPin()
{
    return new (std::nothrow) CTransformInputPin(L"XForm In", this);
}

CTransformOutputPin* CTransformFilter::NewOutputPin()
{
    return new (std::nothrow) CTransformOutputPin(L"XForm Out", this);
}

bool CTransformFilter::MakePins()
{
    if (m_input && m_output)
        return true;
    m_output.reset();
    m_input.reset(NewInputPin());
    if (m_input)
        m_output.reset(NewOutputPin());
    if (!m_output) {
        m_input.reset();
        return false;
    }
    return true;
}

CBasePin* CTransformFilter::GetPin(int n)
{
    CFilterLock lock(m_lock);
    if (!MakePins())
        return nullptr;
    if (n == 0)
        return m_input.get();
    if (n == 1)
        return m_output.get();
    return nullptr;
}

HRESULT CTransformFilter::Transform(IMediaSample*, IMediaSample*)
{
    return E_UNEXPECTED;
}

HRESULT CTransformFilter::SetMediaType(PIN_DIRECTION, const CMediaType*)
{
    return S_OK;
}

HRESULT CTransformFilter::CheckConnect(PIN_DIRECTION, IPin*)
{
    return S_OK;
}

HRESULT CTransformFilter::BreakConnect(PIN_DIRECTION)
{
    return S_OK;
}

HRESULT CTransformFilter::CompleteConnect(PIN_DIRECTION, IPin*)
{
    return S_OK;
}

void CTransformFilter::CopySampleProperties(IMediaSample* from, IMediaSample* to)
{
    REFERENCE_TIME start = 0, stop = 0;
    HRESULT hr = from->GetTime(&start, &stop);
    if (hr == S_OK)
        to->SetTime(&start, &stop);
    else if (SUCCEEDED(hr)) // a start time without a stop time
        to->SetTime(&start, nullptr);
    else
        to->SetTime(nullptr, nullptr);
    LONGLONG mstart = 0, mstop = 0;
    if (SUCCEEDED(from->GetMediaTime(&mstart, &mstop)))
        to->SetMediaTime(&mstart, &mstop);
    to->SetSyncPoint(from->IsSyncPoint() == S_OK);
    to->SetDiscontinuity(from->IsDiscontinuity() == S_OK);
    to->SetPreroll(from->IsPreroll() == S_OK);
    AM_MEDIA_TYPE* mt = nullptr;
    if (from->GetMediaType(&mt) == S_OK && mt) {
        to->SetMediaType(mt);
        DeleteMediaType(mt);
    }
}

HRESULT CTransformFilter::Receive(IMediaSample* sample)
{
    if (!m_output || !m_output->IsConnected())
        return S_OK; // nowhere to go
    // Held for the whole call: a Transform that throws still lets the buffer go.
    CIPtr<IMediaSample> out;
    HRESULT hr = m_output->GetDeliveryBuffer(&out, nullptr, nullptr, 0);
    if (FAILED(hr))
        return hr;
    CopySampleProperties(sample, out);
    hr = Transform(sample, out);
    if (hr == S_OK)
        hr = m_output->Deliver(out);
    else if (hr == S_FALSE)
        hr = S_OK;
    return hr;
}

HRESULT CTransformFilter::EndOfStream()
{
    return m_output && m_output->IsConnected() ? m_output->DeliverEndOfStream() : S_OK;
}

HRESULT CTransformFilter::BeginFlush()
{
    return m_output && m_output->IsConnected() ? m_output->DeliverBeginFlush() : S_OK;
}

HRESULT CTransformFilter::EndFlush()
{
    return m_output && m_output->IsConnected() ? m_output->DeliverEndFlush() : S_OK;
}

HRESULT CTransformFilter::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate)
{
    return m_output && m_output->IsConnected() ? m_output->DeliverNewSegment(start, stop, rate) : S_OK;
}
