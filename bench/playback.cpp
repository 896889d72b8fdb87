// Playing at 0.5x through the playback thread (reader, time-stretch stage,
// output ring and waveOut) against the time-stretch stage alone on the same
// samples in the same run, the two in turn: CPU seconds per second of
// output, and how often the play cursor moved. Then the time from the play
// command to the first samples handed to the output, in turn with opening the
// output and writing one block by hand, and from the stop command to silence.
// Each ratio is the median of the rounds' own ratios, with their spread.
// Then a play position asked for while playing: the sound of the old place
// still played after the request and the wall time until the new place's
// first frame is handed to the device, read from the captured sound device.
// Last, the memory of the process (private bytes and bytes in use on its
// heaps) before and after a long looped run of a short fragment.
//   bench_playback [Unix folder of the generated test data] [stops]
// Without an argument the folder comes from RAVELIN_TESTDATA. With a number
// of stops after the folder only the play command and stop rounds run, that
// many of them: a quick look at the stop's spread, run again and again
// beside another build.
#include <windows.h>

#include <soundtouch/TDStretch.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "audio/AudioOut.h"
#include "audio/CreateAudioReader.h"
#include "app/PlaybackThread.h"
#include "app/TimeContainer.h"
#include "bench/TestData.h"
#include "bench/InterleavedRounds.h"
#include "tests/app/CaptureKit.h"
#include "common/ScopedHandle.h"
#include "tests/support/TestSupport.h"

namespace {

constexpr double kSeconds = 60; // source seconds played
constexpr float kTempo = 0.5f;
constexpr double kLoopSeconds = 240; // output seconds of the memory run
constexpr int kCpuRounds = 9;        // played runs and runs of the stage alone, in turn
constexpr int kStartRounds = 11;     // play commands and opens by hand, in turn
constexpr int kSeeks = 9;            // play positions asked for while playing

double ProcessCpu()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto secs = [](FILETIME f) {
        return (static_cast<double>(f.dwHighDateTime) * 4294967296.0 + f.dwLowDateTime) / 1e7;
    };
    return secs(kernel) + secs(user);
}

double ThreadCpu(HANDLE thread)
{
    FILETIME created, exited, kernel, user;
    GetThreadTimes(thread, &created, &exited, &kernel, &user);
    auto secs = [](FILETIME f) {
        return (static_cast<double>(f.dwHighDateTime) * 4294967296.0 + f.dwLowDateTime) / 1e7;
    };
    return secs(kernel) + secs(user);
}

// Committed private memory of the process (walked region by region: the
// system's counter is not kept everywhere), and of its heaps the bytes
// committed and the bytes in use.
struct SMemory
{
    double privateKb = 0;
    double heapCommittedKb = 0;
    double heapUsedKb = 0;
};

SMemory Memory()
{
    SMemory m;
    MEMORY_BASIC_INFORMATION mbi;
    for (const char* p = nullptr; VirtualQuery(p, &mbi, sizeof mbi) == sizeof mbi;
         p = static_cast<const char*>(mbi.BaseAddress) + mbi.RegionSize) {
        if (mbi.State == MEM_COMMIT && mbi.Type == MEM_PRIVATE)
            m.privateKb += static_cast<double>(mbi.RegionSize) / 1024;
        if (mbi.RegionSize == 0)
            break;
    }
    HANDLE heaps[64];
    const DWORD n = std::min<DWORD>(GetProcessHeaps(64, heaps), 64);
    for (DWORD i = 0; i < n; ++i) {
        if (!HeapLock(heaps[i]))
            continue;
        PROCESS_HEAP_ENTRY e = {};
        while (HeapWalk(heaps[i], &e)) {
            if (e.wFlags & PROCESS_HEAP_ENTRY_BUSY)
                m.heapUsedKb += static_cast<double>(e.cbData) / 1024;
            if (e.wFlags & PROCESS_HEAP_REGION)
                m.heapCommittedKb += static_cast<double>(e.Region.dwCommittedSize) / 1024;
        }
        HeapUnlock(heaps[i]);
    }
    return m;
}

// The play cursor's moves the host window has seen.
int g_cursorMoves = 0;

// The host window answers the thread as the transcription pane does: at
// every position message it hands the range on (the thread waits for that
// at a play's natural end), and it counts the messages that moved the
// cursor (near the end some only ask for the hand-over). Its play context
// is in the window's user data.
LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != WM_PLAY_POSITION)
        return DefWindowProcW(window, message, wParam, lParam);
    static LONGLONG last = -1;
    auto* ctx = reinterpret_cast<SPlayContext*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (ctx && ctx->state.load() == kPlayPlaying) {
        const LONGLONG cursor = ctx->timeContainer->GetPlayCursor();
        g_cursorMoves += cursor != last;
        last = cursor;
        ctx->SetRange(ctx->Snapshot().fragment);
    }
    return 0;
}

HWND CreateHost()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = HostProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"RavelinBenchHost";
    RegisterClassW(&wc);
    return CreateWindowW(wc.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
}

// Takes the window thread's messages for `ms`.
void Pump(DWORD ms)
{
    const DWORD until = GetTickCount() + ms;
    do {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (static_cast<LONG>(until - GetTickCount()) > 0);
}

// Stop to silence: the thread resets the output (dropping what is queued)
// before it ends, so its end bounds the time the device still sounds.
double StopToSilence(SPlayContext& ctx)
{
    const double t0 = Now();
    ctx.stop = true;
    WaitForSingleObject(ctx.thread.GetHandle(), INFINITE);
    const double t = Now() - t0;
    JoinPlaybackThread(&ctx);
    return t;
}

struct SRun
{
    SRun() = default;
    SRun(const SRun&) = delete;
    SRun& operator=(const SRun&) = delete;
    // The host forgets the context (a position message may still be queued).
    ~SRun()
    {
        if (window)
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    }
    HWND window = nullptr;
    SPlayContext ctx;
    CIPtr<ITimeContainer> tc;
};

void Prepare(SRun& run, IAudioReader* reader, double seconds, int looped = 0, double from = 0)
{
    run.tc = new CTimeContainer;
    run.tc->SetReader(reader);
    run.ctx.window = run.window;
    SetWindowLongPtrW(run.window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&run.ctx));
    run.ctx.reader = reader;
    run.ctx.timeContainer = run.tc;
    SFragmentInfo f;
    f.StartTime = static_cast<LONGLONG>(from * 1e6);
    f.EndTime = static_cast<LONGLONG>((from + seconds) * 1e6);
    f.Tempo = kTempo;
    f.Looped = looped;
    run.ctx.SetRange(f);
}

// CPU seconds of the stage alone for the same source seconds.
double StretchAlone(IAudioReader* reader)
{
    const SAudioFormat* f = reader->GetFormat();
    const int frameSize = f->GetBlockAlign();
    std::vector<char> all(static_cast<size_t>(kSeconds * f->GetBytesPerSecond()));
    DWORD got = 0;
    size_t have = 0;
    (void)reader->Seek(0);
    while (have < all.size() &&
           reader->Read(all.data() + have, static_cast<DWORD>(std::min<size_t>(65536, all.size() - have)), &got) && got)
        have += got;
    std::unique_ptr<soundtouch::TDStretch> stretch(soundtouch::TDStretch::newInstance());
    stretch->setParameters(static_cast<int>(f->nSamplesPerSec), 82, 14, 12);
    stretch->setChannels(static_cast<int>(f->nChannels));
    std::vector<short> out(65536);
    const double cpu = ThreadCpu(GetCurrentThread());
    const int step = static_cast<int>(kTempo * 8192) / frameSize;
    for (size_t frame = 0; frame * frameSize < have; frame += step) {
        stretch->setTempo(kTempo);
        stretch->putSamples(reinterpret_cast<const short*>(all.data() + frame * frameSize),
                            static_cast<unsigned>(std::min<size_t>(step, have / frameSize - frame)));
        while (stretch->numSamples() > 0)
            stretch->receiveSamples(out.data(), std::min(stretch->numSamples(), 65536u / f->nChannels));
    }
    return ThreadCpu(GetCurrentThread()) - cpu;
}

LONGLONG CaptureFrames()
{
    return static_cast<LONGLONG>(testsupport::CaptureSize() / 4);
}

// Asks for play positions while noise plays in a loop at 0.5x, as the pane
// does (the position set, the thread woken). What is queued is dropped and
// the new place is heard from its very frame, faded in: the old place's
// sound after a request is what the capture holds from the request to
// there; the new place is handed to the device once the capture has grown
// past its first frame.
bool SeekFigures(HWND window, IAudioReader* reader, std::vector<double>* oldMs, std::vector<double>* wallMs)
{
    if (!getenv("RAVELIN_CAPTURE"))
        return false;
    const std::vector<int16_t> source = captest::SourceLeft(reader);
    const DWORD rate = reader->GetFormat()->nSamplesPerSec;
    const LONGLONG start = CaptureFrames();
    SRun run;
    run.window = window;
    Prepare(run, reader, static_cast<double>(reader->GetDuration()) / 1000, 1);
    if (!StartPlaybackThread(&run.ctx))
        return false;
    struct SAsked
    {
        double to;                                       // seconds into the file
        LONGLONG frame;                                  // the capture's length when asked
        std::vector<std::pair<double, LONGLONG>> growth; // wall seconds after, capture length
    };
    std::vector<SAsked> asked;
    Pump(500);
    for (int i = 0; i < kSeeks; ++i) {
        Pump(250);
        SAsked a;
        a.to = (i % 2 ? 2.0 : 7.0) + i * 0.1;
        a.frame = CaptureFrames() - start;
        const double t0 = Now();
        run.tc->SetPlayPosition(static_cast<LONGLONG>(a.to * 1e6));
        run.ctx.Wake();
        while (Now() - t0 < 0.6) {
            a.growth.emplace_back(Now() - t0, CaptureFrames() - start);
            Sleep(1);
        }
        asked.push_back(a);
    }
    StopToSilence(run.ctx);
    for (LONGLONG size = -1, now = CaptureFrames(); size != now; now = CaptureFrames()) {
        size = now;
        Pump(200);
    }
    const captest::CCapture capture(static_cast<uint64_t>(start) * 4);
    const size_t fade = rate * 5 / 1000;
    for (const SAsked& a : asked) {
        const long long place = captest::FindPlace(capture, source, static_cast<size_t>(std::llround(a.to * rate)),
                                                   static_cast<size_t>(a.frame), fade);
        if (place < 0)
            continue;
        oldMs->push_back(static_cast<double>(place - a.frame) * 1000 / rate);
        for (const auto& g : a.growth)
            if (g.second > place) {
                wallMs->push_back(g.first * 1000);
                break;
            }
    }
    return !oldMs->empty();
}

// Play command to the first samples handed to the output (the thread moves
// the play cursor right after its first write), in turn with opening the
// output and writing one block by hand, `rounds` times; each play is stopped
// 300 ms in. False when the thread could not be started.
bool StartStopRounds(HWND window, IAudioReader* reader, int rounds)
{
    std::vector<double> stopMs;
    const Measure firstSamples = [&] {
        SRun r;
        r.window = window;
        Prepare(r, reader, 5);
        const double t0 = Now();
        if (!StartPlaybackThread(&r.ctx))
            return -1.0;
        while (r.tc->GetPlayCursor() == -1 && r.ctx.state != kPlayEnded)
            Sleep(0);
        const double t = Now() - t0;
        Pump(300);
        stopMs.push_back(StopToSilence(r.ctx) * 1000);
        return t;
    };
    const Measure byHand = [&] {
        const double t0 = Now();
        CIPtr<CAudioOut> out(new CAudioOut(1048576));
        std::vector<char> block(8192);
        if (!out->Open(reader->GetFormat(), WAVE_MAPPER) || !out->Write(block.data(), static_cast<int>(block.size())))
            return -1.0;
        return Now() - t0;
    };
    const CInterleavedRounds startRounds(rounds, {firstSamples, byHand});
    if (startRounds.Failed(0)) {
        std::printf("the playback thread could not be started\n");
        return false;
    }
    if (startRounds.Failed(1))
        std::printf("the output could not be opened and written by hand\n");
    printf("Play command to the first samples handed to the output: %.1f ms (open and write by hand %.1f ms; medians "
           "of %d)\n",
           startRounds.Spread(0).median * 1000, startRounds.Spread(1).median * 1000, rounds);
    printf("  ratio: %s\n", SpreadText(startRounds.RatioSpread(0, 1), "rounds").c_str());
    // The worst stop is what a user may meet; the median and the quartiles
    // tell a slow path from a stop that met a busy moment.
    const SSpread stops = SpreadOf(stopMs);
    printf("Stop command to silence (output reset, thread ended): %.1f ms (worst of %d)\n", stops.max, stops.count);
    printf("  ms: %s\n", SpreadText(stops, "stops").c_str());
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::string folder = TestDataFolder(argc, argv);
    const std::wstring path = WindowsPath(folder + "/tone440_5m.wav");
    CIPtr<IAudioReader> reader;
    if (!CreateAudioReader(path.c_str(), &reader, false)) {
        fwprintf(stderr, L"cannot open %ls\n", path.c_str());
        return 1;
    }
    if (waveOutGetNumDevs() == 0) {
        fwprintf(stderr, L"no sound device\n");
        return 1;
    }
    HWND window = CreateHost();
    if (argc > 2) {
        const int stops = _wtoi(argv[2]);
        if (stops < 1) {
            fwprintf(stderr, L"the number of stops is to be 1 or more\n");
            return 1;
        }
        const bool ok = StartStopRounds(window, reader, stops);
        DestroyWindow(window);
        return ok ? 0 : 1;
    }

    // The played run and the stage alone in turn, round after round, so a
    // busy machine spoils neither side alone; the ratio is judged from the
    // rounds' own ratios.
    const double output = kSeconds / kTempo;
    std::vector<double> process, moves;
    double wall = 0;
    const Measure played = [&] {
        SRun run;
        run.window = window;
        Prepare(run, reader, kSeconds);
        const double cpu = ProcessCpu();
        const double started = Now();
        if (!StartPlaybackThread(&run.ctx))
            return -1.0;
        // The window's thread takes the position messages as the pane's
        // does: a queue nobody empties makes every post dearer. The times
        // are read while the thread runs: the system forgets an ended
        // thread's times.
        HANDLE handle = run.ctx.thread.GetHandle();
        double mine = 0;
        const int movesBefore = g_cursorMoves;
        while (MsgWaitForMultipleObjects(1, &handle, FALSE, 10, QS_ALLINPUT) != WAIT_OBJECT_0) {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&msg);
            mine = std::max(mine, ThreadCpu(handle));
        }
        JoinPlaybackThread(&run.ctx);
        process.push_back(ProcessCpu() - cpu);
        wall = Now() - started;
        moves.push_back((g_cursorMoves - movesBefore) / wall);
        return mine;
    };
    const CInterleavedRounds cpuRounds(kCpuRounds, {played, [&] { return StretchAlone(reader); }});
    if (cpuRounds.Failed(0)) {
        std::printf("the playback thread could not be started\n");
        return 1;
    }
    printf("CPU per second of output at 0.5x (%.0f s of output, played in %.1f s; medians of %d):\n", output, wall,
           kCpuRounds);
    printf("  playback thread %.3f ms, stage alone %.3f ms\n", cpuRounds.Spread(0).median / output * 1000,
           cpuRounds.Spread(1).median / output * 1000);
    printf("  ratio playback thread/stage alone: %s\n", SpreadText(cpuRounds.RatioSpread(0, 1), "rounds").c_str());
    printf("  whole process while playing (with the output's feeder and the system's sound path) %.3f ms\n",
           SpreadOf(process).median / output * 1000);
    printf("  play cursor moves per second of wall time: %.1f (fewest of %d)\n", SpreadOf(moves).min, kCpuRounds);

    if (!StartStopRounds(window, reader, kStartRounds))
        return 1;

    std::vector<double> oldMs, wallMs;
    CIPtr<IAudioReader> noise;
    if (CreateAudioReader(WindowsPath(folder + "/noise_10s.wav").c_str(), &noise, false) &&
        SeekFigures(window, noise, &oldMs, &wallMs)) {
        const SSpread o = SpreadOf(oldMs), w = SpreadOf(wallMs);
        printf("Play position asked for while playing at 0.5x (%d of %d found in the capture):\n", o.count, kSeeks);
        printf("  old place played after the request: %.1f ms of sound (median; %.1f to %.1f)\n", o.median, o.min,
               o.max);
        printf("  request to the new place's first frame handed to the device: %.0f ms of wall time (median; %.0f "
               "to %.0f)\n",
               w.median, w.min, w.max);
    } else {
        printf("Play position asked for while playing: no captured sound device (RAVELIN_CAPTURE) to read\n");
    }

    // Memory: a 2-s fragment looped for kLoopSeconds of output, after a
    // short looped run that makes whatever is made once per process.
    {
        SRun warm;
        warm.window = window;
        Prepare(warm, reader, 2, 1, 10);
        if (!StartPlaybackThread(&warm.ctx)) {
            std::printf("the playback thread could not be started\n");
            return 1;
        }
        Pump(2000);
        StopToSilence(warm.ctx);
    }
    Pump(300);
    const SMemory before = Memory();
    SRun loop;
    loop.window = window;
    Prepare(loop, reader, 2, 1, 10);
    const double l0 = Now();
    if (!StartPlaybackThread(&loop.ctx)) {
        std::printf("the playback thread could not be started\n");
        return 1;
    }
    double heard = 0, early = 0;
    SMemory first;
    while (heard < kLoopSeconds && loop.ctx.state != kPlayEnded) {
        Pump(500);
        heard = static_cast<double>(loop.ctx.pass.load()) * 2 / kTempo;
        if (early == 0 && heard >= kLoopSeconds / 4) {
            early = heard;
            first = Memory();
        }
    }
    const SMemory last = Memory();
    const double loopStop = StopToSilence(loop.ctx);
    const double loopWall = Now() - l0;
    Pump(300);
    const SMemory after = Memory();
    printf("Memory over a looped 2-s fragment (%.0f s of output in %.1f s, stopped in %.1f ms), kB:\n", heard, loopWall,
           loopStop * 1000);
    printf("  private committed %.0f before, %.0f at %.0f s, %.0f at %.0f s, %.0f after stop: %+.2f kB per second of "
           "output while playing\n",
           before.privateKb, first.privateKb, early, last.privateKb, heard, after.privateKb,
           heard > early ? (last.privateKb - first.privateKb) / (heard - early) : 0);
    printf("  heaps committed %.0f -> %.0f -> %.0f -> %.0f, in use %.0f -> %.0f -> %.0f -> %.0f\n",
           before.heapCommittedKb, first.heapCommittedKb, last.heapCommittedKb, after.heapCommittedKb,
           before.heapUsedKb, first.heapUsedKb, last.heapUsedKb, after.heapUsedKb);
    DestroyWindow(window);
    return 0;
}
