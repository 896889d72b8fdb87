#pragma once
// CTimeContainer: the one shared time model of an open file. Used from the
// user-interface thread and the playback thread: every change, and the
// selection tests and the play-position request, run inside one re-entrant
// lock, and the views are notified inside it (so a view told about the play
// cursor runs on the playback thread). The plain getters read without it.
#include <atomic>
#include "platform/mfc/afxmt.h"
#include "common/Interfaces.h"
#include "common/PtrArrays.h"
#include "audio/IAudioReader.h"
#include "audio/IDisplay.h"
#include "app/ITimeContainer.h"

class CTimeContainer : public ITimeContainer
{
public:
    CTimeContainer();
    virtual ~CTimeContainer();
    CTimeContainer(const CTimeContainer&) = delete;
    CTimeContainer& operator=(const CTimeContainer&) = delete;

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return m_refs.AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return m_refs.Release(this); }

    void SetPosition(LONGLONG t) override;
    LONGLONG GetPosition() override { return m_position; }
    LONGLONG GetSelStart() override { return m_selStart; }
    LONGLONG GetSelEnd() override { return m_selEnd; }
    LONGLONG GetSelMin() override;
    LONGLONG GetSelMax() override;
    void SetSelection(LONGLONG a, LONGLONG b) override;
    [[nodiscard]] bool IsInSelection(LONGLONG t) override;
    [[nodiscard]] bool HasSelection() override;
    LONGLONG GetScale() override { return m_scale; }
    [[nodiscard]] bool SetScale(LONGLONG scale) override;
    LONGLONG PixelToTime(int x, bool absolute) override;
    int TimeToPixel(LONGLONG t, bool relative) override;
    LONGLONG GetLength() override { return m_length; }
    void SetReader(IAudioReader* reader) override;
    IAudioReader* GetReader() override { return m_reader; }
    void UpdateLength() override;
    void AddDisplay(IDisplay* display) override;
    void SetPlayCursor(LONGLONG t) override;
    LONGLONG GetPlayCursor() override { return m_playCursor; }
    LONGLONG GetPrevPlayCursor() override { return m_prevPlayCursor; }
    void SetPlayPosition(LONGLONG t) override;
    LONGLONG GetPlayPosition(bool clear) override;
    void Clear() override;

private:
    enum class ENotice { Invalidate, Selection, PlayCursor, PlayPosition };
    // Tells every view, first added first; runs inside the lock.
    void NotifyAll(ENotice notice);

    CRefCount m_refs{0};
    std::atomic<LONGLONG> m_position{0};
    std::atomic<LONGLONG> m_selStart{0};
    std::atomic<LONGLONG> m_selEnd{0};
    std::atomic<LONGLONG> m_scale{500};
    std::atomic<LONGLONG> m_length{0};
    CIPtr<IAudioReader> m_reader;
    CIArray<IDisplay> m_displays;
    std::atomic<LONGLONG> m_prevPlayCursor{-1};
    std::atomic<LONGLONG> m_playCursor{-1};
    std::atomic<LONGLONG> m_playPosition{0};
    CCriticalSection m_lock;
};
