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

class CTransInPlaceInputPin : public CTransformInputPin {
public:
    CTransInPlaceInputPin(const wchar_t* name, CTransInPlaceFilter* filter);

    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
    STDMETHODIMP GetAllocator(IMemAllocator** allocator) override;
    STDMETHODIMP NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
    STDMETHODIMP GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) override;

    HRESULT CheckMediaType(const CMediaType* mt) override;

protected:
    CTransInPlaceFilter* m_inPlace;
};

class CTransInPlaceOutputPin : public CTransformOutputPin {
public:
    CTransInPlaceOutputPin(const wchar_t* name, CTransInPlaceFilter* filter);

    STDMETHODIMP EnumMediaTypes(IEnumMediaTypes** types) override;
    HRESULT CheckMediaType(const CMediaType* mt) override;
    HRESULT DecideAllocator(IMemInputPin* input, IMemAllocator** allocator) override;

protected:
    CTransInPlaceFilter* m_inPlace;
};

class CTransInPlaceFilter : public CTransformFilter {
public:
    CTransInPlaceFilter(const wchar_t* name, const CLSID& clsid, bool modifiesData);

    // Works on `sample` in place: S_OK passes it on, S_FALSE drops it.
    virtual HRESULT Transform(IMediaSample* sample) = 0;
    using CTransformFilter::Transform;

    HRESULT CheckTransform(const CMediaType* in, const CMediaType* out) override;
    HRESULT GetMediaType(int index, CMediaType* mt) override;
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
    HRESULT Receive(IMediaSample* sample) override;

    bool ModifiesData() const { return m_modifiesData; }
    bool UsingDifferentAllocators();

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
