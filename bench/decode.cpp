// Decoding a generated 5-minute 44.1 kHz stereo MP3 and Ogg Vorbis file to the
// end through our readers (DirectShow and libvorbisfile behind IAudioReader),
// against the plain decoder on the same file in the same run: GStreamer's
// gst-launch-1.0 (decodebin into fakesink) for the MP3, libvorbisfile's own
// ov_read loop for the Ogg. The sides run in turn, round after round (ours,
// plain, ours, plain, ...); each ratio is the median of the rounds' own
// ratios, printed with their spread.
//   bench_decode [Unix folder of the generated test data]
// Without an argument the folder comes from RAVELIN_TESTDATA.
#include <windows.h>

#include <vorbis/vorbisfile.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/CreateAudioReader.h"
#include "audio/DXAudioReader.h"
#include "bench/InterleavedRounds.h"
#include "common/Interfaces.h"

namespace {

const int kRounds = 9; // decodes of each side, in turn

std::wstring Widen(const std::string& s)
{
    std::wstring w;
    for (char c : s)
        w += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return w;
}

std::wstring WindowsPath(const std::string& unixPath)
{
    std::wstring w = L"Z:" + Widen(unixPath);
    for (auto& c : w)
        if (c == L'/')
            c = L'\\';
    return w;
}

// Ours: open through the factory, start, read 64 KiB blocks to the end.
double OurDecode(const std::wstring& path, long long* frames)
{
    const double t0 = Now();
    IAudioReader* raw = nullptr;
    if (!CreateAudioReader(path.c_str(), &raw, false))
        return -1;
    CIPtr<IAudioReader> reader;
    reader.Attach(raw);
    CIPtr<IProcess> process;
    if (FAILED(process.QueryFrom(reader, IID_IProcess)) || !process->Start())
        return -1;
    std::vector<char> buf(65536);
    DWORD got = 0;
    long long bytes = 0;
    while (reader->Read(buf.data(), static_cast<DWORD>(buf.size()), &got) && got)
        bytes += got;
    process->Stop();
    *frames = bytes / reader->GetFormat()->GetBlockAlign();
    return Now() - t0;
}

// Counts what the sink hands over; keeps nothing.
class CCountingCallback : public ISampleCallback
{
public:
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override
    {
        return AnswerQueryInterface(riid, ppv,
                                    {{IID_IUnknown, static_cast<ISampleCallback*>(this)},
                                     {IID_ISampleCallback, static_cast<ISampleCallback*>(this)}});
    }
    STDMETHODIMP_(ULONG) AddRef() override { return 2; } // lives on the stack
    STDMETHODIMP_(ULONG) Release() override { return 1; }
    HRESULT OnSample(IMediaSample* sample, REFERENCE_TIME, REFERENCE_TIME, BOOL) override
    {
        bytes += sample->GetActualDataLength();
        return S_OK;
    }
    void OnEndOfStream() override {}
    std::atomic<long long> bytes{0};
};

// The same graph with the same sink, its samples only counted: what the
// system's DirectShow path costs before our reader's ring and reads.
double GraphAlone(const std::wstring& path, long long* frames)
{
    const double t0 = Now();
    CIPtr<IGraphBuilder> graph;
    CIPtr<IGrabberSample> grabber;
    WAVEFORMATEX wf = {};
    if (!BuildAudioGraph(path.c_str(), &graph, &grabber, &wf))
        return -1;
    CCountingCallback counter;
    grabber->SetCallback(&counter);
    CIPtr<IMediaControl> control;
    CIPtr<IMediaEvent> events;
    if (FAILED(control.QueryFrom(graph, IID_IMediaControl)) || FAILED(events.QueryFrom(graph, IID_IMediaEvent)) ||
        FAILED(control->Run()))
        return -1;
    bool complete = false;
    while (!complete && Now() - t0 < 60) {
        long code = 0;
        LONG_PTR p1 = 0, p2 = 0;
        if (events->GetEvent(&code, &p1, &p2, 100) != S_OK)
            continue;
        events->FreeEventParams(code, p1, p2);
        complete = code == EC_COMPLETE;
    }
    const double t = Now() - t0;
    control->Stop();
    grabber->SetCallback(nullptr);
    *frames = counter.bytes / 4;
    return complete ? t : -1;
}

// libvorbisfile's own loop.
double PlainVorbis(const std::wstring& path, long long* frames)
{
    const double t0 = Now();
    FILE* f = _wfopen(path.c_str(), L"rb");
    OggVorbis_File vf;
    if (!f || ov_open(f, &vf, nullptr, 0) < 0)
        return -1;
    std::vector<char> buf(4096);
    int section = 0;
    long n;
    long long bytes = 0;
    while ((n = ov_read(&vf, buf.data(), static_cast<int>(buf.size()), 0, 2, 1, &section)) > 0)
        bytes += n;
    *frames = bytes / 4;
    ov_clear(&vf);
    return Now() - t0;
}

// gst-launch-1.0 as a native process, started and waited for from here.
// Wine neither waits for a native child nor passes its exit code on, so the
// shell that runs it leaves a marker file when it succeeded, and the end is
// when that file appears (or the time-out, a failure).
double PlainGStreamer(const std::string& unixPath)
{
    const std::string marker = "/tmp/ravelin-bench-gst-" + std::to_string(GetCurrentProcessId()) + ".ok";
    const std::wstring markerWin = WindowsPath(marker);
    DeleteFileW(markerWin.c_str());
    std::wstring cmd = L"/bin/sh -c \"gst-launch-1.0 -q filesrc location='" + Widen(unixPath) +
                       L"' ! decodebin ! fakesink && : > " + Widen(marker) + L"\"";
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    const double t0 = Now();
    if (!CreateProcessW(L"Z:\\bin\\sh", &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        std::printf("bench_decode: cannot start gst-launch-1.0 (error %lu)\n", GetLastError());
        return -1;
    }
    bool ok = false;
    while (!ok && Now() - t0 < 60) {
        ok = GetFileAttributesW(markerWin.c_str()) != INVALID_FILE_ATTRIBUTES;
        if (!ok)
            Sleep(1);
    }
    const double t = Now() - t0;
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    DeleteFileW(markerWin.c_str());
    if (!ok)
        std::printf("bench_decode: gst-launch-1.0 failed (is gstreamer1.0-tools installed?)\n");
    return ok ? t : -1;
}

// Side `ours` against side `plain` of the rounds: the median of each, the
// frames decoded, and the per-round ratios.
void Report(const char* what, const CInterleavedRounds& rounds, int ours, int plain, long long frames)
{
    const double oursMedian = rounds.Spread(ours).median, plainMedian = rounds.Spread(plain).median;
    std::printf("%-22s ours %7.3f s  plain %7.3f s  (medians; %lld frames, %.0fx real time)\n", what, oursMedian,
                plainMedian, frames, oursMedian > 0 ? frames / 44100.0 / oursMedian : 0.0);
    std::printf("%-22s ratio %s\n", "", SpreadText(rounds.RatioSpread(ours, plain), "rounds").c_str());
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    std::string folder;
    if (argc > 1) {
        for (const wchar_t* p = argv[1]; *p; ++p)
            folder += static_cast<char>(*p);
    } else if (const char* env = std::getenv("RAVELIN_TESTDATA")) {
        folder = env;
    }
    if (folder.empty()) {
        std::printf("bench_decode: no test-data folder (argument or RAVELIN_TESTDATA)\n");
        return 2;
    }
    if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)))
        return 1;
    const std::string mp3 = folder + "/tone440_5m.mp3", ogg = folder + "/tone440_5m.ogg";
    int rc = 0;

    // MP3: ours, gst-launch and the graph alone, in turn.
    long long frames = 0, graphFrames = 0;
    enum { kOurs, kGst, kGraph };
    const CInterleavedRounds mp3Rounds(kRounds, {[&] { return OurDecode(WindowsPath(mp3), &frames); },
                                                 [&] { return PlainGStreamer(mp3); },
                                                 [&] { return GraphAlone(WindowsPath(mp3), &graphFrames); }});
    if (mp3Rounds.AnyFailed()) {
        std::printf("bench_decode: MP3 %s failed\n", mp3Rounds.Failed(kOurs)  ? "reader"
                                                     : mp3Rounds.Failed(kGst) ? "gst-launch-1.0"
                                                                              : "graph alone");
        rc = 1;
    }
    Report("MP3 vs gst-launch", mp3Rounds, kOurs, kGst, frames);
    Report("MP3 vs graph alone", mp3Rounds, kOurs, kGraph, frames);
    Report("graph alone vs gst", mp3Rounds, kGraph, kGst, graphFrames);

    long long plainFrames = 0;
    const CInterleavedRounds oggRounds(kRounds, {[&] { return OurDecode(WindowsPath(ogg), &frames); },
                                                 [&] { return PlainVorbis(WindowsPath(ogg), &plainFrames); }});
    if (oggRounds.AnyFailed() || frames != plainFrames) {
        std::printf("bench_decode: Ogg failed or frame counts differ\n");
        rc = 1;
    }
    Report("Ogg vs ov_read loop", oggRounds, 0, 1, frames);
    CoUninitialize();
    return rc;
}
