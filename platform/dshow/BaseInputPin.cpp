#include "platform/dshow/BaseInputPin.h"

#include <mutex>
#include <uuids.h>

#include "platform/dshow/BaseFilter.h"

CBaseInputPin::CBaseInputPin(const wchar_t* name, CBaseFilter* filter) : CBasePin(name, filter, PINDIR_INPUT)
{
}

HRESULT CBaseInputPin::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IMemInputPin)
        return GetInterface(static_cast<IMemInputPin*>(this), ppv);
    return CBasePin::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CBaseInputPin::GetAllocator(IMemAllocator** allocator)
{
    if (!allocator)
        return E_POINTER;
    CFilterLock lock(m_filter->StateLock());
    if (!m_allocator) {
        HRESULT hr = CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_IMemAllocator,
                                      reinterpret_cast<void**>(&m_allocator));
        if (FAILED(hr)) {
            m_allocator = nullptr;
            *allocator = nullptr;
            return hr;
        }
    }
    *allocator = nullptr;
    return ReturnInterface(m_allocator, allocator) ? S_OK : E_UNEXPECTED;
}

STDMETHODIMP CBaseInputPin::NotifyAllocator(IMemAllocator* allocator, BOOL readOnly)
{
    if (!allocator)
        return E_POINTER;
    CFilterLock lock(m_filter->StateLock());
    m_allocator = allocator;
    m_readOnly = readOnly != FALSE;
    return S_OK;
}

STDMETHODIMP CBaseInputPin::GetAllocatorRequirements(ALLOCATOR_PROPERTIES*)
{
    return E_NOTIMPL;
}

HRESULT CBaseInputPin::CheckStreaming()
{
    if (!IsConnected())
        return VFW_E_NOT_CONNECTED;
    if (m_filter->IsStopped())
        return VFW_E_WRONG_STATE;
    if (m_flushing)
        return S_FALSE;
    return S_OK;
}

STDMETHODIMP CBaseInputPin::Receive(IMediaSample* sample)
{
    if (!sample)
        return E_POINTER;
    HRESULT hr = CheckStreaming();
    if (hr != S_OK)
        return hr;
    AM_MEDIA_TYPE* changed = nullptr;
    if (sample->GetMediaType(&changed) == S_OK && changed) {
        CMediaType mt;
        hr = mt.Set(*changed);
        DeleteMediaType(changed);
        if (SUCCEEDED(hr))
            hr = CheckMediaType(&mt) == S_OK ? SetMediaType(&mt) : VFW_E_INVALIDMEDIATYPE;
        if (FAILED(hr))
            return hr;
    }
    return S_OK;
}

STDMETHODIMP CBaseInputPin::ReceiveMultiple(IMediaSample** samples, long count, long* processed)
{
    if (!samples || !processed)
        return E_POINTER;
    *processed = 0;
    HRESULT hr = S_OK;
    while (*processed < count) {
        hr = Receive(samples[*processed]);
        if (hr != S_OK)
            break;
        ++*processed;
    }
    return hr;
}

STDMETHODIMP CBaseInputPin::ReceiveCanBlock()
{
    return S_OK;
}

STDMETHODIMP CBaseInputPin::EndOfStream()
{
    return S_OK;
}

STDMETHODIMP CBaseInputPin::BeginFlush()
{
    m_flushing = true;
    return S_OK;
}

STDMETHODIMP CBaseInputPin::EndFlush()
{
    m_flushing = false;
    return S_OK;
}

HRESULT CBaseInputPin::BreakConnect()
{
    CFilterLock lock(m_filter->StateLock());
    if (m_allocator) {
        m_allocator->Decommit();
        m_allocator = nullptr;
    }
    m_readOnly = false;
    return S_OK;
}

HRESULT CBaseInputPin::Inactive()
{
    m_flushing = false;
    return S_OK;
}

IMemAllocator* CBaseInputPin::Allocator()
{
    CFilterLock lock(m_filter->StateLock());
    return m_allocator;
}
