// The sink and pass-through filters on our own base classes, in Wine's real
// filter graph (quartz): with a test source of known bytes, and with the
// system's MP3 decoder.
#include <gtest/gtest.h>
#include <windows.h>
#include <dshow.h>
#include <mmreg.h>

#include <vector>

#include "audio/FrameChecker.h"
#include "audio/Renderer.h"
#include "platform/dshow/TransInPlaceFilter.h"
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

// Source -> (a pass-through filter) -> Renderer in Wine's graph, with every
// rendered byte collected.
class FilterGraph : public ::testing::Test
{
protected:
    void TearDown() override
    {
        if (grabber)
            grabber->SetCallback(nullptr);
    }

    // Connects the three directly (`middle` null: source to sink through
    // whatever the graph inserts).
    void Build(bool floatFirst, IBaseFilter* middle)
    {
        graph = MakeClocklessGraph();
        ASSERT_TRUE(graph);
        src = new CTestSource(40, 4096, floatFirst);
        source = src;
        checker = middle;
        sink = new CRenderer();
        ASSERT_EQ(S_OK, grabber.QueryFrom(sink, IID_IGrabberSample));
        CMediaType accepted = PcmAcceptedType();
        grabber->SetAcceptedMediaType(&accepted);
        grabber->SetCallback(&collector);
        ASSERT_EQ(S_OK, graph->AddFilter(source, L"Source"));
        ASSERT_EQ(S_OK, graph->AddFilter(sink, L"Audio grabber"));
        CIPtr<IPin> out = FirstPin(source, PINDIR_OUTPUT);
        CIPtr<IPin> in = FirstPin(sink, PINDIR_INPUT);
        if (!middle) {
            ASSERT_EQ(S_OK, graph->Connect(out, in));
            return;
        }
        ASSERT_EQ(S_OK, graph->AddFilter(middle, L"Middle"));
        ASSERT_EQ(S_OK, graph->ConnectDirect(out, FirstPin(middle, PINDIR_INPUT), nullptr));
        ASSERT_EQ(S_OK, graph->ConnectDirect(FirstPin(middle, PINDIR_OUTPUT), in, nullptr));
    }
    void BuildThroughChecker() { Build(false, CIPtr<IBaseFilter>(new CFrameChecker())); }

    // Runs the graph to its end and checks that every byte arrived in order.
    void RunAndExpectWholeStream()
    {
        CIPtr<IMediaControl> control;
        ASSERT_EQ(S_OK, control.QueryFrom(graph, IID_IMediaControl));
        ASSERT_TRUE(SUCCEEDED(control->Run()));
        EXPECT_EQ(1, WaitForComplete(graph, 5000)) << "one EC_COMPLETE per run";
        ExpectWholeStream();
        EXPECT_TRUE(SUCCEEDED(control->Stop()));
    }

    void ExpectWholeStream()
    {
        std::vector<BYTE> bytes = collector.Bytes();
        ASSERT_EQ(static_cast<size_t>(src->TotalBytes()), bytes.size());
        for (size_t i = 0; i < bytes.size(); ++i)
            if (bytes[i] != CTestSource::ByteAt(static_cast<long long>(i)))
                FAIL() << "byte " << i << " differs";
        std::vector<REFERENCE_TIME> starts = collector.Starts();
        ASSERT_FALSE(starts.empty());
        EXPECT_EQ(CTestSource::kSegmentStart, starts.front()) << "segment start added to the sample time";
    }

    testsupport::CComScope com;
    CCollector collector;
    CIPtr<IGraphBuilder> graph;
    CIPtr<IBaseFilter> source, checker, sink;
    CIPtr<IGrabberSample> grabber;
    CTestSource* src = nullptr;
};

TEST_F(FilterGraph, PassesEveryByteAndCompletesInWineGraph)
{
    ASSERT_NO_FATAL_FAILURE(BuildThroughChecker());
    AM_MEDIA_TYPE mt = {};
    ASSERT_EQ(S_OK, grabber->GetConnectedMediaType(&mt));
    EXPECT_TRUE(CMediaType(mt) == MakePcmType(false));
    FreeMediaType(mt);
    RunAndExpectWholeStream();
}

TEST_F(FilterGraph, EndOfStreamWhilePausedCompletesAtRun)
{
    ASSERT_NO_FATAL_FAILURE(BuildThroughChecker());
    CIPtr<IMediaControl> control;
    ASSERT_EQ(S_OK, control.QueryFrom(graph, IID_IMediaControl));
    ASSERT_TRUE(SUCCEEDED(control->Pause()));
    // The source streams while paused; the clockless renderer takes it all.
    for (int i = 0; i < 500 && collector.Size() < static_cast<size_t>(src->TotalBytes()); ++i)
        Sleep(10);
    Sleep(100);
    EXPECT_EQ(0, WaitForComplete(graph, 200)) << "no EC_COMPLETE before running";
    ASSERT_TRUE(SUCCEEDED(control->Run()));
    EXPECT_EQ(1, WaitForComplete(graph, 3000));
    ExpectWholeStream();
    control->Stop();
}

TEST_F(FilterGraph, SinkTakesSixteenBitWhenFloatIsOfferedFirst)
{
    ASSERT_NO_FATAL_FAILURE(Build(true, nullptr));
    AM_MEDIA_TYPE mt = {};
    ASSERT_EQ(S_OK, grabber->GetConnectedMediaType(&mt));
    EXPECT_TRUE(mt.subtype == MEDIASUBTYPE_PCM);
    ASSERT_EQ(sizeof(WAVEFORMATEX), mt.cbFormat);
    EXPECT_EQ(16, reinterpret_cast<WAVEFORMATEX*>(mt.pbFormat)->wBitsPerSample);
    FreeMediaType(mt);
}

TEST_F(FilterGraph, RepeatedConnectAndDisconnectThenStreams)
{
    ASSERT_NO_FATAL_FAILURE(BuildThroughChecker());
    CIPtr<IPin> out = FirstPin(source, PINDIR_OUTPUT);
    CIPtr<IPin> checkIn = FirstPin(checker, PINDIR_INPUT);
    CIPtr<IPin> checkOut = FirstPin(checker, PINDIR_OUTPUT);
    CIPtr<IPin> in = FirstPin(sink, PINDIR_INPUT);
    for (int i = 0; i < 20; ++i) {
        ASSERT_EQ(S_OK, graph->Disconnect(checkOut));
        ASSERT_EQ(S_OK, graph->Disconnect(in));
        ASSERT_EQ(S_OK, graph->Disconnect(out));
        ASSERT_EQ(S_OK, graph->Disconnect(checkIn));
        EXPECT_EQ(S_FALSE, checkIn->Disconnect());
        ASSERT_EQ(S_OK, graph->ConnectDirect(out, checkIn, nullptr));
        ASSERT_EQ(S_OK, graph->ConnectDirect(checkOut, in, nullptr));
    }
    // The in-place output only takes its input's type.
    ASSERT_EQ(S_OK, graph->Disconnect(checkOut));
    ASSERT_EQ(S_OK, graph->Disconnect(in));
    CMediaType floatType = MakePcmType(true);
    EXPECT_NE(S_OK, checkOut->Connect(in, &floatType));
    ASSERT_EQ(S_OK, graph->ConnectDirect(checkOut, in, nullptr));
    RunAndExpectWholeStream();
}

// Pass-through filters whose transform throws: the sample they were working
// on must still go back to its allocator.
struct SThrown
{};

class CThrowingCopy : public CTransformFilter
{
public:
    CThrowingCopy() : CTransformFilter(L"Throwing copy", GUID_NULL) {}
    HRESULT CheckInputType(const CMediaType*) override { return S_OK; }
    HRESULT CheckTransform(const CMediaType*, const CMediaType*) override { return S_OK; }
    HRESULT GetMediaType(int index, CMediaType* mt) override
    {
        if (index > 0)
            return VFW_S_NO_MORE_ITEMS;
        return mt->Set(InputPin()->CurrentMediaType());
    }
    HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES*) override
    {
        ALLOCATOR_PROPERTIES want = {1, 64 * 1024, 1, 0}, actual = {};
        return allocator->SetProperties(&want, &actual);
    }
    HRESULT Transform(IMediaSample*, IMediaSample*) override { throw SThrown(); }
};

class CThrowingInPlace : public CTransInPlaceFilter
{
public:
    CThrowingInPlace() : CTransInPlaceFilter(L"Throwing in place", GUID_NULL, false) {}
    HRESULT CheckInputType(const CMediaType*) override { return S_OK; }
    HRESULT Transform(IMediaSample*) override { throw SThrown(); }
};

// A committed allocator of one buffer, and its buffer.
CIPtr<IMemAllocator> OneBufferAllocator()
{
    CIPtr<IMemAllocator> allocator;
    if (FAILED(CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_IMemAllocator,
                                reinterpret_cast<void**>(&allocator))))
        return nullptr;
    ALLOCATOR_PROPERTIES want = {1, 4096, 1, 0}, got = {};
    if (FAILED(allocator->SetProperties(&want, &got)) || FAILED(allocator->Commit()))
        return nullptr;
    return allocator;
}

bool HasFreeBuffer(IMemAllocator* allocator)
{
    CIPtr<IMediaSample> sample;
    return allocator->GetBuffer(&sample, nullptr, nullptr, AM_GBF_NOWAIT) == S_OK;
}

// Pauses the middle filter and the sink (not the source, which would stream),
// hands the middle's input pin one sample of a one-buffer allocator, and
// checks both that allocator and the middle's output allocator get their
// buffers back after the throw.
void ExpectThrowLetsSamplesGo(CTransformFilter* middle, IBaseFilter* sink)
{
    ASSERT_EQ(S_OK, sink->Pause());
    ASSERT_EQ(S_OK, middle->Pause());
    CIPtr<IMemAllocator> mine = OneBufferAllocator();
    ASSERT_TRUE(mine);
    CIPtr<IMediaSample> sample;
    ASSERT_EQ(S_OK, mine->GetBuffer(&sample, nullptr, nullptr, 0));
    sample->SetActualDataLength(16);
    CIPtr<IMemInputPin> input;
    ASSERT_EQ(S_OK, input.QueryFrom(static_cast<IPin*>(middle->InputPin()), IID_IMemInputPin));
    EXPECT_THROW(input->Receive(sample), SThrown);
    sample = nullptr;
    EXPECT_TRUE(HasFreeBuffer(mine)) << "the received sample was kept";
    IMemAllocator* out = middle->OutputPin()->Allocator();
    ASSERT_TRUE(out);
    EXPECT_TRUE(HasFreeBuffer(out)) << "the output buffer was kept";
    middle->Stop();
    sink->Stop();
    mine->Decommit();
}

TEST_F(FilterGraph, TransformThatThrowsLetsItsBuffersGo)
{
    auto* copy = new CThrowingCopy();
    ASSERT_NO_FATAL_FAILURE(Build(false, CIPtr<IBaseFilter>(copy)));
    ExpectThrowLetsSamplesGo(copy, sink);
}

TEST_F(FilterGraph, InPlaceTransformThatThrowsLetsTheSampleGo)
{
    auto* inPlace = new CThrowingInPlace();
    ASSERT_NO_FATAL_FAILURE(Build(false, CIPtr<IBaseFilter>(inPlace)));
    ExpectThrowLetsSamplesGo(inPlace, sink);
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
