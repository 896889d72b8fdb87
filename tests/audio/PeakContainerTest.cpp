// Peaks: counts, values against the samples, listeners, both ways of filling.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <random>
#include <thread>

#include "audio/CreateAudioReader.h"
#include "audio/PeakContainer.h"
#include "audio/WavReader.h"
#include "tests/audio/TestDisplay.h"
#include "tests/audio/WavFile.h"

using namespace wavfile;

namespace {

class PeakContainerTest : public ::testing::Test
{
protected:
    void SetUp() override { m_dir = testsupport::ScratchDir(L"peaks"); }
    std::wstring m_dir;
};

// Waits until the container has its peaks (and its listeners were told).
bool WaitComplete(IPeakContainer* c, CTestDisplay* d = nullptr, int ms = 20000)
{
    for (int i = 0; i < ms / 10; ++i) {
        if (c->IsComplete() && (!d || d->invalidated > 0))
            return true;
        Sleep(10);
    }
    return false;
}

// The peak over [from, to) µs computed straight from the samples.
SPeak Expected(const std::vector<int16_t>& samples, int channels, LONGLONG durationMs, int peakCount,
               int framesPerPeak, LONGLONG from, LONGLONG to)
{
    const LONGLONG d = durationMs * 1000;
    const LONGLONG first = from * peakCount / d;
    LONGLONG last = std::min<LONGLONG>(to * peakCount / d, peakCount);
    SPeak p;
    for (LONGLONG i = first * framesPerPeak * channels; i < last * framesPerPeak * channels; ++i) {
        const auto v = static_cast<int8_t>(samples[i] >> 8);
        p.min = std::min(p.min, v);
        p.max = std::max(p.max, v);
    }
    return p;
}

void CheckAgainstSamples(IPeakContainer* c, const std::vector<int16_t>& samples, int channels,
                         LONGLONG durationMs, int framesPerPeak)
{
    std::mt19937 rng(3);
    const LONGLONG d = durationMs * 1000;
    for (int i = 0; i < 300; ++i) {
        LONGLONG a = std::uniform_int_distribution<LONGLONG>(0, d - 1)(rng);
        LONGLONG b = a + std::uniform_int_distribution<LONGLONG>(0, i % 3 == 0 ? 2000 : d)(rng);
        SPeak got;
        ASSERT_TRUE(c->GetPeak(a, b, &got)) << a << ".." << b;
        const SPeak want = Expected(samples, channels, durationMs, c->GetPeakCount(), framesPerPeak, a, b);
        ASSERT_EQ(want.min, got.min) << a << ".." << b;
        ASSERT_EQ(want.max, got.max) << a << ".." << b;
    }
}

TEST_F(PeakContainerTest, CountsAndOneFrame)
{
    const std::wstring path = Save(m_dir, L"one.wav", Canonical(Format(), Bytes(176400, 0)));
    CIPtr<CWavReader> reader(new CWavReader());
    ASSERT_TRUE(reader->Open(path.c_str()));
    CIPtr<CPeakContainer> c(new CPeakContainer(reader, false));
    EXPECT_EQ(2004, c->GetPeakCount()); // 44100 frames / 22 per peak
    EXPECT_EQ(22, c->GetFramesPerPeak());
    EXPECT_EQ(reader.Get(), c->GetReader());
    EXPECT_FALSE(c->IsComplete());

    // One stereo frame (256, -32768) makes the first peak {-128, 1}.
    const int16_t frame[2] = {256, -32768};
    c->AddSamples(frame, 4);
    SPeak p;
    ASSERT_TRUE(c->GetPeak(0, 500, &p)); // 500 µs: the first peak only
    EXPECT_EQ(-128, p.min);
    EXPECT_EQ(1, p.max);
    // A block that ends in a partial frame: the partial frame is dropped.
    const int16_t loud[3] = {32767, 32767, 32767};
    c->AddSamples(loud, 6);
    c->AddSamples(nullptr, 4);
    c->AddSamples(loud, -4);
    ASSERT_TRUE(c->GetPeak(0, 500, &p));
    EXPECT_EQ(127, p.max);

    // Ranges: before the start or at the end refused; past the end stops at
    // the last peak; a range inside one peak gives {0, 0}.
    EXPECT_FALSE(c->GetPeak(-1, 1000, &p));
    EXPECT_FALSE(c->GetPeak(1000000, 1000001, &p));
    EXPECT_TRUE(c->GetPeak(999000, 5000000, &p));
    EXPECT_TRUE(c->GetPeak(0, 100, &p));
    EXPECT_EQ(0, p.min);
    EXPECT_EQ(0, p.max);
    EXPECT_FALSE(c->GetPeak(LLONG_MAX, LLONG_MAX, &p));
    EXPECT_TRUE(c->GetPeak(0, LLONG_MAX, &p));
}

TEST_F(PeakContainerTest, SourcesWithoutPeaksSayAtOnceThatTheyAreComplete)
{
    // Shorter than a millisecond: no peak to build, nothing to wait for.
    const std::wstring path = Save(m_dir, L"blip.wav", Canonical(Format(), Noise(40)));
    CIPtr<CWavReader> reader(new CWavReader());
    ASSERT_TRUE(reader->Open(path.c_str()));
    CIPtr<CPeakContainer> c(new CPeakContainer(reader, false));
    EXPECT_EQ(0, c->GetPeakCount());
    EXPECT_TRUE(c->IsComplete());
    SPeak p;
    EXPECT_FALSE(c->GetPeak(0, 1000, &p));
    const int16_t s[2] = {1000, 1000};
    c->AddSamples(s, 4);

    CIPtr<CPeakContainer> empty(new CPeakContainer(nullptr, false));
    EXPECT_EQ(0, empty->GetPeakCount());
    EXPECT_FALSE(empty->GetPeak(0, 1000, &p));
    EXPECT_TRUE(empty->StartBuild());
    EXPECT_TRUE(empty->IsComplete());
}

TEST_F(PeakContainerTest, EightBitSourceHasNoPeaksAndSaysSoAtOnce)
{
    Format mono8;
    mono8.bits = 8; mono8.channels = 1; mono8.rate = 22050;
    const std::wstring path = Save(m_dir, L"eight.wav", Canonical(mono8, Noise(67579, 8)));
    for (bool cache : {false, true}) {
        CIPtr<IAudioReader> reader;
        ASSERT_TRUE(CreateAudioReader(path.c_str(), &reader, cache));
        CIPtr<IPeakContainer> c;
        ASSERT_TRUE(reader->GetPeakContainer(&c));
        EXPECT_TRUE(c->IsComplete()) << "cache " << cache << ": never \"still building\"";
        EXPECT_EQ(0, c->GetPeakCount());
        reader->Abort();
    }
}

TEST_F(PeakContainerTest, EveryAcceptedRateGetsPeaks)
{
    // 1000 to 1999 Hz give fewer frames than two per millisecond: one frame
    // per peak then, plain and cached.
    for (uint32_t rate : {1000u, 1500u, 1999u}) {
        Format f;
        f.rate = rate;
        const Bytes data = Noise(rate * 4 * 2, rate); // two seconds
        const std::wstring path = Save(m_dir, L"rate" + std::to_wstring(rate) + L".wav", Canonical(f, data));
        std::vector<int16_t> samples(data.size() / 2);
        std::memcpy(samples.data(), data.data(), data.size());
        for (bool cache : {false, true}) {
            CIPtr<IAudioReader> reader;
            ASSERT_TRUE(CreateAudioReader(path.c_str(), &reader, cache));
            CIPtr<IPeakContainer> c;
            ASSERT_TRUE(reader->GetPeakContainer(&c));
            EXPECT_EQ(static_cast<int>(rate * 2), c->GetPeakCount()) << rate;
            ASSERT_TRUE(WaitComplete(c)) << rate << " cache " << cache;
            CheckAgainstSamples(c, samples, 2, reader->GetDuration(), 1);
            reader->Abort();
        }
    }
}

TEST_F(PeakContainerTest, BuilderThreadMatchesSamplesAndTellsListeners)
{
    const Bytes data = Noise(3 * 176400 + 100, 99);
    const std::wstring path = Save(m_dir, L"noise.wav", Canonical(Format(), data));
    std::vector<int16_t> samples(data.size() / 2);
    std::memcpy(samples.data(), data.data(), samples.size() * 2);

    CIPtr<IAudioReader> reader;
    ASSERT_TRUE(CreateAudioReader(path.c_str(), &reader, false));
    CIPtr<CTestDisplay> display(new CTestDisplay());
    CIPtr<IPeakContainer> c;
    ASSERT_TRUE(reader->GetPeakContainer(&c));
    EXPECT_EQ(0, c->AddListener(display));
    EXPECT_EQ(0, c->AddListener(display)); // the same object once
    EXPECT_EQ(-1, c->AddListener(nullptr));
    ASSERT_TRUE(WaitComplete(c));
    CIPtr<IPeakContainer> again;
    ASSERT_TRUE(reader->GetPeakContainer(&again));
    EXPECT_EQ(c.Get(), again.Get());
    CheckAgainstSamples(c, samples, 2, reader->GetDuration(), 22);

    reader->Abort(); // drops the reader's container: the next request makes a new one
    CIPtr<IPeakContainer> fresh;
    ASSERT_TRUE(reader->GetPeakContainer(&fresh));
    EXPECT_NE(c.Get(), fresh.Get());
    fresh->StopAndWait();
    EXPECT_TRUE(c->RemoveListener(display));
    EXPECT_FALSE(c->RemoveListener(display));
    EXPECT_EQ(1, display->Refs());
    reader->Abort();
}

TEST_F(PeakContainerTest, ListenerIsToldWhenTheBuildEnds)
{
    const Bytes data = Noise(10 * 176400, 5);
    const std::wstring path = Save(m_dir, L"ten.wav", Canonical(Format(), data));
    CIPtr<CWavReader> reader(new CWavReader());
    ASSERT_TRUE(reader->Open(path.c_str()));
    // Made directly, so the listener is in place before the build starts.
    CIPtr<CPeakContainer> c(new CPeakContainer(reader, true));
    CIPtr<CTestDisplay> display(new CTestDisplay());
    CIPtr<CTestDisplay> removed(new CTestDisplay());
    c->AddListener(display);
    c->AddListener(removed);
    EXPECT_TRUE(c->RemoveListener(removed));
    ASSERT_TRUE(c->StartBuild());
    ASSERT_TRUE(WaitComplete(c, display));
    for (int i = 0; i < 100 && display->invalidated == 0; ++i)
        Sleep(10);
    EXPECT_EQ(1, display->invalidated);
    EXPECT_EQ(0, removed->invalidated);
    EXPECT_EQ(c->GetPeakCount(), c->GetCurrentIndex());
    c->StopAndWait();
}

TEST_F(PeakContainerTest, ListenersMayComeAndGoWhileBuildsEnd)
{
    const std::wstring path = Save(m_dir, L"short.wav", Canonical(Format(), Noise(17640, 9)));
    CIPtr<CTestDisplay> displays[4] = {new CTestDisplay(), new CTestDisplay(), new CTestDisplay(),
                                       new CTestDisplay()};
    for (int round = 0; round < 40; ++round) {
        CIPtr<CWavReader> reader(new CWavReader());
        ASSERT_TRUE(reader->Open(path.c_str()));
        CIPtr<CPeakContainer> c(new CPeakContainer(reader, true));
        std::atomic<bool> done{false};
        std::thread ui([&] {
            for (int i = 0; !done; ++i) {
                IDisplay* d = displays[i % 4];
                if (i % 3 == 2)
                    c->RemoveListener(d);
                else
                    c->AddListener(d);
            }
        });
        ASSERT_TRUE(c->StartBuild());
        ASSERT_TRUE(WaitComplete(c));
        Sleep(2);          // the builder tells its listeners meanwhile
        c->StopAndWait();  // joins the builder
        done = true;
        ui.join();
        for (auto& d : displays)
            c->RemoveListener(d);
    }
    int told = 0;
    for (auto& d : displays) {
        EXPECT_EQ(1, d->Refs()); // every reference the containers took was given back
        told += d->invalidated;
    }
    EXPECT_GT(told, 0);
}

TEST_F(PeakContainerTest, CacheLoaderFillsThePeaks)
{
    const Bytes data = Noise(4 * 176400, 17);
    const std::wstring path = Save(m_dir, L"cached.wav", Canonical(Format(), data));
    std::vector<int16_t> samples(data.size() / 2);
    std::memcpy(samples.data(), data.data(), data.size());

    CIPtr<IAudioReader> reader;
    ASSERT_TRUE(CreateAudioReader(path.c_str(), &reader, true));
    CIPtr<IPeakContainer> c;
    ASSERT_TRUE(reader->GetPeakContainer(&c));
    ASSERT_TRUE(WaitComplete(c));
    EXPECT_TRUE(reader->IsReady());
    CheckAgainstSamples(c, samples, 2, reader->GetDuration(), 22);
    reader->Abort();
}

} // namespace
