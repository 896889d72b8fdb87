#pragma once
// Shared pieces of the DirectShow tests: a sample collector on
// ISampleCallback and small graph helpers.
#include <windows.h>
#include <dshow.h>

#include <mutex>
#include <vector>

#include "audio/DXAudioReader.h"
#include "audio/SampleCallback.h"
#include "common/Interfaces.h"
#include "tests/support/TestSupport.h"

// Keeps every rendered byte, the sample times and how many samples arrived.
// Lives on the test's stack: counting does not delete it.
class CCollector : public ISampleCallback
{
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        return AnswerQueryInterface(riid, ppv,
                                    {{IID_IUnknown, static_cast<ISampleCallback*>(this)},
                                     {IID_ISampleCallback, static_cast<ISampleCallback*>(this)}});
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; }
    STDMETHODIMP_(ULONG) Release() override { return 1; }

    HRESULT OnSample(IMediaSample* sample, REFERENCE_TIME start, REFERENCE_TIME, BOOL) override
    {
        BYTE* data = nullptr;
        sample->GetPointer(&data);
        long n = sample->GetActualDataLength();
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bytes.insert(m_bytes.end(), data, data + n);
        m_starts.push_back(start);
        return S_OK;
    }
    void OnEndOfStream() override {}

    size_t Size()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_bytes.size();
    }
    std::vector<BYTE> Bytes()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_bytes;
    }
    std::vector<REFERENCE_TIME> Starts()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_starts;
    }

private:
    std::mutex m_mutex;
    std::vector<BYTE> m_bytes;
    std::vector<REFERENCE_TIME> m_starts;
};

// A new filter graph set to run without a clock.
inline CIPtr<IGraphBuilder> MakeClocklessGraph()
{
    CIPtr<IGraphBuilder> graph;
    if (FAILED(CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                reinterpret_cast<void**>(&graph))))
        return nullptr;
    CIPtr<IMediaFilter> mf;
    if (SUCCEEDED(mf.QueryFrom(graph, IID_IMediaFilter)))
        mf->SetSyncSource(nullptr);
    return graph;
}

// Waits up to `ms` for EC_COMPLETE from the graph; counts the EC_COMPLETEs seen.
inline int WaitForComplete(IGraphBuilder* graph, DWORD ms)
{
    CIPtr<IMediaEvent> events;
    if (FAILED(events.QueryFrom(graph, IID_IMediaEvent)))
        return 0;
    int completes = 0;
    DWORD until = GetTickCount() + ms;
    while (static_cast<LONG>(until - GetTickCount()) > 0) {
        long code = 0;
        LONG_PTR p1 = 0, p2 = 0;
        if (events->GetEvent(&code, &p1, &p2, 50) != S_OK) {
            if (completes)
                break;
            continue;
        }
        events->FreeEventParams(code, p1, p2);
        if (code == EC_COMPLETE)
            ++completes;
    }
    return completes;
}
