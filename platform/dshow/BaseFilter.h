#pragma once
// CBaseFilter: IBaseFilter (with IMediaFilter and IPersist) for filters whose
// pins are CBasePin objects that the filter owns.
//
// State changes run synchronously: GetState answers at once with S_OK. Going
// from stopped to paused activates every connected pin, stopping deactivates
// them. The graph pointer and its event sink are kept without references (the
// graph holds the filter, not the other way round).
#include <windows.h>
#include <strmif.h>
#include <vfwmsgs.h>
#include <control.h>

#include <mutex>
#include <string>

#include "platform/dshow/Unknown.h"

// How every filter and pin takes its filter's state lock for one scope.
using CFilterLock = std::lock_guard<std::recursive_mutex>;

class CBasePin;

class CBaseFilter : public CUnknown, public IBaseFilter
{
public:
    CBaseFilter(const wchar_t* name, const CLSID& clsid);
    ~CBaseFilter() override = default;

    DECLARE_IUNKNOWN
    [[nodiscard]] HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IPersist
    [[nodiscard]] STDMETHODIMP GetClassID(CLSID* clsid) override;
    // IMediaFilter
    [[nodiscard]] STDMETHODIMP Stop() override;
    [[nodiscard]] STDMETHODIMP Pause() override;
    [[nodiscard]] STDMETHODIMP Run(REFERENCE_TIME start) override;
    [[nodiscard]] STDMETHODIMP GetState(DWORD timeoutMs, FILTER_STATE* state) override;
    [[nodiscard]] STDMETHODIMP SetSyncSource(IReferenceClock* clock) override;
    [[nodiscard]] STDMETHODIMP GetSyncSource(IReferenceClock** clock) override;
    // IBaseFilter
    [[nodiscard]] STDMETHODIMP EnumPins(IEnumPins** pins) override;
    [[nodiscard]] STDMETHODIMP FindPin(LPCWSTR id, IPin** pin) override;
    [[nodiscard]] STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override;
    [[nodiscard]] STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
    [[nodiscard]] STDMETHODIMP QueryVendorInfo(LPWSTR* info) override;

    // The pins, by index; null outside 0..GetPinCount()-1.
    virtual int GetPinCount() = 0;
    virtual CBasePin* GetPin(int n) = 0;

    FILTER_STATE State();
    [[nodiscard]] bool IsStopped() { return State() == State_Stopped; }
    [[nodiscard]] bool IsActive() { return State() != State_Stopped; }
    // The lock that guards state and connections of the filter and its pins.
    std::recursive_mutex& StateLock() { return m_lock; }
    // The graph the filter belongs to (not counted), or null.
    IFilterGraph* Graph();
    // Sends an event through the graph's event sink; E_NOTIMPL outside a graph.
    [[nodiscard]] HRESULT NotifyEvent(long code, LONG_PTR param1, LONG_PTR param2);

protected:
    std::recursive_mutex m_lock;
    FILTER_STATE m_state = State_Stopped;
    REFERENCE_TIME m_start = 0;
    CIPtr<IReferenceClock> m_clock;

private:
    CLSID m_clsid;
    std::wstring m_name;
    IFilterGraph* m_graph = nullptr;
    IMediaEventSink* m_sink = nullptr;
};
