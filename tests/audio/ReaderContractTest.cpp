// The reader contract (audio/IAudioReader.h), one table of cases run against
// every reader the factory makes, plain and through the whole-file cache.
// The files are noise, so that data read from a wrong frame cannot pass for
// the right one.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>
#include <vector>

#include "tests/audio/OggMutants.h"
#include "tests/audio/ReaderKit.h"

namespace {

struct SReaderCase
{
    const char* name;
    const wchar_t* file; // generated test data, or a copy under `as`
    const wchar_t* as;   // another name for it (another reader), or null
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
    for (LONGLONG refused : {-1LL, frames + 1, frames + 10})
        EXPECT_FALSE(m_reader->Seek(refused)) << refused;
    if (std::get<1>(GetParam())) {
        // The cache seeks to frames it holds only: its length is refused.
        EXPECT_FALSE(m_reader->Seek(frames));
        EXPECT_EQ(2, m_reader->GetPosition()) << "a refused seek moves nothing";
    } else {
        // The length itself is a place to be: nothing is read there.
        ASSERT_TRUE(m_reader->Seek(frames));
        EXPECT_EQ(frames, m_reader->GetPosition());
        EXPECT_FALSE(m_reader->Read(buf.data(), 4 * m_align, &got));
    }
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

INSTANTIATE_TEST_SUITE_P(EveryReader, ReaderContract,
                         ::testing::Combine(::testing::ValuesIn(kReaders), ::testing::Bool()),
                         [](const ::testing::TestParamInfo<Param>& i) {
                             return std::string(std::get<0>(i.param).name) + (std::get<1>(i.param) ? "Cached" : "");
                         });

// Damaged Ogg Vorbis files (tests/audio/OggMutants.h), made from the
// generated noise. Whatever a damaged file still gives, the cached reader
// gives the same as the uncached one, started or not; a seek either fails or
// is followed by audio; the peaks end where the audio does.
const char* const kMutants[] = {
    "CutInTheMiddle",           "CutAfterTwoAudioPages",  "PageDropped",           "FirstAudioPageLost",
    "FirstAudioPacketsDamaged", "MiddlePageLost",         "MiddlePacketsDamaged",  "LastPageLost",
    "LastPacketsDamaged",       "EveryThirdPageDamaged",  "CaptureBroken",         "GranuleFarAhead",
    "LastGranuleTooEarly",      "SetupDamaged",           "MiddleSerialChanged",   "MiddleEndFlagged",
    "FirstAudioPageGarbage",    "FirstAudioGranuleUnset", "PageBeforeTheLastLost", "PageBeforeTheLastGranuleEarly",
    "ShortFirstAudioPageLost",  "ShortFirstGranuleEarly",
};

class DamagedOgg : public ::testing::TestWithParam<const char*>
{
protected:
    void SetUp() override
    {
        static const std::vector<oggmutants::SMutant> all =
            oggmutants::Make(testsupport::ReadFileBytes(testsupport::TestData(L"noise_441001.ogg")));
        for (const oggmutants::SMutant& m : all) {
            if (m.name == GetParam())
                m_path = readerkit::Save(testsupport::ScratchDir(L"damaged_ogg"),
                                         std::wstring(m.name.begin(), m.name.end()) + L".ogg", m.bytes);
        }
        ASSERT_FALSE(m_path.empty()) << "no such mutant";
    }

    // Opened (and loaded, when cached); null when the file does not open.
    CIPtr<IAudioReader> Open(bool cache)
    {
        CIPtr<IAudioReader> r = readerkit::Open(m_path, cache);
        if (r) {
            EXPECT_TRUE(readerkit::WaitReady(r));
        }
        return r;
    }

    testsupport::CComScope m_com;
    std::wstring m_path;
};

TEST_P(DamagedOgg, CachedAndUncachedAgreeOnLengthAndSamples)
{
    CIPtr<IAudioReader> fresh = Open(false), plain = Open(false), cached = Open(true);
    ASSERT_EQ(!!fresh, !!cached) << "only one of them opens";
    if (!fresh)
        return; // refused alike
    const int align = fresh->GetFormat()->GetBlockAlign();
    ASSERT_GT(align, 0);
    // Read straight after opening, and started the way the cache's loader
    // and the application start a reader.
    const readerkit::Bytes straight = readerkit::ReadAll(fresh, 10007);
    EXPECT_TRUE(readerkit::Start(plain));
    EXPECT_TRUE(readerkit::Start(cached));
    const readerkit::Bytes started = readerkit::ReadAll(plain, 10007);
    const readerkit::Bytes loaded = readerkit::ReadAll(cached, 10007);
    EXPECT_GT(straight.size(), 0u) << "an opened file gives audio";
    EXPECT_EQ(straight.size(), started.size());
    EXPECT_EQ(straight.size(), loaded.size());
    EXPECT_TRUE(straight == started) << "a start changes what is read";
    EXPECT_TRUE(straight == loaded) << "the cache changes what is read";
    for (IAudioReader* r : {fresh.Get(), plain.Get(), cached.Get()})
        EXPECT_EQ(static_cast<LONGLONG>(straight.size() / align), r->GetFrameCount()) << "the length is what was read";
}

TEST_P(DamagedOgg, EveryAcceptedSeekReads)
{
    for (bool cache : {false, true}) {
        CIPtr<IAudioReader> r = Open(cache);
        if (!r)
            continue;
        ASSERT_TRUE(readerkit::Start(r));
        const int align = r->GetFormat()->GetBlockAlign();
        const readerkit::Bytes all = readerkit::ReadAll(r);
        const LONGLONG frames = static_cast<LONGLONG>(all.size() / align);
        std::vector<uint8_t> buf(4096 * align);
        // Back into what was read, forward, to the last frame, and to the end.
        for (LONGLONG target : {frames / 2, LONGLONG(0), frames / 3, frames - 1, LONGLONG(1), frames}) {
            if (!r->Seek(target)) {
                EXPECT_FALSE(cache && target >= 0 && target < frames)
                    << "the cache refuses a frame it holds: " << target;
                continue;
            }
            EXPECT_FALSE(cache && target >= frames) << "the cache takes a seek to its length";
            EXPECT_EQ(target, r->GetPosition());
            DWORD got = 0;
            const bool read = r->Read(buf.data(), static_cast<DWORD>(buf.size()), &got);
            if (target >= frames) {
                EXPECT_FALSE(read) << "nothing after the end";
                continue;
            }
            ASSERT_TRUE(read && got > 0) << (cache ? "cached" : "uncached") << ": a seek to " << target << " of "
                                         << frames << " accepted, then nothing";
            if (cache) {
                EXPECT_EQ(0, std::memcmp(buf.data(), all.data() + target * align, got)) << target;
            }
        }
    }
}

TEST_P(DamagedOgg, PeaksFollowTheDeliveredLength)
{
    for (bool cache : {false, true}) {
        CIPtr<IAudioReader> r = Open(cache);
        if (!r)
            continue;
        CIPtr<IPeakContainer> peaks;
        ASSERT_TRUE(r->GetPeakContainer(&peaks));
        ASSERT_TRUE(readerkit::WaitComplete(peaks));
        // Two peaks a millisecond, of the frames the file really gave.
        const double expected = r->GetFrameCount() * 2000.0 / r->GetFormat()->nSamplesPerSec;
        EXPECT_NEAR(expected, peaks->GetPeakCount(), 2 + expected / 100)
            << (cache ? "cached" : "uncached") << ", " << r->GetFrameCount() << " frames";
        r->Abort();
    }
}

INSTANTIATE_TEST_SUITE_P(Mutants, DamagedOgg, ::testing::ValuesIn(kMutants),
                         [](const ::testing::TestParamInfo<const char*>& i) { return std::string(i.param); });

} // namespace
