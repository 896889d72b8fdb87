// Opening a 5-minute 44.1 kHz stereo WAV with the whole-file cache until it
// is ready and all its peaks are built, against a plain read of the same file
// into memory.
//   bench_audio_open [folder of the generated test data]
// Without an argument the folder comes from RAVELIN_TESTDATA (a Unix path).
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/CreateAudioReader.h"
#include "audio/IPeakContainer.h"
#include "common/Interfaces.h"

namespace {

double Now()
{
    static LARGE_INTEGER freq = [] { LARGE_INTEGER f; QueryPerformanceFrequency(&f); return f; }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / static_cast<double>(freq.QuadPart);
}

std::wstring DataFile(int argc, wchar_t** argv)
{
    std::wstring folder;
    if (argc > 1) {
        folder = argv[1];
    } else if (const char* env = std::getenv("RAVELIN_TESTDATA")) {
        folder = L"Z:";
        for (const char* p = env; *p; ++p)
            folder += *p == '/' ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(*p));
    }
    return folder + L"\\tone440_5m.wav";
}

// The baseline: the whole file into memory with one read.
double PlainRead(const std::wstring& path, size_t* bytes)
{
    const double t0 = Now();
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return -1;
    LARGE_INTEGER size;
    GetFileSizeEx(h, &size);
    std::vector<char> data(static_cast<size_t>(size.QuadPart));
    DWORD got = 0;
    const BOOL ok = ReadFile(h, data.data(), static_cast<DWORD>(data.size()), &got, nullptr);
    CloseHandle(h);
    *bytes = got;
    return ok && got == data.size() ? Now() - t0 : -1;
}

// Ours: open with the cache, wait until it is ready and the peaks complete.
double CachedOpen(const std::wstring& path, int* peakCount)
{
    const double t0 = Now();
    CIPtr<IAudioReader> reader;
    if (!CreateAudioReader(path.c_str(), &reader, true))
        return -1;
    CIPtr<IPeakContainer> peaks;
    if (!reader->GetPeakContainer(&peaks))
        return -1;
    while (!reader->IsReady() || !peaks->IsComplete())
        Sleep(1); // a spinning poll would steal time from the loader
    const double t = Now() - t0;
    *peakCount = peaks->GetPeakCount();
    reader->Abort();
    return t;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring path = DataFile(argc, argv);
    const int runs = 5;
    double bestPlain = 1e9, bestOurs = 1e9;
    size_t bytes = 0;
    int peakCount = 0;
    PlainRead(path, &bytes); // warm the file cache for both
    for (int i = 0; i < runs; ++i) {
        const double plain = PlainRead(path, &bytes);
        const double ours = CachedOpen(path, &peakCount);
        if (plain < 0 || ours < 0) {
            std::fwprintf(stderr, L"cannot open %ls\n", path.c_str());
            return 1;
        }
        bestPlain = plain < bestPlain ? plain : bestPlain;
        bestOurs = ours < bestOurs ? ours : bestOurs;
    }
    std::printf("file: %zu bytes, %d peaks\n", bytes, peakCount);
    std::printf("plain read into memory:          %8.1f ms (best of %d)\n", bestPlain * 1000, runs);
    std::printf("cached open, ready, all peaks:   %8.1f ms (best of %d)\n", bestOurs * 1000, runs);
    std::printf("ratio: %.2f\n", bestOurs / bestPlain);
    return 0;
}
