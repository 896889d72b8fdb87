#include "platform/dshow/EnumMediaTypes.h"

#include <new>

#include "platform/dshow/BasePin.h"

namespace {
// More types than any pin offers: a bound against a pin that never says "no more".
const int kMaxTypes = 256;
} // namespace

CEnumMediaTypes::CEnumMediaTypes(CBasePin* pin)
{
    for (int i = 0; i < kMaxTypes; ++i) {
        CMediaType mt;
        if (pin->GetMediaType(i, &mt) != S_OK)
            break;
        m_types.push_back(mt);
    }
}

CEnumMediaTypes::CEnumMediaTypes(const std::vector<CMediaType>& types, size_t position)
    : m_types(types), m_position(position)
{
}

HRESULT CEnumMediaTypes::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IEnumMediaTypes)
        return GetInterface(static_cast<IEnumMediaTypes*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CEnumMediaTypes::Next(ULONG count, AM_MEDIA_TYPE** types, ULONG* fetched)
{
    if (!types || (count > 1 && !fetched))
        return E_POINTER;
    ULONG n = 0;
    while (n < count && m_position < m_types.size()) {
        AM_MEDIA_TYPE* copy = CreateMediaType(&m_types[m_position]);
        if (!copy)
            break;
        types[n++] = copy;
        ++m_position;
    }
    if (fetched)
        *fetched = n;
    return n == count ? S_OK : S_FALSE;
}

STDMETHODIMP CEnumMediaTypes::Skip(ULONG count)
{
    if (m_types.size() - m_position < count) {
        m_position = m_types.size();
        return S_FALSE;
    }
    m_position += count;
    return S_OK;
}

STDMETHODIMP CEnumMediaTypes::Reset()
{
    m_position = 0;
    return S_OK;
}

STDMETHODIMP CEnumMediaTypes::Clone(IEnumMediaTypes** copy)
{
    if (!copy)
        return E_POINTER;
    *copy = nullptr;
    auto* e = new (std::nothrow) CEnumMediaTypes(m_types, m_position);
    if (!e)
        return E_OUTOFMEMORY;
    return GetInterface(static_cast<IEnumMediaTypes*>(e), reinterpret_cast<void**>(copy));
}
