#include "audio/Renderer.h"

#include "common/CritSecLock.h"

CRenderer::CRenderer() : CBaseRenderer(CLSID_RavelinRenderer, L"Renderer-Grabber")
{
}

CRenderer::~CRenderer() = default;

HRESULT CRenderer::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IGrabberSample)
        return GetInterface(static_cast<IGrabberSample*>(this), ppv);
    return CBaseRenderer::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CRenderer::SetAcceptedMediaType(const AM_MEDIA_TYPE* mt)
{
    CCritSecLock lock(&m_grabLock);
    if (!mt) {
        m_accepted.InitMediaType();
        return S_OK;
    }
    return m_accepted.Set(*mt);
}

STDMETHODIMP CRenderer::GetConnectedMediaType(AM_MEDIA_TYPE* mt)
{
    if (!mt)
        return E_POINTER;
    CBaseInputPin* pin = GetInputPin();
    if (!pin || !pin->IsConnected())
        return VFW_E_NOT_CONNECTED;
    return pin->ConnectionMediaType(mt);
}

STDMETHODIMP CRenderer::SetCallback(ISampleCallback* callback)
{
    CCritSecLock lock(&m_grabLock);
    m_callback = callback;
    return S_OK;
}

HRESULT CRenderer::CheckMediaType(const CMediaType* mt)
{
    if (!mt)
        return E_POINTER;
    CCritSecLock lock(&m_grabLock);
    if (m_accepted.majortype == GUID_NULL)
        return S_OK;
    if (m_accepted.majortype != mt->majortype)
        return VFW_E_INVALID_MEDIA_TYPE;
    if (m_accepted.subtype == GUID_NULL)
        return S_OK;
    if (m_accepted.subtype != mt->subtype)
        return VFW_E_INVALID_MEDIA_TYPE;
    if (m_accepted.formattype == GUID_NULL)
        return S_OK;
    if (m_accepted.formattype != mt->formattype)
        return VFW_E_INVALID_MEDIA_TYPE;
    return S_OK;
}

HRESULT CRenderer::DoRenderSample(IMediaSample* sample)
{
    CIPtr<ISampleCallback> callback;
    {
        // Held counted for the call, so that clearing the callback meanwhile is safe.
        CCritSecLock lock(&m_grabLock);
        callback = m_callback;
    }
    if (!sample || !callback)
        return E_FAIL;
    REFERENCE_TIME start = 0, stop = 0;
    HRESULT hr = sample->GetTime(&start, &stop);
    if (FAILED(hr)) // VFW_S_NO_STOP_TIME (a start time only) is a success
        return E_FAIL;
    if (hr != S_OK)
        stop = start;
    REFERENCE_TIME segmentStart = GetInputPin()->CurrentStartTime();
    callback->OnSample(sample, start + segmentStart, stop + segmentStart, FALSE);
    return S_OK;
}
