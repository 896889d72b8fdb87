#include "audio/FrameChecker.h"

#include <mutex>
#include <new>

CFrameChecker::CFrameChecker() : CTransInPlaceFilter(L"FrameChecker", GUID_NULL, true) {}

HRESULT CFrameChecker::CheckInputType(const CMediaType*)
{
    return S_OK;
}

HRESULT CFrameChecker::Transform(IMediaSample*)
{
    return S_OK;
}

CBasePin* CFrameChecker::GetPin(int n)
{
    std::lock_guard<std::recursive_mutex> lock(m_lock);
    if (!m_input || !m_output) {
        delete m_output;
        delete m_input;
        m_output = nullptr;
        m_input = new (std::nothrow) CNullInPlaceInputPin(this);
        if (m_input)
            m_output = new (std::nothrow) CNullInPlaceOutputPin(this);
        if (!m_output) {
            delete m_input;
            m_input = nullptr;
            return nullptr;
        }
    }
    if (n == 0)
        return m_input;
    if (n == 1)
        return m_output;
    return nullptr;
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
