// The decoders under the audio engine: DirectShow (system decoders),
// libvorbisfile and SoundTouch's time-stretch stage.
#include <gtest/gtest.h>
#include <windows.h>
#include <dshow.h>

#include <soundtouch/TDStretch.h>
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <memory>
#include <vector>

#include "tests/support/TestSupport.h"

namespace {

TEST(DirectShow, OpensGeneratedMp3WithTenSecondDuration)
{
    ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
    IGraphBuilder* graph = nullptr;
    ASSERT_EQ(S_OK, CoCreateInstance(CLSID_FilterGraph, nullptr, CLSCTX_INPROC_SERVER, IID_IGraphBuilder,
                                     reinterpret_cast<void**>(&graph)));
    IMediaFilter* mf = nullptr;
    ASSERT_EQ(S_OK, graph->QueryInterface(IID_IMediaFilter, reinterpret_cast<void**>(&mf)));
    mf->SetSyncSource(nullptr);
    mf->Release();
    std::wstring path = testsupport::TestData(L"tone440_10s.mp3");
    ASSERT_EQ(S_OK, graph->RenderFile(path.c_str(), nullptr)) << "no decoder for MP3";
    IMediaSeeking* seeking = nullptr;
    ASSERT_EQ(S_OK, graph->QueryInterface(IID_IMediaSeeking, reinterpret_cast<void**>(&seeking)));
    LONGLONG duration = 0;
    EXPECT_EQ(S_OK, seeking->GetDuration(&duration));
    EXPECT_NEAR(100000000.0, static_cast<double>(duration), 500000.0); // within 50 ms
    seeking->Release();
    graph->Release();
    CoUninitialize();
}

// Period of the dominant tone from upward zero crossings of the left channel.
double ZeroCrossingFrequency(const std::vector<short>& pcm, int channels, int rate)
{
    int first = -1, last = -1, count = 0;
    for (size_t i = 1; i < pcm.size() / channels; ++i) {
        if (pcm[(i - 1) * channels] < 0 && pcm[i * channels] >= 0) {
            if (first < 0)
                first = static_cast<int>(i);
            last = static_cast<int>(i);
            ++count;
        }
    }
    if (count < 2)
        return 0;
    return (count - 1) * static_cast<double>(rate) / (last - first);
}

TEST(SoundTouch, StretchAtPointEightKeepsPitch)
{
    const int rate = 44100, channels = 2;
    std::vector<short> in(rate * channels);
    for (int i = 0; i < rate; ++i)
        in[2 * i] = in[2 * i + 1] = static_cast<short>(10000 * std::sin(2 * M_PI * 440.0 * i / rate));

    std::unique_ptr<soundtouch::TDStretch> stretch(soundtouch::TDStretch::newInstance());
    stretch->setParameters(rate, 82, 14, 12);
    stretch->setChannels(channels);
    stretch->setTempo(0.8);
    stretch->putSamples(in.data(), rate);
    // Silence pushes the held-back tail out; count output for 1 s of input.
    std::vector<short> zeros(rate * channels);
    stretch->putSamples(zeros.data(), rate);
    std::vector<short> out;
    std::vector<short> buf(4096 * channels);
    for (;;) {
        unsigned got = stretch->receiveSamples(buf.data(), 4096);
        if (got == 0)
            break;
        out.insert(out.end(), buf.begin(), buf.begin() + got * channels);
    }
    // Output that carries the tone (amplitude well above zero) is the stretched second.
    size_t toneFrames = 0;
    for (size_t i = 0; i < out.size() / channels; ++i)
        if (std::abs(out[i * channels]) > 200)
            toneFrames = i + 1;
    EXPECT_NEAR(1.25 * rate, static_cast<double>(toneFrames), 0.02 * 1.25 * rate);
    std::vector<short> tone(out.begin(), out.begin() + toneFrames * channels);
    EXPECT_NEAR(440.0, ZeroCrossingFrequency(tone, channels, rate), 5.0);
}

TEST(Vorbis, DecodesGeneratedFileToRightFrameCount)
{
    std::wstring path = testsupport::TestData(L"tone440_10s.ogg");
    FILE* f = _wfopen(path.c_str(), L"rb");
    ASSERT_NE(nullptr, f);
    OggVorbis_File vf;
    ASSERT_EQ(0, ov_open(f, &vf, nullptr, 0)); // vf owns f from here on
    vorbis_info* info = ov_info(&vf, -1);
    EXPECT_EQ(44100, info->rate);
    EXPECT_EQ(2, info->channels);
    EXPECT_EQ(441000, ov_pcm_total(&vf, -1));
    std::vector<char> buf(16384);
    long long bytes = 0;
    int section = 0;
    for (;;) {
        long n = ov_read(&vf, buf.data(), static_cast<int>(buf.size()), 0, 2, 1, &section);
        if (n <= 0)
            break;
        bytes += n;
    }
    EXPECT_EQ(441000LL * 4, bytes);
    ov_clear(&vf);
}

} // namespace
