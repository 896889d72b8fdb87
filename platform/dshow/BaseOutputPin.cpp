#include "platform/dshow/BaseOutputPin.h"

#include <mutex>
#include <uuids.h>

#include "platform/dshow/BaseFilter.h"

CBaseOutputPin::CBaseOutputPin(const wchar_t* name, CBaseFilter* filter) : CBasePin(name, filter, PINDIR_OUTPUT)
{
}

STDMETHODIMP CBaseOutputPin::EndOfStream()
{
    return E_UNEXPECTED;
}

STDMETHODIMP CBaseOutputPin::BeginFlush()
{
    return E_UNEXPECTED;
}

STDMETHODIMP CBaseOutputPin::EndFlush()
{
    return E_UNEXPECTED;
}

HRESULT CBaseOutputPin::CheckConnect(IPin* pin)
{
    HRESULT hr = CBasePin::CheckConnect(pin);
    if (FAILED(hr))
        return hr;
    CIPtr<IMemInputPin> input;
    if (FAILED(input.QueryFrom(pin, IID_IMemInputPin)) || !input)
        return VFW_E_NO_TRANSPORT;
    m_input = std::move(input);
    return S_OK;
}

HRESULT CBaseOutputPin::CompleteConnect(IPin*)
{
    CIPtr<IMemAllocator> allocator;
    HRESULT hr = DecideAllocator(m_input, &allocator);
    if (FAILED(hr))
        return hr;
    SetAllocator(allocator);
    return S_OK;
}

HRESULT CBaseOutputPin::TryAllocator(IMemInputPin* input, IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    HRESULT hr = DecideBufferSize(allocator, request);
    if (SUCCEEDED(hr))
        hr = input->NotifyAllocator(allocator, FALSE);
    return hr;
}

HRESULT CBaseOutputPin::DecideAllocator(IMemInputPin* input, IMemAllocator** allocator)
{
    *allocator = nullptr;
    ALLOCATOR_PROPERTIES request = {};
    input->GetAllocatorRequirements(&request);
    if (request.cbAlign == 0)
        request.cbAlign = 1;

    CIPtr<IMemAllocator> candidate;
    if (SUCCEEDED(input->GetAllocator(&candidate)) && candidate &&
        SUCCEEDED(TryAllocator(input, candidate, &request))) {
        *allocator = candidate.Detach();
        return S_OK;
    }
    HRESULT hr = CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_IMemAllocator,
                                  reinterpret_cast<void**>(&candidate));
    if (FAILED(hr))
        return hr;
    hr = TryAllocator(input, candidate, &request);
    if (FAILED(hr))
        return hr;
    *allocator = candidate.Detach();
    return S_OK;
}

void CBaseOutputPin::SetAllocator(IMemAllocator* allocator)
{
    m_allocator = allocator;
}

HRESULT CBaseOutputPin::BreakConnect()
{
    if (m_allocator)
        m_allocator->Decommit();
    m_allocator = nullptr;
    m_input = nullptr;
    return S_OK;
}

HRESULT CBaseOutputPin::Active()
{
    return m_allocator ? m_allocator->Commit() : VFW_E_NO_ALLOCATOR;
}

HRESULT CBaseOutputPin::Inactive()
{
    return m_allocator ? m_allocator->Decommit() : S_OK;
}

HRESULT CBaseOutputPin::GetDeliveryBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* stop,
                                          DWORD flags)
{
    if (!m_allocator)
        return VFW_E_NO_ALLOCATOR;
    return m_allocator->GetBuffer(sample, start, stop, flags);
}

HRESULT CBaseOutputPin::Deliver(IMediaSample* sample)
{
    return m_input ? m_input->Receive(sample) : VFW_E_NOT_CONNECTED;
}

HRESULT CBaseOutputPin::DeliverEndOfStream()
{
    IPin* peer = GetConnected();
    return peer ? peer->EndOfStream() : VFW_E_NOT_CONNECTED;
}

HRESULT CBaseOutputPin::DeliverBeginFlush()
{
    IPin* peer = GetConnected();
    return peer ? peer->BeginFlush() : VFW_E_NOT_CONNECTED;
}

HRESULT CBaseOutputPin::DeliverEndFlush()
{
    IPin* peer = GetConnected();
    return peer ? peer->EndFlush() : VFW_E_NOT_CONNECTED;
}

HRESULT CBaseOutputPin::DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate)
{
    IPin* peer = GetConnected();
    return peer ? peer->NewSegment(start, stop, rate) : VFW_E_NOT_CONNECTED;
}
