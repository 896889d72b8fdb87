// The reader contract (audio/IAudioReader.h), one table of cases run against
// every reader the factory makes, plain and through the whole-file cache.
// The files are noise, so that data read from a wrong frame cannot pass for
// the right one.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "tests/audio/ReaderKit.h"
#include "tests/audio/WavFile.h"

namespace {

struct SReaderCase
{
    const char* name;
    const wchar_t* file;   // generated test data, or a copy under `as`
    const wchar_t* as;     // another name for it (another reader), or null
    bool cache;
};

// One frame longer than 10 s: a length that is no whole number of 100-ns units.
const SReaderCase kReaders[] = {
    {"Wav", L"noise_441001.wav", nullptr, false},
    {"WavCached", L"noise_441001.wav", nullptr, true},
    {"Ogg", L"noise_441001.ogg", nullptr, false},
    {"OggCached", L"noise_441001.ogg", nullptr, true},
    {"Mp3", L"noise_441001.mp3", nullptr, false},
    {"Mp3Cached", L"noise_441001.mp3", nullptr, true},
    // Vorbis through the system's decoders (any other extension).
    {"VorbisDirectShow", L"noise_441001.ogg", L"noise_441001.oga", false},
    {"VorbisDirectShowCached", L"noise_441001.ogg", L"noise_441001.oga", true},
};

// Seek targets: most frames of 44100 Hz fall between two 100-ns units.
const LONGLONG kTargets[] = {1, 2, 44117, 220501, 300001, 400000};

class ReaderContract : public ::testing::TestWithParam<SReaderCase>
{
protected:
    void SetUp() override
    {
        const SReaderCase& c = GetParam();
        m_path = c.as ? readerkit::CopyAs(c.file, L"contract", c.as) : testsupport::TestData(c.file);
        m_reader = readerkit::OpenStarted(m_path, c.cache);
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

    std::wstring m_path;
    readerkit::CComScope m_com;
    CIPtr<IAudioReader> m_reader;
    int m_align = 0;
};

TEST_P(ReaderContract, ReadsWholeFramesOnly)
{
    uint8_t buf[64] = {};
    DWORD got = 123;
    EXPECT_FALSE(m_reader->Read(buf, m_align - 1, &got)) << "less than one frame";
    EXPECT_EQ(0, m_reader->GetPosition());
    ASSERT_TRUE(m_reader->Read(buf, 2 * m_align + 3, &got));
    EXPECT_EQ(static_cast<DWORD>(2 * m_align), got);
    EXPECT_EQ(2, m_reader->GetPosition());
}

TEST_P(ReaderContract, DeliversExactlyTheAnnouncedLength)
{
    const LONGLONG frames = m_reader->GetFrameCount();
    const wavfile::Bytes all = wavfile::ReadAll(m_reader, 10007); // odd requests
    EXPECT_EQ(static_cast<size_t>(frames * m_align), all.size());
    EXPECT_EQ(frames, m_reader->GetPosition());
    EXPECT_EQ(frames * m_align, m_reader->GetDataSize());
    uint8_t buf[16];
    DWORD got = 0;
    EXPECT_FALSE(m_reader->Read(buf, sizeof buf, &got)) << "nothing after the announced end";
}

TEST_P(ReaderContract, SeeksLandOnExactlyTheFrameAsked)
{
    const wavfile::Bytes all = wavfile::ReadAll(m_reader, 65536);
    const DWORD kBytes = 4096 * m_align;
    std::vector<uint8_t> buf(kBytes);
    for (LONGLONG target : kTargets) {
        ASSERT_TRUE(m_reader->Seek(target)) << target;
        EXPECT_EQ(target, m_reader->GetPosition());
        DWORD got = 0;
        ASSERT_TRUE(m_reader->Read(buf.data(), kBytes, &got)) << target;
        ASSERT_EQ(kBytes, got);
        ASSERT_LE(static_cast<size_t>(target * m_align + kBytes), all.size());
        // Compared past the first 1024 frames: a decoder that restarts may
        // shape its very first samples differently, and a float decoder may
        // round a sample by a step or two; never move a frame, which on noise
        // changes nearly every sample.
        const size_t skip = 1024 * m_align;
        int off = 0;
        for (size_t i = skip; i + 1 < kBytes; i += 2)
            off += std::abs(readerkit::Sample(buf.data() + i) - readerkit::Sample(all.data() + target * m_align + i)) > 2;
        EXPECT_EQ(0, off) << "samples off after a seek to " << target;
    }
}

TEST_P(ReaderContract, SeeksStayWithinTheLength)
{
    const LONGLONG frames = m_reader->GetFrameCount();
    EXPECT_FALSE(m_reader->Seek(-1));
    EXPECT_FALSE(m_reader->Seek(frames));
    EXPECT_FALSE(m_reader->Seek(frames + 10));
    ASSERT_TRUE(m_reader->Seek(frames - 1));
    std::vector<uint8_t> buf(4 * m_align);
    DWORD got = 0;
    ASSERT_TRUE(m_reader->Read(buf.data(), 4 * m_align, &got));
    EXPECT_EQ(static_cast<DWORD>(m_align), got) << "the last frame only";
    EXPECT_FALSE(m_reader->Read(buf.data(), 4 * m_align, &got));
    ASSERT_TRUE(m_reader->Seek(0)) << "and back to the start";
    ASSERT_TRUE(m_reader->Read(buf.data(), 4 * m_align, &got));
    EXPECT_EQ(static_cast<DWORD>(4 * m_align), got);
}

TEST_P(ReaderContract, PeaksEndComplete)
{
    // A reader of its own, as the application holds one per file.
    CIPtr<IAudioReader> r = readerkit::Open(m_path, GetParam().cache);
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

INSTANTIATE_TEST_SUITE_P(EveryReader, ReaderContract, ::testing::ValuesIn(kReaders),
                         [](const ::testing::TestParamInfo<SReaderCase>& i) { return std::string(i.param.name); });

} // namespace
