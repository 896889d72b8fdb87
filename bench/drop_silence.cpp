// The silence heard where queued sound is dropped at once: the playback
// thread's drops (a play position asked for while playing, and a range
// that leaves what is heard behind) against the plain sequence on an output
// of its own (a reset, then the new place written at once), in turn, round
// after round. Noise plays throughout, so every run of exact zeros in the
// capture is silence the device was given or made: each drop's run is
// counted by its length, and one as long as the device's period (about
// 10 ms, 441 frames; the thread's fade-in adds its first, zero frame) is
// the fault looked for: the system's driver gives a device that was reset
// and holds nothing such a period of zeros when its period comes round
// before the device is started again.
//   bench_drop_silence [Unix folder of the generated test data] [rounds]
// Without a folder it comes from RAVELIN_TESTDATA; 5 rounds of 10 drops of
// each kind unless told.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "audio/AudioOut.h"
#include "audio/CreateAudioReader.h"
#include "app/PlaybackThread.h"
#include "app/TimeContainer.h"
#include "bench/TestData.h"
#include "tests/support/TestSupport.h"

namespace {

constexpr int kDropsPerRound = 10;
constexpr DWORD kBetweenMs = 150; // wall time between drops: about 0.6 s of the capture's sound
// Zero runs shorter than this are the sound's own (and the fade-in's first
// frame); a period of the device's silence is about 441 frames.
constexpr size_t kShortest = 32;

struct SKind
{
    explicit SKind(const char* name) : name(name) {}
    const char* name;
    int drops = 0;
    std::map<size_t, int> runs; // zero-run length -> count
};

void Pump(DWORD ms)
{
    const DWORD until = GetTickCount() + ms;
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 2, QS_ALLINPUT);
    } while (static_cast<LONG>(until - GetTickCount()) > 0);
}

uint64_t Settled()
{
    uint64_t size = testsupport::CaptureSize();
    for (int same = 0; same < 4;) {
        Pump(50);
        const uint64_t now = testsupport::CaptureSize();
        same = now == size ? same + 1 : 0;
        size = now;
    }
    return size;
}

// Runs of frames whose two channels are both exactly zero, between the
// first and the last sound of the capture from `from` on.
void CountRuns(uint64_t from, SKind& kind)
{
    const std::vector<uint8_t> bytes = testsupport::ReadCapture(from);
    const size_t frames = bytes.size() / 4;
    const auto* s = reinterpret_cast<const int16_t*>(bytes.data());
    size_t first = 0;
    while (first < frames && s[2 * first] == 0 && s[2 * first + 1] == 0)
        ++first;
    size_t last = frames;
    while (last > first && s[2 * (last - 1)] == 0 && s[2 * (last - 1) + 1] == 0)
        --last;
    size_t run = 0;
    for (size_t i = first; i < last; ++i) {
        if (s[2 * i] == 0 && s[2 * i + 1] == 0) {
            ++run;
            continue;
        }
        if (run >= kShortest)
            ++kind.runs[run];
        run = 0;
    }
}

// The plain sequence: noise written ahead as the thread writes it (8 KB at
// a time, about a second queued, the device holding what the thread lets it
// hold), and at each drop a reset and one big write of the new place.
void PlainRound(IAudioReader* reader, const std::vector<char>& all, SKind& kind)
{
    const SAudioFormat* f = reader->GetFormat();
    const int perSecond = static_cast<int>(f->GetBytesPerSecond());
    const uint64_t from = Settled();
    CIPtr<CAudioOut> out(new CAudioOut(1048576));
    if (!out->Open(f, WAVE_MAPPER))
        return;
    out->SetDeviceLimit(perSecond * 80 / 1000 * 4, perSecond * 70 / 1000);
    size_t at = 0;
    const auto next = [&](int bytes) {
        bytes = std::min<int>(bytes, static_cast<int>(all.size() - at));
        if (out->Write(all.data() + at, bytes))
            at = (at + bytes) % all.size();
    };
    const auto fill = [&](DWORD ms) {
        const DWORD until = GetTickCount() + ms;
        do {
            while (out->GetPendingBytes() < perSecond)
                next(8192);
            Sleep(5);
        } while (static_cast<LONG>(until - GetTickCount()) > 0);
    };
    fill(300);
    for (int i = 0; i < kDropsPerRound; ++i) {
        // Anywhere in the device's period, as the thread's drops come (this
        // loop would keep step with the driver's period otherwise).
        Sleep(static_cast<DWORD>(rand() % 10));
        out->Reset();
        at = static_cast<size_t>((i % 2 ? 2 : 7) * perSecond + i * 4410 * 4) % all.size();
        next(perSecond);
        ++kind.drops;
        fill(kBetweenMs);
    }
    out->Reset();
    out = nullptr;
    CountRuns(from, kind);
}

// The playback thread on the noise at its own tempo, looped: a play
// position asked for as the pane asks (the position set, the thread woken),
// or a range that leaves what is heard behind.
void ThreadRound(HWND window, IAudioReader* reader, bool seeks, SKind& kind)
{
    const uint64_t from = Settled();
    SPlayContext ctx;
    CIPtr<ITimeContainer> tc = new CTimeContainer;
    tc->SetReader(reader);
    ctx.window = window;
    ctx.reader = reader;
    ctx.timeContainer = tc;
    SFragmentInfo f;
    f.StartTime = seeks ? 0 : 500000;
    f.EndTime = seeks ? 10000000 : 4500000;
    f.Tempo = 1.0f;
    f.Looped = 1;
    ctx.SetRange(f);
    tc->SetPlayCursor(-1);
    if (!StartPlaybackThread(&ctx))
        return;
    Pump(300);
    for (int i = 0; i < kDropsPerRound; ++i) {
        if (seeks) {
            tc->SetPlayPosition(static_cast<LONGLONG>(((i % 2 ? 2.0 : 7.0) + i * 0.1) * 1e6));
            ctx.Wake();
        } else {
            // From the one half of the file to the other.
            const bool low = f.StartTime < 5000000;
            f.StartTime = low ? 5500000 : 500000;
            f.EndTime = low ? 9500000 : 4500000;
            ctx.SetRange(f);
        }
        ++kind.drops;
        Pump(kBetweenMs);
    }
    ctx.stop = true;
    JoinPlaybackThread(&ctx);
    CountRuns(from, kind);
}

void Report(const SKind& k)
{
    int period = 0, other = 0;
    std::string lengths;
    for (const auto& [length, count] : k.runs) {
        (length >= 400 && length <= 480 ? period : other) += count;
        lengths += " " + std::to_string(length) + "x" + std::to_string(count);
    }
    std::printf("  %-34s %3d drops: %3d followed by a period of zeros (400-480 frames), %d other runs of %zu+ zeros\n",
                k.name, k.drops, period, other, kShortest);
    std::printf("  %-34s zero runs (frames x count):%s\n", "", lengths.empty() ? " none" : lengths.c_str());
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::string folder = TestDataFolder(argc, argv);
    const int rounds = argc > 2 ? std::max(1, _wtoi(argv[2])) : 5;
    if (waveOutGetNumDevs() == 0 || !getenv("RAVELIN_CAPTURE")) {
        std::fprintf(stderr, "no captured sound device (RAVELIN_CAPTURE)\n");
        return 1;
    }
    CIPtr<IAudioReader> reader;
    if (!CreateAudioReader(WindowsPath(folder + "/noise_10s.wav").c_str(), &reader, true)) {
        std::fprintf(stderr, "cannot open noise_10s.wav in %s\n", folder.c_str());
        return 1;
    }
    for (DWORD percent = 0; !reader->IsReady(&percent);)
        Sleep(10);
    std::vector<char> all(static_cast<size_t>(reader->GetFrameCount()) * reader->GetFormat()->GetBlockAlign());
    DWORD got = 0;
    size_t have = 0;
    (void)reader->Seek(0);
    while (have < all.size() &&
           reader->Read(all.data() + have, static_cast<DWORD>(std::min<size_t>(65536, all.size() - have)), &got) && got)
        have += got;
    all.resize(have);
    HWND window = CreateWindowW(L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    SKind plain{"reset, then the new place at once"};
    SKind seek{"thread: play position asked for"};
    SKind range{"thread: range left behind"};
    for (int r = 0; r < rounds; ++r) {
        PlainRound(reader, all, plain);
        ThreadRound(window, reader, true, seek);
        ThreadRound(window, reader, false, range);
    }
    std::printf("Silence after a drop, %d rounds of %d drops of each kind in turn:\n", rounds, kDropsPerRound);
    Report(plain);
    Report(seek);
    Report(range);
    DestroyWindow(window);
    return 0;
}
