#pragma once
// Plays PCM through waveOut. The producer writes bytes into a ring without
// waiting; a feeder thread moves them, scaled by the volume, into a fixed pool
// of device buffers; the device's completion callback only queues refills.
//
// Locks: the output lock (m_lock) may be held while the ring's own lock is
// taken and while waveOutReset runs the callback; the callback takes only the
// feeder's command lock; Write takes only the ring's lock, then the command
// lock. The command lock is never held while another lock is taken.
#include <atomic>
#include <deque>

#include "audio/IAudioOut.h"
#include "audio/WaveHeader.h"
#include "platform/mfc/afxworker.h"
#include "common/Interfaces.h"
#include "common/PtrArrays.h"
#include "common/RingBuffer.h"
#include "platform/mfc/afxmt.h"

class CAudioOut;

// Told on the feeder thread, about every `everyMs` given to SetListener,
// while the output holds sound: a producer follows what is heard from here
// instead of waking for it. It may call the output's producer functions
// (GetPendingBytes and the like) but must not set or clear the listener.
struct IAudioOutListener
{
    virtual void OnPlaying() = 0;

protected:
    ~IAudioOutListener() = default;
};

// The feeder thread's state.
class SAudioOutThreadInfo
{
public:
    enum ECommand { None = 0, Refill = 1, ResetAll = 2, DrainAll = 3 };

    explicit SAudioOutThreadInfo(CAudioOut* owner) : owner(owner) {}
    virtual ~SAudioOutThreadInfo() = default;

    // Front of the queue, None when empty.
    int Take();
    // Appends; a refill is not queued again while one is waiting (one refill
    // moves everything there is), so a reset never waits behind a pile of them.
    void Put(int command);

    CWorkerThread thread;
    std::atomic<bool> stop{false};
    CAudioOut* const owner;

private:
    CCriticalSection m_lock; // guards m_commands and m_refillQueued
    std::deque<int> m_commands;
    bool m_refillQueued = false;
};

class CAudioOut : public IAudioOut
{
public:
    static constexpr int kBlockSize = 1024;
    static constexpr int kBlockCount = 100;

    explicit CAudioOut(int ringCapacity);
    virtual ~CAudioOut();

    CAudioOut(const CAudioOut&) = delete;
    CAudioOut& operator=(const CAudioOut&) = delete;

    [[nodiscard]] HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    [[nodiscard]] bool Open(const SAudioFormat* format, UINT deviceId) override;
    [[nodiscard]] bool Write(const void* data, int bytes) override;
    void RequestReset() override;
    int GetPendingBytes() override;
    int GetPendingMs() override;
    void SetVolume(UINT percent) override;
    UINT GetBlockSize() override;
    [[nodiscard]] bool IsFull() override;
    void Reset() override;
    void Drain() override;

    // Null stops the telling; when this returns, no call is under way.
    void SetListener(IAudioOutListener* listener, DWORD everyMs);

    // Every 16-bit sample s becomes s * percent / 100, truncated toward zero;
    // at 100 the samples stay bit-exact.
    static void ScaleByVolume(int16_t* samples, int count, UINT percent);

private:
    static UINT FeederProc(LPVOID param);
    static void CALLBACK WaveOutCallback(HWAVEOUT device, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                                         DWORD_PTR param2);
    // Moves whole blocks from the ring to free device buffers; while
    // draining also the bytes of a last, unfinished block.
    void Feed();
    void Close();
    void TellListener();
    SWaveHeader* FirstFreeHeader();
    const SWaveHeader* FirstPendingHeader();
    void WriteBlock(SWaveHeader* header, int bytes);

    CRefCount m_refs{0};
    CGCPtrArray<SWaveHeader> m_headers;
    HWAVEOUT m_device = nullptr;
    CRingBuffer m_ring;
    std::atomic<UINT> m_volume{100};
    CCriticalSection m_lock; // device, pool, staging block, first-feed flag
    SAudioOutThreadInfo m_feeder;
    WAVEFORMATEX m_waveFormat;
    UINT m_deviceId = WAVE_MAPPER;
    alignas(8) unsigned char m_staging[kBlockSize];
    bool m_firstFeed = true;
    // Set by Drain until the ring is empty: a last, unfinished block goes
    // out too, also when the pool was full at the time of the request.
    bool m_draining = false;
    // Taken before any other lock of the output (and before the listener's own).
    CCriticalSection m_listenerLock;
    IAudioOutListener* m_listener = nullptr;
    DWORD m_listenEvery = 0;
    DWORD m_lastTold = 0;
};
