#include "platform/dshow/TransInPlaceFilter.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <new>

namespace {

// Buffers of the output side when nothing better is known about upstream's.
const long kDefaultBuffers = 4;
const long kDefaultBufferSize = 256 * 1024;

} // namespace

// ---- input pin ----

CTransInPlaceInputPin::CTransInPlaceInputPin(const wchar_t* name, CTransInPlaceFilter* filter)
    : CTransformInputPin(name, filter), m_inPlace(filter)
{
}

STDMETHODIMP CTransInPlaceInputPin::EnumMediaTypes(IEnumMediaTypes** types)
{
    if (!types)
        return E_POINTER;
    *types = nullptr;
    CTransformOutputPin* output = m_inPlace->OutputPin();
    IPin* downstream = output ? output->GetConnected() : nullptr;
    return downstream ? downstream->EnumMediaTypes(types) : VFW_E_NOT_CONNECTED;
}

STDMETHODIMP CTransInPlaceInputPin::GetAllocator(IMemAllocator** allocator)
{
    if (!allocator)
        return E_POINTER;
    CFilterLock lock(m_filter->StateLock());
    CTransformOutputPin* output = m_inPlace->OutputPin();
    if (output && output->IsConnected() && output->ConnectedInput())
        return output->ConnectedInput()->GetAllocator(allocator);
    return CTransformInputPin::GetAllocator(allocator);
}

STDMETHODIMP CTransInPlaceInputPin::NotifyAllocator(IMemAllocator* allocator, BOOL readOnly)
{
    CFilterLock lock(m_filter->StateLock());
    HRESULT hr = CTransformInputPin::NotifyAllocator(allocator, readOnly);
    if (FAILED(hr))
        return hr;
    CTransformOutputPin* output = m_inPlace->OutputPin();
    if (output && output->IsConnected() && output->ConnectedInput() && output->Allocator() != allocator &&
        !(readOnly && m_inPlace->ModifiesData())) {
        // Share upstream's allocator downstream when it takes it; else samples are copied.
        if (SUCCEEDED(output->ConnectedInput()->NotifyAllocator(allocator, readOnly)))
            output->SetAllocator(allocator);
    }
    return S_OK;
}

STDMETHODIMP CTransInPlaceInputPin::GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props)
{
    CTransformOutputPin* output = m_inPlace->OutputPin();
    if (output && output->IsConnected() && output->ConnectedInput())
        return output->ConnectedInput()->GetAllocatorRequirements(props);
    return E_NOTIMPL;
}

HRESULT CTransInPlaceInputPin::CheckMediaType(const CMediaType* mt)
{
    HRESULT hr = m_inPlace->CheckInputType(mt);
    if (hr != S_OK)
        return hr;
    CTransformOutputPin* output = m_inPlace->OutputPin();
    IPin* downstream = output ? output->GetConnected() : nullptr;
    return downstream ? downstream->QueryAccept(mt) : S_OK;
}

// ---- output pin ----

CTransInPlaceOutputPin::CTransInPlaceOutputPin(const wchar_t* name, CTransInPlaceFilter* filter)
    : CTransformOutputPin(name, filter), m_inPlace(filter)
{
}

STDMETHODIMP CTransInPlaceOutputPin::EnumMediaTypes(IEnumMediaTypes** types)
{
    if (!types)
        return E_POINTER;
    *types = nullptr;
    CTransformInputPin* input = m_inPlace->InputPin();
    IPin* upstream = input ? input->GetConnected() : nullptr;
    return upstream ? upstream->EnumMediaTypes(types) : VFW_E_NOT_CONNECTED;
}

HRESULT CTransInPlaceOutputPin::CheckMediaType(const CMediaType* mt)
{
    CTransformInputPin* input = m_inPlace->InputPin();
    if (!input || !input->IsConnected())
        return E_UNEXPECTED;
    // Samples pass unchanged: the output carries the input's type.
    return *mt == input->CurrentMediaType() ? S_OK : VFW_E_TYPE_NOT_ACCEPTED;
}

HRESULT CTransInPlaceOutputPin::DecideAllocator(IMemInputPin* input, IMemAllocator** allocator)
{
    CTransformInputPin* in = m_inPlace->InputPin();
    IMemAllocator* upstream = in ? in->Allocator() : nullptr;
    if (upstream && !(in->IsReadOnly() && m_inPlace->ModifiesData()) &&
        SUCCEEDED(input->NotifyAllocator(upstream, in->IsReadOnly()))) {
        ReturnInterface(upstream, allocator);
        return S_OK;
    }
    return CTransformOutputPin::DecideAllocator(input, allocator);
}

// ---- filter ----

CTransInPlaceFilter::CTransInPlaceFilter(const wchar_t* name, const CLSID& clsid, bool modifiesData)
    : CTransformFilter(name, clsid), m_modifiesData(modifiesData)
{
}

CTransformInputPin* CTransInPlaceFilter::NewInputPin()
{
    return new (std::nothrow) CTransInPlaceInputPin(L"Input", this);
}

CTransformOutputPin* CTransInPlaceFilter::NewOutputPin()
{
    return new (std::nothrow) CTransInPlaceOutputPin(L"Output", this);
}

HRESULT CTransInPlaceFilter::CheckTransform(const CMediaType*, const CMediaType*)
{
    return S_OK;
}

HRESULT CTransInPlaceFilter::GetMediaType(int, CMediaType*)
{
    return E_UNEXPECTED; // the pins offer their neighbours' types
}

HRESULT CTransInPlaceFilter::DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request)
{
    ALLOCATOR_PROPERTIES want = *request;
    want.cBuffers = std::max(want.cBuffers, kDefaultBuffers);
    want.cbBuffer = std::max(want.cbBuffer, kDefaultBufferSize);
    IMemAllocator* upstream = m_input ? m_input->Allocator() : nullptr;
    ALLOCATOR_PROPERTIES up = {};
    if (upstream && SUCCEEDED(upstream->GetProperties(&up))) {
        want.cBuffers = std::max(want.cBuffers, up.cBuffers);
        want.cbBuffer = std::max(want.cbBuffer, up.cbBuffer);
    }
    if (want.cbAlign < 1)
        want.cbAlign = 1;
    ALLOCATOR_PROPERTIES actual = {};
    HRESULT hr = allocator->SetProperties(&want, &actual);
    if (FAILED(hr))
        return hr;
    return actual.cbBuffer >= want.cbBuffer ? S_OK : E_FAIL;
}

bool CTransInPlaceFilter::UsingDifferentAllocators()
{
    return m_input && m_output && m_input->Allocator() != m_output->Allocator();
}

CIPtr<IMediaSample> CTransInPlaceFilter::Copy(IMediaSample* source)
{
    CIPtr<IMediaSample> out;
    if (FAILED(m_output->GetDeliveryBuffer(&out, nullptr, nullptr, 0)) || !out)
        return nullptr;
    long length = source->GetActualDataLength();
    BYTE* from = nullptr;
    BYTE* to = nullptr;
    if (length < 0 || length > out->GetSize() || FAILED(out->GetPointer(&to)) ||
        (length > 0 && FAILED(source->GetPointer(&from))))
        return nullptr;
    if (length > 0)
        memcpy(to, from, static_cast<size_t>(length));
    out->SetActualDataLength(length);
    CopySampleProperties(source, out);
    return out;
}

HRESULT CTransInPlaceFilter::Receive(IMediaSample* sample)
{
    if (!m_output || !m_output->IsConnected())
        return S_OK; // nowhere to go
    // Held for the whole call: a Transform that throws still lets the copy go.
    CIPtr<IMediaSample> work(sample);
    if (UsingDifferentAllocators() || (m_modifiesData && m_input->IsReadOnly()))
        work = Copy(sample);
    if (!work)
        return E_UNEXPECTED;
    HRESULT hr = Transform(work);
    if (hr == S_OK)
        hr = m_output->Deliver(work);
    else if (hr == S_FALSE)
        hr = S_OK;
    return hr;
}
