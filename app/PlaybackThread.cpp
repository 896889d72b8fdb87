#include "app/PlaybackThread.h"

#include <soundtouch/TDStretch.h>

#include <algorithm>
#include <exception>
#include <memory>
#include <vector>

#include "audio/AudioOut.h"
#include "common/ScopedHandle.h"
#include "app/AppSettings.h"

namespace {

constexpr int kBufferBytes = 65536;
constexpr int kOutputRing = 1048576;
constexpr int kCycleBytes = 8192;         // output bytes per cycle at any tempo
constexpr LONGLONG kBeforeStartSlack = 100000;
// While the output is full the thread naps until about this much queued
// sound is left, in naps of these bounds: every wake-up costs about as much
// as stretching a few milliseconds of sound, and the longest nap is what a
// stop or a seek may wait.
constexpr LONGLONG kFillToMs = 400;
constexpr LONGLONG kKeepQueuedMs = 150;
constexpr LONGLONG kMinNapMs = 10;
constexpr LONGLONG kMaxNapMs = 50;
// Position messages no more often than this, however fast the device takes
// the sound: the pane redraws at each.
constexpr DWORD kPostEveryMs = 20;

// The thread's own state for one run.
class CPlayer
{
public:
    explicit CPlayer(SPlayContext* ctx) : m_ctx(ctx) {}
    ~CPlayer();
    CPlayer(const CPlayer&) = delete;
    CPlayer& operator=(const CPlayer&) = delete;

    bool SetUp();
    // false: a seek failed.
    bool Play();

private:
    enum class EPass { Ended, Failed };
    EPass PlayPass();
    bool SeekTo(LONGLONG t);
    LONGLONG FrameOfTime(LONGLONG t) const;
    LONGLONG EndFrame(const SPlaySnapshot& s) const;
    // Writes everything unless stopped; the ring takes all or nothing.
    void WriteOut(const void* data, int bytes);
    // Writes out what the stage has (at most up to the expected output length).
    void TakeStretched();
    // Pushes the stage's last samples out with silence behind them.
    void Flush(float tempo);
    // How long the output takes to play `pending` bytes at `tempo`.
    LONGLONG LagUs(int pending, float tempo) const;
    // 0 while the output wants more sound, else how long to nap.
    DWORD NapMs(int pending) const;
    // Every wait of this thread. A timed wait on an event nobody sets: under
    // Wine, Sleep yields before it sleeps and costs the thread two to three
    // times as much CPU per nap (measured: 55-95 us against 20-35 us for a
    // 50 ms nap), and the thread naps some twenty times a second.
    void Nap(DWORD ms) { WaitForSingleObject(m_napEvent.Get(), ms); }

    SPlayContext* m_ctx;
    CKernelHandle m_napEvent;
    CIPtr<IAudioReader> m_reader;
    CIPtr<IProcess> m_process;
    bool m_started = false;
    CIPtr<CAudioOut> m_out;
    std::unique_ptr<soundtouch::TDStretch> m_stretch;
    SAudioFormat m_format;
    int m_frameSize = 0;
    LONGLONG m_bytesPerSecond = 0;
    LONGLONG m_frameCount = 0;
    LONGLONG m_preDelayBytes = 0;
    std::vector<char> m_in = std::vector<char>(kBufferBytes);
    const std::vector<char> m_silence = std::vector<char>(kBufferBytes, 0);
    // Since the last seek: frames the stage must give back (input / tempo)
    // and frames it gave.
    double m_expectedOut = 0;
    LONGLONG m_producedOut = 0;
    LONGLONG m_currentFrame = 0;
    LONGLONG m_readTime = 0;
    LONGLONG m_lastCursor = -1;
    DWORD m_lastPost = 0;
};

CPlayer::~CPlayer()
{
    m_stretch.reset();
    if (m_started)
        (void)m_process->Stop();
}

bool CPlayer::SetUp()
{
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
    m_napEvent.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    if (!m_napEvent)
        return false;
    m_reader = m_ctx->reader;
    if (!m_reader || !m_ctx->timeContainer)
        return false;
    if (FAILED(m_reader->QueryInterface(IID_IProcess, reinterpret_cast<void**>(&m_process))) || !m_process)
        return false;
    if (!m_process->Start())
        return false;
    m_started = true;
    const SAudioFormat* f = m_reader->GetFormat();
    if (!f || f->nBitsPerSample != 16 || f->nChannels == 0 || f->nChannels > SOUNDTOUCH_MAX_CHANNELS ||
        f->nSamplesPerSec == 0)
        return false;
    m_format = *f;
    m_frameSize = m_format.GetBlockAlign();
    m_bytesPerSecond = m_format.GetBytesPerSecond();
    m_preDelayBytes = m_bytesPerSecond * std::max(0, m_ctx->Snapshot().fragment.PreDelaySec);
    m_frameCount = m_reader->GetFrameCount();
    m_stretch.reset(soundtouch::TDStretch::newInstance());
    if (!m_stretch)
        return false;
    m_stretch->setParameters(static_cast<int>(m_format.nSamplesPerSec), 82, 14, 12);
    m_stretch->setChannels(static_cast<int>(m_format.nChannels));
    m_out = new CAudioOut(kOutputRing);
    if (!m_out->Open(&m_format, WAVE_MAPPER))
        return false;
    m_ctx->state = kPlayPlaying;
    return true;
}

LONGLONG CPlayer::FrameOfTime(LONGLONG t) const
{
    const LONGLONG frame = t * static_cast<LONGLONG>(m_format.nSamplesPerSec) / 1000000;
    return std::clamp<LONGLONG>(frame, 0, m_frameCount);
}

LONGLONG CPlayer::EndFrame(const SPlaySnapshot& s) const
{
    // A range that reaches the file's (millisecond-rounded) length ends with
    // the file's last frame.
    if (s.RangeMax() >= m_reader->GetDuration() * 1000)
        return m_frameCount;
    return FrameOfTime(s.RangeMax());
}

bool CPlayer::SeekTo(LONGLONG t)
{
    LONGLONG frame = FrameOfTime(t);
    if (frame >= m_frameCount)
        frame = m_frameCount > 0 ? m_frameCount - 1 : 0;
    if (!m_reader->Seek(frame))
        return false;
    m_currentFrame = frame;
    m_readTime = t;
    m_lastCursor = -1;
    m_stretch->clear();
    m_expectedOut = 0;
    m_producedOut = 0;
    m_out->Reset();
    return true;
}

void CPlayer::WriteOut(const void* data, int bytes)
{
    while (bytes > 0 && !m_ctx->stop) {
        if (m_out->Write(data, bytes))
            return;
        Nap(1);
    }
}

void CPlayer::TakeStretched()
{
    const int maxFrames = kBufferBytes / m_frameSize;
    for (;;) {
        const LONGLONG want = static_cast<LONGLONG>(m_expectedOut) - m_producedOut;
        const int have = static_cast<int>(m_stretch->numSamples());
        const int n = static_cast<int>(std::min<LONGLONG>({want, have, maxFrames}));
        if (n <= 0)
            return;
        // Straight from the stage's own output into the ring: one copy, not
        // two through a buffer of ours.
        soundtouch::FIFOSamplePipe* output = m_stretch->getOutput();
        WriteOut(output->ptrBegin(), n * m_frameSize);
        const int k = static_cast<int>(output->receiveSamples(static_cast<unsigned>(n)));
        if (k <= 0)
            return;
        m_producedOut += k;
    }
}

void CPlayer::Flush(float tempo)
{
    const int frames = 4096 / m_frameSize * 4;
    for (int i = 0; i < 64 && !m_ctx->stop && m_producedOut < static_cast<LONGLONG>(m_expectedOut); ++i) {
        m_stretch->setTempo(tempo);
        m_stretch->putSamples(reinterpret_cast<const short*>(m_silence.data()), static_cast<unsigned>(frames));
        TakeStretched();
    }
    m_stretch->clear();
    m_out->Drain();
}

LONGLONG CPlayer::LagUs(int pending, float tempo) const
{
    const LONGLONG perSecond = static_cast<LONGLONG>(static_cast<double>(m_bytesPerSecond) / tempo);
    return perSecond > 0 ? pending * 1000000LL / perSecond : 0;
}

DWORD CPlayer::NapMs(int pending) const
{
    const LONGLONG queuedMs = LagUs(pending, 1.0f) / 1000;
    // The output hands the device whole blocks only (until it drains): at a
    // low rate a block is longer than the fill mark, and sound that waits in
    // the output for a whole block must never keep the thread napping.
    const LONGLONG twoBlocksMs = 2LL * m_out->GetBlockSize() * 1000 / m_bytesPerSecond;
    if (queuedMs < std::max(kFillToMs, twoBlocksMs))
        return 0;
    return static_cast<DWORD>(std::clamp(queuedMs - kKeepQueuedMs, kMinNapMs, kMaxNapMs));
}

CPlayer::EPass CPlayer::PlayPass()
{
    ITimeContainer* tc = m_ctx->timeContainer;
    SPlaySnapshot s = m_ctx->Snapshot();
    const LONGLONG pending = tc->GetPlayPosition(false);
    if (m_ctx->pass > 0 || pending < s.RangeMin() || pending > s.RangeMax())
        tc->SetPlayPosition(s.RangeMin());
    bool flushed = false;
    // What the output holds, read once per round (the lock and the walk over
    // the device's buffers are not free) and again after anything that
    // changes it by more than the device plays meanwhile.
    int queued = m_out->GetPendingBytes();
    while (!m_ctx->stop) {
        m_out->SetVolume(static_cast<UINT>(std::clamp(GetVolume(), 0, 100)));
        if (const DWORD nap = NapMs(queued)) {
            Nap(nap);
            queued = m_out->GetPendingBytes();
            continue;
        }
        s = m_ctx->Snapshot();
        const LONGLONG t = tc->GetPlayPosition(true);
        if (t != -1) {
            if (!SeekTo(t))
                return EPass::Failed;
            flushed = false;
        }
        if (m_preDelayBytes > 0) {
            const LONGLONG n = std::min<LONGLONG>(m_preDelayBytes, kBufferBytes) / m_frameSize * m_frameSize;
            WriteOut(m_silence.data(), static_cast<int>(n));
            m_preDelayBytes = n > 0 ? m_preDelayBytes - n : 0;
            if (m_preDelayBytes == 0)
                while (!m_ctx->stop && m_out->GetPendingBytes() > static_cast<int>(m_out->GetBlockSize()))
                    Nap(1);
            queued = m_out->GetPendingBytes();
            continue;
        }
        const float tempo = s.tempo;
        const LONGLONG left = std::max<LONGLONG>(0, EndFrame(s) - m_currentFrame) * m_frameSize;
        const LONGLONG request = std::min<LONGLONG>(static_cast<LONGLONG>(tempo * kCycleBytes), left) / m_frameSize * m_frameSize;
        if (request > 0) {
            DWORD got = 0;
            if (!m_reader->Read(m_in.data(), static_cast<DWORD>(request), &got) || got == 0) {
                // Nothing more comes from the file: what was read is played out.
                m_currentFrame = EndFrame(s);
                got = 0;
            }
            m_currentFrame += got / m_frameSize;
            m_readTime += static_cast<LONGLONG>(got) * 1000000LL / m_bytesPerSecond;
            m_stretch->setTempo(tempo);
            m_stretch->putSamples(reinterpret_cast<const short*>(m_in.data()), got / m_frameSize);
            m_expectedOut += (got / m_frameSize) / static_cast<double>(tempo);
            TakeStretched();
        } else if (!flushed) {
            Flush(tempo);
            flushed = true;
        } else {
            // Waiting for the output to play out: a quarter of what is left
            // at a time, so that the end is seen soon after it comes (also
            // on a device that plays faster than real time) without waking
            // every few milliseconds through the whole tail.
            Nap(static_cast<DWORD>(std::clamp<LONGLONG>(LagUs(queued, 1.0f) / 4000, 2, kMaxNapMs)));
        }
        queued = m_out->GetPendingBytes();
        const LONGLONG lag = LagUs(queued, tempo);
        if (request == 0 && flushed && lag == 0)
            break;
        const LONGLONG cursor = std::min(m_readTime - lag, s.RangeMax());
        m_lastCursor = cursor;
        if (cursor < s.RangeMin() - kBeforeStartSlack)
            break;
        tc->SetPlayCursor(cursor);
        const DWORD now = GetTickCount();
        if (now - m_lastPost >= kPostEveryMs) {
            m_lastPost = now;
            PostMessage(m_ctx->window, WM_PLAY_POSITION, 0, 0);
        }
    }
    // At once, not through the feeder: a reset still queued there would
    // drop the start of the next pass.
    m_out->Reset();
    tc->SetPlayPosition(GetToFragmentBeginAfterStop() ? tc->GetSelMin() : m_lastCursor);
    ++m_ctx->pass;
    return EPass::Ended;
}

bool CPlayer::Play()
{
    m_ctx->pass = 0;
    while (m_ctx->pass < 1 || (m_ctx->Snapshot().fragment.Looped && !m_ctx->stop)) {
        if (PlayPass() == EPass::Failed)
            return false;
    }
    return true;
}

} // namespace

UINT PlaybackThreadProc(LPVOID param)
{
    auto* ctx = static_cast<SPlayContext*>(param);
    if (!ctx)
        return 0xFFFFFFFFu;
    bool ok = false;
    try {
        CPlayer player(ctx);
        ok = ctx->window && player.SetUp() && player.Play();
    } catch (const std::exception&) {
        // The stretcher throws on what it cannot take; the thread ends as on
        // any other failure, never taking the program with it.
        ok = false;
    } // the stage, the reader's work and the output end here
    ctx->failed = !ok;
    ctx->state = kPlayEnded;
    if (ctx->window)
        PostMessage(ctx->window, WM_PLAYBACK_ENDED, 0, 0);
    return ok ? 0 : 0xFFFFFFFFu;
}

bool StartPlaybackThread(SPlayContext* ctx)
{
    ctx->stop = false;
    ctx->failed = false;
    ctx->pass = 0;
    return ctx->thread.Start(PlaybackThreadProc, ctx);
}

void JoinPlaybackThread(SPlayContext* ctx)
{
    ctx->thread.Join();
    ctx->state = kPlayIdle;
}
