#pragma once
// CTransformFilter: a filter with one input and one output pin that turns each
// input sample into an output sample (Transform) and passes everything else
// through: end of stream, flushes and new segments go downstream, seeking asked
// of the output pin goes upstream. The output pin connects only after the
// input pin. The pins are made on the first GetPin and owned by the filter;
// a derived filter may make pins of its own (NewInputPin, NewOutputPin).
#include <windows.h>
#include <strmif.h>
#include <vfwmsgs.h>
#include <memory>

#include "platform/dshow/BaseFilter.h"
#include "platform/dshow/BaseInputPin.h"
#include "platform/dshow/BaseOutputPin.h"
#include "platform/dshow/SeekingPassThru.h"

class CTransformFilter;

class CTransformInputPin : public CBaseInputPin
{
public:
    CTransformInputPin(const wchar_t* name, CTransformFilter* filter);

    [[nodiscard]] STDMETHODIMP Receive(IMediaSample* sample) override;
    [[nodiscard]] STDMETHODIMP EndOfStream() override;
    [[nodiscard]] STDMETHODIMP BeginFlush() override;
    [[nodiscard]] STDMETHODIMP EndFlush() override;
    [[nodiscard]] STDMETHODIMP NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

    [[nodiscard]] HRESULT CheckMediaType(const CMediaType* mt) override;
    [[nodiscard]] HRESULT SetMediaType(const CMediaType* mt) override;
    [[nodiscard]] HRESULT CheckConnect(IPin* pin) override;
    [[nodiscard]] HRESULT BreakConnect() override;
    [[nodiscard]] HRESULT CompleteConnect(IPin* receivePin) override;

protected:
    CTransformFilter* m_transform;
};

class CTransformOutputPin : public CBaseOutputPin
{
public:
    // The filter's input pin must exist already: seeking is passed through it.
    CTransformOutputPin(const wchar_t* name, CTransformFilter* filter);

    [[nodiscard]] HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    [[nodiscard]] HRESULT CheckMediaType(const CMediaType* mt) override;
    [[nodiscard]] HRESULT GetMediaType(int index, CMediaType* mt) override;
    [[nodiscard]] HRESULT SetMediaType(const CMediaType* mt) override;
    [[nodiscard]] HRESULT CheckConnect(IPin* pin) override;
    [[nodiscard]] HRESULT BreakConnect() override;
    [[nodiscard]] HRESULT CompleteConnect(IPin* receivePin) override;
    [[nodiscard]] HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

protected:
    // The filter's input pin when it is connected, else null: this side
    // connects only after it.
    CTransformInputPin* ConnectedInputPin();

    CTransformFilter* m_transform;
    CSeekingPassThru m_seeking;
};

class CTransformFilter : public CBaseFilter
{
public:
    CTransformFilter(const wchar_t* name, const CLSID& clsid);
    ~CTransformFilter() override;

    int GetPinCount() override { return 2; }
    CBasePin* GetPin(int n) override;
    CTransformInputPin* InputPin() { return m_input.get(); }
    CTransformOutputPin* OutputPin() { return m_output.get(); }

    // What the derived filter decides.
    [[nodiscard]] virtual HRESULT CheckInputType(const CMediaType* mt) = 0;
    [[nodiscard]] virtual HRESULT CheckTransform(const CMediaType* in, const CMediaType* out) = 0;
    [[nodiscard]] virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) = 0;
    [[nodiscard]] virtual HRESULT GetMediaType(int index, CMediaType* mt) = 0;
    // Fills `out` from `in`: S_OK delivers it, S_FALSE drops it.
    [[nodiscard]] virtual HRESULT Transform(IMediaSample* in, IMediaSample* out);

    // Connection hooks per side; they do nothing here.
    [[nodiscard]] virtual HRESULT SetMediaType(PIN_DIRECTION direction, const CMediaType* mt);
    [[nodiscard]] virtual HRESULT CheckConnect(PIN_DIRECTION direction, IPin* pin);
    [[nodiscard]] virtual HRESULT BreakConnect(PIN_DIRECTION direction);
    [[nodiscard]] virtual HRESULT CompleteConnect(PIN_DIRECTION direction, IPin* receivePin);

    // Streaming, called by the input pin once its own checks passed.
    [[nodiscard]] virtual HRESULT Receive(IMediaSample* sample);
    [[nodiscard]] virtual HRESULT EndOfStream();
    [[nodiscard]] virtual HRESULT BeginFlush();
    [[nodiscard]] virtual HRESULT EndFlush();
    [[nodiscard]] virtual HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

protected:
    // The pins GetPin makes when they do not both exist yet (both or
    // neither); null when out of memory. A filter with pins of its own kind
    // overrides both.
    virtual CTransformInputPin* NewInputPin();
    virtual CTransformOutputPin* NewOutputPin();
    // Copies times, flags and media type of `from` to `to` (not the data).
    static void CopySampleProperties(IMediaSample* from, IMediaSample* to);

    std::unique_ptr<CTransformInputPin> m_input;
    std::unique_ptr<CTransformOutputPin> m_output;

private:
    // Makes both pins when they do not both exist; false on allocation failure.
    [[nodiscard]] bool MakePins();
};
