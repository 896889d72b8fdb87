// Peaks: counts, values against the samples, listeners, both ways of filling.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <random>
#include <thread>

#include "audio/PeakContainer.h"
#include "audio/WavReader.h"
#include "tests/audio/ReaderKit.h"
#include "tests/audio/TestDisplay.h"

using namespace readerkit;

namespace {

class PeakContainerTest : public ::testing::Test
{
protected:
    void SetUp() override { m_dir = testsupport::ScratchDir(L"peaks"); }

    // A container made directly on a plain reader of the file.
    CIPtr<CPeakContainer> Direct(const std::wstring& path, bool buildOnThread)
    {
        CIPtr<CWavReader> reader(new CWavReader());
        return reader->Open(path.c_str()) ? new CPeakContainer(reader, buildOnThread) : nullptr;
    }

    std::wstring m_dir;
};

// Random ranges of the container against the peaks computed straight from
// the 16-bit stereo samples: the extremes of each peak's frames, scaled.
void CheckAgainstSamples(IPeakContainer* c, const Bytes& data, LONGLONG durationMs, int framesPerPeak)
{
    std::mt19937 rng(3);
    const LONGLONG d = durationMs * 1000;
    const LONGLONG count = c->GetPeakCount();
    for (int i = 0; i < 300; ++i) {
        const LONGLONG a = std::uniform_int_distribution<LONGLONG>(0, d - 1)(rng);
        const LONGLONG b = a + std::uniform_int_distribution<LONGLONG>(0, i % 3 == 0 ? 2000 : d)(rng);
        SPeak got, want;
        ASSERT_TRUE(c->GetPeak(a, b, &got)) << a << ".." << b;
        const LONGLONG last = std::min(b * count / d, count) * framesPerPeak * 4;
        for (LONGLONG at = a * count / d * framesPerPeak * 4; at < last; at += 2) {
            const auto v = static_cast<int8_t>(Sample(&data[at]) >> 8);
            want.min = std::min(want.min, v);
            want.max = std::max(want.max, v);
        }
        ASSERT_EQ(want.min, got.min) << a << ".." << b;
        ASSERT_EQ(want.max, got.max) << a << ".." << b;
    }
}

TEST_F(PeakContainerTest, CountsAndOneFrame)
{
    CIPtr<CPeakContainer> c = Direct(Save(m_dir, L"one.wav", Canonical(Format(), Bytes(176400, 0))), false);
    ASSERT_TRUE(c);
    EXPECT_EQ(2004, c->GetPeakCount()); // 44100 frames / 22 per peak
    EXPECT_EQ(22, c->GetFramesPerPeak());
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
    // Shorter than a millisecond, and 8-bit: no peak to build, nothing to
    // wait for, plain or cached; never "still building".
    SPeak p;
    for (const std::wstring& path : {Save(m_dir, L"blip.wav", Canonical(Format(), Noise(40))),
                                     Save(m_dir, L"eight.wav", Canonical({1, 1, 22050, 8}, Noise(67579, 8)))})
        for (bool cache : {false, true}) {
            CIPtr<IAudioReader> reader = Open(path, cache);
            ASSERT_TRUE(reader);
            CIPtr<IPeakContainer> c;
            ASSERT_TRUE(reader->GetPeakContainer(&c));
            EXPECT_TRUE(c->IsComplete()) << "cache " << cache;
            EXPECT_EQ(0, c->GetPeakCount());
            EXPECT_FALSE(c->GetPeak(0, 1000, &p));
            const int16_t s[2] = {1000, 1000};
            c->AddSamples(s, 4);
            reader->Abort();
        }
    CIPtr<CPeakContainer> empty(new CPeakContainer(nullptr, false));
    EXPECT_EQ(0, empty->GetPeakCount());
    EXPECT_FALSE(empty->GetPeak(0, 1000, &p));
    EXPECT_TRUE(empty->StartBuild());
    EXPECT_TRUE(empty->IsComplete());
}

TEST_F(PeakContainerTest, EveryAcceptedRateGetsPeaksMatchingTheSamples)
{
    // 1000 to 1999 Hz give fewer frames than two per millisecond: one frame
    // per peak then. Built by the reader's thread, or filled by the cache
    // loader.
    const struct
    {
        uint32_t rate;
        LONGLONG frames;
        int framesPerPeak;
    } cases[] = {{1000, 2000, 1}, {1500, 3000, 1}, {1999, 3998, 1}, {44100, 3 * 44100 + 25, 22}};
    for (const auto& k : cases) {
        const Bytes data = Noise(static_cast<size_t>(k.frames * 4), k.rate);
        const std::wstring path =
            Save(m_dir, L"rate" + std::to_wstring(k.rate) + L".wav", Canonical({1, 2, k.rate, 16}, data));
        for (bool cache : {false, true}) {
            CIPtr<IAudioReader> reader = Open(path, cache);
            ASSERT_TRUE(reader);
            CIPtr<IPeakContainer> c, again;
            ASSERT_TRUE(reader->GetPeakContainer(&c));
            ASSERT_TRUE(reader->GetPeakContainer(&again));
            EXPECT_EQ(c.Get(), again.Get()) << "one container per reader";
            EXPECT_EQ(k.frames / k.framesPerPeak, c->GetPeakCount()) << k.rate;
            ASSERT_TRUE(WaitComplete(c)) << k.rate << " cache " << cache;
            CheckAgainstSamples(c, data, reader->GetDuration(), k.framesPerPeak);
            reader->Abort();
        }
    }
}

TEST_F(PeakContainerTest, ListenersAreToldOnceWhenTheBuildEnds)
{
    // Made directly, so the listeners are in place before the build starts.
    CIPtr<CPeakContainer> c = Direct(Save(m_dir, L"ten.wav", Canonical(Format(), Noise(10 * 176400, 5))), true);
    ASSERT_TRUE(c);
    CIPtr<CTestDisplay> display(new CTestDisplay()), removed(new CTestDisplay());
    EXPECT_EQ(0, c->AddListener(display));
    EXPECT_EQ(0, c->AddListener(display)); // the same object once
    EXPECT_EQ(-1, c->AddListener(nullptr));
    c->AddListener(removed);
    EXPECT_TRUE(c->RemoveListener(removed));
    EXPECT_FALSE(c->RemoveListener(removed));
    ASSERT_TRUE(c->StartBuild());
    ASSERT_TRUE(WaitComplete(c));
    WaitFor([&] { return display->invalidated > 0; }, 1000);
    EXPECT_EQ(1, display->invalidated);
    EXPECT_EQ(0, removed->invalidated);
    EXPECT_EQ(c->GetPeakCount(), c->GetCurrentIndex());
    c->StopAndWait();
    EXPECT_TRUE(c->RemoveListener(display));
    EXPECT_EQ(1, display->Refs());
    EXPECT_EQ(1, removed->Refs());
}

TEST_F(PeakContainerTest, ListenersMayComeAndGoWhileBuildsEnd)
{
    const std::wstring path = Save(m_dir, L"short.wav", Canonical(Format(), Noise(17640, 9)));
    CIPtr<CTestDisplay> displays[4] = {new CTestDisplay(), new CTestDisplay(), new CTestDisplay(), new CTestDisplay()};
    for (int round = 0; round < 40; ++round) {
        CIPtr<CPeakContainer> c = Direct(path, true);
        ASSERT_TRUE(c);
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
        Sleep(2);         // the builder tells its listeners meanwhile
        c->StopAndWait(); // joins the builder
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

} // namespace
