#pragma once
// CBaseInputPin: an input pin that receives samples through IMemInputPin.
//
// Allocators: GetAllocator hands out the one the upstream pin was told about,
// or a new system memory allocator (CLSID_MemoryAllocator). Streaming checks:
// Receive answers VFW_E_NOT_CONNECTED unconnected, VFW_E_WRONG_STATE while the
// filter is stopped and S_FALSE while flushing. A sample that carries a new
// media type is checked first and refused with VFW_E_INVALIDMEDIATYPE.
#include <windows.h>
#include <strmif.h>
#include <vfwmsgs.h>

#include <atomic>

#include "platform/dshow/BasePin.h"

class CBaseInputPin : public CBasePin, public IMemInputPin
{
public:
    CBaseInputPin(const wchar_t* name, CBaseFilter* filter);
    ~CBaseInputPin() override = default;

    DECLARE_IUNKNOWN
    [[nodiscard]] HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IMemInputPin
    [[nodiscard]] STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;
    [[nodiscard]] STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
    [[nodiscard]] STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) override;
    [[nodiscard]] STDMETHODIMP Receive(IMediaSample* sample) override;
    [[nodiscard]] STDMETHODIMP ReceiveMultiple(IMediaSample** samples, long count, long* processed) override;
    [[nodiscard]] STDMETHODIMP ReceiveCanBlock() override;

    // IPin streaming calls: the base tracks the flushing state only.
    [[nodiscard]] STDMETHODIMP EndOfStream() override;
    [[nodiscard]] STDMETHODIMP BeginFlush() override;
    [[nodiscard]] STDMETHODIMP EndFlush() override;

    [[nodiscard]] HRESULT BreakConnect() override;
    [[nodiscard]] HRESULT Inactive() override;

    // S_OK when a sample may be processed now (see above for the other answers).
    [[nodiscard]] HRESULT CheckStreaming();
    [[nodiscard]] bool IsFlushing() const { return m_flushing; }
    [[nodiscard]] bool IsReadOnly() const { return m_readOnly; }
    // The allocator the upstream pin uses (not counted), or null.
    IMemAllocator* Allocator();

protected:
    CIPtr<IMemAllocator> m_allocator;
    bool m_readOnly = false;
    std::atomic<bool> m_flushing{false};
};
