// The reader contract (audio/IAudioReader.h), one table of cases run against
// every reader the factory makes, plain and through the whole-file cache.
// The files are noise, so that data read from a wrong frame cannot pass for
// the right one.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "tests/audio/ReaderKit.h"

namespace {

struct SReaderCase
{
    const char* name;
    const wchar_t* file;   // generated test data, or a copy under `as`
    const wchar_t* as;     // another name for it (another reader), or null
};

// One frame longer than 10 s: a length that is no whole number of 100-ns
// units. Each reader runs plain and through the cache.
const SReaderCase kReaders[] = {
    {"Wav", L"noise_441001.wav", nullptr},
    {"Ogg", L"noise_441001.ogg", nullptr},
    {"Mp3", L"noise_441001.mp3", nullptr},
    // Vorbis through the system's decoders (any other extension).
    {"VorbisDirectShow", L"noise_441001.ogg", L"noise_441001.oga"},
};
using Param = std::tuple<SReaderCase, bool>;

// Seek targets: most frames of 44100 Hz fall between two 100-ns units.
const LONGLONG kTargets[] = {1, 2, 44117, 220501, 300001, 400000};

class ReaderContract : public ::testing::TestWithParam<Param>
{
protected:
    void SetUp() override
    {
        const SReaderCase& c = std::get<0>(GetParam());
        m_path = c.as ? readerkit::CopyAs(c.file, L"contract", c.as) : testsupport::TestData(c.file);
        m_reader = readerkit::OpenStarted(m_path, std::get<1>(GetParam()));
        ASSERT_TRUE(m_reader) << "cannot open and start";
        m_align = m_reader->GetFormat()->GetBlockAlign();
        ASSERT_GT(m_align, 0);
    }
    void TearDown() override
    {
        if (m_reader) {
            readerkit::Stop(m_reader);
            m_reader->Abort();
        }
    }

    // Samples of two reads of kFrames frames that differ, compared past the
    // first 1024 frames: a decoder that restarts may shape its very first
    // samples differently, and a float decoder may round a sample by a step
    // or two; never move a frame, which on noise changes nearly every sample.
    int SamplesOff(const uint8_t* a, const uint8_t* b) const
    {
        int off = 0;
        for (size_t i = 1024 * m_align; i + 1 < static_cast<size_t>(kFrames * m_align); i += 2)
            off += std::abs(readerkit::Sample(a + i) - readerkit::Sample(b + i)) > 2;
        return off;
    }

    static const int kFrames = 4096;
    std::wstring m_path;
    testsupport::CComScope m_com;
    CIPtr<IAudioReader> m_reader;
    int m_align = 0;
};

TEST_P(ReaderContract, ReadsWholeFramesOnlyAndSeeksWithinTheLength)
{
    const LONGLONG frames = m_reader->GetFrameCount();
    std::vector<uint8_t> buf(4 * m_align);
    DWORD got = 123;
    EXPECT_FALSE(m_reader->Read(buf.data(), m_align - 1, &got)) << "less than one frame";
    EXPECT_EQ(0, m_reader->GetPosition());
    ASSERT_TRUE(m_reader->Read(buf.data(), 2 * m_align + 3, &got));
    EXPECT_EQ(static_cast<DWORD>(2 * m_align), got);
    EXPECT_EQ(2, m_reader->GetPosition());
    for (LONGLONG refused : {-1LL, frames, frames + 10})
        EXPECT_FALSE(m_reader->Seek(refused)) << refused;
    ASSERT_TRUE(m_reader->Seek(frames - 1));
    ASSERT_TRUE(m_reader->Read(buf.data(), 4 * m_align, &got));
    EXPECT_EQ(static_cast<DWORD>(m_align), got) << "the last frame only";
    EXPECT_FALSE(m_reader->Read(buf.data(), 4 * m_align, &got));
}

TEST_P(ReaderContract, DeliversExactlyTheAnnouncedLength)
{
    // 441001 frames last 100000226.7 units: a stream may announce 100000226.
    const LONGLONG frames = m_reader->GetFrameCount();
    EXPECT_EQ(441001, frames) << "the source's own length";
    const readerkit::Bytes all = readerkit::ReadAll(m_reader, 10007); // odd requests
    ASSERT_EQ(static_cast<size_t>(frames * m_align), all.size());
    // The last frames are decoded noise, not silence made up to the length.
    EXPECT_GT(readerkit::LoudSamples(all.data() + all.size() - 400, 400), 100);
    EXPECT_EQ(frames, m_reader->GetPosition());
    EXPECT_EQ(frames * m_align, m_reader->GetDataSize());
    uint8_t buf[16];
    DWORD got = 0;
    EXPECT_FALSE(m_reader->Read(buf, sizeof buf, &got)) << "nothing after the announced end";
}

TEST_P(ReaderContract, SeeksLandOnExactlyTheFrameAsked)
{
    const readerkit::Bytes all = readerkit::ReadAll(m_reader);
    const DWORD kBytes = kFrames * m_align;
    std::vector<uint8_t> buf(kBytes);
    for (LONGLONG target : kTargets) {
        ASSERT_TRUE(m_reader->Seek(target)) << target;
        EXPECT_EQ(target, m_reader->GetPosition());
        DWORD got = 0;
        ASSERT_TRUE(m_reader->Read(buf.data(), kBytes, &got)) << target;
        ASSERT_EQ(kBytes, got);
        ASSERT_LE(static_cast<size_t>(target * m_align + kBytes), all.size());
        EXPECT_EQ(0, SamplesOff(buf.data(), all.data() + target * m_align)) << "after a seek to " << target;
    }
}

TEST_P(ReaderContract, StartsOverFromTheFirstFrame)
{
    const DWORD kBytes = kFrames * m_align;
    std::vector<uint8_t> first(kBytes), again(kBytes);
    DWORD got = 0;
    ASSERT_TRUE(m_reader->Read(first.data(), kBytes, &got));
    ASSERT_TRUE(m_reader->Seek(400000));
    ASSERT_TRUE(m_reader->Read(again.data(), kBytes, &got));
    ASSERT_TRUE(readerkit::Stop(m_reader));
    ASSERT_TRUE(readerkit::Start(m_reader));
    EXPECT_EQ(0, m_reader->GetPosition());
    ASSERT_TRUE(m_reader->Read(again.data(), kBytes, &got));
    ASSERT_EQ(kBytes, got);
    EXPECT_EQ(0, SamplesOff(first.data(), again.data())) << "stale data after a new start";
}

TEST_P(ReaderContract, PeaksEndComplete)
{
    // A reader of its own, as the application holds one per file.
    CIPtr<IAudioReader> r = readerkit::Open(m_path, std::get<1>(GetParam()));
    ASSERT_TRUE(r);
    CIPtr<IPeakContainer> peaks;
    ASSERT_TRUE(r->GetPeakContainer(&peaks));
    ASSERT_TRUE(readerkit::WaitComplete(peaks)) << "index " << peaks->GetCurrentIndex();
    EXPECT_GT(peaks->GetPeakCount(), 0);
    EXPECT_GE(peaks->GetCurrentIndex(), peaks->GetPeakCount() - 1);
    SPeak p;
    ASSERT_TRUE(peaks->GetPeak(0, r->GetDuration() * 1000, &p));
    EXPECT_LT(p.min, -32) << "noise at half volume";
    EXPECT_GT(p.max, 32);
    r->Abort();
}

INSTANTIATE_TEST_SUITE_P(EveryReader, ReaderContract, ::testing::Combine(::testing::ValuesIn(kReaders), ::testing::Bool()),
                         [](const ::testing::TestParamInfo<Param>& i) {
                             return std::string(std::get<0>(i.param).name) + (std::get<1>(i.param) ? "Cached" : "");
                         });

} // namespace
