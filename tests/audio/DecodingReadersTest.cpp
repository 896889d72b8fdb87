// Faults of the decoding readers (Ogg Vorbis, DirectShow) met on real and
// damaged files: lengths, seeks, late events, odd buffers, early ends.
#include <gtest/gtest.h>

#include <dshow.h>

#include <cstring>
#include <vector>

#include "audio/DXAudioReader.h"
#include "tests/audio/ReaderKit.h"
#include "tests/audio/WavFile.h"

namespace {

using wavfile::Bytes;

std::wstring SaveScratch(const wchar_t* dir, const wchar_t* name, const Bytes& bytes)
{
    return wavfile::Save(testsupport::ScratchDir(dir), name, bytes);
}

// Offsets of the Ogg pages ("OggS" capture patterns) of a file.
std::vector<size_t> OggPages(const Bytes& b)
{
    std::vector<size_t> pages;
    for (size_t i = 0; i + 4 <= b.size(); ++i)
        if (std::memcmp(&b[i], "OggS", 4) == 0)
            pages.push_back(i);
    return pages;
}

// --- Ogg Vorbis ---

TEST(OggFaults, SourceThatEndsEarlyCompletesItsPeaksWithoutTheCache)
{
    Bytes ogg = testsupport::ReadFileBytes(testsupport::TestData(L"noise_441001.ogg"));
    const std::vector<size_t> pages = OggPages(ogg);
    ASSERT_GT(pages.size(), 20u);
    // Last pages cut off; and, in another file, a page in the middle broken,
    // so that it decodes fewer frames than the file announces.
    const Bytes cut(ogg.begin(), ogg.begin() + pages[pages.size() * 3 / 4] + 100);
    Bytes holed = ogg;
    for (size_t i = pages[pages.size() / 2] + 40; i < pages[pages.size() / 2] + 80; ++i)
        holed[i] ^= 0x5A;
    for (const Bytes* file : std::vector<const Bytes*>{&cut, &holed}) {
        const std::wstring path = SaveScratch(L"ogg-early", file == &cut ? L"cut.ogg" : L"holed.ogg", *file);
        CIPtr<IAudioReader> r = readerkit::Open(path, false);
        ASSERT_TRUE(r);
        CIPtr<IPeakContainer> peaks;
        ASSERT_TRUE(r->GetPeakContainer(&peaks));
        EXPECT_TRUE(readerkit::WaitComplete(peaks, 20000)) << "index " << peaks->GetCurrentIndex() << " of "
                                                           << peaks->GetPeakCount();
        r->Abort();

        // Read to its end, it announces what it delivered.
        CIPtr<IAudioReader> again = readerkit::OpenStarted(path, false);
        ASSERT_TRUE(again);
        const Bytes all = wavfile::ReadAll(again, 65536);
        EXPECT_EQ(static_cast<LONGLONG>(all.size()), again->GetFrameCount() * 4);
    }
}

TEST(OggFaults, DuplicatedPagesDeliverNoMoreThanAnnounced)
{
    Bytes ogg = testsupport::ReadFileBytes(testsupport::TestData(L"noise_441001.ogg"));
    const std::vector<size_t> pages = OggPages(ogg);
    ASSERT_GT(pages.size(), 20u);
    // Pages repeated near the end.
    const size_t from = pages[pages.size() - 6], to = pages[pages.size() - 2];
    Bytes twice(ogg.begin(), ogg.begin() + to);
    twice.insert(twice.end(), ogg.begin() + from, ogg.begin() + to);
    twice.insert(twice.end(), ogg.begin() + to, ogg.end());
    CIPtr<IAudioReader> r = readerkit::OpenStarted(SaveScratch(L"ogg-twice", L"twice.ogg", twice), false);
    ASSERT_TRUE(r);
    const LONGLONG announced = r->GetFrameCount();
    const Bytes all = wavfile::ReadAll(r, 65536);
    EXPECT_LE(static_cast<LONGLONG>(all.size()), announced * 4);
    EXPECT_EQ(static_cast<LONGLONG>(all.size()), r->GetFrameCount() * 4);
}

// --- DirectShow ---

class DirectShowFaults : public ::testing::Test
{
protected:
    readerkit::CComScope m_com;
};

TEST_F(DirectShowFaults, LengthThatIsNoWholeNumberOf100nsUnitsKeepsItsLastFrame)
{
    // 441001 frames last 100000226.7 units: the stream announces 100000226.
    const std::wstring mp3 = testsupport::TestData(L"noise_441001.mp3");
    const std::wstring vorbis = readerkit::CopyAs(L"noise_441001.ogg", L"dshow-length", L"noise.oga");
    for (const std::wstring& path : {mp3, vorbis}) {
        CIPtr<IAudioReader> r = readerkit::OpenStarted(path, false);
        ASSERT_TRUE(r);
        EXPECT_EQ(441001, r->GetFrameCount());
        const Bytes all = wavfile::ReadAll(r, 65536);
        ASSERT_EQ(441001u * 4, all.size());
        // The last frames are decoded noise, not silence made up to the length.
        EXPECT_GT(readerkit::LoudSamples(all.data() + all.size() - 400, 400), 100);
        readerkit::Stop(r);
    }
}

TEST_F(DirectShowFaults, SeekRightAfterTheEndIsNotSilencedByTheOldRunsEnd)
{
    // Read up to the end of the stream (its end event is under way), then
    // seek back at once: only the new run's events may end the new run.
    CIPtr<IAudioReader> r = readerkit::OpenStarted(testsupport::TestData(L"noise_10s.mp3"), false);
    ASSERT_TRUE(r);
    const LONGLONG frames = r->GetFrameCount();
    std::vector<uint8_t> buf(65536);
    for (int pass = 0; pass < 12; ++pass) {
        ASSERT_TRUE(r->Seek(frames - 20000));
        DWORD got = 0;
        while (r->Read(buf.data(), 65536, &got)) {
        }
        Sleep(pass % 4 * 5); // the late event meets the seek at different moments
        ASSERT_TRUE(r->Seek(100000));
        ASSERT_TRUE(r->Read(buf.data(), 65536, &got));
        EXPECT_GT(readerkit::LoudSamples(buf.data(), got), 10000) << "silence after the seek in pass " << pass;
    }
    readerkit::Stop(r);
}

// A sample of quartz's own allocator holding `bytes` of the ramp from byte
// `at` on, stamped with `start`.
CIPtr<IMediaSample> RampSample(IMemAllocator* allocator, LONGLONG at, long bytes, REFERENCE_TIME start)
{
    CIPtr<IMediaSample> sample;
    if (FAILED(allocator->GetBuffer(&sample, nullptr, nullptr, 0)) || !sample)
        return nullptr;
    BYTE* data = nullptr;
    sample->GetPointer(&data);
    for (long i = 0; i < bytes; ++i)
        data[i] = static_cast<BYTE>((at + i) * 7 + (at + i) / 253);
    sample->SetActualDataLength(bytes);
    REFERENCE_TIME stop = start + 1;
    sample->SetTime(&start, &stop);
    return sample;
}

TEST_F(DirectShowFaults, BuffersOfPartFramesKeepTheFramesInPlace)
{
    // Decoders may cut their output inside a frame; after a seek, the part
    // frame of a buffer that lies before the target still counts.
    CIPtr<IAudioReader> r = readerkit::OpenStarted(testsupport::TestData(L"noise_10s.mp3"), false);
    ASSERT_TRUE(r);
    CIPtr<ISampleCallback> callback;
    ASSERT_TRUE(SUCCEEDED(callback.QueryFrom(r, IID_ISampleCallback)));
    CIPtr<IMemAllocator> allocator;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER,
                                           IID_IMemAllocator, reinterpret_cast<void**>(&allocator))));
    ALLOCATOR_PROPERTIES want = {4, 8192, 1, 0}, got = {};
    ASSERT_TRUE(SUCCEEDED(allocator->SetProperties(&want, &got)) && SUCCEEDED(allocator->Commit()));

    const LONGLONG target = 3500; // frames; the buffers start at frame 1000
    ASSERT_TRUE(r->Seek(target));
    const REFERENCE_TIME at1000 = 1000 * 10000000LL / 44100 + 1;
    LONGLONG byte = 0;
    for (long size : {4098L, 4097L, 4099L, 4101L}) {
        CIPtr<IMediaSample> s = RampSample(allocator, byte, size, at1000);
        ASSERT_TRUE(s);
        ASSERT_EQ(S_OK, callback->OnSample(s, at1000, at1000 + 1, FALSE));
        byte += size;
    }
    // The first two buffers (8195 bytes) lie before the target, the third
    // holds it.
    std::vector<uint8_t> out(400);
    DWORD n = 0;
    ASSERT_TRUE(r->Read(out.data(), 400, &n));
    ASSERT_EQ(400u, n);
    for (size_t i = 0; i < out.size(); ++i) {
        const LONGLONG b = (target - 1000) * 4 + static_cast<LONGLONG>(i);
        ASSERT_EQ(static_cast<BYTE>(b * 7 + b / 253), out[i]) << "byte " << i;
    }
    readerkit::Stop(r);
    allocator->Decommit();
}

} // namespace
