#include "platform/dshow/BaseFilter.h"

#include <cwchar>
#include <new>

#include "platform/dshow/BasePin.h"
#include "platform/dshow/EnumPins.h"

CBaseFilter::CBaseFilter(const wchar_t* name, const CLSID& clsid) : m_clsid(clsid), m_name(name ? name : L"")
{
}

HRESULT CBaseFilter::NonDelegatingQueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IPersist || riid == IID_IMediaFilter || riid == IID_IBaseFilter)
        return GetInterface(static_cast<IBaseFilter*>(this), ppv);
    return CUnknown::NonDelegatingQueryInterface(riid, ppv);
}

STDMETHODIMP CBaseFilter::GetClassID(CLSID* clsid)
{
    if (!clsid)
        return E_POINTER;
    *clsid = m_clsid;
    return S_OK;
}

STDMETHODIMP CBaseFilter::Stop()
{
    CFilterLock lock(m_lock);
    HRESULT result = S_OK;
    if (m_state != State_Stopped) {
        for (int i = 0; i < GetPinCount(); ++i) {
            CBasePin* pin = GetPin(i);
            if (pin && pin->IsConnected()) {
                HRESULT hr = pin->Inactive();
                if (FAILED(hr) && SUCCEEDED(result))
                    result = hr;
            }
        }
    }
    m_state = State_Stopped;
    return result;
}

STDMETHODIMP CBaseFilter::Pause()
{
    CFilterLock lock(m_lock);
    if (m_state == State_Stopped) {
        for (int i = 0; i < GetPinCount(); ++i) {
            CBasePin* pin = GetPin(i);
            if (pin && pin->IsConnected()) {
                HRESULT hr = pin->Active();
                if (FAILED(hr))
                    return hr;
            }
        }
    }
    m_state = State_Paused;
    return S_OK;
}

STDMETHODIMP CBaseFilter::Run(REFERENCE_TIME start)
{
    CFilterLock lock(m_lock);
    if (m_state == State_Stopped) {
        HRESULT hr = Pause();
        if (FAILED(hr))
            return hr;
    }
    m_start = start;
    m_state = State_Running;
    return S_OK;
}

STDMETHODIMP CBaseFilter::GetState(DWORD, FILTER_STATE* state)
{
    if (!state)
        return E_POINTER;
    *state = State();
    return S_OK;
}

STDMETHODIMP CBaseFilter::SetSyncSource(IReferenceClock* clock)
{
    CFilterLock lock(m_lock);
    m_clock = clock;
    return S_OK;
}

STDMETHODIMP CBaseFilter::GetSyncSource(IReferenceClock** clock)
{
    if (!clock)
        return E_POINTER;
    CFilterLock lock(m_lock);
    *clock = nullptr;
    ReturnInterface(m_clock, clock);
    return S_OK;
}

STDMETHODIMP CBaseFilter::EnumPins(IEnumPins** pins)
{
    if (!pins)
        return E_POINTER;
    *pins = nullptr;
    auto* e = new (std::nothrow) CEnumPins(this);
    if (!e)
        return E_OUTOFMEMORY;
    return GetInterface(static_cast<IEnumPins*>(e), reinterpret_cast<void**>(pins));
}

STDMETHODIMP CBaseFilter::FindPin(LPCWSTR id, IPin** pin)
{
    if (!id || !pin)
        return E_POINTER;
    *pin = nullptr;
    CFilterLock lock(m_lock);
    for (int i = 0; i < GetPinCount(); ++i) {
        CBasePin* p = GetPin(i);
        if (!p)
            continue;
        LPWSTR pinId = nullptr;
        if (SUCCEEDED(p->QueryId(&pinId)) && pinId) {
            bool same = wcscmp(pinId, id) == 0;
            CoTaskMemFree(pinId);
            if (same) {
                ReturnInterface<IPin>(p, pin);
                return S_OK;
            }
        }
    }
    return VFW_E_NOT_FOUND;
}

STDMETHODIMP CBaseFilter::QueryFilterInfo(FILTER_INFO* info)
{
    if (!info)
        return E_POINTER;
    CFilterLock lock(m_lock);
    wcsncpy(info->achName, m_name.c_str(), MAX_FILTER_NAME - 1);
    info->achName[MAX_FILTER_NAME - 1] = L'\0';
    info->pGraph = nullptr;
    ReturnInterface(m_graph, &info->pGraph);
    return S_OK;
}

STDMETHODIMP CBaseFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name)
{
    CFilterLock lock(m_lock);
    m_graph = graph;
    m_sink = nullptr;
    if (graph) {
        // Not kept counted: the graph outlives its filters' membership.
        CIPtr<IMediaEventSink> sink;
        if (SUCCEEDED(sink.QueryFrom(graph, IID_IMediaEventSink)))
            m_sink = sink.Get();
        m_name = name ? name : L"";
    }
    return S_OK;
}

STDMETHODIMP CBaseFilter::QueryVendorInfo(LPWSTR* info)
{
    if (info)
        *info = nullptr;
    return E_NOTIMPL;
}

FILTER_STATE CBaseFilter::State()
{
    CFilterLock lock(m_lock);
    return m_state;
}

IFilterGraph* CBaseFilter::Graph()
{
    CFilterLock lock(m_lock);
    return m_graph;
}

HRESULT CBaseFilter::NotifyEvent(long code, LONG_PTR param1, LONG_PTR param2)
{
    IMediaEventSink* sink;
    {
        CFilterLock lock(m_lock);
        sink = m_sink;
    }
    if (!sink)
        return E_NOTIMPL;
    return sink->Notify(code, param1, param2);
}
