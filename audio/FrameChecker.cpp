#include "audio/FrameChecker.h"

#include <new>

CFrameChecker::CFrameChecker() : CTransInPlaceFilter(L"FrameChecker", GUID_NULL, true)
{
}

HRESULT CFrameChecker::CheckInputType(const CMediaType*)
{
    return S_OK;
}

HRESULT CFrameChecker::Transform(IMediaSample*)
{
    return S_OK;
}

CTransformInputPin* CFrameChecker::NewInputPin()
{
    return new (std::nothrow) CNullInPlaceInputPin(this);
}

CTransformOutputPin* CFrameChecker::NewOutputPin()
{
    return new (std::nothrow) CNullInPlaceOutputPin(this);
}

CNullInPlaceInputPin::CNullInPlaceInputPin(CFrameChecker* filter)
    : CTransInPlaceInputPin(L"Input", filter), m_checker(filter)
{
}

STDMETHODIMP CNullInPlaceInputPin::QueryId(LPWSTR* id)
{
    return AllocId(L"In", id);
}

HRESULT CNullInPlaceInputPin::CheckMediaType(const CMediaType* mt)
{
    if (!m_checker)
        return E_UNEXPECTED;
    if (m_checker->OwnType().IsValid())
        return *mt == m_checker->OwnType() ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    CTransformOutputPin* output = m_checker->OutputPin();
    IPin* downstream = output ? output->GetConnected() : nullptr;
    return downstream ? downstream->QueryAccept(mt) : S_OK;
}

CNullInPlaceOutputPin::CNullInPlaceOutputPin(CFrameChecker* filter)
    : CTransInPlaceOutputPin(L"Output", filter), m_checker(filter)
{
}

STDMETHODIMP CNullInPlaceOutputPin::QueryId(LPWSTR* id)
{
    return AllocId(L"Out", id);
}

HRESULT CNullInPlaceOutputPin::CheckMediaType(const CMediaType* mt)
{
    if (!m_checker)
        return E_UNEXPECTED;
    if (m_checker->OwnType().IsValid())
        return *mt == m_checker->OwnType() ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
    return CTransInPlaceOutputPin::CheckMediaType(mt);
}
