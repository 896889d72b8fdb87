#pragma once
// CTransInPlaceFilter: a transform that works on the sample it receives and
// passes the same sample on, with the same media type on both sides.
//
// - The output pin offers the types of the pin upstream of the input, and
//   connects only with the input's own connection type; the input pin offers
//   the types of the pin downstream of the output.
// - Allocators: both sides share one when the neighbours agree (upstream is
//   handed the downstream pin's allocator, or downstream is told about
//   upstream's). When they end up different, or when the filter modifies data
//   that upstream marked read-only, each sample is copied into a buffer of the
//   output side before Transform.
#include <windows.h>
#include <strmif.h>
#include <vfwmsgs.h>

#include "platform/dshow/TransformFilter.h"

class CTransInPlaceFilter;

class CTransInPlaceInputPin : public CTransformInputPin
{
public:
    CTransInPlaceInputPin(const wchar_t* name, CTransInPlaceFilter* filter);

    [[nodiscard]] STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
    [[nodiscard]] STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;
    [[nodiscard]] STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
    [[nodiscard]] STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) override;

    [[nodiscard]] HRESULT CheckMediaType(const CMediaType* mt) override;

protected:
    CTransInPlaceFilter* m_inPlace;
};

class CTransInPlaceOutputPin : public CTransformOutputPin
{
public:
    CTransInPlaceOutputPin(const wchar_t* name, CTransInPlaceFilter* filter);

    [[nodiscard]] STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
    [[nodiscard]] HRESULT CheckMediaType(const CMediaType* mt) override;
    [[nodiscard]] HRESULT DecideAllocator(IMemInputPin* input, IMemAllocator** allocator) override;

protected:
    CTransInPlaceFilter* m_inPlace;
};

class CTransInPlaceFilter : public CTransformFilter
{
public:
    CTransInPlaceFilter(const wchar_t* name, const CLSID& clsid, bool modifiesData);

    // Works on `sample` in place: S_OK passes it on, S_FALSE drops it.
    [[nodiscard]] virtual HRESULT Transform(IMediaSample* sample) = 0;
    using CTransformFilter::Transform;

    [[nodiscard]] HRESULT CheckTransform(const CMediaType* in, const CMediaType* out) override;
    [[nodiscard]] HRESULT GetMediaType(int index, CMediaType* mt) override;
    [[nodiscard]] HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    [[nodiscard]] HRESULT Receive(IMediaSample* sample) override;

    [[nodiscard]] bool ModifiesData() const { return m_modifiesData; }
    [[nodiscard]] bool UsingDifferentAllocators();

protected:
    // The in-place pins "Input" and "Output".
    CTransformInputPin* NewInputPin() override;
    CTransformOutputPin* NewOutputPin() override;
    // A copy of `source` (data, times, flags, type) in a buffer of the output
    // side, or null.
    CIPtr<IMediaSample> Copy(IMediaSample* source);

private:
    bool m_modifiesData;
};
