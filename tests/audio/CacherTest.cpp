// The whole-file cache: loading, reading from memory, early and odd ends,
// files too large to cache.
#include <gtest/gtest.h>

#include <algorithm>

#include "audio/AudioReaderCacher.h"
#include "audio/WavReader.h"
#include "tests/audio/ReaderKit.h"
#include "tests/audio/TestDisplay.h"

using namespace readerkit;

namespace {

class CacherTest : public ::testing::Test
{
protected:
    void SetUp() override { m_dir = testsupport::ScratchDir(L"cacher"); }
    std::wstring m_dir;
};

TEST_F(CacherTest, FiveMinuteFileLoadsWithRisingPercentAndMatchesTheFile)
{
    const std::wstring path = testsupport::TestData(L"tone440_5m.wav");
    const Bytes file = testsupport::ReadFileBytes(path);
    ASSERT_GT(file.size(), 50000000u);

    CIPtr<IAudioReader> r = Open(path, true);
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
    EXPECT_FALSE(startedEarly) << "started before the cache was complete";
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));

    const LONGLONG size = r->GetDataSize();
    EXPECT_EQ(300 * 176400, size);
    ASSERT_TRUE(process->Start());
    const Bytes got = ReadAll(r, CAudioReaderCacher::kLoadBlock);
    ASSERT_EQ(static_cast<size_t>(size), got.size());
    EXPECT_TRUE(std::equal(got.begin(), got.end(), file.end() - size)) << "cached bytes differ from the file";
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

TEST_F(CacherTest, TooLargeToCacheIsForwardedAndStillGetsPeaks)
{
    // Just over 100 MiB of PCM: no cache; reads go to the file, the peaks
    // are built on the container's own thread, beside playback.
    const uint32_t dataBytes = 104857600 + 4 * 1000;
    const Bytes header = Riff({Fmt(Format()), Chunk("data", Bytes(), false, dataBytes)}, 36 + int64_t{dataBytes});
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
        CIPtr<IAudioReader> r = Open(path, true);
        ASSERT_TRUE(r);
        EXPECT_TRUE(r->IsReady()); // nothing to wait for
        EXPECT_EQ(dataBytes, r->GetDataSize());
        CIPtr<IPeakContainer> peaks;
        ASSERT_TRUE(r->GetPeakContainer(&peaks));
        CIPtr<CTestDisplay> display(new CTestDisplay());
        peaks->AddListener(display);

        // Playback reads through the wrapper while the peaks build.
        ASSERT_TRUE(Start(r));
        std::vector<int16_t> buf(32768);
        for (int pass = 0; pass < 50; ++pass) {
            DWORD got = 0;
            ASSERT_TRUE(r->Read(buf.data(), 65536, &got));
            ASSERT_EQ(65536u, got);
            const size_t first = static_cast<size_t>(pass) * 32768;
            for (size_t i = 0; i < buf.size(); i += 4093)
                ASSERT_EQ(static_cast<int16_t>((((first + i) % (1 << 20)) * 37) & 0xFFFF), buf[i]);
        }
        ASSERT_TRUE(WaitComplete(peaks, 60000));
        WaitFor([&] { return display->invalidated > 0; }, 5000);
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
        CIPtr<IAudioReader> r = Open(path, true);
        ASSERT_TRUE(r);
        CIPtr<IPeakContainer> peaks;
        ASSERT_TRUE(r->GetPeakContainer(&peaks));
        displays.emplace_back(new CTestDisplay);
        peaks->AddListener(displays.back());
        Sleep(i * 5);
        r->Abort();
        // The last references go here or on the loader, whichever is later.
    }
    for (const CIPtr<CTestDisplay>& d : displays)
        EXPECT_TRUE(WaitFor([&] { return d->Refs() == 1; }, 5000)) << "a container released while loading stayed alive";
    // Without Abort the wrapper and its container keep each other alive,
    // as documented; released after loading, nothing waits forever either.
    CIPtr<IAudioReader> r = Open(testsupport::TestData(L"tone440_10s.wav"), true);
    ASSERT_TRUE(r);
    ASSERT_TRUE(WaitReady(r));
    r->Abort();
}

} // namespace
