// The sink and pass-through filters on our own base classes, in Wine's real
// filter graph (quartz): with a test source of known bytes, and with the
// system's MP3 decoder.
#include <gtest/gtest.h>
#include <windows.h>
#include <dshow.h>
#include <mmreg.h>

#include "audio/FrameChecker.h"
#include "audio/Renderer.h"
#include "tests/dshow/GraphTestSupport.h"
#include "tests/dshow/TestSource.h"
#include "tests/support/TestSupport.h"

namespace {

CMediaType PcmAcceptedType()
{
    return CMediaType(MEDIATYPE_Audio, MEDIASUBTYPE_PCM, GUID_NULL);
}

TEST(Renderer, AcceptedTypeRules)
{
    testsupport::CComScope com;
    CIPtr<IBaseFilter> filter(new CRenderer());
    auto* renderer = static_cast<CRenderer*>(filter.Get());
    CIPtr<IGrabberSample> grabber;
    ASSERT_EQ(S_OK, grabber.QueryFrom(filter, IID_IGrabberSample));

    // Empty accepted type: everything connects.
    CMediaType video(MEDIATYPE_Video, MEDIASUBTYPE_RGB24, FORMAT_VideoInfo);
    EXPECT_EQ(S_OK, renderer->CheckMediaType(&video));

    CMediaType accepted = PcmAcceptedType();
    ASSERT_EQ(S_OK, grabber->SetAcceptedMediaType(&accepted));
    CMediaType pcm = MakePcmType(false);
    EXPECT_EQ(S_OK, renderer->CheckMediaType(&pcm));
    CMediaType pcmOtherFormat(MEDIATYPE_Audio, MEDIASUBTYPE_PCM, FORMAT_None);
    EXPECT_EQ(S_OK, renderer->CheckMediaType(&pcmOtherFormat)) << "format type left open";
    CMediaType mp3(MEDIATYPE_Audio, MEDIASUBTYPE_MPEG1AudioPayload, FORMAT_WaveFormatEx);
    EXPECT_EQ(static_cast<HRESULT>(0x80040248), renderer->CheckMediaType(&mp3));
    CMediaType floatPcm = MakePcmType(true);
    EXPECT_EQ(static_cast<HRESULT>(0x80040248), renderer->CheckMediaType(&floatPcm));
    EXPECT_EQ(static_cast<HRESULT>(0x80040248), renderer->CheckMediaType(&video));
    EXPECT_EQ(E_POINTER, renderer->CheckMediaType(nullptr));

    // Through the pin, a refused type is S_FALSE.
    CIPtr<IPin> in = FirstPin(filter, PINDIR_INPUT);
    ASSERT_TRUE(in);
    EXPECT_EQ(S_OK, in->QueryAccept(&pcm));
    EXPECT_EQ(S_FALSE, in->QueryAccept(&mp3));

    // A full type with a format type checks that too; null resets to "accept all".
    CMediaType full = MakePcmType(false);
    ASSERT_EQ(S_OK, grabber->SetAcceptedMediaType(&full));
    EXPECT_EQ(static_cast<HRESULT>(0x80040248), renderer->CheckMediaType(&pcmOtherFormat));
    ASSERT_EQ(S_OK, grabber->SetAcceptedMediaType(nullptr));
    EXPECT_EQ(S_OK, renderer->CheckMediaType(&video));
}

TEST(Renderer, NotConnectedAndNoCallback)
{
    testsupport::CComScope com;
    CIPtr<IBaseFilter> filter(new CRenderer());
    CIPtr<IGrabberSample> grabber;
    ASSERT_EQ(S_OK, grabber.QueryFrom(filter, IID_IGrabberSample));
    AM_MEDIA_TYPE mt = {};
    EXPECT_EQ(static_cast<HRESULT>(0x80040209), grabber->GetConnectedMediaType(&mt));

    // A real sample from quartz's allocator: dropped with E_FAIL without a callback.
    CIPtr<IMemAllocator> allocator;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_IMemAllocator,
                                     reinterpret_cast<void**>(&allocator)));
    ALLOCATOR_PROPERTIES want = {1, 4096, 1, 0}, got = {};
    ASSERT_EQ(S_OK, allocator->SetProperties(&want, &got));
    ASSERT_EQ(S_OK, allocator->Commit());
    CIPtr<IMediaSample> sample;
    ASSERT_EQ(S_OK, allocator->GetBuffer(&sample, nullptr, nullptr, 0));
    REFERENCE_TIME start = 0, stop = 10;
    sample->SetTime(&start, &stop);
    auto* renderer = static_cast<CRenderer*>(filter.Get());
    EXPECT_EQ(E_FAIL, renderer->DoRenderSample(sample));
    CCollector collector;
    grabber->SetCallback(&collector);
    sample->SetTime(nullptr, nullptr);
    EXPECT_EQ(E_FAIL, renderer->DoRenderSample(sample)) << "no time stamps";
    sample->SetTime(&start, &stop);
    EXPECT_EQ(S_OK, renderer->DoRenderSample(sample));
    grabber->SetCallback(nullptr);
    sample = nullptr;
    allocator->Decommit();
}

// Source -> FrameChecker -> Renderer, every sample arrives intact and in order.
struct GraphRun
{
    CIPtr<IGraphBuilder> graph;
    CIPtr<IBaseFilter> source, checker, sink;
    CIPtr<IGrabberSample> grabber;
    CTestSource* src = nullptr;
};

void BuildTestGraph(GraphRun& run, bool floatFirst, ISampleCallback* callback, bool throughChecker)
{
    CIPtr<IGraphBuilder> graph = MakeClocklessGraph();
    ASSERT_TRUE(graph);
    run.graph = graph;
    run.src = new CTestSource(40, 4096, floatFirst);
    run.source = run.src;
    run.checker = new CFrameChecker();
    run.sink = new CRenderer();
    ASSERT_EQ(S_OK, run.grabber.QueryFrom(run.sink, IID_IGrabberSample));
    CMediaType accepted = PcmAcceptedType();
    run.grabber->SetAcceptedMediaType(&accepted);
    run.grabber->SetCallback(callback);
    ASSERT_EQ(S_OK, run.graph->AddFilter(run.source, L"Source"));
    ASSERT_EQ(S_OK, run.graph->AddFilter(run.checker, L"Frame Checker"));
    ASSERT_EQ(S_OK, run.graph->AddFilter(run.sink, L"Audio grabber"));
    CIPtr<IPin> out = FirstPin(run.source, PINDIR_OUTPUT);
    CIPtr<IPin> in = FirstPin(run.sink, PINDIR_INPUT);
    if (throughChecker) {
        CIPtr<IPin> checkIn = FirstPin(run.checker, PINDIR_INPUT);
        CIPtr<IPin> checkOut = FirstPin(run.checker, PINDIR_OUTPUT);
        ASSERT_EQ(S_OK, run.graph->ConnectDirect(out, checkIn, nullptr));
        ASSERT_EQ(S_OK, run.graph->ConnectDirect(checkOut, in, nullptr));
    } else {
        ASSERT_EQ(S_OK, run.graph->Connect(out, in));
    }
}

void ExpectWholeStream(CCollector& collector, const CTestSource& src)
{
    std::vector<BYTE> bytes = collector.Bytes();
    ASSERT_EQ(static_cast<size_t>(src.TotalBytes()), bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] != CTestSource::ByteAt(static_cast<long long>(i)))
            FAIL() << "byte " << i << " differs";
    std::vector<REFERENCE_TIME> starts = collector.Starts();
    ASSERT_FALSE(starts.empty());
    EXPECT_EQ(CTestSource::kSegmentStart, starts.front()) << "segment start added to the sample time";
}

TEST(FilterPair, PassesEveryByteAndCompletesInWineGraph)
{
    testsupport::CComScope com;
    CCollector collector;
    GraphRun run;
    BuildTestGraph(run, false, &collector, true);
    if (HasFatalFailure())
        return;

    AM_MEDIA_TYPE mt = {};
    ASSERT_EQ(S_OK, run.grabber->GetConnectedMediaType(&mt));
    EXPECT_TRUE(CMediaType(mt) == MakePcmType(false));
    FreeMediaType(mt);

    CIPtr<IMediaControl> control;
    ASSERT_EQ(S_OK, control.QueryFrom(run.graph, IID_IMediaControl));
    ASSERT_TRUE(SUCCEEDED(control->Run()));
    EXPECT_EQ(1, WaitForComplete(run.graph, 5000)) << "one EC_COMPLETE per run";
    ExpectWholeStream(collector, *run.src);
    EXPECT_TRUE(SUCCEEDED(control->Stop()));
    run.grabber->SetCallback(nullptr);
}

TEST(FilterPair, EndOfStreamWhilePausedCompletesAtRun)
{
    testsupport::CComScope com;
    CCollector collector;
    GraphRun run;
    BuildTestGraph(run, false, &collector, true);
    if (HasFatalFailure())
        return;
    CIPtr<IMediaControl> control;
    ASSERT_EQ(S_OK, control.QueryFrom(run.graph, IID_IMediaControl));
    ASSERT_TRUE(SUCCEEDED(control->Pause()));
    // The source streams while paused; the clockless renderer takes it all.
    for (int i = 0; i < 500 && collector.Size() < static_cast<size_t>(run.src->TotalBytes()); ++i)
        Sleep(10);
    Sleep(100);
    EXPECT_EQ(0, WaitForComplete(run.graph, 200)) << "no EC_COMPLETE before running";
    ASSERT_TRUE(SUCCEEDED(control->Run()));
    EXPECT_EQ(1, WaitForComplete(run.graph, 3000));
    ExpectWholeStream(collector, *run.src);
    control->Stop();
    run.grabber->SetCallback(nullptr);
}

TEST(FilterPair, SinkTakesSixteenBitWhenFloatIsOfferedFirst)
{
    testsupport::CComScope com;
    CCollector collector;
    GraphRun run;
    BuildTestGraph(run, true, &collector, false);
    if (HasFatalFailure())
        return;
    AM_MEDIA_TYPE mt = {};
    ASSERT_EQ(S_OK, run.grabber->GetConnectedMediaType(&mt));
    EXPECT_TRUE(mt.subtype == MEDIASUBTYPE_PCM);
    ASSERT_EQ(sizeof(WAVEFORMATEX), mt.cbFormat);
    EXPECT_EQ(16, reinterpret_cast<WAVEFORMATEX*>(mt.pbFormat)->wBitsPerSample);
    FreeMediaType(mt);
    run.grabber->SetCallback(nullptr);
}

TEST(FilterPair, RepeatedConnectAndDisconnectThenStreams)
{
    testsupport::CComScope com;
    CCollector collector;
    GraphRun run;
    BuildTestGraph(run, false, &collector, true);
    if (HasFatalFailure())
        return;
    CIPtr<IPin> out = FirstPin(run.source, PINDIR_OUTPUT);
    CIPtr<IPin> checkIn = FirstPin(run.checker, PINDIR_INPUT);
    CIPtr<IPin> checkOut = FirstPin(run.checker, PINDIR_OUTPUT);
    CIPtr<IPin> in = FirstPin(run.sink, PINDIR_INPUT);
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(S_OK, run.graph->Disconnect(checkOut));
        ASSERT_EQ(S_OK, run.graph->Disconnect(in));
        ASSERT_EQ(S_OK, run.graph->Disconnect(out));
        ASSERT_EQ(S_OK, run.graph->Disconnect(checkIn));
        EXPECT_EQ(S_FALSE, checkIn->Disconnect());
        ASSERT_EQ(S_OK, run.graph->ConnectDirect(out, checkIn, nullptr));
        ASSERT_EQ(S_OK, run.graph->ConnectDirect(checkOut, in, nullptr));
    }
    // The in-place output only takes its input's type.
    ASSERT_EQ(S_OK, run.graph->Disconnect(checkOut));
    ASSERT_EQ(S_OK, run.graph->Disconnect(in));
    CMediaType floatType = MakePcmType(true);
    EXPECT_NE(S_OK, checkOut->Connect(in, &floatType));
    ASSERT_EQ(S_OK, run.graph->ConnectDirect(checkOut, in, nullptr));

    CIPtr<IMediaControl> control;
    ASSERT_EQ(S_OK, control.QueryFrom(run.graph, IID_IMediaControl));
    ASSERT_TRUE(SUCCEEDED(control->Run()));
    EXPECT_EQ(1, WaitForComplete(run.graph, 5000));
    ExpectWholeStream(collector, *run.src);
    control->Stop();
    run.grabber->SetCallback(nullptr);
}

TEST(FilterPair, PinsAndFilterInfo)
{
    testsupport::CComScope com;
    CIPtr<IBaseFilter> checker(new CFrameChecker());
    CIPtr<IPin> pin;
    ASSERT_EQ(S_OK, checker->FindPin(L"In", &pin));
    PIN_INFO info = {};
    ASSERT_EQ(S_OK, pin->QueryPinInfo(&info));
    EXPECT_STREQ(L"Input", info.achName);
    EXPECT_EQ(PINDIR_INPUT, info.dir);
    EXPECT_TRUE(IsSameObject(info.pFilter, checker));
    info.pFilter->Release();
    ASSERT_EQ(S_OK, checker->FindPin(L"Out", &pin));
    EXPECT_EQ(static_cast<HRESULT>(VFW_E_NOT_FOUND), checker->FindPin(L"Other", &pin));

    CIPtr<IBaseFilter> sink(new CRenderer());
    CIPtr<IAMFilterMiscFlags> flags;
    ASSERT_EQ(S_OK, flags.QueryFrom(sink, IID_IAMFilterMiscFlags));
    EXPECT_EQ(static_cast<ULONG>(AM_FILTER_MISC_FLAGS_IS_RENDERER), flags->GetMiscFlags());
    CIPtr<IMediaSeeking> seeking;
    ASSERT_EQ(S_OK, seeking.QueryFrom(sink, IID_IMediaSeeking));
    LONGLONG duration = 0;
    EXPECT_EQ(static_cast<HRESULT>(VFW_E_NOT_CONNECTED), seeking->GetDuration(&duration));
    CIPtr<IBaseFilter> back;
    EXPECT_EQ(S_OK, back.QueryFrom(seeking, IID_IBaseFilter)) << "seeking part answers for its filter";
    CLSID clsid;
    ASSERT_EQ(S_OK, sink->GetClassID(&clsid));
    EXPECT_TRUE(clsid == CLSID_RavelinRenderer);
    FILTER_INFO fi = {};
    ASSERT_EQ(S_OK, sink->QueryFilterInfo(&fi));
    EXPECT_STREQ(L"Renderer-Grabber", fi.achName);
    EXPECT_EQ(nullptr, fi.pGraph);
}

TEST(FilterPair, ConnectsToSystemMp3DecoderWithDurationThroughSink)
{
    testsupport::CComScope com;
    CCollector collector;
    CIPtr<IGraphBuilder> graph = MakeClocklessGraph();
    ASSERT_TRUE(graph);
    CIPtr<IBaseFilter> source;
    std::wstring path = testsupport::TestData(L"tone440_10s.mp3");
    ASSERT_EQ(S_OK, graph->AddSourceFilter(path.c_str(), L"Source", &source));
    CIPtr<IBaseFilter> checker(new CFrameChecker());
    CIPtr<IBaseFilter> sink(new CRenderer());
    CIPtr<IGrabberSample> grabber;
    ASSERT_EQ(S_OK, grabber.QueryFrom(sink, IID_IGrabberSample));
    CMediaType accepted = PcmAcceptedType();
    grabber->SetAcceptedMediaType(&accepted);
    grabber->SetCallback(&collector);
    ASSERT_EQ(S_OK, graph->AddFilter(checker, L"Frame Checker"));
    ASSERT_EQ(S_OK, graph->AddFilter(sink, L"Audio grabber"));
    ASSERT_EQ(S_OK, graph->Connect(FirstPin(source, PINDIR_OUTPUT), FirstPin(sink, PINDIR_INPUT)));

    AM_MEDIA_TYPE mt = {};
    ASSERT_EQ(S_OK, grabber->GetConnectedMediaType(&mt));
    EXPECT_TRUE(mt.subtype == MEDIASUBTYPE_PCM);
    ASSERT_GE(mt.cbFormat, 18u);
    auto* wf = reinterpret_cast<WAVEFORMATEX*>(mt.pbFormat);
    EXPECT_EQ(16, wf->wBitsPerSample);
    EXPECT_EQ(2, wf->nChannels);
    EXPECT_EQ(44100u, wf->nSamplesPerSec);
    FreeMediaType(mt);

    CIPtr<IMediaSeeking> seeking;
    ASSERT_EQ(S_OK, seeking.QueryFrom(graph, IID_IMediaSeeking));
    LONGLONG duration = 0;
    ASSERT_EQ(S_OK, seeking->GetDuration(&duration));
    EXPECT_NEAR(100000000.0, static_cast<double>(duration), 500000.0);

    CIPtr<IMediaControl> control;
    ASSERT_EQ(S_OK, control.QueryFrom(graph, IID_IMediaControl));
    ASSERT_TRUE(SUCCEEDED(control->Run()));
    EXPECT_EQ(1, WaitForComplete(graph, 20000));
    EXPECT_NEAR(441000.0 * 4, static_cast<double>(collector.Size()), 4410.0 * 4);
    control->Stop();
    grabber->SetCallback(nullptr);
}

} // namespace
