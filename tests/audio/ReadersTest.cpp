// The Ogg Vorbis and DirectShow readers against the real decoders, opened
// through the reader factory like the application does.
#include <gtest/gtest.h>
#include <windows.h>

#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "audio/CreateAudioReader.h"
#include "audio/DXAudioReader.h"
#include "audio/OggSource.h"
#include "tests/support/TestSupport.h"

namespace {

const LONGLONG kTenSeconds = 441000; // frames of the generated 10 s files

CIPtr<IAudioReader> OpenReader(const std::wstring& path, bool cache = false)
{
    IAudioReader* raw = nullptr;
    if (!CreateAudioReader(path.c_str(), &raw, cache))
        return nullptr;
    CIPtr<IAudioReader> reader;
    reader.Attach(raw);
    return reader;
}

bool StartReader(IAudioReader* reader)
{
    CIPtr<IProcess> process;
    return SUCCEEDED(process.QueryFrom(reader, IID_IProcess)) && process->Start();
}

bool StopReader(IAudioReader* reader)
{
    CIPtr<IProcess> process;
    return SUCCEEDED(process.QueryFrom(reader, IID_IProcess)) && process->Stop();
}

// Every sample the reader gives from its position on, in reads of `block` bytes.
std::vector<short> ReadAll(IAudioReader* reader, DWORD block = 65536)
{
    std::vector<short> all;
    std::vector<short> buf(block / 2);
    DWORD got = 0;
    while (reader->Read(buf.data(), block, &got) && got)
        all.insert(all.end(), buf.begin(), buf.begin() + got / 2);
    return all;
}

// Normalised correlation of the left channels of a (from frame `at`) and b
// (from frame `at + lag`) over `frames` frames.
double Correlation(const std::vector<short>& a, const std::vector<short>& b, long at, long lag, long frames)
{
    double ab = 0, aa = 0, bb = 0;
    for (long i = 0; i < frames; ++i) {
        long ia = (at + i) * 2, ib = (at + lag + i) * 2;
        if (ia < 0 || ib < 0 || ia >= static_cast<long>(a.size()) || ib >= static_cast<long>(b.size()))
            return 0;
        ab += double(a[ia]) * b[ib];
        aa += double(a[ia]) * a[ia];
        bb += double(b[ib]) * b[ib];
    }
    return aa > 0 && bb > 0 ? ab / std::sqrt(aa * bb) : 0;
}

// The lag in [centre - range, centre + range] where b best matches a, and
// that correlation.
std::pair<long, double> BestLagNear(const std::vector<short>& a, const std::vector<short>& b, long at, long centre,
                                    long range, long frames)
{
    std::pair<long, double> best{0, -2};
    for (long lag = centre - range; lag <= centre + range; ++lag) {
        double c = Correlation(a, b, at, lag, frames);
        if (c > best.second)
            best = {lag, c};
    }
    return best;
}

// The lag in [-range, range] where b best matches a, and that correlation.
std::pair<long, double> BestLag(const std::vector<short>& a, const std::vector<short>& b, long at, long range,
                                long frames)
{
    std::pair<long, double> best{0, -2};
    for (long lag = -range; lag <= range; ++lag) {
        double c = Correlation(a, b, at, lag, frames);
        if (c > best.second)
            best = {lag, c};
    }
    return best;
}

// libvorbisfile's own decode of a whole file, the reference for the Ogg reader.
std::vector<short> PlainVorbisDecode(const std::wstring& path)
{
    std::vector<short> pcm;
    FILE* f = _wfopen(path.c_str(), L"rb");
    OggVorbis_File vf;
    if (!f || ov_open(f, &vf, nullptr, 0) < 0)
        return pcm;
    std::vector<char> buf(4096);
    int section = 0;
    long n;
    while ((n = ov_read(&vf, buf.data(), 4096, 0, 2, 1, &section)) > 0)
        pcm.insert(pcm.end(), reinterpret_cast<short*>(buf.data()), reinterpret_cast<short*>(buf.data() + n));
    ov_clear(&vf);
    return pcm;
}

std::wstring CopyToScratch(const wchar_t* from, const wchar_t* dir, const wchar_t* name)
{
    std::wstring path = testsupport::ScratchDir(dir) + L"\\" + name;
    std::vector<uint8_t> bytes = testsupport::ReadFileBytes(testsupport::TestData(from));
    testsupport::WriteFileBytes(path, bytes.data(), bytes.size());
    return path;
}

TEST(OggReader, FrameCountDataMatchLibvorbisfileAndSeekIsFrameExact)
{
    std::wstring path = testsupport::TestData(L"tone440_10s.ogg");
    CIPtr<IAudioReader> reader = OpenReader(path);
    ASSERT_TRUE(reader);
    EXPECT_EQ(kTenSeconds, reader->GetFrameCount());
    EXPECT_EQ(10000, reader->GetDuration());
    EXPECT_EQ(44100u, reader->GetFormat()->nSamplesPerSec);
    EXPECT_EQ(2u, reader->GetFormat()->nChannels);
    ASSERT_TRUE(StartReader(reader));

    std::vector<short> plain = PlainVorbisDecode(path);
    ASSERT_EQ(static_cast<size_t>(kTenSeconds * 2), plain.size());
    // Odd-sized reads: every request is cut to whole frames.
    std::vector<short> all = ReadAll(reader, 10007);
    ASSERT_EQ(plain.size(), all.size());
    EXPECT_TRUE(plain == all);
    DWORD got = 0;
    short buf[8];
    EXPECT_FALSE(reader->Read(buf, sizeof(buf), &got)) << "nothing after the end";

    const LONGLONG target = 123457;
    ASSERT_TRUE(reader->Seek(target));
    EXPECT_EQ(target, reader->GetPosition());
    std::vector<short> tail = ReadAll(reader);
    ASSERT_EQ(plain.size() - target * 2, tail.size());
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), plain.begin() + target * 2));

    // Start again goes back to the first frame with nothing stale left over.
    ASSERT_TRUE(reader->Seek(400000));
    ASSERT_TRUE(reader->Read(buf, sizeof(buf), &got));
    ASSERT_TRUE(StartReader(reader));
    EXPECT_EQ(0, reader->GetPosition());
    ASSERT_TRUE(reader->Read(buf, sizeof(buf), &got));
    EXPECT_TRUE(std::equal(buf, buf + 8, plain.begin()));
    StopReader(reader);
}

TEST(OggReader, RequestSizesAndRefusedFiles)
{
    CIPtr<IAudioReader> reader = OpenReader(testsupport::TestData(L"tone440_10s.ogg"));
    ASSERT_TRUE(reader);
    ASSERT_TRUE(StartReader(reader));
    std::vector<char> big(1048576);
    DWORD got = 0;
    EXPECT_FALSE(reader->Read(big.data(), 1048576, &got));
    ASSERT_TRUE(reader->Read(big.data(), 1048575, &got));
    EXPECT_LE(got, 1048572u);
    EXPECT_EQ(0u, got % 4);
    EXPECT_EQ(static_cast<LONGLONG>(got / 4), reader->GetPosition());

    // An MP3 named .ogg, and an empty .ogg, are refused by the Ogg reader.
    EXPECT_FALSE(OpenReader(CopyToScratch(L"tone440_10s.mp3", L"dshow-ogg", L"mp3.ogg")));
    std::wstring empty = testsupport::ScratchDir(L"dshow-ogg-empty") + L"\\empty.ogg";
    testsupport::WriteFileBytes(empty, "", 0);
    EXPECT_FALSE(OpenReader(empty));
}

TEST(OggReader, DamagedPageInTheMiddleIsAGapNotTheEnd)
{
    std::vector<uint8_t> bytes = testsupport::ReadFileBytes(testsupport::TestData(L"tone440_10s.ogg"));
    ASSERT_GT(bytes.size(), 10000u);
    // Break the checksum of the page that starts nearest the middle: the
    // decoder loses that page and reports a hole.
    size_t page = 0;
    for (size_t i = bytes.size() / 2; i + 4 < bytes.size(); ++i)
        if (memcmp(&bytes[i], "OggS", 4) == 0) {
            page = i;
            break;
        }
    ASSERT_NE(0u, page);
    for (size_t i = page + 40; i < page + 80 && i < bytes.size(); ++i)
        bytes[i] ^= 0x5A;
    std::wstring path = testsupport::ScratchDir(L"dshow-ogg-hole") + L"\\hole.ogg";
    ASSERT_TRUE(testsupport::WriteFileBytes(path, bytes.data(), bytes.size()));

    CIPtr<IAudioReader> reader = OpenReader(path);
    ASSERT_TRUE(reader);
    ASSERT_TRUE(StartReader(reader));
    // One frame per read: the ring is empty whenever the decoder meets the gap.
    std::vector<short> all = ReadAll(reader, 4);
    // Everything but the lost page arrives: reading went on after the gap.
    EXPECT_GT(all.size() / 2, static_cast<size_t>(kTenSeconds * 6 / 10));
    EXPECT_LT(all.size() / 2, static_cast<size_t>(kTenSeconds));
}

class DXReader : public ::testing::Test
{
protected:
    testsupport::CComScope m_com;
};

TEST_F(DXReader, Mp3HasExactFrameCountAndCarriesTheSourceTone)
{
    CIPtr<IAudioReader> reader = OpenReader(testsupport::TestData(L"tone440_10s.mp3"));
    ASSERT_TRUE(reader);
    EXPECT_EQ(kTenSeconds, reader->GetFrameCount());
    EXPECT_EQ(10000, reader->GetDuration());
    EXPECT_EQ(16u, reader->GetFormat()->nBitsPerSample);
    DWORD got = 0;
    short buf[64];
    EXPECT_FALSE(reader->Read(buf, sizeof(buf), &got)) << "read before Start";
    ASSERT_TRUE(StartReader(reader));
    EXPECT_FALSE(StartReader(reader)) << "Start twice";

    std::vector<short> mp3 = ReadAll(reader);
    EXPECT_EQ(static_cast<size_t>(kTenSeconds * 2), mp3.size());
    EXPECT_FALSE(reader->Read(buf, sizeof(buf), &got)) << "nothing after the frame count";

    CIPtr<IAudioReader> wav = OpenReader(testsupport::TestData(L"tone440_10s.wav"));
    ASSERT_TRUE(wav);
    ASSERT_TRUE(StartReader(wav));
    std::vector<short> source = ReadAll(wav);
    // The encoder and decoder delay shifts the tone by a few thousand frames at most.
    auto best = BestLag(source, mp3, 100000, 3000, 4410);
    EXPECT_GT(best.second, 0.98) << "lag " << best.first;
    // The end is real audio up to where the decoder stopped: no ring's worth lost.
    // The tone repeats every 2205 frames (50 ms), so lags that far apart match
    // alike: the end is looked for within half of that around the start's lag.
    auto late = BestLagNear(source, mp3, 400000, best.first, 1102, 4410);
    EXPECT_GT(late.second, 0.98);
    EXPECT_EQ(best.first, late.first);

    // A seek to the middle reads the frames of that time.
    const LONGLONG middle = 220500;
    ASSERT_TRUE(reader->Seek(middle));
    std::vector<short> after(8192 * 2);
    ASSERT_TRUE(reader->Read(after.data(), 8192 * 4, &got));
    ASSERT_EQ(8192u * 4, got);
    std::vector<short> sequential(mp3.begin() + middle * 2, mp3.begin() + (middle + 8192) * 2);
    auto atSeek = BestLag(sequential, after, 1000, 200, 4096);
    EXPECT_GT(atSeek.second, 0.98);
    EXPECT_LE(std::abs(atSeek.first), 2) << "frames off after the seek";

    // A seek back to frame 0 with the graph running starts over.
    ASSERT_TRUE(reader->Seek(0));
    ASSERT_TRUE(reader->Read(after.data(), 8192 * 4, &got));
    std::vector<short> head(mp3.begin(), mp3.begin() + 8192 * 2);
    EXPECT_GT(Correlation(head, after, 3000, 0, 4096), 0.98);
    EXPECT_TRUE(StopReader(reader));
    EXPECT_FALSE(StopReader(reader));
}

TEST_F(DXReader, SeekReadsExactlyTheFramesOfTheSequentialRead)
{
    // Noise: unlike a tone, no other offset looks like the right one.
    CIPtr<IAudioReader> reader = OpenReader(testsupport::TestData(L"noise_10s.mp3"));
    ASSERT_TRUE(reader);
    ASSERT_TRUE(StartReader(reader));
    std::vector<short> sequential = ReadAll(reader);
    ASSERT_EQ(static_cast<size_t>(reader->GetFrameCount() * 2), sequential.size());

    const long kRead = 8192, kFrom = 1500, kFrames = 2048, kRange = 3000;
    for (LONGLONG target : {LONGLONG(1), LONGLONG(44117), LONGLONG(220500), LONGLONG(300001), LONGLONG(430000)}) {
        ASSERT_TRUE(reader->Seek(target));
        std::vector<short> after(kRead * 2);
        DWORD got = 0;
        ASSERT_TRUE(reader->Read(after.data(), kRead * 4, &got));
        ASSERT_EQ(static_cast<DWORD>(kRead * 4), got);
        // Frame i of the read against frame target + i + d of the sequential read.
        std::pair<long, double> best{0, -2};
        for (long d = -kRange; d <= kRange; ++d) {
            double c = Correlation(after, sequential, kFrom, static_cast<long>(target) + d, kFrames);
            if (c > best.second)
                best = {d, c};
        }
        EXPECT_GT(best.second, 0.98) << "seek to " << target;
        EXPECT_EQ(0, best.first) << "frames off after a seek to " << target;
    }
    EXPECT_TRUE(StopReader(reader));
}

TEST_F(DXReader, LargeReadsAndStopWhileTheGraphWaitsForRoom)
{
    CIPtr<IAudioReader> reader = OpenReader(testsupport::TestData(L"tone440_10s.mp3"));
    ASSERT_TRUE(reader);
    ASSERT_TRUE(StartReader(reader));
    // Larger than the ring: served in ring-sized parts, never a wait for ever.
    std::vector<char> big(3 * 1048576);
    DWORD got = 0;
    ASSERT_TRUE(reader->Read(big.data(), static_cast<DWORD>(big.size()), &got));
    EXPECT_EQ(static_cast<DWORD>(CDXAudioReader::kRingBytes), got);
    // Let the decoder fill the ring and block in its delivery, then stop.
    Sleep(300);
    DWORD t0 = GetTickCount();
    EXPECT_TRUE(StopReader(reader));
    EXPECT_LT(GetTickCount() - t0, 3000u);
    // And it starts over cleanly.
    ASSERT_TRUE(StartReader(reader));
    EXPECT_EQ(0, reader->GetPosition());
    ASSERT_TRUE(reader->Read(big.data(), 65536, &got));
    EXPECT_EQ(65536u, got);
    EXPECT_TRUE(StopReader(reader));
}

TEST_F(DXReader, CorruptAndEmptyFilesFailOpenInBoundedTime)
{
    std::vector<uint8_t> bytes = testsupport::ReadFileBytes(testsupport::TestData(L"tone440_10s.mp3"));
    ASSERT_FALSE(bytes.empty());
    for (auto& b : bytes)
        if (b == 0xFF)
            b = 0x00; // no frame can sync any more
    std::wstring dir = testsupport::ScratchDir(L"dshow-corrupt");
    std::wstring corrupt = dir + L"\\corrupt.mp3";
    ASSERT_TRUE(testsupport::WriteFileBytes(corrupt, bytes.data(), bytes.size()));
    std::wstring empty = dir + L"\\empty.mp3";
    ASSERT_TRUE(testsupport::WriteFileBytes(empty, "", 0));

    DWORD t0 = GetTickCount();
    EXPECT_FALSE(OpenReader(corrupt));
    EXPECT_FALSE(OpenReader(empty));
    EXPECT_FALSE(OpenReader(dir + L"\\missing.mp3"));
    EXPECT_LT(GetTickCount() - t0, 20000u);
}

TEST_F(DXReader, CachedThroughTheFactoryLoadsTheWholeFile)
{
    CIPtr<IAudioReader> reader = OpenReader(testsupport::TestData(L"tone440_10s.mp3"), true);
    ASSERT_TRUE(reader);
    EXPECT_EQ(kTenSeconds, reader->GetFrameCount());
    for (int i = 0; i < 2000 && !reader->IsReady(); ++i)
        Sleep(10);
    ASSERT_TRUE(reader->IsReady());
    ASSERT_TRUE(StartReader(reader));
    EXPECT_EQ(static_cast<size_t>(kTenSeconds * 2), ReadAll(reader).size());
    StopReader(reader);
    reader->Abort();
}

} // namespace
