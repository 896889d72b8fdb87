#include "audio/AudioOut.h"

#include <algorithm>
#include <cstring>

#include "common/CritSecLock.h"

namespace {

std::atomic<long long> g_ranDry{0};       // CAudioOut::RanDryCount
std::atomic<long long> g_lateRestarts{0}; // CAudioOut::LateRestartCount

} // namespace

int SAudioOutThreadInfo::Take()
{
    CCritSecLock lock(&m_lock);
    if (m_commands.empty())
        return None;
    const int command = m_commands.front();
    m_commands.pop_front();
    if (command == Refill)
        m_refillQueued = false;
    m_woken = false;
    return command;
}

void SAudioOutThreadInfo::Put(int command, bool wake)
{
    {
        CCritSecLock lock(&m_lock);
        if (command != Refill || !m_refillQueued) {
            m_refillQueued = m_refillQueued || command == Refill;
            m_commands.push_back(command);
        }
        // A refill queued without a wake-up is woken by the next Put that
        // asks for one, so a block the device gave back is still refilled
        // at once.
        if (!wake || m_woken)
            return;
        m_woken = true;
    }
    // Outside the lock: setting the event is a call to the system that may
    // take long on a busy machine, and whoever puts a command meanwhile must
    // not wait for it: the feeder itself does, for the blocks a device reset
    // gives back, between the reset and the new sound. Set after the feeder
    // took the command, it only wakes the feeder once more for nothing.
    m_put.SetEvent();
}

bool SAudioOutThreadInfo::Wait(DWORD ms)
{
    {
        CCritSecLock lock(&m_lock);
        if (!m_commands.empty())
            return true;
    }
    return WaitForSingleObject(m_put, ms) == WAIT_OBJECT_0;
}

CAudioOut::CAudioOut(int ringCapacity)
    : m_headers(true), m_ring(ringCapacity), m_feeder(this), m_waveFormat(), m_staging()
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    m_ticksPerMs = std::max<LONGLONG>(1, frequency.QuadPart / 1000);
}

CAudioOut::~CAudioOut()
{
    if (m_feeder.thread.IsStarted()) {
        m_feeder.stop = true;
        // Woken, not left to its wait: a reset's device share goes now.
        m_feeder.Put(SAudioOutThreadInfo::Refill);
        m_feeder.thread.Join(); // the feeder closes the device on its way out
    }
}

HRESULT STDMETHODCALLTYPE CAudioOut::QueryInterface(REFIID iid, void** out)
{
    return AnswerQueryInterface(
        iid, out, {{IID_IUnknown, static_cast<IAudioOut*>(this)}, {IID_IAudioOut, static_cast<IAudioOut*>(this)}});
}

ULONG STDMETHODCALLTYPE CAudioOut::AddRef()
{
    return m_refs.AddRef();
}

ULONG STDMETHODCALLTYPE CAudioOut::Release()
{
    return m_refs.Release(this);
}

bool CAudioOut::Open(const SAudioFormat* format, UINT deviceId)
{
    // Nonsense (an unset format among it) never reaches the device, which
    // may accept it.
    if (!format || (format->nBitsPerSample != 8 && format->nBitsPerSample != 16) || format->nChannels < 1 ||
        format->nChannels > 8 || format->nSamplesPerSec < 1 || format->nSamplesPerSec > 384000)
        return false;
    CCritSecLock lock(&m_lock);
    if (m_device || m_feeder.thread.IsStarted())
        return false;
    m_deviceId = deviceId;
    WAVEFORMATEX wf = {};
    wf.wFormatTag = WAVE_FORMAT_PCM;
    wf.nChannels = static_cast<WORD>(format->nChannels);
    wf.nSamplesPerSec = format->nSamplesPerSec;
    wf.wBitsPerSample = static_cast<WORD>(format->nBitsPerSample);
    wf.nBlockAlign = static_cast<WORD>(format->GetBlockAlign());
    wf.nAvgBytesPerSec = static_cast<DWORD>(format->GetBytesPerSecond());
    wf.cbSize = 0;
    m_waveFormat = wf;

    HWAVEOUT device = nullptr;
    if (waveOutOpen(&device, deviceId, &m_waveFormat, reinterpret_cast<DWORD_PTR>(&WaveOutCallback),
                    reinterpret_cast<DWORD_PTR>(&m_feeder), CALLBACK_FUNCTION) != MMSYSERR_NOERROR) {
        m_waveFormat = WAVEFORMATEX();
        return false;
    }
    m_device = device;
    // The device takes whole frames only: a block that ends inside a frame
    // of 3, 5, 6 or 7 channels would start the next one out of step (the
    // system converts each block on its own), and a withdrawal after it
    // would hand back sound from inside a frame.
    m_blockBytes = kBlockSize / wf.nBlockAlign * wf.nBlockAlign;
    m_lateMs = std::max<LONGLONG>(kLateMs, 2000LL * m_blockBytes / wf.nAvgBytesPerSec);
    for (int i = 0; i < kBlockCount; ++i)
        m_headers.Add(new SWaveHeader(kBlockSize));
    m_firstFeed = true;
    if (!m_feeder.thread.Start(&CAudioOut::FeederProc, &m_feeder)) {
        waveOutClose(m_device);
        m_device = nullptr;
        m_headers.RemoveAll();
        m_waveFormat = WAVEFORMATEX();
        return false;
    }
    return true;
}

void CALLBACK CAudioOut::WaveOutCallback(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR, DWORD_PTR)
{
    // Queue a refill, call no device function.
    if (!instance || message != WOM_DONE)
        return;
    auto* info = reinterpret_cast<SAudioOutThreadInfo*>(instance);
    if (info->thread.IsCurrentThread()) {
        // The feeder's own device call gave the block back (a reset gives
        // every block back at once, and under Wine a restart those the
        // device has played by now): the feeder takes the refill on its next
        // pass, unwoken, and this is no sign of the driver's period.
        info->Put(SAudioOutThreadInfo::Refill, false);
        return;
    }
    // The system's thread, right after the driver took its period.
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    info->owner->m_blockBack = now.QuadPart;
    info->Put(SAudioOutThreadInfo::Refill);
}

UINT CAudioOut::FeederProc(LPVOID param)
{
    auto* info = static_cast<SAudioOutThreadInfo*>(param);
    if (!info || !info->owner)
        return static_cast<UINT>(-1);
    CAudioOut* self = info->owner;
    bool quiet = false; // the last wait ended with no command
    while (!info->stop) {
        const int command = info->Take();
        switch (command) {
        case SAudioOutThreadInfo::Refill: self->Feed(); break;
        case SAudioOutThreadInfo::ResetAll: self->Reset(); break;
        default:
            if (quiet)
                self->StartWaiting();
            break;
        }
        self->PushWhenLate();
        self->TellListener();
        // A block the device gave back is refilled at once: the device
        // holds little (SetDeviceLimit) and must not run dry meanwhile.
        quiet = command == SAudioOutThreadInfo::None && !info->Wait(self->NextPassMs());
    }
    self->Close();
    return 0;
}

bool CAudioOut::Write(const void* data, int bytes)
{
    if (!m_ring.Write(data, bytes))
        return false;
    // Waking the feeder costs the producer a system call per write. While
    // the device plays, it is needed only when the ring held less than a
    // block before this write: otherwise the feeder stopped at the device
    // limit or with every buffer out, and the device's next finished block
    // wakes it (or it is still feeding and sees these bytes). While the
    // device waits to start (after an open or a reset) no finished block
    // may come, so every write until the start's blocks are there wakes
    // it: the device starts as soon as it can. The refill is queued all the
    // same, for the feeder to take within its 10 ms wait at the latest.
    const int before = m_ring.GetDataSize() - bytes;
    const bool starting = m_firstFeed && before < kStartBlocks * m_blockBytes;
    m_feeder.Put(SAudioOutThreadInfo::Refill, before < m_blockBytes || starting);
    return true;
}

void CAudioOut::SetListener(IAudioOutListener* listener, DWORD everyMs)
{
    CCritSecLock lock(&m_listenerLock);
    m_listener = listener;
    m_listenEvery = everyMs;
    m_lastTold = GetTickCount();
}

void CAudioOut::TellListener()
{
    CCritSecLock lock(&m_listenerLock);
    if (!m_listener || GetTickCount() - m_lastTold < m_listenEvery)
        return;
    {
        CCritSecLock outputLock(&m_lock);
        if (!m_device || (m_ring.GetDataSize() == 0 && !FirstPendingHeader()))
            return;
    }
    m_lastTold = GetTickCount();
    m_listener->OnPlaying();
}

void CAudioOut::SetDeviceLimit(int bytes, int heldBytes)
{
    const auto blocks = [](int n) { return std::clamp((n + kBlockSize - 1) / kBlockSize, 1, kBlockCount); };
    CCritSecLock lock(&m_lock);
    m_deviceLimit = blocks(bytes);
    m_heldLimit = std::min(blocks(heldBytes), m_deviceLimit);
}

void CAudioOut::HoldFrom(LONGLONG at)
{
    CCritSecLock lock(&m_lock);
    // At the next byte to go to the device it still holds all of it back.
    if (at < m_sentBytes)
        return;
    const auto place = std::lower_bound(m_holds.begin(), m_holds.end(), at);
    if (place == m_holds.end() || *place != at)
        m_holds.insert(place, at);
}

int CAudioOut::Withdraw(void* out, int maxBytes)
{
    // Under the output lock: the feeder moves nothing meanwhile.
    CCritSecLock lock(&m_lock);
    const int unsent = m_ring.GetDataSize();
    if (out && maxBytes > 0)
        m_ring.Read(out, std::min(maxBytes, unsent));
    m_ring.Reset();
    m_holds.clear();
    m_draining = false;
    return unsent;
}

int CAudioOut::GetUnsentBytes()
{
    CCritSecLock lock(&m_lock);
    return m_ring.GetDataSize();
}

void CAudioOut::RequestReset()
{
    m_feeder.Put(SAudioOutThreadInfo::ResetAll);
}

void CAudioOut::Drain()
{
    {
        CCritSecLock lock(&m_lock);
        m_draining = true;
    }
    m_feeder.Put(SAudioOutThreadInfo::Refill);
}

int CAudioOut::GetPendingBytes()
{
    CCritSecLock lock(&m_lock);
    int pending = 0;
    for (int i = 0; i < m_headers.GetSize() && !m_resetDue; ++i) {
        const SWaveHeader* h = m_headers.GetAt(i);
        if (!h)
            break;
        if (h->IsPending())
            pending += static_cast<int>(h->dwBufferLength);
    }
    return pending + m_ring.GetDataSize();
}

int CAudioOut::GetPendingMs()
{
    const LONGLONG perSecond =
        static_cast<LONGLONG>(m_waveFormat.nSamplesPerSec) * m_waveFormat.wBitsPerSample * m_waveFormat.nChannels / 8;
    if (perSecond <= 0)
        return 0; // not open
    return static_cast<int>(GetPendingBytes() * 1000LL / perSecond);
}

void CAudioOut::SetVolume(UINT percent)
{
    m_volume = percent;
}

UINT CAudioOut::GetBlockSize()
{
    return static_cast<UINT>(m_blockBytes);
}

bool CAudioOut::IsFull()
{
    CCritSecLock lock(&m_lock);
    return m_ring.GetDataSize() >= m_blockBytes;
}

void CAudioOut::Reset()
{
    CCritSecLock lock(&m_lock);
    m_ring.Reset();
    m_draining = false;
    m_sentBytes = 0;
    m_holds.clear();
    if (m_device) {
        m_resetDue = true;
        m_resetAsked = GetTickCount();
        m_firstFeed = true;
    }
}

bool CAudioOut::ResetDeviceWhenDue()
{
    if (!m_resetDue)
        return true;
    if (GetTickCount() - m_resetAsked < kResetWaitMs) {
        const int available = m_ring.GetDataSize();
        const bool follows = available >= StartBlocks() * m_blockBytes || (m_draining && available > 0);
        if (!follows)
            return false;
        // A device that plays is reset only right after the driver took its
        // period, so that the reset and the new sound's first blocks are
        // done long before the next: a reset device that holds nothing when
        // the driver's period comes round is given a period of zeros of its
        // own. A device that gives no block back any more (paused, or
        // played out) has no period to wait for.
        if (m_deviceRuns && DeviceBlocks() > 0 && !BlockJustBack())
            return false;
    }
    waveOutReset(m_device); // every queued buffer comes back marked done
    m_resetDue = false;
    m_deviceRuns = false;
    return true;
}

void CAudioOut::PushWhenLate()
{
    // A stop asked for closes the device next: a restart would only put
    // that off.
    if (m_feeder.stop)
        return;
    {
        CCritSecLock lock(&m_lock);
        if (SilentMs() < m_lateMs)
            return;
    }
    // Outside the output lock: on a busy machine the restart waits for the
    // system's late thread, and a producer (a stop's drop of what is
    // queued, a withdrawal) must not wait for it meanwhile. Every device
    // call is made on this thread, so the device stays open and no reset
    // or pause comes between the check above and the restart: a reset
    // asked for meanwhile is made at the feeder's next pass, as ever.
    //
    // The blocks the restart gives back come to the callback on this
    // thread: their refills are taken at the feeder's next pass. They tell
    // nothing of the driver's period, and the system's thread, which next
    // gives back only what was played after them, is owed blocks afresh:
    // restarted at every period instead, the device would leave it nothing
    // to give back, and a reset would wait in vain for a block just back
    // (BlockJustBack). A failed call leaves the blocks to the system's
    // thread.
    waveOutRestart(m_device);
    CCritSecLock lock(&m_lock);
    ++g_lateRestarts;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    m_owedSince = now.QuadPart;
}

LONGLONG CAudioOut::SilentMs()
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    // Not with fewer blocks than a start's: by the system's clock (which
    // runs ahead of the sound between periods) they may all be played
    // already, and under Wine a restart then stops the device and drops
    // what the system's buffer still holds, where the system's thread
    // would stop it only at its next period, once that was heard.
    if (!m_device || !m_deviceRuns || m_resetDue || DeviceBlocks() < kStartBlocks) {
        m_owedSince = now.QuadPart;
        return -1;
    }
    return (now.QuadPart - std::max(m_blockBack.load(), m_owedSince)) / m_ticksPerMs;
}

DWORD CAudioOut::NextPassMs()
{
    CCritSecLock lock(&m_lock);
    const LONGLONG silent = SilentMs();
    if (silent < 0)
        return 10;
    return static_cast<DWORD>(std::clamp<LONGLONG>(m_lateMs - silent, 1, 10));
}

bool CAudioOut::BlockJustBack() const
{
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart - m_blockBack < m_ticksPerMs * kJustBackMs;
}

long long CAudioOut::RanDryCount()
{
    return g_ranDry.load();
}

long long CAudioOut::LateRestartCount()
{
    return g_lateRestarts.load();
}

void CAudioOut::ScaleByVolume(int16_t* samples, int count, UINT percent)
{
    if (percent == 100 || !samples)
        return;
    // 64-bit: a sample times a large percent does not fit 32 bits.
    const long long p = percent;
    for (int i = 0; i < count; ++i) {
        const long long v = samples[i] * p / 100;
        samples[i] = static_cast<int16_t>(v > 32767 ? 32767 : (v < -32768 ? -32768 : v));
    }
}

const SWaveHeader* CAudioOut::FirstPendingHeader()
{
    if (m_resetDue)
        return nullptr;
    for (int i = 0; i < m_headers.GetSize(); ++i) {
        const SWaveHeader* h = m_headers.GetAt(i);
        if (!h)
            return nullptr;
        if (h->IsPending())
            return h;
    }
    return nullptr;
}

SWaveHeader* CAudioOut::FirstFreeHeader()
{
    for (int i = 0; i < m_headers.GetSize(); ++i) {
        SWaveHeader* h = m_headers.GetAt(i);
        if (!h)
            return nullptr;
        if (h->capacity >= static_cast<DWORD>(kBlockSize) && h->IsFree())
            return h;
    }
    return nullptr;
}

bool CAudioOut::WriteBlock(SWaveHeader* h, int bytes)
{
    if (h->dwFlags & WHDR_PREPARED)
        waveOutUnprepareHeader(m_device, h, sizeof(WAVEHDR));
    std::memcpy(h->lpData, m_staging, bytes);
    h->dwBufferLength = h->dwBytesRecorded = static_cast<DWORD>(bytes);
    h->dwFlags = 0;
    h->dwLoops = 0;
    if (waveOutPrepareHeader(m_device, h, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
        h->dwFlags = 0; // the block's bytes are lost; the buffer stays free
        return false;
    }
    if (waveOutWrite(m_device, h, sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
        // Not with the device: free again, never counted as pending.
        waveOutUnprepareHeader(m_device, h, sizeof(WAVEHDR));
        h->dwFlags = 0;
        return false;
    }
    return true;
}

int CAudioOut::PendingBlocks()
{
    return m_resetDue ? 0 : DeviceBlocks();
}

int CAudioOut::DeviceBlocks()
{
    int n = 0;
    for (int i = 0; i < m_headers.GetSize(); ++i) {
        const SWaveHeader* h = m_headers.GetAt(i);
        if (!h)
            break;
        n += h->IsPending();
    }
    return n;
}

void CAudioOut::Feed()
{
    CCritSecLock lock(&m_lock);
    const bool partialToo = m_draining;
    if (!m_device || !ResetDeviceWhenDue())
        return;
    if (m_firstFeed) {
        waveOutPause(m_device); // (again) until enough is queued
        m_deviceRuns = false;
    }
    int pending = PendingBlocks();
    int limit = m_deviceLimit;
    const auto startIf = [&](bool enough) {
        if (m_firstFeed && pending > 0 && enough)
            StartDevice();
    };
    for (;;) {
        // A hold is gone once a byte at or past it went; one at the next
        // byte (a block's first) still holds.
        while (!m_holds.empty() && m_holds.front() < m_sentBytes)
            m_holds.pop_front();
        limit = Limit();
        if (pending >= limit)
            break;
        const int available = m_ring.GetDataSize();
        if (available < m_blockBytes && !(partialToo && available > 0))
            break;
        SWaveHeader* h = FirstFreeHeader();
        if (!h)
            break;
        const int n = m_ring.Read(m_staging, m_blockBytes);
        if (n <= 0)
            break;
        if (n < m_blockBytes)
            m_draining = false; // the last bytes are out; more make a new end
        m_sentBytes += n;
        if (m_waveFormat.wBitsPerSample == 16)
            ScaleByVolume(reinterpret_cast<int16_t*>(m_staging), n / 2, m_volume);
        if (pending == 0 && m_deviceRuns && !m_drainedEnd && !partialToo)
            ++g_ranDry;
        m_drainedEnd = false;
        pending += WriteBlock(h, n);
        // Started as soon as it holds enough, the rest given while it
        // plays: from a reset to the start it holds nothing (kResetWaitMs).
        startIf(pending >= std::min(kStartBlocks, limit));
    }
    if (m_ring.GetDataSize() == 0) {
        m_drainedEnd = m_drainedEnd || partialToo;
        m_draining = false;
    }
    startIf(pending >= std::min(kStartBlocks, limit) || partialToo);
}

int CAudioOut::Limit() const
{
    const bool held = !m_holds.empty() && m_holds.front() < m_sentBytes + m_blockBytes;
    return held ? m_heldLimit : m_deviceLimit;
}

int CAudioOut::StartBlocks() const
{
    return std::min(kStartBlocks, Limit());
}

void CAudioOut::StartWaiting()
{
    CCritSecLock lock(&m_lock);
    if (m_device && m_resetDue && ResetDeviceWhenDue())
        Feed(); // what came after the reset
    if (m_device && m_firstFeed && PendingBlocks() > 0)
        StartDevice();
}

void CAudioOut::StartDevice()
{
    waveOutRestart(m_device);
    m_firstFeed = false;
    m_deviceRuns = true;
    // The system's thread owes its first block from now on, not from the
    // feeder's last pass before the start.
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    m_owedSince = now.QuadPart;
}

void CAudioOut::Close()
{
    CCritSecLock lock(&m_lock);
    m_ring.Reset();
    if (!m_device)
        return;
    waveOutReset(m_device);
    m_resetDue = false;
    m_deviceRuns = false;
    for (int i = 0; i < m_headers.GetSize(); ++i)
        if (SWaveHeader* h = m_headers.GetAt(i))
            if (h->dwFlags & WHDR_PREPARED)
                waveOutUnprepareHeader(m_device, h, sizeof(WAVEHDR));
    waveOutClose(m_device);
    m_device = nullptr;
}
