// The decoding readers (Ogg Vorbis, DirectShow) against the real decoders and
// on damaged files: what they decode, refused files, early ends, late events,
// odd buffers, a stop while the graph waits for room.
#include <gtest/gtest.h>

#include <dshow.h>
#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "audio/DXAudioReader.h"
#include "audio/OggSource.h"
#include "tests/audio/ReaderKit.h"

namespace {

using namespace readerkit;

// Offsets of the Ogg pages ("OggS" capture patterns) of a file.
std::vector<size_t> OggPages(const Bytes& b)
{
    std::vector<size_t> pages;
    for (size_t i = 0; i + 4 <= b.size(); ++i)
        if (std::memcmp(&b[i], "OggS", 4) == 0)
            pages.push_back(i);
    return pages;
}

// libvorbisfile's own decode of a whole file, the reference for the Ogg reader.
Bytes PlainVorbisDecode(const std::wstring& path)
{
    Bytes pcm;
    FILE* f = _wfopen(path.c_str(), L"rb");
    OggVorbis_File vf;
    if (!f || ov_open(f, &vf, nullptr, 0) < 0)
        return pcm;
    char buf[4096];
    int section = 0;
    for (long n; (n = ov_read(&vf, buf, sizeof buf, 0, 2, 1, &section)) > 0;)
        pcm.insert(pcm.end(), buf, buf + n);
    ov_clear(&vf);
    return pcm;
}

TEST(OggReader, DecodesWhatLibvorbisfileDecodes)
{
    const std::wstring path = testsupport::TestData(L"tone440_10s.ogg");
    CIPtr<IAudioReader> r = OpenStarted(path, false);
    ASSERT_TRUE(r);
    const Bytes plain = PlainVorbisDecode(path);
    ASSERT_EQ(441000u * 4, plain.size());
    EXPECT_TRUE(plain == ReadAll(r, 10007));
    // A request the ring can never hold whole is refused, not waited on.
    ASSERT_TRUE(r->Seek(0));
    Bytes big(COGGSource::kRingBytes);
    DWORD got = 0;
    EXPECT_FALSE(r->Read(big.data(), COGGSource::kRingBytes, &got));
}

TEST(OggReader, DamagedFilesDeliverWhatTheyHoldAndAnnounceIt)
{
    const Bytes ogg = testsupport::ReadFileBytes(testsupport::TestData(L"noise_441001.ogg"));
    const std::vector<size_t> pages = OggPages(ogg);
    ASSERT_GT(pages.size(), 20u);
    // Last pages cut off; a page in the middle broken (a gap, not the end);
    // pages near the end repeated.
    const Bytes cut(ogg.begin(), ogg.begin() + pages[pages.size() * 3 / 4] + 100);
    Bytes holed = ogg;
    for (size_t i = pages[pages.size() / 2] + 40; i < pages[pages.size() / 2] + 80; ++i)
        holed[i] ^= 0x5A;
    const size_t from = pages[pages.size() - 6], to = pages[pages.size() - 2];
    Bytes twice(ogg.begin(), ogg.begin() + to);
    twice.insert(twice.end(), ogg.begin() + from, ogg.end());

    const std::wstring dir = testsupport::ScratchDir(L"ogg-damaged");
    for (const auto& [name, file] : {std::pair{L"cut.ogg", &cut}, {L"holed.ogg", &holed}, {L"twice.ogg", &twice}}) {
        const std::wstring path = Save(dir, name, *file);
        CIPtr<IAudioReader> r = Open(path, false);
        ASSERT_TRUE(r) << name;
        CIPtr<IPeakContainer> peaks;
        ASSERT_TRUE(r->GetPeakContainer(&peaks));
        EXPECT_TRUE(WaitComplete(peaks, 20000))
            << name << ": peaks at " << peaks->GetCurrentIndex() << " of " << peaks->GetPeakCount();
        r->Abort();

        // One frame per read, so the ring is empty whenever the decoder meets
        // the damage: everything but the lost pages arrives, no more than
        // was announced, and the reader then announces what it delivered.
        CIPtr<IAudioReader> again = OpenStarted(path, false);
        ASSERT_TRUE(again);
        const LONGLONG announced = again->GetFrameCount();
        const Bytes all = ReadAll(again, 4);
        EXPECT_GT(all.size(), 441001u * 4 * 6 / 10) << name;
        EXPECT_LE(static_cast<LONGLONG>(all.size()), announced * 4) << name;
        EXPECT_EQ(static_cast<LONGLONG>(all.size()), again->GetFrameCount() * 4) << name;
    }
}

TEST(OggReader, AChainIsReadUpToItsFirstStreamOfAnotherFormat)
{
    // A mono stream behind a stereo one: read as stereo it would play at
    // twice its speed; the reader ends before it.
    Bytes mixed = testsupport::ReadFileBytes(testsupport::TestData(L"tone440_10s.ogg"));
    const Bytes mono = testsupport::ReadFileBytes(testsupport::TestData(L"tone440_1s_mono.ogg"));
    ASSERT_FALSE(mixed.empty() || mono.empty());
    Append(mixed, mono);
    const std::wstring path = Save(testsupport::ScratchDir(L"ogg-chained"), L"mixed.ogg", mixed);
    const Bytes plain = PlainVorbisDecode(path);
    ASSERT_EQ(441000u * 4 + 44100 * 2, plain.size()) << "both streams";
    CIPtr<IAudioReader> r = OpenStarted(path, false);
    ASSERT_TRUE(r);
    EXPECT_EQ(2u, r->GetFormat()->nChannels);
    EXPECT_EQ(441000, r->GetFrameCount());
    const Bytes all = ReadAll(r, 10007);
    ASSERT_EQ(441000u * 4, all.size());
    EXPECT_TRUE(std::equal(all.begin(), all.end(), plain.begin()));
}

// The amplitude of a 44.1 kHz tone in one channel of 16-bit frames, over
// `frames` frames from `from` on.
double ToneLevel(const Bytes& pcm, size_t channels, size_t channel, double hz, size_t from, size_t frames)
{
    double re = 0, im = 0;
    for (size_t i = 0; i < frames; ++i) {
        const double v = Sample(&pcm[((from + i) * channels + channel) * 2]);
        const double phase = 6.283185307179586 * hz * i / 44100;
        re += v * std::cos(phase);
        im += v * std::sin(phase);
    }
    return 2 * std::hypot(re, im) / frames;
}

TEST(OggReader, ChannelsOfMoreThanTwoComeInTheOrderOfWavFiles)
{
    // Each channel's own tone, in the order of WAV files (see tests/data).
    const std::pair<const wchar_t*, std::vector<double>> files[] = {
        {L"tones_3ch.ogg", {300, 500, 700}}, {L"tones_6ch.ogg", {300, 500, 700, 100, 1100, 1300}}};
    for (const auto& [file, tones] : files)
        for (bool cache : {false, true})
            for (LONGLONG at : {0, 30000}) { // from the start, and after a seek
                SCOPED_TRACE(testing::Message() << file << (cache ? " cached" : "") << " from frame " << at);
                CIPtr<IAudioReader> r = OpenStarted(testsupport::TestData(file), cache);
                ASSERT_TRUE(r && r->Seek(at));
                ASSERT_EQ(tones.size(), r->GetFormat()->nChannels);
                const Bytes pcm = ReadAll(r);
                ASSERT_GE(pcm.size(), 11025 * tones.size() * 2);
                for (size_t c = 0; c < tones.size(); ++c)
                    for (size_t t = 0; t < tones.size(); ++t) {
                        const double level = ToneLevel(pcm, tones.size(), c, tones[t], 2205, 8820);
                        EXPECT_TRUE(t == c ? level > 10000 : level < 1000)
                            << "channel " << c << ": " << tones[t] << " Hz at " << level
                            << (t == c ? ", its own tone" : "");
                    }
            }
}

class DirectShowReader : public ::testing::Test
{
protected:
    testsupport::CComScope m_com;
};

TEST_F(DirectShowReader, UnreadableFilesAreRefusedInBoundedTime)
{
    Bytes corrupt = testsupport::ReadFileBytes(testsupport::TestData(L"tone440_10s.mp3"));
    ASSERT_FALSE(corrupt.empty());
    for (auto& b : corrupt)
        if (b == 0xFF)
            b = 0x00; // no frame can sync any more
    const std::wstring dir = testsupport::ScratchDir(L"decoding-refused");
    const Bytes mp3 = testsupport::ReadFileBytes(testsupport::TestData(L"tone440_10s.mp3"));
    const DWORD t0 = GetTickCount();
    // An MP3 named .ogg goes to the Ogg reader, which refuses it.
    for (const auto& [name, bytes] :
         {std::pair{L"mp3.ogg", mp3}, {L"empty.ogg", Bytes()}, {L"corrupt.mp3", corrupt}, {L"empty.mp3", Bytes()}})
        EXPECT_FALSE(Open(Save(dir, name, bytes), false)) << name;
    EXPECT_FALSE(Open(dir + L"\\missing.mp3", false));
    EXPECT_LT(GetTickCount() - t0, 20000u);
}

// Normalised correlation of the left channels of a (from frame `at`) and b
// (from frame `at + lag`) over `frames` frames.
double Correlation(const Bytes& a, const Bytes& b, long at, long lag, long frames)
{
    double ab = 0, aa = 0, bb = 0;
    for (long i = 0; i < frames; ++i) {
        const long ia = (at + i) * 4, ib = (at + lag + i) * 4;
        if (ia < 0 || ib < 0 || ia >= static_cast<long>(a.size()) || ib >= static_cast<long>(b.size()))
            return 0;
        const double x = Sample(&a[ia]), y = Sample(&b[ib]);
        ab += x * y;
        aa += x * x;
        bb += y * y;
    }
    return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0;
}

TEST_F(DirectShowReader, Mp3CarriesTheSourceToneAndRunsOnce)
{
    CIPtr<IAudioReader> r = Open(testsupport::TestData(L"tone440_10s.mp3"), false);
    ASSERT_TRUE(r);
    DWORD got = 0;
    uint8_t buf[64];
    EXPECT_FALSE(r->Read(buf, sizeof buf, &got)) << "read before Start";
    ASSERT_TRUE(Start(r));
    EXPECT_FALSE(Start(r)) << "Start twice";
    const Bytes mp3 = ReadAll(r);
    CIPtr<IAudioReader> wav = OpenStarted(testsupport::TestData(L"tone440_10s.wav"), false);
    ASSERT_TRUE(wav);
    const Bytes source = ReadAll(wav);
    // The encoder and decoder delay shifts the tone by a few thousand frames at most.
    double best = -2;
    for (long lag = -3000; lag <= 3000; ++lag)
        best = std::max(best, Correlation(source, mp3, 100000, lag, 4410));
    EXPECT_GT(best, 0.98);
    EXPECT_TRUE(Stop(r));
    EXPECT_FALSE(Stop(r)) << "Stop twice";
}

TEST_F(DirectShowReader, LargeReadsAndStopWhileTheGraphWaitsForRoom)
{
    CIPtr<IAudioReader> r = OpenStarted(testsupport::TestData(L"tone440_10s.mp3"), false);
    ASSERT_TRUE(r);
    // Larger than the ring: served in ring-sized parts, never a wait for ever.
    Bytes big(3 * 1048576);
    DWORD got = 0;
    ASSERT_TRUE(r->Read(big.data(), static_cast<DWORD>(big.size()), &got));
    EXPECT_EQ(static_cast<DWORD>(CDXAudioReader::kRingBytes), got);
    // Let the decoder fill the ring and block in its delivery, then stop.
    Sleep(300);
    const DWORD t0 = GetTickCount();
    EXPECT_TRUE(Stop(r));
    EXPECT_LT(GetTickCount() - t0, 3000u);
    // And it starts over cleanly.
    ASSERT_TRUE(Start(r));
    ASSERT_TRUE(r->Read(big.data(), 65536, &got));
    EXPECT_EQ(65536u, got);
    EXPECT_TRUE(Stop(r));
}

TEST_F(DirectShowReader, SeekRightAfterTheEndIsNotSilencedByTheOldRunsEnd)
{
    // Read up to the end of the stream (its end event is under way), then
    // seek back at once: only the new run's events may end the new run.
    CIPtr<IAudioReader> r = OpenStarted(testsupport::TestData(L"noise_10s.mp3"), false);
    ASSERT_TRUE(r);
    const LONGLONG frames = r->GetFrameCount();
    Bytes buf(65536);
    for (int pass = 0; pass < 12; ++pass) {
        ASSERT_TRUE(r->Seek(frames - 20000));
        DWORD got = 0;
        while (r->Read(buf.data(), 65536, &got)) {
        }
        Sleep(pass % 4 * 5); // the late event meets the seek at different moments
        ASSERT_TRUE(r->Seek(100000));
        ASSERT_TRUE(r->Read(buf.data(), 65536, &got));
        EXPECT_GT(LoudSamples(buf.data(), got), 10000) << "silence after the seek in pass " << pass;
    }
    Stop(r);
}

TEST_F(DirectShowReader, BuffersOfPartFramesKeepTheFramesInPlace)
{
    // Decoders may cut their output inside a frame; after a seek, the part
    // frame of a buffer that lies before the target still counts.
    CIPtr<IAudioReader> r = OpenStarted(testsupport::TestData(L"noise_10s.mp3"), false);
    ASSERT_TRUE(r);
    CIPtr<ISampleCallback> callback;
    ASSERT_TRUE(SUCCEEDED(callback.QueryFrom(r, IID_ISampleCallback)));
    CIPtr<IMemAllocator> allocator;
    ASSERT_TRUE(SUCCEEDED(CoCreateInstance(CLSID_MemoryAllocator, nullptr, CLSCTX_INPROC_SERVER, IID_IMemAllocator,
                                           reinterpret_cast<void**>(&allocator))));
    ALLOCATOR_PROPERTIES want = {4, 8192, 1, 0}, got = {};
    ASSERT_TRUE(SUCCEEDED(allocator->SetProperties(&want, &got)) && SUCCEEDED(allocator->Commit()));

    // Four buffers of a byte ramp, all stamped at frame 1000; the first two
    // (8195 bytes) lie before the target, the third holds it.
    const LONGLONG target = 3500;
    ASSERT_TRUE(r->Seek(target));
    REFERENCE_TIME at1000 = 1000 * 10000000LL / 44100 + 1, stop = at1000 + 1;
    LONGLONG byte = 0;
    for (long size : {4098L, 4097L, 4099L, 4101L}) {
        CIPtr<IMediaSample> s;
        BYTE* data = nullptr;
        ASSERT_TRUE(SUCCEEDED(allocator->GetBuffer(&s, nullptr, nullptr, 0)) && SUCCEEDED(s->GetPointer(&data)));
        for (long i = 0; i < size; ++i, ++byte)
            data[i] = static_cast<BYTE>(byte * 7 + byte / 253);
        s->SetActualDataLength(size);
        s->SetTime(&at1000, &stop);
        ASSERT_EQ(S_OK, callback->OnSample(s, at1000, stop, FALSE));
    }
    Bytes out(400);
    DWORD n = 0;
    ASSERT_TRUE(r->Read(out.data(), 400, &n));
    ASSERT_EQ(400u, n);
    for (size_t i = 0; i < out.size(); ++i) {
        const LONGLONG b = (target - 1000) * 4 + static_cast<LONGLONG>(i);
        ASSERT_EQ(static_cast<BYTE>(b * 7 + b / 253), out[i]) << "byte " << i;
    }
    Stop(r);
    allocator->Decommit();
}

} // namespace
