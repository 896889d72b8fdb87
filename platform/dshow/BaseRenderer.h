#pragma once
// CBaseRenderer: a filter with one input pin ("In") at the end of a graph.
//
// - Known to the graph as a renderer: IAMFilterMiscFlags answers
//   AM_FILTER_MISC_FLAGS_IS_RENDERER, and IMediaSeeking is passed upstream.
// - Renders every sample as it arrives, in DoRenderSample, on the thread that
//   delivers it; samples are not scheduled against a clock (the graphs that use
//   it run without one). A sample that fails to render is dropped, but Receive
//   still answers S_OK so that upstream keeps streaming.
// - End of stream is reported to the graph as EC_COMPLETE, once per run: when
//   it arrives while running, at once; when it arrives while paused, at Run.
//   A flush or a stop clears it.
// - Stop returns only after a sample being rendered has left DoRenderSample.
#include <windows.h>
#include <strmif.h>
#include <vfwmsgs.h>

#include <mutex>

#include "platform/dshow/BaseFilter.h"
#include "platform/dshow/BaseInputPin.h"
#include "platform/dshow/SeekingPassThru.h"

class CBaseRenderer;

// The renderer's input pin: checks and samples go to the filter.
class CRendererInputPin : public CBaseInputPin
{
public:
    explicit CRendererInputPin(CBaseRenderer* renderer);

    [[nodiscard]] STDMETHODIMP Receive(IMediaSample* sample) override;
    [[nodiscard]] STDMETHODIMP EndOfStream() override;
    [[nodiscard]] STDMETHODIMP BeginFlush() override;
    [[nodiscard]] STDMETHODIMP EndFlush() override;

    [[nodiscard]] HRESULT CheckMediaType(const CMediaType* mt) override;
    [[nodiscard]] HRESULT SetMediaType(const CMediaType* mt) override;
    [[nodiscard]] HRESULT BreakConnect() override;
    [[nodiscard]] HRESULT CompleteConnect(IPin* receivePin) override;

private:
    CBaseRenderer* m_renderer;
};

class CBaseRenderer : public CBaseFilter, public IAMFilterMiscFlags
{
public:
    CBaseRenderer(const CLSID& clsid, const wchar_t* name);
    ~CBaseRenderer() override;

    DECLARE_IUNKNOWN
    [[nodiscard]] HRESULT NonDelegatingQueryInterface(REFIID riid, void** ppv) override;

    // IAMFilterMiscFlags
    STDMETHODIMP_(ULONG) GetMiscFlags() override;
    // IMediaFilter
    [[nodiscard]] STDMETHODIMP Stop() override;
    [[nodiscard]] STDMETHODIMP Pause() override;
    [[nodiscard]] STDMETHODIMP Run(REFERENCE_TIME start) override;

    int GetPinCount() override { return 1; }
    CBasePin* GetPin(int n) override;
    CBaseInputPin* GetInputPin() { return &m_input; }

    // What the derived renderer decides.
    [[nodiscard]] virtual HRESULT CheckMediaType(const CMediaType* mt) = 0;
    [[nodiscard]] virtual HRESULT DoRenderSample(IMediaSample* sample) = 0;
    [[nodiscard]] virtual HRESULT SetMediaType(const CMediaType* mt);
    [[nodiscard]] virtual HRESULT BreakConnect();
    [[nodiscard]] virtual HRESULT CompleteConnect(IPin* receivePin);

    // Notification hooks around streaming and rendering; they do nothing here.
    virtual HRESULT OnStartStreaming() { return S_OK; }
    virtual HRESULT OnStopStreaming() { return S_OK; }
    virtual void OnReceiveFirstSample(IMediaSample*) {}
    virtual void OnRenderStart(IMediaSample*) {}
    virtual void OnRenderEnd(IMediaSample*) {}

    // Called by the input pin.
    [[nodiscard]] HRESULT Receive(IMediaSample* sample);
    [[nodiscard]] HRESULT EndOfStream();
    [[nodiscard]] HRESULT BeginFlush();
    [[nodiscard]] HRESULT EndFlush();

private:
    // Whether EC_COMPLETE is due now (end of stream arrived, running, not sent
    // yet); marks it sent. Call with the state lock held.
    [[nodiscard]] bool TakeDueComplete();
    // Sends EC_COMPLETE; called without the state lock, since the graph's
    // event sink takes locks of its own.
    void SendComplete();

    CRendererInputPin m_input;
    CSeekingPassThru m_seeking;
    std::mutex m_receiveLock; // held while a sample is being rendered
    bool m_endOfStream = false;
    bool m_completeSent = false;
    bool m_firstSampleSeen = false;
};
