#pragma once
// CBaseOutputPin: an output pin that pushes samples into the downstream pin's
// IMemInputPin. At connection it agrees on an allocator: the downstream pin's
// own when it takes the sizes DecideBufferSize asks for, else a new system
// memory allocator. The allocator is committed while the filter is active.
#include <windows.h>
#include <strmif.h>
#include <vfwmsgs.h>

#include "platform/dshow/BasePin.h"

class CBaseOutputPin : public CBasePin
{
public:
    CBaseOutputPin(const wchar_t* name, CBaseFilter* filter);
    ~CBaseOutputPin() override = default;

    // Input-side IPin calls: E_UNEXPECTED on an output pin.
    [[nodiscard]] STDMETHODIMP EndOfStream() override;
    [[nodiscard]] STDMETHODIMP BeginFlush() override;
    [[nodiscard]] STDMETHODIMP EndFlush() override;

    [[nodiscard]] HRESULT CheckConnect(IPin* pin) override;
    [[nodiscard]] HRESULT CompleteConnect(IPin* receivePin) override;
    [[nodiscard]] HRESULT BreakConnect() override;
    [[nodiscard]] HRESULT Active() override;
    [[nodiscard]] HRESULT Inactive() override;

    // Sets the buffer count and size wanted from `allocator` (SetProperties).
    [[nodiscard]] virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) = 0;
    [[nodiscard]] virtual HRESULT DecideAllocator(IMemInputPin* input, IMemAllocator** allocator);

    [[nodiscard]] HRESULT GetDeliveryBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* stop,
                                            DWORD flags);
    [[nodiscard]] HRESULT Deliver(IMediaSample* sample);
    [[nodiscard]] HRESULT DeliverEndOfStream();
    [[nodiscard]] HRESULT DeliverBeginFlush();
    [[nodiscard]] HRESULT DeliverEndFlush();
    [[nodiscard]] HRESULT DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

    // The downstream pin's IMemInputPin (not counted), or null.
    IMemInputPin* ConnectedInput() const { return m_input; }
    // The agreed allocator (not counted), or null.
    IMemAllocator* Allocator() const { return m_allocator; }
    // Replaces the agreed allocator (a shared one, for in-place filters).
    void SetAllocator(IMemAllocator* allocator);

protected:
    [[nodiscard]] HRESULT TryAllocator(IMemInputPin* input, IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request);

    CIPtr<IMemAllocator> m_allocator;
    CIPtr<IMemInputPin> m_input;
};
