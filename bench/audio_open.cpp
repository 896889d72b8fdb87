// Opening a 5-minute 44.1 kHz stereo WAV with the whole-file cache until it
// is ready and all its peaks are built, against a plain read of the same file
// into memory, the two in turn (ours, plain, ours, plain, ...), with the
// median and spread of the per-pair ratios; then where the time goes (the
// loader's block reads, the peaks of bytes in memory) and the process's
// memory with the file open, against the PCM size.
//   bench_audio_open [folder of the generated test data]
// Without an argument the folder comes from RAVELIN_TESTDATA (a Unix path).
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "audio/CreateAudioReader.h"
#include "audio/IPeakContainer.h"
#include "audio/PeakContainer.h"
#include "bench/InterleavedRounds.h"
#include "common/Interfaces.h"

namespace {

const int kPairs = 15; // opens of each side, in turn

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

// The same file read in the cache loader's block size into memory that is
// already touched (no first-touch cost).
double BlockRead(const std::wstring& path, std::vector<char>* data)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return -1;
    LARGE_INTEGER size;
    GetFileSizeEx(h, &size);
    data->resize(static_cast<size_t>(size.QuadPart));
    const double t0 = Now();
    size_t at = 0;
    DWORD got = 0;
    while (
        at < data->size() &&
        ReadFile(h, data->data() + at, static_cast<DWORD>(std::min<size_t>(65536, data->size() - at)), &got, nullptr) &&
        got)
        at += got;
    const double t = Now() - t0;
    CloseHandle(h);
    return t;
}

// The peaks of samples already in memory, fed as the loader feeds them.
double PeaksOnly(const std::wstring& path, const std::vector<char>& file)
{
    CIPtr<IAudioReader> reader;
    if (!CreateAudioReader(path.c_str(), &reader, false) || file.size() < 44)
        return -1;
    const double t0 = Now();
    CIPtr<CPeakContainer> peaks(new CPeakContainer(reader, false));
    for (size_t at = 44; at < file.size(); at += 65536)
        peaks->AddSamples(reinterpret_cast<const int16_t*>(file.data() + at),
                          static_cast<int>(std::min<size_t>(65536, file.size() - at)));
    return Now() - t0;
}

struct SMemory
{
    double workingSet = 0; // MB
    double privateBytes = 0;
};

SMemory MemoryNow()
{
    PROCESS_MEMORY_COUNTERS_EX pmc = {};
    pmc.cb = sizeof pmc;
    SMemory m;
    if (GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&pmc), sizeof pmc)) {
        m.workingSet = pmc.WorkingSetSize / 1048576.0;
        // Some systems leave the private count empty; the commit charge
        // (page-file usage) is the same figure for a process.
        m.privateBytes = (pmc.PrivateUsage ? pmc.PrivateUsage : pmc.PagefileUsage) / 1048576.0;
    }
    return m;
}

// Ours: open with the cache, wait until it is ready and the peaks complete.
// With `memory`, the process's memory before the open and with the file open.
double CachedOpen(const std::wstring& path, int* peakCount, SMemory* before = nullptr, SMemory* open = nullptr)
{
    if (before)
        *before = MemoryNow();
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
    if (open)
        *open = MemoryNow();
    reader->Abort();
    return t;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring path = DataFile(argc, argv);
    size_t bytes = 0;
    int peakCount = 0;
    PlainRead(path, &bytes); // warm the file cache for both
    const CInterleavedRounds pairs(
        kPairs, {[&] { return CachedOpen(path, &peakCount); }, [&] { return PlainRead(path, &bytes); }});
    if (pairs.AnyFailed()) {
        std::fwprintf(stderr, L"cannot open %ls\n", path.c_str());
        return 1;
    }
    std::printf("file: %zu bytes, %d peaks\n", bytes, peakCount);
    std::printf("cached open, ready, all peaks:   %8.1f ms (median of %d)\n", pairs.Spread(0).median * 1000, kPairs);
    std::printf("plain read into memory:          %8.1f ms (median of %d, each after one of ours)\n",
                pairs.Spread(1).median * 1000, kPairs);
    std::printf("ratio cached open/plain read: %s\n", SpreadText(pairs.RatioSpread(0, 1)).c_str());

    const int runs = 5;

    std::vector<char> file;
    double block = 1e9, peaks = 1e9;
    for (int i = 0; i < runs; ++i) {
        block = std::min(block, BlockRead(path, &file));
        peaks = std::min(peaks, PeaksOnly(path, file));
    }
    std::printf("of which, measured alone:\n");
    std::printf("  64 KiB reads into touched memory: %8.1f ms\n", block * 1000);
    std::printf("  peaks of the bytes in memory:     %8.1f ms\n", peaks * 1000);

    // Memory with the file open, measured in a fresh state of the heap as
    // far as it goes: everything above is released by now.
    file.clear();
    file.shrink_to_fit();
    SMemory before, open;
    if (CachedOpen(path, &peakCount, &before, &open) < 0)
        return 1;
    const double pcm = (bytes - 44) / 1048576.0;
    const double peakMb = peakCount * 2 / 1048576.0;
    const double limit = pcm * 1.1 + peakMb;
    std::printf("memory with the file open (PCM %.1f MB, peaks %.1f MB, limit %.1f MB above the start):\n", pcm, peakMb,
                limit);
    std::printf("  working set:   %8.1f MB (start %.1f, +%.1f)\n", open.workingSet, before.workingSet,
                open.workingSet - before.workingSet);
    std::printf("  private bytes: %8.1f MB (start %.1f, +%.1f)\n", open.privateBytes, before.privateBytes,
                open.privateBytes - before.privateBytes);
    return 0;
}
