#pragma once
// The peaks of one audio source, two per millisecond, each the lowest and
// highest sample (scaled to 8 bits) over a fixed number of frames. Filled
// either by a builder thread of its own that reads the whole source, or from
// outside through AddSamples (the whole-file cache pushes each block).
#include <atomic>
#include <vector>

#include "audio/IAudioReader.h"
#include "audio/IDisplay.h"
#include "audio/IPeakContainer.h"
#include "platform/mfc/afxworker.h"
#include "common/Interfaces.h"
#include "common/PtrArrays.h"
#include "platform/mfc/afxmt.h"

class CPeakContainer : public IPeakContainer
{
public:
    CPeakContainer(IAudioReader* source, bool buildOnThread);
    virtual ~CPeakContainer();

    CPeakContainer(const CPeakContainer&) = delete;
    CPeakContainer& operator=(const CPeakContainer&) = delete;

    [[nodiscard]] HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    [[nodiscard]] bool StartBuild() override;
    [[nodiscard]] bool GetPeak(LONGLONG from, LONGLONG to, SPeak* out) override;
    int AddListener(IDisplay* display) override;
    [[nodiscard]] bool RemoveListener(IDisplay* display) override;
    IAudioReader* GetReader() override;
    [[nodiscard]] bool IsComplete() override;
    int GetPeakCount() override;
    int GetCurrentIndex() override;
    void StopAndWait() override;
    void Build() override;
    void AddSamples(const int16_t* samples, int bytes) override;

    int GetFramesPerPeak() const { return m_framesPerPeak; }

private:
    static UINT BuilderProc(LPVOID param);
    // Sizes the peaks for the source; false when it gets none.
    [[nodiscard]] bool MakePeaks();
    // Reads the whole source into the peaks; false when the build was
    // stopped or the source aborted meanwhile.
    [[nodiscard]] bool ReadSource(IProcess* process);
    void NotifyListeners();
    // The source ended after the frames done: when it now announces fewer
    // frames than at the start, the peaks and their duration end there too.
    void CutToSource();

    CRefCount m_refs{0};
    std::atomic<bool> m_stop{false};
    CIPtr<IAudioReader> m_source;
    SAudioFormat m_format;
    std::atomic<LONGLONG> m_duration{0}; // cut with the peaks (CutToSource)
    LONGLONG m_dataSize = 0;
    LONGLONG m_frameCount = 0;
    // Written by the one filling thread, read by the user-interface thread
    // without a lock: a peak read while it changes is corrected by the next
    // redraw.
    std::vector<SPeak> m_peaks;
    std::atomic<int> m_currentIndex{0};
    LONGLONG m_framesDone = 0;
    int m_framesPerPeak = 0;
    // Cut (never grown) by the filling thread when the source ends early;
    // m_peaks keeps its size, so a reader of an older count stays inside.
    std::atomic<int> m_peakCount{0};
    std::atomic<bool> m_complete{false};
    bool m_buildOnThread;
    CCriticalSection m_lock; // guards m_listeners and m_builder
    CIArray<IDisplay> m_listeners;
    CWorkerThread m_builder;
};
