#include "platform/dshow/EnumPins.h"

#include <mutex>
#include <new>

#include "platform/dshow/BaseFilter.h"
#include "platform/dshow/BasePin.h"

CEnumPins::CEnumPins(CBaseFilter* filter)
{
    CFilterLock lock(filter->StateLock());
    for (int i = 0; i < filter->GetPinCount(); ++i) {
        if (CBasePin* pin = filter->GetPin(i))
            m_pins.emplace_back(pin);
    }
}

CEnumPins::CEnumPins(const std::vector<CIPtr<IPin>>& pins, size_t position) : m_pins(pins), m_position(position)
{
}

HRESULT CEnumPins::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IEnumPins)
        return GetInterface(static_cast<IEnumPins*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CEnumPins::Next(ULONG count, IPin** pins, ULONG* fetched)
{
    if (!pins || (count > 1 && !fetched))
        return E_POINTER;
    ULONG n = 0;
    while (n < count && m_position < m_pins.size()) {
        ReturnInterface(m_pins[m_position++], &pins[n]);
        ++n;
    }
    if (fetched)
        *fetched = n;
    return n == count ? S_OK : S_FALSE;
}

STDMETHODIMP CEnumPins::Skip(ULONG count)
{
    if (m_pins.size() - m_position < count) {
        m_position = m_pins.size();
        return S_FALSE;
    }
    m_position += count;
    return S_OK;
}

STDMETHODIMP CEnumPins::Reset()
{
    m_position = 0;
    return S_OK;
}

STDMETHODIMP CEnumPins::Clone(IEnumPins** copy)
{
    if (!copy)
        return E_POINTER;
    *copy = nullptr;
    auto* e = new (std::nothrow) CEnumPins(m_pins, m_position);
    if (!e)
        return E_OUTOFMEMORY;
    return GetInterface(static_cast<IEnumPins*>(e), reinterpret_cast<void**>(copy));
}
