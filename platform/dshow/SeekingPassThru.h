#pragma once
// CSeekingPassThru: IMediaSeeking of a renderer or of a transform's output pin,
// answered by the pin upstream of a given input pin (the pin it is connected
// to). Unconnected, every call gives VFW_E_NOT_CONNECTED. Lives as part of its
// owner (references count on it); other interface ids go to the owner.
#include <windows.h>
#include <strmif.h>
#include <vfwmsgs.h>

#include "platform/dshow/Unknown.h"

class CBasePin;

class CSeekingPassThru : public CUnknown, public IMediaSeeking {
public:
    CSeekingPassThru(CUnknown* owner, CBasePin* input);

    DECLARE_IUNKNOWN
    HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    STDMETHODIMP GetCapabilities(DWORD* capabilities) override;
    STDMETHODIMP CheckCapabilities(DWORD* capabilities) override;
    STDMETHODIMP IsFormatSupported(const GUID* format) override;
    STDMETHODIMP QueryPreferredFormat(GUID* format) override;
    STDMETHODIMP GetTimeFormat(GUID* format) override;
    STDMETHODIMP IsUsingTimeFormat(const GUID* format) override;
    STDMETHODIMP SetTimeFormat(const GUID* format) override;
    STDMETHODIMP GetDuration(LONGLONG* duration) override;
    STDMETHODIMP GetStopPosition(LONGLONG* stop) override;
    STDMETHODIMP GetCurrentPosition(LONGLONG* current) override;
    STDMETHODIMP ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source,
                                   const GUID* sourceFormat) override;
    STDMETHODIMP SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop, DWORD stopFlags) override;
    STDMETHODIMP GetPositions(LONGLONG* current, LONGLONG* stop) override;
    STDMETHODIMP GetAvailable(LONGLONG* earliest, LONGLONG* latest) override;
    STDMETHODIMP SetRate(double rate) override;
    STDMETHODIMP GetRate(double* rate) override;
    STDMETHODIMP GetPreroll(LONGLONG* preroll) override;

private:
    // The upstream pin's IMediaSeeking with a reference, or null.
    CIPtr<IMediaSeeking> Upstream();

    CUnknown* m_owner;
    CBasePin* m_input;
};
