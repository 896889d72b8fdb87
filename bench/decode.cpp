// Decoding a generated 5-minute 44.1 kHz stereo MP3 and Ogg Vorbis file to the
// end through our readers (DirectShow and libvorbisfile behind IAudioReader),
// against the plain decoder on the same file in the same run: GStreamer's
// gst-launch-1.0 (decodebin into fakesink) for the MP3, libvorbisfile's own
// ov_read loop for the Ogg.
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
#include "common/Interfaces.h"

namespace {

const int kRuns = 5; // the best of these counts, against noise

double Now()
{
    static LARGE_INTEGER freq = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

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

template <class F>
double Best(F run)
{
    double best = -1;
    for (int i = 0; i < kRuns; ++i) {
        double t = run();
        if (t < 0)
            return -1;
        if (best < 0 || t < best)
            best = t;
    }
    return best;
}

void Report(const char* what, double ours, double plain, long long frames)
{
    std::printf("%-22s ours %7.3f s  plain %7.3f s  ratio %5.2f  (%lld frames, %.0fx real time)\n", what, ours, plain,
                plain > 0 ? ours / plain : 0.0, frames, ours > 0 ? frames / 44100.0 / ours : 0.0);
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

    long long frames = 0;
    const double oursMp3 = Best([&] { return OurDecode(WindowsPath(mp3), &frames); });
    const double plainMp3 = Best([&] { return PlainGStreamer(mp3); });
    if (oursMp3 < 0 || plainMp3 < 0) {
        std::printf("bench_decode: MP3 %s failed\n", oursMp3 < 0 ? "reader" : "gst-launch-1.0");
        rc = 1;
    }
    Report("MP3 vs gst-launch", oursMp3, plainMp3, frames);
    long long graphFrames = 0;
    const double graphMp3 = Best([&] { return GraphAlone(WindowsPath(mp3), &graphFrames); });
    Report("MP3 vs graph alone", oursMp3, graphMp3, graphFrames);
    Report("graph alone vs gst", graphMp3, plainMp3, graphFrames);

    long long plainFrames = 0;
    const double oursOgg = Best([&] { return OurDecode(WindowsPath(ogg), &frames); });
    const double plainOgg = Best([&] { return PlainVorbis(WindowsPath(ogg), &plainFrames); });
    if (oursOgg < 0 || plainOgg < 0 || frames != plainFrames) {
        std::printf("bench_decode: Ogg failed or frame counts differ\n");
        rc = 1;
    }
    Report("Ogg vs ov_read loop", oursOgg, plainOgg, frames);
    CoUninitialize();
    return rc;
}
