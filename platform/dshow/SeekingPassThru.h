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

class CSeekingPassThru : public CUnknown, public IMediaSeeking
{
public:
    CSeekingPassThru(CUnknown* owner, CBasePin* input);

    DECLARE_IUNKNOWN
    [[nodiscard]] HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    [[nodiscard]] STDMETHODIMP GetCapabilities(DWORD* capabilities) override;
    [[nodiscard]] STDMETHODIMP CheckCapabilities(DWORD* capabilities) override;
    [[nodiscard]] STDMETHODIMP IsFormatSupported(const GUID* format) override;
    [[nodiscard]] STDMETHODIMP QueryPreferredFormat(GUID* format) override;
    [[nodiscard]] STDMETHODIMP GetTimeFormat(GUID* format) override;
    [[nodiscard]] STDMETHODIMP IsUsingTimeFormat(const GUID* format) override;
    [[nodiscard]] STDMETHODIMP SetTimeFormat(const GUID* format) override;
    [[nodiscard]] STDMETHODIMP GetDuration(LONGLONG* duration) override;
    [[nodiscard]] STDMETHODIMP GetStopPosition(LONGLONG* stop) override;
    [[nodiscard]] STDMETHODIMP GetCurrentPosition(LONGLONG* current) override;
    [[nodiscard]] STDMETHODIMP ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source,
                                                 const GUID* sourceFormat) override;
    [[nodiscard]] STDMETHODIMP SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop,
                                            DWORD stopFlags) override;
    [[nodiscard]] STDMETHODIMP GetPositions(LONGLONG* current, LONGLONG* stop) override;
    [[nodiscard]] STDMETHODIMP GetAvailable(LONGLONG* earliest, LONGLONG* latest) override;
    [[nodiscard]] STDMETHODIMP SetRate(double rate) override;
    [[nodiscard]] STDMETHODIMP GetRate(double* rate) override;
    [[nodiscard]] STDMETHODIMP GetPreroll(LONGLONG* preroll) override;

private:
    // The upstream pin's IMediaSeeking with a reference, or null.
    CIPtr<IMediaSeeking> Upstream();

    CUnknown* m_owner;
    CBasePin* m_input;
};
