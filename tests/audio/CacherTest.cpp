// The whole-file cache: loading, reading from memory, early and odd ends,
// files too large to cache.
#include <gtest/gtest.h>

#include <vector>

#include "audio/AudioReaderCacher.h"
#include "audio/CreateAudioReader.h"
#include "audio/WavReader.h"
#include "tests/audio/TestDisplay.h"
#include "tests/audio/WavFile.h"

using namespace wavfile;

namespace {

class CacherTest : public ::testing::Test
{
protected:
    void SetUp() override { m_dir = testsupport::ScratchDir(L"cacher"); }

    CIPtr<IAudioReader> OpenCached(const std::wstring& path)
    {
        CIPtr<IAudioReader> r;
        if (!CreateAudioReader(path.c_str(), &r, true))
            return nullptr;
        return r;
    }

    std::wstring m_dir;
};

bool WaitReady(IAudioReader* r, int ms = 30000)
{
    for (int i = 0; i < ms / 5; ++i) {
        if (r->IsReady())
            return true;
        Sleep(5);
    }
    return false;
}

TEST_F(CacherTest, FiveMinuteFileLoadsWithRisingPercentAndMatchesTheFile)
{
    const std::wstring path = testsupport::TestData(L"tone440_5m.wav");
    const Bytes file = testsupport::ReadFileBytes(path);
    ASSERT_GT(file.size(), 50000000u);

    CIPtr<IAudioReader> r = OpenCached(path);
    ASSERT_TRUE(r);
    CIPtr<IProcess> process;
    ASSERT_EQ(S_OK, r->QueryInterface(IID_IProcess, reinterpret_cast<void**>(&process)));
    std::vector<DWORD> seen;
    bool startedEarly = false;
    for (int i = 0; i < 30000 && !r->IsReady(); ++i) {
        DWORD percent = 1000;
        if (!r->IsReady(&percent)) {
            ASSERT_LE(percent, 100u);
            if (seen.empty() || seen.back() != percent)
                seen.push_back(percent);
            startedEarly |= process->Start();
        }
        Sleep(1);
    }
    ASSERT_TRUE(r->IsReady());
    EXPECT_FALSE(startedEarly);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    DWORD percent = 1234;
    EXPECT_TRUE(r->IsReady(&percent));
    EXPECT_EQ(1234u, percent); // a ready reader leaves it alone

    const LONGLONG size = r->GetDataSize();
    EXPECT_EQ(300 * 176400, size);
    EXPECT_EQ(300000, r->GetDuration());
    ASSERT_TRUE(process->Start());
    const Bytes got = ReadAll(r, CAudioReaderCacher::kLoadBlock);
    ASSERT_EQ(static_cast<size_t>(size), got.size());
    EXPECT_TRUE(std::equal(got.begin(), got.end(), file.end() - size)) << "cached bytes differ from the file";

    CIPtr<IPeakContainer> peaks;
    ASSERT_TRUE(r->GetPeakContainer(&peaks));
    EXPECT_TRUE(peaks->IsComplete());
    EXPECT_EQ(peaks->GetPeakCount(), peaks->GetCurrentIndex());
    r->Abort();
}

TEST_F(CacherTest, ReadAndSeekInMemory)
{
    const Bytes data = Noise(40000, 8);
    CIPtr<IAudioReader> r = OpenCached(Save(m_dir, L"small.wav", Canonical(Format(), data)));
    ASSERT_TRUE(r);
    ASSERT_TRUE(WaitReady(r));
    CIPtr<IProcess> process;
    r->QueryInterface(IID_IProcess, reinterpret_cast<void**>(&process));
    ASSERT_TRUE(process->Start());
    uint8_t buf[16];
    DWORD got = 0;
    ASSERT_TRUE(r->Read(buf, 10, &got));
    EXPECT_EQ(8u, got); // whole frames only
    EXPECT_EQ(0, std::memcmp(buf, data.data(), 8));
    EXPECT_EQ(2, r->GetPosition());
    const LONGLONG frames = r->GetFrameCount();
    EXPECT_EQ(10000, frames);
    EXPECT_FALSE(r->Seek(frames));
    EXPECT_FALSE(r->Seek(-1));
    ASSERT_TRUE(r->Seek(frames - 1));
    ASSERT_TRUE(r->Read(buf, 16, &got));
    EXPECT_EQ(4u, got);
    EXPECT_EQ(0, std::memcmp(buf, data.data() + data.size() - 4, 4));
    EXPECT_FALSE(r->Read(buf, 16, &got));
    ASSERT_TRUE(r->Seek(1234));
    ASSERT_TRUE(r->Read(buf, 16, &got));
    EXPECT_EQ(0, std::memcmp(buf, data.data() + 1234 * 4, 16));
    EXPECT_TRUE(process->Stop());
    EXPECT_TRUE(process->Start()); // starts again from the beginning
    EXPECT_EQ(0, r->GetPosition());
    r->Abort();
}

TEST_F(CacherTest, OddDataSizeIsCachedAsWholeFrames)
{
    // 4001 stated bytes of 16-bit stereo: the reader counts the pad byte
    // (4002); the cache keeps the 1000 whole frames and becomes ready.
    const Bytes data = Noise(4001, 4);
    CIPtr<IAudioReader> r = OpenCached(Save(m_dir, L"odd.wav", Canonical(Format(), data)));
    ASSERT_TRUE(r);
    ASSERT_TRUE(WaitReady(r, 5000));
    EXPECT_EQ(1000, r->GetFrameCount());
    EXPECT_EQ(4000, r->GetDataSize());
    CIPtr<IProcess> process;
    r->QueryInterface(IID_IProcess, reinterpret_cast<void**>(&process));
    ASSERT_TRUE(process->Start());
    const Bytes got = ReadAll(r, CAudioReaderCacher::kLoadBlock);
    ASSERT_EQ(4000u, got.size());
    EXPECT_TRUE(std::equal(got.begin(), got.end(), data.begin()));
    r->Abort();
}

// Stands in for a decoding reader whose length is an estimate: it claims
// more bytes (and not whole frames) than the stream delivers, and delivers
// blocks that end inside a frame.
class CEstimatingReader : public CWavReader
{
public:
    LONGLONG GetDataSize() override { return CWavReader::GetDataSize() + 40002; }
    bool Read(void* buffer, DWORD bytes, DWORD* got) override
    {
        return CWavReader::Read(buffer, bytes > 1001 ? 1001 : bytes, got);
    }
};

TEST_F(CacherTest, SourceThatEndsEarlyCompletesWithWhatWasRead)
{
    const Bytes data = Noise(300000, 6);
    const std::wstring path = Save(m_dir, L"short.wav", Canonical(Format(), data));
    CIPtr<CAudioReaderCacher> r(new CAudioReaderCacher(new CEstimatingReader()));
    ASSERT_TRUE(r->Open(path.c_str()));
    EXPECT_EQ(340000, r->GetDataSize()); // the claim, in whole frames
    ASSERT_TRUE(WaitReady(r, 10000)) << "an early end must not leave the cache unready";
    EXPECT_EQ(75000, r->GetFrameCount());
    EXPECT_EQ(300000, r->GetDataSize());
    EXPECT_EQ(1700, r->GetDuration());
    ASSERT_TRUE(r->Start());
    EXPECT_EQ(data, ReadAll(r, CAudioReaderCacher::kLoadBlock));
    CIPtr<IPeakContainer> peaks;
    ASSERT_TRUE(r->GetPeakContainer(&peaks));
    EXPECT_GT(peaks->GetCurrentIndex(), peaks->GetPeakCount() * 8 / 10); // what was read
    // The peaks end where the source ended: complete, so a view draws them.
    EXPECT_TRUE(peaks->IsComplete());
    r->Abort();
}

TEST_F(CacherTest, TruncatedWavOpensAtItsRealLength)
{
    const Bytes data = Noise(50000, 2);
    CIPtr<IAudioReader> r =
        OpenCached(Save(m_dir, L"cut.wav", Riff({Fmt(Format()), Chunk("data", data, false, 1000000)})));
    ASSERT_TRUE(r);
    ASSERT_TRUE(WaitReady(r, 5000));
    EXPECT_EQ(12500, r->GetFrameCount());
    CIPtr<IProcess> process;
    r->QueryInterface(IID_IProcess, reinterpret_cast<void**>(&process));
    ASSERT_TRUE(process->Start());
    EXPECT_EQ(data, ReadAll(r, CAudioReaderCacher::kLoadBlock));
    r->Abort();
}

TEST_F(CacherTest, TooLargeToCacheIsForwardedAndStillGetsPeaks)
{
    // Just over 100 MiB of PCM: no cache; reads go to the file, the peaks
    // are built on the container's own thread, beside playback.
    const uint32_t dataBytes = 104857600 + 4 * 1000;
    Bytes header = Riff({Fmt(Format())});
    Append(header, Bytes{'d', 'a', 't', 'a'});
    Put32(header, dataBytes);
    const uint32_t riffSize = static_cast<uint32_t>(header.size() - 8 + dataBytes);
    std::memcpy(header.data() + 4, &riffSize, 4);
    const std::wstring path = m_dir + L"\\large.wav";
    {
        HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, h);
        DWORD put = 0;
        WriteFile(h, header.data(), static_cast<DWORD>(header.size()), &put, nullptr);
        // A ramp that reaches both extremes: the peaks can be checked.
        std::vector<int16_t> block(1 << 20);
        for (size_t i = 0; i < block.size(); ++i)
            block[i] = static_cast<int16_t>((i * 37) & 0xFFFF);
        for (uint32_t left = dataBytes; left > 0;) {
            const DWORD n = std::min<uint32_t>(left, static_cast<uint32_t>(block.size() * 2));
            ASSERT_TRUE(WriteFile(h, block.data(), n, &put, nullptr));
            left -= n;
        }
        CloseHandle(h);
    }
    {
        CIPtr<IAudioReader> r = OpenCached(path);
        ASSERT_TRUE(r);
        EXPECT_TRUE(r->IsReady()); // nothing to wait for
        EXPECT_EQ(dataBytes, r->GetDataSize());
        CIPtr<IPeakContainer> peaks;
        ASSERT_TRUE(r->GetPeakContainer(&peaks));
        CIPtr<CTestDisplay> display(new CTestDisplay());
        peaks->AddListener(display);

        // Playback reads through the wrapper while the peaks build.
        CIPtr<IProcess> process;
        r->QueryInterface(IID_IProcess, reinterpret_cast<void**>(&process));
        ASSERT_TRUE(process->Start());
        std::vector<int16_t> buf(32768);
        for (int pass = 0; pass < 50; ++pass) {
            DWORD got = 0;
            ASSERT_TRUE(r->Read(buf.data(), 65536, &got));
            ASSERT_EQ(65536u, got);
            const size_t first = static_cast<size_t>(pass) * 32768;
            for (size_t i = 0; i < buf.size(); i += 4093)
                ASSERT_EQ(static_cast<int16_t>((((first + i) % (1 << 20)) * 37) & 0xFFFF), buf[i]);
        }
        for (int i = 0; i < 6000 && !peaks->IsComplete(); ++i)
            Sleep(10);
        ASSERT_TRUE(peaks->IsComplete());
        for (int i = 0; i < 500 && display->invalidated == 0; ++i)
            Sleep(10);
        EXPECT_EQ(1, display->invalidated);
        SPeak p;
        ASSERT_TRUE(peaks->GetPeak(0, r->GetDuration() * 1000, &p));
        EXPECT_EQ(-128, p.min);
        EXPECT_EQ(127, p.max);
        r->Abort();
    }
    DeleteFileW(path.c_str());
}

TEST_F(CacherTest, ReleasedWhileLoadingEndsCleanly)
{
    // Each container holds its listener until it is destroyed: the
    // listeners' counts falling back to the test's own reference show that
    // every container (and the reader holding it) is gone.
    const std::wstring path = testsupport::TestData(L"tone440_5m.wav");
    std::vector<CIPtr<CTestDisplay>> displays;
    for (int i = 0; i < 3; ++i) {
        CIPtr<IAudioReader> r = OpenCached(path);
        ASSERT_TRUE(r);
        CIPtr<IPeakContainer> peaks;
        ASSERT_TRUE(r->GetPeakContainer(&peaks));
        displays.emplace_back(new CTestDisplay);
        peaks->AddListener(displays.back());
        Sleep(i * 5);
        r->Abort();
        // The last references go here or on the loader, whichever is later.
    }
    for (const CIPtr<CTestDisplay>& d : displays) {
        for (int wait = 0; wait < 500 && d->Refs() > 1; ++wait)
            Sleep(10);
        EXPECT_EQ(1, d->Refs()) << "a container released while loading stayed alive";
    }
    // Without Abort the wrapper and its container keep each other alive,
    // as documented; released after loading, nothing waits forever either.
    CIPtr<IAudioReader> r = OpenCached(testsupport::TestData(L"tone440_10s.wav"));
    ASSERT_TRUE(r);
    ASSERT_TRUE(WaitReady(r));
    r->Abort();
}

} // namespace
