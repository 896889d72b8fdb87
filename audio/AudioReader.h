#pragma once
// What every audio reader shares: format, lengths, position, the abort flag
// and the lazily made peak container. Concrete readers override Open, Read
// and Seek (and whatever else their format needs).
#include <atomic>

#include "audio/IAudioReader.h"
#include "audio/IPeakContainer.h"
#include "common/Interfaces.h"
#include "platform/mfc/afxmt.h"
#include "platform/mfc/afxstr.h"

class CAudioReader : public IAudioReader, public IProcess
{
public:
    CAudioReader();
    virtual ~CAudioReader();

    CAudioReader(const CAudioReader&) = delete;
    CAudioReader& operator=(const CAudioReader&) = delete;

    // IUnknown: IUnknown and IAudioReader answer the object, IProcess its
    // IProcess part. A reader with more interfaces overrides QueryInterface
    // and passes the rest here.
    [[nodiscard]] HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IAudioReader
    [[nodiscard]] bool Open(LPCWSTR path) override;
    LONGLONG GetDuration() override;
    LONGLONG GetDataSize() override;
    LONGLONG GetFrameCount() override;
    [[nodiscard]] bool GetPeakContainer(IPeakContainer** out, IAudioReader* source = nullptr) override;
    void Abort() override;
    [[nodiscard]] bool IsAborted() override;
    SAudioFormat* GetFormat() override;
    LONGLONG GetPosition() override;
    LPCWSTR GetPath() override;
    [[nodiscard]] bool IsReady(DWORD* percent = nullptr) override;

    // IProcess
    [[nodiscard]] bool Start() override;
    [[nodiscard]] bool Stop() override;
    [[nodiscard]] bool IsRunning() override;

    // Whether a peak container made for this reader builds on a thread of
    // its own (true), or is filled from outside (false).
    [[nodiscard]] virtual bool BuildsPeaksOnThread();

protected:
    void SetPath(LPCWSTR path);

    SAudioFormat m_format;
    LONGLONG m_duration = 0;
    DWORD m_dataSize = 0;
    LONGLONG m_position = 0;
    bool m_running = false;
    // Guards the peak container field and the setting of the abort flag;
    // a subclass may take it for state of its own that goes with them.
    CCriticalSection m_lock;

private:
    CRefCount m_refs{0};
    CIPtr<IPeakContainer> m_peaks;
    std::atomic<bool> m_aborted{false};
    CString m_path;
};
