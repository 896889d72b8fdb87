#pragma once
// Wraps another reader. When the file's PCM is below 100 MiB, a loader thread
// decodes the whole file into memory once, feeding the peak container block
// by block; afterwards reads and seeks are memory copies. Larger files (or a
// cache that cannot be allocated) are served by the wrapped reader, and their
// peaks are built on a thread of the peak container from a second reader of
// the same file, so that playback and peak building never share a position.
#include <atomic>
#include <cstdint>

#include "audio/AudioReader.h"
#include "platform/mfc/afxworker.h"

class CAudioReaderCacher : public CAudioReader
{
public:
    static constexpr LONGLONG kCacheLimit = 104857600; // bytes of PCM
    static constexpr DWORD kLoadBlock = 65536;

    explicit CAudioReaderCacher(IAudioReader* inner);
    ~CAudioReaderCacher() override;

    [[nodiscard]] bool Open(LPCWSTR path) override;
    LONGLONG GetDuration() override;
    LONGLONG GetDataSize() override;
    LONGLONG GetFrameCount() override;
    [[nodiscard]] bool GetPeakContainer(IPeakContainer** out, IAudioReader* source = nullptr) override;
    void Abort() override;
    [[nodiscard]] bool Read(void* buffer, DWORD bytes, DWORD* got) override;
    [[nodiscard]] bool Seek(LONGLONG frame, DWORD* reserved = nullptr) override;
    LONGLONG GetPosition() override;
    [[nodiscard]] bool IsReady(DWORD* percent = nullptr) override;
    [[nodiscard]] bool BuildsPeaksOnThread() override;

    [[nodiscard]] bool Start() override;
    [[nodiscard]] bool Stop() override;
    [[nodiscard]] bool IsRunning() override;

    // The peak container that describes this wrapper (made on first use).
    [[nodiscard]] virtual bool GetOwnPeakContainer(IPeakContainer** out);

    // Whether reads are served from memory.
    [[nodiscard]] bool IsCaching() const { return m_cache != nullptr; }

private:
    static UINT LoaderProc(LPVOID param);
    void Load();
    // The source ended early: what was loaded is the whole file from now on
    // (lengths cut to it; the loader then reports ready).
    void FinishEarly(LONGLONG filled);

    CIPtr<IAudioReader> m_inner;
    CIPtr<IProcess> m_innerProcess;
    CIPtr<IAudioReader> m_peakSource; // second reader for an uncached file
    // The loader's reference to the container it fills, taken before the
    // loader starts: the container holds the wrapper, so the wrapper lives
    // at least as long as its loader needs it.
    CIPtr<IPeakContainer> m_loaderPeaks;
    bool m_cacheRunning = false;
    // Written by Open and, when the source ends early, by the loader before
    // it sets m_ready; read from any thread.
    std::atomic<LONGLONG> m_cDuration{0};
    std::atomic<LONGLONG> m_cDataSize{0};
    std::atomic<LONGLONG> m_cFrameCount{0};
    LONGLONG m_cPosition = 0;
    std::atomic<LONGLONG> m_filled{0}; // whole frames loaded, in bytes
    std::atomic<bool> m_ready{false};
    int m_blockAlign = 0;
    uint8_t* m_cache = nullptr; // fixed from Open to destruction
    CWorkerThread m_loader;
};
