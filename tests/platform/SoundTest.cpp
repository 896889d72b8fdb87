// Sound out through waveOut, captured by the private sound device.
#include <gtest/gtest.h>
#include <windows.h>
#include <mmsystem.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "tests/support/Starvation.h"
#include "tests/support/TestSupport.h"

namespace {

REAL_TIME_TEST(WaveOut, HalfSecondToneArrivesByteExact)
{
    ASSERT_EQ(1u, waveOutGetNumDevs()) << "the captured sound device is missing";
    const int rate = 44100, frames = rate / 2;
    std::vector<int16_t> pcm(frames * 2);
    for (int i = 0; i < frames; ++i) {
        // A quarter-turn phase: the first sample is not zero, so it marks the start.
        auto s = static_cast<int16_t>(std::lround(12000 * std::cos(2 * M_PI * 440 * i / rate)));
        pcm[2 * i] = s;
        pcm[2 * i + 1] = static_cast<int16_t>(-s);
    }
    WAVEFORMATEX fmt = {};
    fmt.wFormatTag = WAVE_FORMAT_PCM;
    fmt.nChannels = 2;
    fmt.nSamplesPerSec = rate;
    fmt.wBitsPerSample = 16;
    fmt.nBlockAlign = 4;
    fmt.nAvgBytesPerSec = rate * 4;

    uint64_t before = testsupport::CaptureSize();
    HANDLE done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    HWAVEOUT wo = nullptr;
    ASSERT_EQ(MMSYSERR_NOERROR,
              waveOutOpen(&wo, WAVE_MAPPER, &fmt, reinterpret_cast<DWORD_PTR>(done), 0, CALLBACK_EVENT));
    WaitForSingleObject(done, 1000); // the open notification
    WAVEHDR hdr = {};
    hdr.lpData = reinterpret_cast<LPSTR>(pcm.data());
    hdr.dwBufferLength = static_cast<DWORD>(pcm.size() * 2);
    ASSERT_EQ(MMSYSERR_NOERROR, waveOutPrepareHeader(wo, &hdr, sizeof hdr));
    ASSERT_EQ(MMSYSERR_NOERROR, waveOutWrite(wo, &hdr, sizeof hdr));
    for (int i = 0; i < 500 && !(hdr.dwFlags & WHDR_DONE); ++i)
        WaitForSingleObject(done, 20);
    EXPECT_TRUE(hdr.dwFlags & WHDR_DONE);
    waveOutUnprepareHeader(wo, &hdr, sizeof hdr);
    waveOutClose(wo);
    CloseHandle(done);

    // The device writes at its own period: give it a moment to flush. While
    // idle it writes silence of its own, so the tone is found by its first
    // non-zero byte; everything else captured must be silence.
    std::vector<uint8_t> got;
    size_t start = 0;
    for (int i = 0; i < 100; ++i) {
        got = testsupport::ReadCapture(before);
        start = 0;
        while (start < got.size() && got[start] == 0)
            ++start;
        if (got.size() - start >= 88200)
            break;
        Sleep(20);
    }
    ASSERT_GE(got.size() - start, 88200u);
    EXPECT_EQ(0, std::memcmp(got.data() + start, pcm.data(), 88200));
    for (size_t i = start + 88200; i < got.size(); ++i)
        ASSERT_EQ(0, got[i]) << "unexpected sound after the tone at byte " << i;
}

} // namespace
