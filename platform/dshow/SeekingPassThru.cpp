#include "platform/dshow/SeekingPassThru.h"

#include "platform/dshow/BasePin.h"

CSeekingPassThru::CSeekingPassThru(CUnknown* owner, CBasePin* input) : CUnknown(owner), m_owner(owner), m_input(input)
{
}

HRESULT CSeekingPassThru::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IMediaSeeking)
        return GetInterface(static_cast<IMediaSeeking*>(this), ppv);
    return m_owner->NonDelegatingQueryInterface(riid, ppv);
}

CIPtr<IMediaSeeking> CSeekingPassThru::Upstream()
{
    CIPtr<IMediaSeeking> seeking;
    if (FAILED(seeking.QueryFrom(m_input->GetConnected(), IID_IMediaSeeking)))
        return nullptr;
    return seeking;
}

// Each method asks the upstream pin and passes its answer on.
#define FORWARD_TO_UPSTREAM(call) \
    CIPtr<IMediaSeeking> up = Upstream(); \
    if (!up) \
        return VFW_E_NOT_CONNECTED; \
    return up->call;

STDMETHODIMP CSeekingPassThru::GetCapabilities(DWORD* c)
{
    FORWARD_TO_UPSTREAM(GetCapabilities(c))
}
STDMETHODIMP CSeekingPassThru::CheckCapabilities(DWORD* c)
{
    FORWARD_TO_UPSTREAM(CheckCapabilities(c))
}
STDMETHODIMP CSeekingPassThru::IsFormatSupported(const GUID* f)
{
    FORWARD_TO_UPSTREAM(IsFormatSupported(f))
}
STDMETHODIMP CSeekingPassThru::QueryPreferredFormat(GUID* f)
{
    FORWARD_TO_UPSTREAM(QueryPreferredFormat(f))
}
STDMETHODIMP CSeekingPassThru::GetTimeFormat(GUID* f)
{
    FORWARD_TO_UPSTREAM(GetTimeFormat(f))
}
STDMETHODIMP CSeekingPassThru::IsUsingTimeFormat(const GUID* f)
{
    FORWARD_TO_UPSTREAM(IsUsingTimeFormat(f))
}
STDMETHODIMP CSeekingPassThru::SetTimeFormat(const GUID* f)
{
    FORWARD_TO_UPSTREAM(SetTimeFormat(f))
}
STDMETHODIMP CSeekingPassThru::GetDuration(LONGLONG* d)
{
    FORWARD_TO_UPSTREAM(GetDuration(d))
}
STDMETHODIMP CSeekingPassThru::GetStopPosition(LONGLONG* s)
{
    FORWARD_TO_UPSTREAM(GetStopPosition(s))
}
STDMETHODIMP CSeekingPassThru::GetCurrentPosition(LONGLONG* c)
{
    FORWARD_TO_UPSTREAM(GetCurrentPosition(c))
}
STDMETHODIMP CSeekingPassThru::ConvertTimeFormat(LONGLONG* target, const GUID* targetFormat, LONGLONG source,
                                                 const GUID* sourceFormat)
{
    FORWARD_TO_UPSTREAM(ConvertTimeFormat(target, targetFormat, source, sourceFormat))
}
STDMETHODIMP CSeekingPassThru::SetPositions(LONGLONG* current, DWORD currentFlags, LONGLONG* stop, DWORD stopFlags)
{
    FORWARD_TO_UPSTREAM(SetPositions(current, currentFlags, stop, stopFlags))
}
STDMETHODIMP CSeekingPassThru::GetPositions(LONGLONG* c, LONGLONG* s)
{
    FORWARD_TO_UPSTREAM(GetPositions(c, s))
}
STDMETHODIMP CSeekingPassThru::GetAvailable(LONGLONG* e, LONGLONG* l)
{
    FORWARD_TO_UPSTREAM(GetAvailable(e, l))
}
STDMETHODIMP CSeekingPassThru::SetRate(double r)
{
    FORWARD_TO_UPSTREAM(SetRate(r))
}
STDMETHODIMP CSeekingPassThru::GetRate(double* r)
{
    FORWARD_TO_UPSTREAM(GetRate(r))
}
STDMETHODIMP CSeekingPassThru::GetPreroll(LONGLONG* p)
{
    FORWARD_TO_UPSTREAM(GetPreroll(p))
}

#undef FORWARD_TO_UPSTREAM
