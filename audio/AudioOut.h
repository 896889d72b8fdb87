#pragma once
// Plays PCM through waveOut. The producer writes bytes into a ring without
// waiting; a feeder thread moves them, scaled by the volume, into a fixed pool
// of device buffers; the device's completion callback only queues refills
// (and notes when the system's thread gave a block back), which wake the
// feeder at once, but those of the feeder's own device calls. While the
// system's thread is late, the feeder moves the queued blocks on itself
// (PushWhenLate). What has not gone to the device yet can be taken back
// (Withdraw) while the device plays on.
//
// Locks: the output lock (m_lock) may be held while the ring's own lock is
// taken and while a device call (a reset, a write, a restart) runs the
// callback; the callback takes only the feeder's command lock; Write takes
// only the ring's lock, then the command lock. The command lock is never
// held while another lock is taken, nor while the feeder's event is set.
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
    enum ECommand { None = 0, Refill = 1, ResetAll = 2 };

    explicit SAudioOutThreadInfo(CAudioOut* owner) : owner(owner) {}
    virtual ~SAudioOutThreadInfo() = default;

    // Front of the queue, None when empty.
    int Take();
    // Appends; a refill is not queued again while one is waiting (one refill
    // moves everything there is), so a reset never waits behind a pile of them.
    // Wakes the feeder if `wake`; otherwise the feeder takes the command at
    // its next wake-up, 10 ms later at the latest.
    void Put(int command, bool wake = true);
    // Waits up to `ms` for a command to be put; false when none came. A
    // command queued without a wake-up (the feeder's own, put while it
    // passed without one) ends the wait at once.
    bool Wait(DWORD ms);

    CWorkerThread thread;
    std::atomic<bool> stop{false};
    CAudioOut* const owner;

private:
    CCriticalSection m_lock; // guards m_commands, m_refillQueued and m_woken
    std::deque<int> m_commands;
    bool m_refillQueued = false;
    bool m_woken = false; // the event was set since the feeder last took a command
    CEvent m_put;         // set by Put (the waveOut callback may set an event)
};

class CAudioOut : public IAudioOut
{
public:
    // The most bytes of a device block; a block holds whole frames of them
    // (GetBlockSize).
    static constexpr int kBlockSize = 1024;
    static constexpr int kBlockCount = 100;
    // After an open or a reset the device stays paused until this many
    // blocks are queued (or fewer where the device limit, or the held limit
    // before a hold, is smaller: StartBlocks; or a drain, or a feeder pass
    // that brought nothing new): started with less, it runs dry before the
    // next refill and plays silence of its own in between.
    static constexpr int kStartBlocks = 8;
    // A reset leaves the device playing what it holds until the sound
    // written after it can follow at once (StartBlocks, or a drain; where
    // the device plays, right after the driver's next period), or for this
    // long when none comes: reset and left without sound, the device is
    // given a period (10 ms) of exact zeros of its own before the new sound
    // whenever the system's driver comes round meanwhile.
    static constexpr DWORD kResetWaitMs = 20;
    // A block the system's thread gave back less than this long ago came
    // right after the driver took its period (10 ms): a device reset made
    // now is done, with the new sound's first blocks, long before the next.
    static constexpr LONGLONG kJustBackMs = 3;
    // A device that plays gives a block back at every period of the
    // driver, or at least every block's length of sound. Under Wine the
    // system's thread that does so also moves the queued blocks into the
    // system's own buffer (a tenth of a second of sound), so that on a busy
    // machine where it is late for longer the device runs dry however many
    // blocks it holds: silent for this long (or two blocks' length, where
    // that is more), it is late, and the feeder moves the blocks on itself
    // (PushWhenLate), again every kLateMs until it comes.
    static constexpr LONGLONG kLateMs = 12;

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
    // Drops everything queued: the ring at once, the device's share once
    // the sound written next can follow it (right after the driver's next
    // period, where the device plays), or kResetWaitMs later. Meanwhile
    // that share counts as played.
    void Reset() override;
    void Drain() override;

    // Null stops the telling; when this returns, no call is under way.
    void SetListener(IAudioOutListener* listener, DWORD everyMs);
    // The device is given blocks only while it holds fewer than `bytes`
    // (whole blocks, at least one); the rest waits in the ring, where
    // Withdraw can still take it back without stopping the device. Past a
    // hold (HoldFrom) the device is given blocks only while it holds fewer
    // than `heldBytes`. The whole pool until set.
    void SetDeviceLimit(int bytes, int heldBytes);
    // Sound from byte `at` on (counted since the output was opened or last
    // reset) stays back until the device holds fewer than the held limit of
    // what comes before it, so that it can still be taken back until
    // shortly before it is heard. Holds may be asked for in any order; one
    // asked for again is kept once.
    void HoldFrom(LONGLONG at);
    // Takes back everything not yet given to the device: the first
    // min(maxBytes, unsent) bytes are copied to `out`, then all of them
    // leave the ring, and the holds among them and a drain asked for go.
    // Answers how many bytes were unsent: whole frames, as the device is
    // given whole frames only (when whole frames are written). What the
    // device holds plays on: the sound goes on with what is written next,
    // frame for frame, without a pause and without anything lost or played
    // twice.
    int Withdraw(void* out, int maxBytes);
    // Bytes written and not yet given to the device: what Withdraw would
    // take back now.
    int GetUnsentBytes();

    // Every 16-bit sample s becomes s * percent / 100, truncated toward zero;
    // at 100 the samples stay bit-exact.
    static void ScaleByVolume(int16_t* samples, int count, UINT percent);

    // How often, in this process, a feeder gave a block to a device that
    // held none while it played: started, neither paused nor reset since,
    // and no drain under way or ended since it was last given a block (the
    // last sound of a drain played out is an end, and what is written after
    // it a new sound). The device had played or given back all it was given
    // while more was to come, so it plays silence of its own from the
    // driver's next period on unless that block reaches it first. Counted
    // across every output, never reset.
    static long long RanDryCount();
    // How often, in this process, a feeder restarted a device that played
    // while the system's thread was late (PushWhenLate): the device held
    // blocks, but under Wine that thread also moves them into the system's
    // own buffer, which may have played out meanwhile, a device run dry
    // that RanDryCount does not see. Counted across every output, never
    // reset.
    static long long LateRestartCount();

private:
    static UINT FeederProc(LPVOID param);
    static void CALLBACK WaveOutCallback(HWAVEOUT device, UINT message, DWORD_PTR instance, DWORD_PTR param1,
                                         DWORD_PTR param2);
    // Moves whole blocks from the ring to free device buffers, up to the
    // device limit; while draining also the bytes of a last, unfinished
    // block. Starts a paused device once enough is queued.
    void Feed();
    // A feeder pass after a wait in which no command came: blocks waiting
    // on a paused device start now, since nothing more is coming for the
    // moment.
    void StartWaiting();
    // Starts the paused device with what it holds. Under the output lock.
    void StartDevice();
    // A device that plays while the system's thread is late (kLateMs) is
    // restarted: on Windows that changes nothing for a device that plays;
    // under Wine it moves the queued blocks into the system's buffer at
    // once and gives back those played, as the system's thread would have.
    // Made outside the output lock, and not once a stop is asked for.
    void PushWhenLate();
    // Milliseconds the system's thread has owed a block back (since it
    // last gave one, the device started, or the feeder last restarted it),
    // or -1 where a restart is not to move the device's blocks on (no
    // device, not started, a reset due, or fewer blocks queued than
    // kStartBlocks). Under the output lock.
    LONGLONG SilentMs();
    // The feeder's longest wait: 10 ms, less where the system's thread
    // becomes late sooner.
    DWORD NextPassMs();
    int PendingBlocks();
    // The device reset a Reset asked for, once the new sound can follow it
    // (right after the driver took its period, where the device plays) or
    // kResetWaitMs have passed; false while it waits.
    bool ResetDeviceWhenDue();
    // A block came back from the device within kJustBackMs (the system's
    // thread tells it right after the driver's period).
    [[nodiscard]] bool BlockJustBack() const;
    // The blocks with the device, a reset due or not.
    int DeviceBlocks();
    // The blocks the device may hold now: the held limit where the next
    // block reaches a hold, else the device limit. Under the output lock.
    int Limit() const;
    // The blocks a paused device starts with: kStartBlocks, or the limit
    // when that is smaller. Under the output lock.
    int StartBlocks() const;
    void Close();
    void TellListener();
    SWaveHeader* FirstFreeHeader();
    const SWaveHeader* FirstPendingHeader();
    // False when the device did not take the block (its bytes are lost).
    bool WriteBlock(SWaveHeader* header, int bytes);

    CRefCount m_refs{0};
    CGCPtrArray<SWaveHeader> m_headers;
    HWAVEOUT m_device = nullptr;
    CRingBuffer m_ring;
    std::atomic<UINT> m_volume{100};
    CCriticalSection m_lock; // device, pool, staging block, start and reset state, limits and holds
    SAudioOutThreadInfo m_feeder;
    WAVEFORMATEX m_waveFormat;
    UINT m_deviceId = WAVE_MAPPER;
    alignas(8) unsigned char m_staging[kBlockSize];
    // Bytes of a device block: the most whole frames kBlockSize holds.
    int m_blockBytes = kBlockSize;
    // True from an open or a reset until the device was started again; set
    // under the output lock, read by Write without it.
    std::atomic<bool> m_firstFeed{true};
    // A reset asked for at m_resetAsked (GetTickCount) whose device reset is
    // still to come: the blocks the device holds no longer count as pending.
    bool m_resetDue = false;
    DWORD m_resetAsked = 0;
    // Started, and neither paused nor reset since.
    bool m_deviceRuns = false;
    // When the system's thread last gave a block back (performance counter,
    // set by the waveOut callback), and the counter's ticks a millisecond.
    std::atomic<LONGLONG> m_blockBack{0};
    LONGLONG m_ticksPerMs = 1;
    // When the system's thread is late (kLateMs, or two blocks' length of
    // sound of the open format).
    LONGLONG m_lateMs = kLateMs;
    // Since when (performance counter) the system's thread has owed a block
    // back, but for the blocks it gave (m_blockBack): SilentMs.
    LONGLONG m_owedSince = 0;
    int m_deviceLimit = kBlockCount; // blocks
    int m_heldLimit = kBlockCount;   // blocks, past a hold
    LONGLONG m_sentBytes = 0;        // given to the device since the open or reset
    std::deque<LONGLONG> m_holds;    // ascending, beyond m_sentBytes
    // Set by Drain until the ring is empty or a last, unfinished block went
    // out (also when the pool was full at the time of the request); sound
    // written after that ends again with the next Drain. Set and cleared
    // under the output lock only, so a reset or a withdrawal ends every
    // drain asked for before it: the sound written after them goes out in
    // whole blocks.
    bool m_draining = false;
    // A drain's last sound went to the device and nothing was given to it
    // since (RanDryCount). Under the output lock.
    bool m_drainedEnd = false;
    // Taken before any other lock of the output (and before the listener's own).
    CCriticalSection m_listenerLock;
    IAudioOutListener* m_listener = nullptr;
    DWORD m_listenEvery = 0;
    DWORD m_lastTold = 0;
};
