#pragma once
// CBaseOutputPin: an output pin that pushes samples into the downstream pin's
// IMemInputPin. At connection it agrees on an allocator: the downstream pin's
// own when it takes the sizes DecideBufferSize asks for, else a new system
// memory allocator. The allocator is committed while the filter is active.
#include <windows.h>
#include <strmif.h>
#include <vfwmsgs.h>

#include "platform/dshow/BasePin.h"

class CBaseOutputPin : public CBasePin {
public:
    CBaseOutputPin(const wchar_t* name, CBaseFilter* filter);
    ~CBaseOutputPin() override = default;

    // Input-side IPin calls: E_UNEXPECTED on an output pin.
    STDMETHODIMP EndOfStream() override;
    STDMETHODIMP BeginFlush() override;
    STDMETHODIMP EndFlush() override;

    HRESULT CheckConnect(IPin* pin) override;
    HRESULT CompleteConnect(IPin* receivePin) override;
    HRESULT BreakConnect() override;
    HRESULT Active() override;
    HRESULT Inactive() override;

    // Sets the buffer count and size wanted from `allocator` (SetProperties).
    virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) = 0;
    virtual HRESULT DecideAllocator(IMemInputPin* input, IMemAllocator** allocator);

    HRESULT GetDeliveryBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* stop, DWORD flags);
    HRESULT Deliver(IMediaSample* sample);
    HRESULT DeliverEndOfStream();
    HRESULT DeliverBeginFlush();
    HRESULT DeliverEndFlush();
    HRESULT DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

    // The downstream pin's IMemInputPin (not counted), or null.
    IMemInputPin* ConnectedInput() const { return m_input; }
    // The agreed allocator (not counted), or null.
    IMemAllocator* Allocator() const { return m_allocator; }
    // Replaces the agreed allocator (a shared one, for in-place filters).
    void SetAllocator(IMemAllocator* allocator);

protected:
    HRESULT TryAllocator(IMemInputPin* input, IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request);

    CIPtr<IMemAllocator> m_allocator;
    CIPtr<IMemInputPin> m_input;
};
