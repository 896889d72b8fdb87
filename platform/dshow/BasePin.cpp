#include "platform/dshow/BasePin.h"

#include <cstring>
#include <cwchar>
#include <new>

#include "platform/dshow/BaseFilter.h"
#include "platform/dshow/EnumMediaTypes.h"

namespace {

// A type with an empty major type or format type leaves the choice open.
bool IsPartiallySpecified(const CMediaType& mt)
{
    return mt.majortype == GUID_NULL || mt.formattype == GUID_NULL;
}

// Whether `mt` fits every field that `partial` sets.
bool MatchesPartial(const AM_MEDIA_TYPE& mt, const CMediaType& partial)
{
    if (partial.majortype != GUID_NULL && partial.majortype != mt.majortype)
        return false;
    if (partial.subtype != GUID_NULL && partial.subtype != mt.subtype)
        return false;
    if (partial.formattype != GUID_NULL) {
        if (partial.formattype != mt.formattype || partial.cbFormat != mt.cbFormat)
            return false;
        if (partial.cbFormat && memcmp(partial.pbFormat, mt.pbFormat, partial.cbFormat) != 0)
            return false;
    }
    return true;
}

} // namespace

CBasePin::CBasePin(const wchar_t* name, CBaseFilter* filter, PIN_DIRECTION direction)
    : CUnknown(filter), m_filter(filter), m_name(name ? name : L""), m_direction(direction)
{
}

HRESULT CBasePin::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IPin)
        return GetInterface(static_cast<IPin*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CBasePin::Connect(IPin* receivePin, const AM_MEDIA_TYPE* mt)
{
    if (!receivePin)
        return E_POINTER;
    CFilterLock lock(m_filter->StateLock());
    if (m_connected)
        return VFW_E_ALREADY_CONNECTED;
    if (!m_filter->IsStopped())
        return VFW_E_NOT_STOPPED;
    CMediaType wanted;
    if (mt && FAILED(wanted.Set(*mt)))
        return E_OUTOFMEMORY;
    return AgreeMediaType(receivePin, &wanted);
}

HRESULT CBasePin::AgreeMediaType(IPin* receivePin, const CMediaType* mt)
{
    if (!IsPartiallySpecified(*mt))
        return AttemptConnection(receivePin, mt);
    HRESULT last = VFW_E_NO_ACCEPTABLE_TYPES;
    for (int side = 0; side < 2; ++side) {
        CIPtr<IEnumMediaTypes> types;
        HRESULT hr = side == 0 ? receivePin->EnumMediaTypes(&types) : EnumMediaTypes(&types);
        if (FAILED(hr) || !types)
            continue;
        hr = TryMediaTypes(receivePin, mt, types);
        if (hr == S_OK)
            return S_OK;
        if (FAILED(hr))
            last = hr;
    }
    return last;
}

HRESULT CBasePin::TryMediaTypes(IPin* receivePin, const CMediaType* partial, IEnumMediaTypes* types)
{
    HRESULT last = VFW_E_NO_ACCEPTABLE_TYPES;
    AM_MEDIA_TYPE* mt = nullptr;
    while (types->Next(1, &mt, nullptr) == S_OK) {
        if (!mt)
            break;
        HRESULT hr = VFW_E_TYPE_NOT_ACCEPTED;
        if (MatchesPartial(*mt, *partial)) {
            CMediaType candidate;
            hr = candidate.Set(*mt);
            if (SUCCEEDED(hr))
                hr = AttemptConnection(receivePin, &candidate);
        }
        DeleteMediaType(mt);
        mt = nullptr;
        if (hr == S_OK)
            return S_OK;
        last = FAILED(hr) ? hr : VFW_E_TYPE_NOT_ACCEPTED;
    }
    return last;
}

HRESULT CBasePin::AttemptConnection(IPin* receivePin, const CMediaType* mt)
{
    HRESULT hr = CheckConnect(receivePin);
    if (FAILED(hr)) {
        BreakConnect();
        return hr;
    }
    hr = CheckMediaType(mt);
    if (hr != S_OK) {
        BreakConnect();
        return FAILED(hr) ? hr : VFW_E_TYPE_NOT_ACCEPTED;
    }
    m_connected = receivePin;
    hr = SetMediaType(mt);
    if (SUCCEEDED(hr)) {
        hr = receivePin->ReceiveConnection(this, mt);
        if (SUCCEEDED(hr)) {
            hr = CompleteConnect(receivePin);
            if (SUCCEEDED(hr))
                return S_OK;
            receivePin->Disconnect();
        }
    }
    BreakConnect();
    ClearConnection();
    return FAILED(hr) ? hr : VFW_E_TYPE_NOT_ACCEPTED;
}

STDMETHODIMP CBasePin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt)
{
    if (!connector || !mt)
        return E_POINTER;
    CFilterLock lock(m_filter->StateLock());
    if (m_connected)
        return VFW_E_ALREADY_CONNECTED;
    if (!m_filter->IsStopped())
        return VFW_E_NOT_STOPPED;
    HRESULT hr = CheckConnect(connector);
    if (FAILED(hr)) {
        BreakConnect();
        return hr;
    }
    CMediaType type;
    hr = type.Set(*mt);
    if (SUCCEEDED(hr)) {
        hr = CheckMediaType(&type);
        if (hr == S_OK) {
            m_connected = connector;
            hr = SetMediaType(&type);
            if (SUCCEEDED(hr))
                hr = CompleteConnect(connector);
            if (SUCCEEDED(hr))
                return S_OK;
            ClearConnection();
        } else if (!FAILED(hr)) {
            hr = VFW_E_TYPE_NOT_ACCEPTED;
        }
    }
    BreakConnect();
    return hr;
}

STDMETHODIMP CBasePin::Disconnect()
{
    CFilterLock lock(m_filter->StateLock());
    if (!m_filter->IsStopped())
        return VFW_E_NOT_STOPPED;
    if (!m_connected)
        return S_FALSE;
    HRESULT hr = BreakConnect();
    ClearConnection();
    return FAILED(hr) ? hr : S_OK;
}

void CBasePin::ClearConnection()
{
    m_connected = nullptr;
    m_mt.InitMediaType();
}

STDMETHODIMP CBasePin::ConnectedTo(IPin** pin)
{
    if (!pin)
        return E_POINTER;
    CFilterLock lock(m_filter->StateLock());
    *pin = nullptr;
    return ReturnInterface(m_connected, pin) ? S_OK : VFW_E_NOT_CONNECTED;
}

STDMETHODIMP CBasePin::ConnectionMediaType(AM_MEDIA_TYPE* mt)
{
    if (!mt)
        return E_POINTER;
    CFilterLock lock(m_filter->StateLock());
    if (!m_connected) {
        memset(mt, 0, sizeof(*mt));
        return VFW_E_NOT_CONNECTED;
    }
    return CopyMediaType(mt, &m_mt);
}

STDMETHODIMP CBasePin::QueryPinInfo(PIN_INFO* info)
{
    if (!info)
        return E_POINTER;
    info->pFilter = nullptr;
    ReturnInterface<IBaseFilter>(m_filter, &info->pFilter);
    wcsncpy(info->achName, m_name.c_str(), MAX_PIN_NAME - 1);
    info->achName[MAX_PIN_NAME - 1] = L'\0';
    info->dir = m_direction;
    return S_OK;
}

STDMETHODIMP CBasePin::QueryDirection(PIN_DIRECTION* direction)
{
    if (!direction)
        return E_POINTER;
    *direction = m_direction;
    return S_OK;
}

STDMETHODIMP CBasePin::QueryId(LPWSTR* id)
{
    return AllocId(m_name.c_str(), id);
}

HRESULT CBasePin::AllocId(const wchar_t* text, LPWSTR* id)
{
    if (!id)
        return E_POINTER;
    size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    *id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
    if (!*id)
        return E_OUTOFMEMORY;
    memcpy(*id, text, bytes);
    return S_OK;
}

STDMETHODIMP CBasePin::QueryAccept(const AM_MEDIA_TYPE* mt)
{
    if (!mt)
        return E_POINTER;
    CMediaType type;
    if (FAILED(type.Set(*mt)))
        return E_OUTOFMEMORY;
    return CheckMediaType(&type) == S_OK ? S_OK : S_FALSE;
}

STDMETHODIMP CBasePin::EnumMediaTypes(IEnumMediaTypes** types)
{
    if (!types)
        return E_POINTER;
    *types = nullptr;
    auto* e = new (std::nothrow) CEnumMediaTypes(this);
    if (!e)
        return E_OUTOFMEMORY;
    return GetInterface(static_cast<IEnumMediaTypes*>(e), reinterpret_cast<void**>(types));
}

STDMETHODIMP CBasePin::QueryInternalConnections(IPin**, ULONG*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CBasePin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate)
{
    m_segmentStart = start;
    m_segmentStop = stop;
    m_segmentRate = rate;
    return S_OK;
}

HRESULT CBasePin::GetMediaType(int, CMediaType*)
{
    return VFW_S_NO_MORE_ITEMS;
}

HRESULT CBasePin::SetMediaType(const CMediaType* mt)
{
    return m_mt.Set(*mt);
}

HRESULT CBasePin::CheckConnect(IPin* pin)
{
    PIN_DIRECTION dir;
    HRESULT hr = pin->QueryDirection(&dir);
    if (FAILED(hr))
        return hr;
    return dir == m_direction ? VFW_E_INVALID_DIRECTION : S_OK;
}

HRESULT CBasePin::BreakConnect()
{
    return S_OK;
}

HRESULT CBasePin::CompleteConnect(IPin*)
{
    return S_OK;
}

HRESULT CBasePin::Active()
{
    return S_OK;
}

HRESULT CBasePin::Inactive()
{
    return S_OK;
}

bool CBasePin::IsConnected()
{
    CFilterLock lock(m_filter->StateLock());
    return m_connected.Get() != nullptr;
}

IPin* CBasePin::GetConnected()
{
    CFilterLock lock(m_filter->StateLock());
    return m_connected;
}
