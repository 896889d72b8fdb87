#pragma once
// CBasePin: IPin for a pin owned by a CBaseFilter. Its references count on the
// filter. Connection state is guarded by the filter's state lock; connecting
// and disconnecting need the filter stopped, and may repeat any number of times.
//
// Connecting (called on the output side): with a fully specified type only that
// type is tried; otherwise the receiving pin's types, then this pin's own, each
// one that matches the given partial type. A type counts as accepted only when
// CheckMediaType answers exactly S_OK.
#include <windows.h>
#include <strmif.h>
#include <vfwmsgs.h>

#include <string>

#include "platform/dshow/MediaType.h"
#include "platform/dshow/Unknown.h"

class CBaseFilter;

class CBasePin : public CUnknown, public IPin
{
public:
    CBasePin(const wchar_t* name, CBaseFilter* filter, PIN_DIRECTION direction);
    ~CBasePin() override = default;

    DECLARE_IUNKNOWN
    [[nodiscard]] HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IPin
    [[nodiscard]] STDMETHODIMP Connect(IPin* receivePin, const AM_MEDIA_TYPE* mt) override;
    [[nodiscard]] STDMETHODIMP ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* mt) override;
    [[nodiscard]] STDMETHODIMP Disconnect() override;
    [[nodiscard]] STDMETHODIMP ConnectedTo(IPin** pin) override;
    [[nodiscard]] STDMETHODIMP ConnectionMediaType(AM_MEDIA_TYPE* mt) override;
    [[nodiscard]] STDMETHODIMP QueryPinInfo(PIN_INFO* info) override;
    [[nodiscard]] STDMETHODIMP QueryDirection(PIN_DIRECTION* direction) override;
    [[nodiscard]] STDMETHODIMP QueryId(LPWSTR* id) override;
    [[nodiscard]] STDMETHODIMP QueryAccept(const AM_MEDIA_TYPE* mt) override;
    [[nodiscard]] STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
    [[nodiscard]] STDMETHODIMP QueryInternalConnections(IPin** pins, ULONG* count) override;
    // Stores the segment; streaming pins forward it.
    [[nodiscard]] STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

    // S_OK accepts; anything else refuses (a failure code is passed on).
    [[nodiscard]] virtual HRESULT CheckMediaType(const CMediaType* mt) = 0;
    // The pin's preferred types by index: S_OK, or VFW_S_NO_MORE_ITEMS past the end.
    [[nodiscard]] virtual HRESULT GetMediaType(int index, CMediaType* mt);
    // Called once a type is agreed; stores it as the connection type.
    [[nodiscard]] virtual HRESULT SetMediaType(const CMediaType* mt);
    // Checks the peer before a type is tried (the base checks the direction).
    [[nodiscard]] virtual HRESULT CheckConnect(IPin* pin);
    // Undoes what CheckConnect and CompleteConnect set up.
    [[nodiscard]] virtual HRESULT BreakConnect();
    // Last step of a connection; a failure undoes it.
    [[nodiscard]] virtual HRESULT CompleteConnect(IPin* receivePin);
    // The filter goes from stopped to paused / back to stopped (connected pins only).
    [[nodiscard]] virtual HRESULT Active();
    [[nodiscard]] virtual HRESULT Inactive();

    [[nodiscard]] bool IsConnected();
    // The connected peer, not counted; null when unconnected.
    IPin* GetConnected();
    const CMediaType& CurrentMediaType() const { return m_mt; }
    CBaseFilter* Filter() const { return m_filter; }
    REFERENCE_TIME CurrentStartTime() const { return m_segmentStart; }
    REFERENCE_TIME CurrentStopTime() const { return m_segmentStop; }
    double CurrentRate() const { return m_segmentRate; }

protected:
    // `text` as a CoTaskMemAlloc'ed string in *id (for QueryId).
    [[nodiscard]] static HRESULT AllocId(const wchar_t* text, LPWSTR* id);
    [[nodiscard]] HRESULT AgreeMediaType(IPin* receivePin, const CMediaType* mt);
    [[nodiscard]] HRESULT TryMediaTypes(IPin* receivePin, const CMediaType* partial, IEnumMediaTypes* types);
    [[nodiscard]] HRESULT AttemptConnection(IPin* receivePin, const CMediaType* mt);
    void ClearConnection();

    CBaseFilter* m_filter;
    std::wstring m_name;
    PIN_DIRECTION m_direction;
    CIPtr<IPin> m_connected;
    CMediaType m_mt;
    REFERENCE_TIME m_segmentStart = 0;
    REFERENCE_TIME m_segmentStop = 0x7FFFFFFFFFFFFFFFLL;
    double m_segmentRate = 1.0;
};
