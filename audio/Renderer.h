#pragma once
// CRenderer ("Renderer-Grabber"): the sink at the end of the DirectShow
// reader's graph. It accepts the media type set through IGrabberSample (each
// empty part of it accepts anything from there on) and hands every sample to
// the ISampleCallback instead of playing it.
#include "audio/GrabberSample.h"
#include "common/Interfaces.h"
#include "platform/dshow/BaseRenderer.h"
#include "platform/mfc/afxmt.h"

// {8D57E5BD-4778-4C7A-9F4F-4D12CE082327}
inline constexpr CLSID CLSID_RavelinRenderer = {
    0x8D57E5BD, 0x4778, 0x4C7A, {0x9F, 0x4F, 0x4D, 0x12, 0xCE, 0x08, 0x23, 0x27}};

class CRenderer : public CBaseRenderer, public IGrabberSample
{
public:
    CRenderer();
    ~CRenderer() override;

    DECLARE_IUNKNOWN
    [[nodiscard]] HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IGrabberSample
    [[nodiscard]] STDMETHODIMP SetAcceptedMediaType(const AM_MEDIA_TYPE* mt) override;
    [[nodiscard]] STDMETHODIMP GetConnectedMediaType(AM_MEDIA_TYPE* mt) override;
    [[nodiscard]] STDMETHODIMP SetCallback(ISampleCallback* callback) override;

    // S_OK, or VFW_E_INVALID_MEDIA_TYPE when a set part of the accepted type
    // (major type, subtype, format type, in this order) differs.
    [[nodiscard]] HRESULT CheckMediaType(const CMediaType* mt) override;
    // Passes the sample with segment-relative times made absolute to the
    // callback. E_FAIL (sample dropped) without a callback or time stamps.
    [[nodiscard]] HRESULT DoRenderSample(IMediaSample* sample) override;

private:
    CCriticalSection m_grabLock; // guards the accepted type and the callback
    CMediaType m_accepted;
    CIPtr<ISampleCallback> m_callback;
};
