// A looped fragment played for minutes through the playback thread, while
// the machine is as busy as the caller made it: the runs of exact zeros in
// what the captured sound device received. A join between two passes is two
// zero frames (one pass fades out to zero, the next fades in from zero);
// anything longer is a hole: the device ran dry, or a pass was cut short.
//   bench_playback_soak [Unix folder of the generated test data] [minutes] [tempo]
// Without a folder it comes from RAVELIN_TESTDATA; 10 minutes at 0.8x.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "audio/CreateAudioReader.h"
#include "app/PlaybackThread.h"
#include "app/TimeContainer.h"
#include "common/ScopedHandle.h"
#include "tests/support/TestSupport.h"

namespace {

constexpr double kFrom = 2.0, kTo = 3.0; // seconds of the 440 Hz tone, cut inside the file
constexpr size_t kJoinZeros = 2;
constexpr DWORD kRate = 44100;

// Counts runs of frames whose every sample is zero, chunk by chunk, so a
// capture of hundreds of megabytes is never held whole.
class CZeroRuns
{
public:
    // `pass`: frames of one pass, to tell where in its pass a hole came.
    explicit CZeroRuns(size_t pass) : m_pass(pass) {}

    void Add(const int16_t* samples, size_t frames)
    {
        for (size_t i = 0; i < frames; ++i, ++m_frame) {
            const bool zero = samples[2 * i] == 0 && samples[2 * i + 1] == 0;
            if (zero) {
                ++m_run;
                continue;
            }
            if (m_run > 0 && m_first != SIZE_MAX)
                Close();
            m_run = 0;
            if (m_first == SIZE_MAX)
                m_first = m_frame;
        }
    }
    // A run still open at the end is the silence after the play, not a hole.
    void Report() const
    {
        size_t joins = 0, holes = 0, holeFrames = 0;
        for (const auto& [length, count] : m_lengths) {
            if (length <= kJoinZeros) {
                joins += count;
            } else {
                holes += count;
                holeFrames += length * count;
            }
        }
        std::printf("captured %.1f s of sound: %zu joins of at most %zu zero frames, %zu longer runs of zeros "
                    "(%.1f ms in all), %zu of them at a join\n",
                    static_cast<double>(m_frame) / kRate, joins, kJoinZeros, holes,
                    static_cast<double>(holeFrames) * 1000 / kRate, m_atJoins);
        for (const auto& [length, count] : m_lengths)
            if (length > kJoinZeros)
                std::printf("  %zu run(s) of %zu zero frames (%.1f ms)\n", count, length,
                            static_cast<double>(length) * 1000 / kRate);
        for (const SHole& h : m_holes)
            std::printf("  a hole of %zu frames %.3f s into the sound, %.3f s before its pass's end\n", h.length,
                        static_cast<double>(h.at) / kRate, static_cast<double>(h.beforeEnd) / kRate);
    }

private:
    void Close()
    {
        ++m_lengths[m_run];
        if (m_run <= kJoinZeros)
            return;
        // Passes follow each other exactly, so a hole shifts every later one.
        const size_t at = m_frame - m_run - m_first;
        const size_t beforeEnd = m_pass - (at - m_shift) % m_pass;
        // Within 10 ms of a join: where the next pass waits for the device
        // to hold little of the one before (CAudioOut::HoldFrom).
        m_atJoins += beforeEnd <= kRate / 100 || beforeEnd >= m_pass - kRate / 100;
        if (m_holes.size() < 20)
            m_holes.push_back({at, m_run, beforeEnd});
        m_shift += m_run;
    }

    struct SHole
    {
        size_t at, length, beforeEnd; // frames
    };
    size_t m_pass;
    size_t m_frame = 0;
    size_t m_run = 0;
    size_t m_first = SIZE_MAX; // zeros before the first sound are the device's own start
    size_t m_shift = 0;        // frames of the holes so far
    size_t m_atJoins = 0;      // holes within 10 ms of a join
    std::map<size_t, size_t> m_lengths;
    std::vector<SHole> m_holes;
};

bool CountFrom(uint64_t offset, CZeroRuns* runs)
{
    CFileHandle file(CreateFileW(testsupport::CapturePath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                 nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file)
        return false;
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    if (!SetFilePointerEx(file.Get(), at, nullptr, FILE_BEGIN))
        return false;
    std::vector<int16_t> chunk(1 << 20);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.Get(), chunk.data(), static_cast<DWORD>(chunk.size() * sizeof(int16_t)), &got, nullptr))
            return false;
        if (got < 4)
            return true;
        runs->Add(chunk.data(), got / 4);
    }
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc > 1)
        _wputenv_s(L"RAVELIN_TESTDATA", argv[1]);
    const double minutes = argc > 2 ? _wtof(argv[2]) : 10;
    const float tempo = argc > 3 ? static_cast<float>(_wtof(argv[3])) : 0.8f;
    CIPtr<IAudioReader> reader;
    if (!CreateAudioReader(testsupport::TestData(L"tone440_10s.ogg").c_str(), &reader, true)) {
        std::printf("the test file does not open\n");
        return 1;
    }
    for (DWORD percent = 0; !reader->IsReady(&percent);)
        Sleep(10);
    const HWND window = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    CIPtr<ITimeContainer> tc(new CTimeContainer);
    tc->SetReader(reader);
    SPlayContext ctx;
    ctx.window = window;
    ctx.reader = reader;
    ctx.timeContainer = tc;
    SFragmentInfo f;
    f.StartTime = static_cast<LONGLONG>(kFrom * 1e6);
    f.EndTime = static_cast<LONGLONG>(kTo * 1e6);
    f.Tempo = tempo;
    f.Looped = 1;
    ctx.SetRange(f);
    const uint64_t from = testsupport::CaptureSize();
    if (!StartPlaybackThread(&ctx)) {
        std::printf("no playback thread\n");
        return 1;
    }
    std::printf("%.1f minutes of %.1f-%.1f s of a 440 Hz Ogg file looped at %.2fx\n", minutes, kFrom, kTo, tempo);
    std::fflush(stdout);
    const DWORD until = GetTickCount() + static_cast<DWORD>(minutes * 60000);
    while (static_cast<LONG>(until - GetTickCount()) > 0 && ctx.state.load() != kPlayEnded) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        Sleep(50);
    }
    const bool ended = ctx.state.load() == kPlayEnded;
    const int passes = ctx.pass.load();
    ctx.stop = true;
    JoinPlaybackThread(&ctx);
    tc->Clear();
    DestroyWindow(window);
    std::printf("%d passes heard%s\n", passes, ended ? "; the play ended by itself (a failure)" : "");
    const auto frameOf = [](double t) { return static_cast<size_t>(static_cast<LONGLONG>(t * 1e6) * kRate / 1000000); };
    CZeroRuns runs(static_cast<size_t>(std::llround((frameOf(kTo) - frameOf(kFrom)) / static_cast<double>(tempo))));
    if (!CountFrom(from, &runs)) {
        std::printf("the capture cannot be read\n");
        return 1;
    }
    runs.Report();
    return ended ? 1 : 0;
}
