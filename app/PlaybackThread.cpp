#include "app/PlaybackThread.h"

#include <soundtouch/TDStretch.h>

#include <algorithm>
#include <cmath>
#include <exception>
#include <memory>
#include <vector>

#include "audio/AudioOut.h"
#include "common/CritSecLock.h"
#include "common/ScopedHandle.h"
#include "app/AppSettings.h"
#include "app/PlayMarks.h"
#include "app/SourcePlace.h"

namespace {

constexpr int kBufferBytes = 65536;
constexpr int kOutputRing = 1048576;
constexpr int kCycleBytes = 8192; // output bytes per cycle at any tempo
constexpr LONGLONG kBeforeStartSlack = 100000;
// The thread fills the output to about kFillToMs of sound, then naps until
// about kKeepQueuedMs are left (at the rate the device really takes it), so
// it wakes a few times a second: every wake-up costs about as much as
// stretching a few milliseconds of sound. Whatever must be seen at once
// (stop, range, tempo, loop flag, a play position request) wakes it through
// the context's event.
constexpr LONGLONG kFillToMs = 1000;
constexpr LONGLONG kKeepQueuedMs = 350;
constexpr LONGLONG kMinNapMs = 5;
constexpr LONGLONG kMaxNapMs = 250;
constexpr LONGLONG kFirstNapsMs = 20; // until the device's rate is known
// The device's rate is known after this many measures. The fastest of late
// counts (a slower spell is forgotten by this factor a measure), so that a
// nap ends before the queue runs low however fast the device takes it: a
// device that starts slowly and then takes the sound faster than real time
// would otherwise run dry during the first long nap.
constexpr int kRateMeasures = 5;
constexpr double kRateMemory = 0.98;
// The play cursor moves (and the window hears of it) this often while
// sound is heard, told by the output's feeder from what it has played: at
// least twenty times a second.
constexpr DWORD kPostEveryMs = 40;
// The output's device holds no more than this much of the queue; the rest
// can still be taken back and written anew (a new tempo, a seek) while the
// device plays on, so a change is heard after at most this much sound, and
// nothing is lost or played twice. A device that takes the sound faster
// than it plays (as a sound file does) is given more, so that it still
// holds kDeviceWallMs of its own time and never runs dry when its feeder is
// late. A pass that follows another goes to the device only once it holds
// less than kHeldMs of the pass before, so that a loop switched off up to
// then still ends with the pass being heard. The thread keeps at least
// kAfterDeviceMs queued beyond the device's part, for the fades of cuts.
constexpr int kDeviceMs = 80;
constexpr int kDeviceWallMs = 80;
constexpr int kHeldMs = 70;
constexpr int kAfterDeviceMs = 150;
// The fade at a cut: a pass that ends inside the file fades out over its
// last frames, one that starts inside the file (or after the pre-delay's
// silence) fades in, so that a join never steps more than the sound does.
constexpr int kRampMs = 5;
// Of a pass's end, this much is kept to play the stage's held-back input out
// with: the stage gives out the stretch of the last frames only with more
// input behind them, and that input is the fragment's end mirrored, never
// sound from outside the fragment nor silence.
constexpr int kTailMs = 200;
// How far from its mark's time a cut's old sound is looked for in the
// source: the stage's stretches stray from an even pace by less.
constexpr int kSearchMs = 100;
// A cut's fade is moved on at most this often, to where the old sound is a
// copy of the source; failing that, the place found must explain all but
// this part of the old sound's energy, else the marks' time is taken.
constexpr int kFadeTries = 4;
constexpr double kMismatchAllowed = 0.25;

// Enters a critical section only when no other thread holds it; leaves it
// on the way out.
class CTryLock
{
public:
    explicit CTryLock(CCriticalSection* cs) : m_cs(cs), m_held(TryEnterCriticalSection(*cs) != FALSE) {}
    ~CTryLock()
    {
        if (m_held)
            LeaveCriticalSection(*m_cs);
    }
    CTryLock(const CTryLock&) = delete;
    CTryLock& operator=(const CTryLock&) = delete;
    bool Held() const { return m_held; }

private:
    CCriticalSection* m_cs;
    bool m_held;
};

// The thread's own state for one run. The output's feeder reads the marks
// and the frame count (under m_markLock) to move the play cursor.
class CPlayer : public IAudioOutListener
{
public:
    explicit CPlayer(SPlayContext* ctx) : m_ctx(ctx), m_marks(0) {}
    ~CPlayer();
    CPlayer(const CPlayer&) = delete;
    CPlayer& operator=(const CPlayer&) = delete;

    bool SetUp();
    // false: a seek failed.
    bool Play();

private:
    // The play's steps, in the order Play takes them; false: a seek failed.
    // Before the first pass: the pre-delay's silence, then the first pass.
    bool Begin();
    // A play position asked for, a new tempo, a new range that what is
    // queued no longer fits: the old sound is cut where it is heard (Cut)
    // and the new goes on.
    bool FollowRequests(const SPlaySnapshot& s);
    // What is queued is still right under the range of `s`: only the pass
    // being heard is written so far, what is heard lies in the range and
    // the writing has not passed its end.
    bool QueuedFits(const SPlaySnapshot& s);
    // The loop rule: the flag counts for the pass being heard.
    bool FollowLoopSwitch(const SPlaySnapshot& s);
    // Writing: cycles until about a second is queued.
    bool WriteAhead(SPlaySnapshot s, int& pending);
    // A pass is written whole: the next follows while the loop flag is set,
    // else the output plays out what it holds.
    bool NextPass(SPlaySnapshot& s);
    // Naps until the output runs low, or runs out once nothing is written.
    void NapWhileQueued(int pending);
    // The device's part of the queue, at the rate it has been taking it.
    void FitDevice();
    // Ends the play: at once on a stop; the play position becomes where
    // the user will want it.
    void End();

    // Takes back what the device does not hold yet into m_unsent; answers
    // its frames. Under the mark lock.
    LONGLONG TakeBackUnsent();
    // Writes the first `frames` taken back again, from frame `at` on.
    void PutBack(LONGLONG at, LONGLONG frames);
    // Where the old sound of a cut stopped.
    struct SStop
    {
        enum EWhere { kNothingHeard, kInPass, kPassEnded, kInSilence } where = kNothingHeard;
        // kInPass: the source time to go on from; kPassEnded: the end of
        // the range the pass was written for; kInSilence: the first pass's start.
        LONGLONG time = -1;
        LONGLONG keep = 0; // frames of the old sound kept after the device's part
    };
    // The one cut, for a new tempo, a play position asked for and a new
    // range. What the device does not hold yet is taken back (the device's
    // part, a small share of the queue, plays on: it can be taken back only
    // by a reset, and after one the device cannot tell exactly where its
    // sound stopped). The old sound fades out over the next few
    // milliseconds, at a place found again in the source (FindStop), so that
    // the new sound can go on from there with nothing heard twice or
    // skipped; a pass that ends within those milliseconds keeps its own end
    // instead. The rest is dropped, passes begun ahead with it.
    SStop Cut();
    // The source times at which the old sound may stop (one per fade's
    // length after frame `sent`) within that frame's pass. Under the mark
    // lock.
    std::vector<LONGLONG> StopCandidates(LONGLONG sent, LONGLONG unsent, LONGLONG fade) const;
    // Of the candidates, the one where the frames taken back are most
    // nearly a copy of the source: answers its time (the first frame after
    // the old sound) and how many frames before it play at full level. Reads
    // the file: never under the mark lock.
    LONGLONG FindStop(const std::vector<LONGLONG>& candidates, LONGLONG fade, LONGLONG* before);
    // Fades `samples` from full level down to a last frame of silence.
    void FadeOut(short* samples, LONGLONG frames) const;
    // The loop switched off: a pass begun after the one the device is
    // playing is taken back, so that one ends the play.
    void EndWithPassHeard();

    LONGLONG FrameOfTime(LONGLONG t) const;
    LONGLONG EndFrame(const SPlaySnapshot& s) const;
    // Starts feeding the stage from time t (a new pass, or a seek within
    // one); false when the reader cannot seek.
    bool BeginAt(LONGLONG t, const SPlaySnapshot& s);
    // One cycle of the pass being written: reads, stretches and writes out;
    // at the range's end plays the stage out. True when the pass is whole.
    bool Cycle(const SPlaySnapshot& s);
    // Feeds the mirrored tail until the stage gave the pass's last frame.
    void PlayOut(float tempo);
    void KeepTail(const char* data, int frames, LONGLONG endFrame);
    // Up to `bytes` of input (never past `left` bytes from the current
    // frame), from the read-ahead; 0 when the file gives nothing more.
    int TakeInput(int bytes, LONGLONG left);
    // Writes everything unless stopped; the ring takes all or nothing.
    void WriteOut(const void* data, int bytes);
    // Writes out what the stage has, up to the frames the pass may have by now.
    void TakeStretched();
    void Ramp(short* samples, int frames) const;
    // Drops what is queued at once (a stop): the output starts over.
    void ResetOutput();
    void AddMark(LONGLONG time, float tempo, LONGLONG last);
    // The one place the context's pass count is set: the passes heard up to
    // output frame `played` (the pre-delay's silence is none). Under the
    // mark lock.
    void CountPassesHeard(LONGLONG played);
    // The source time the output is playing now; -1 when none. Under the
    // mark lock.
    LONGLONG PlayedTime(int pending);
    // Moves the cursor to what is heard and tells the window. Under the mark lock.
    void PostCursor();
    // On the feeder thread.
    void OnPlaying() override;
    // Wall milliseconds until the output holds `bytes`, at the rate the
    // device has been taking the sound (never slower than real time).
    LONGLONG MsUntil(int pending, LONGLONG bytes) const;
    void MeasureRate(int pending);
    void Nap(DWORD ms) { WaitForSingleObject(m_ctx->wake.Get(), ms); }

    SPlayContext* m_ctx;
    CIPtr<IAudioReader> m_reader;
    CIPtr<IProcess> m_process;
    bool m_started = false;
    CIPtr<CAudioOut> m_out;
    std::unique_ptr<soundtouch::TDStretch> m_stretch;
    SAudioFormat m_format;
    int m_frameSize = 0;
    int m_channels = 0;
    LONGLONG m_bytesPerSecond = 0;
    LONGLONG m_frameCount = 0;
    LONGLONG m_preDelayBytes = 0;
    int m_rampFrames = 0;
    int m_fillTo = 0;      // bytes the thread queues
    int m_keepQueued = 0;  // bytes left when it wakes to queue more
    int m_deviceBytes = 0; // the most the device holds
    // Read ahead of the stage: bytes from m_inPos to m_inEnd are the file's
    // from m_currentFrame on.
    std::vector<char> m_in = std::vector<char>(kBufferBytes);
    int m_inPos = 0;
    int m_inEnd = 0;
    const std::vector<char> m_silence = std::vector<char>(kBufferBytes, 0);
    std::vector<short> m_tail;
    std::vector<short> m_pad;
    std::vector<short> m_unsent;           // what was taken back from the output
    std::unique_ptr<CSourcePlace> m_place; // where a cut's old sound stopped
    // The pass being written: frames the stage must give back (input /
    // tempo), frames it gave, where its sound fades.
    double m_expectedOut = 0;
    LONGLONG m_producedOut = 0;
    LONGLONG m_passOut = 0; // where the pass begins in the output
    bool m_inputDone = false;
    bool m_fadeIn = false;
    bool m_fadeOut = false;
    LONGLONG m_currentFrame = 0;
    LONGLONG m_readTime = 0;
    LONGLONG m_rangeMin = 0; // the range the pass began with (or last saw)
    LONGLONG m_rangeMax = 0;
    float m_markTempo = 0;
    bool m_writing = false; // false once the last pass is written
    bool m_looped = false;  // the loop flag as the thread last acted on it
    bool m_firstPosted = false;
    int m_passesBegun = 0; // the pass being written, counted from 0
    // Frames written since the output was last reset, and what they are;
    // written by the thread, read by the feeder as well.
    CCriticalSection m_markLock;
    LONGLONG m_written = 0;
    CPlayMarks m_marks;
    LONGLONG m_lastCursor = -1;
    // Bytes per millisecond the device has been taking, and where that was
    // last measured.
    double m_rate = 0;
    LONGLONG m_ratePlayed = -1;
    DWORD m_rateTick = 0;
    int m_rateMeasures = 0; // naps are short until the rate is known
};

CPlayer::~CPlayer()
{
    if (m_out)
        m_out->SetListener(nullptr, 0);
    m_stretch.reset();
    if (m_started)
        (void)m_process->Stop();
}

bool CPlayer::SetUp()
{
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
    if (!m_ctx->wake)
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
    m_channels = static_cast<int>(m_format.nChannels);
    m_bytesPerSecond = m_format.GetBytesPerSecond();
    m_preDelayBytes = m_bytesPerSecond * std::max(0, m_ctx->Snapshot().fragment.PreDelaySec);
    m_frameCount = m_reader->GetFrameCount();
    m_rampFrames = std::max(1, static_cast<int>(m_format.nSamplesPerSec) * kRampMs / 1000);
    const size_t tail = static_cast<size_t>(m_format.nSamplesPerSec) * kTailMs / 1000 * m_channels;
    m_tail.reserve(tail + kBufferBytes / sizeof(short));
    m_pad.resize(kBufferBytes / m_frameSize / 8 * m_channels);
    m_stretch.reset(soundtouch::TDStretch::newInstance());
    if (!m_stretch)
        return false;
    m_stretch->setParameters(static_cast<int>(m_format.nSamplesPerSec), 82, 14, 12);
    m_stretch->setChannels(m_channels);
    m_out = new CAudioOut(kOutputRing);
    if (!m_out->Open(&m_format, WAVE_MAPPER))
        return false;
    m_unsent.resize(kOutputRing / sizeof(short));
    m_place = std::make_unique<CSourcePlace>(m_channels);
    m_marks = CPlayMarks(m_format.nSamplesPerSec);
    m_rate = static_cast<double>(m_bytesPerSecond) / 1000;
    FitDevice();
    m_out->SetListener(this, kPostEveryMs);
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

bool CPlayer::BeginAt(LONGLONG t, const SPlaySnapshot& s)
{
    LONGLONG frame = FrameOfTime(t);
    if (frame >= m_frameCount)
        frame = m_frameCount > 0 ? m_frameCount - 1 : 0;
    if (!m_reader->Seek(frame))
        return false;
    m_currentFrame = frame;
    m_inPos = m_inEnd = 0;
    m_readTime = t;
    m_stretch->clear();
    m_passOut = m_written;
    m_expectedOut = 0;
    m_producedOut = 0;
    m_inputDone = false;
    m_fadeOut = false;
    // After the pre-delay's silence, or cut out of the file's sound.
    m_fadeIn = frame > 0 || m_written > 0;
    m_tail.clear();
    m_rangeMin = s.RangeMin();
    m_rangeMax = s.RangeMax();
    AddMark(t, s.tempo, s.RangeMax());
    return true;
}

void CPlayer::AddMark(LONGLONG time, float tempo, LONGLONG last)
{
    CCritSecLock lock(&m_markLock);
    m_marks.Add({m_passOut + std::llround(m_expectedOut), time, tempo, last, m_passesBegun});
    m_markTempo = tempo;
}

void CPlayer::ResetOutput()
{
    CCritSecLock lock(&m_markLock);
    m_out->Reset();
    m_written = 0;
    m_marks.Clear();
    m_ratePlayed = -1;
}

void CPlayer::WriteOut(const void* data, int bytes)
{
    while (bytes > 0 && !m_ctx->stop) {
        {
            // The count and the output change together for the feeder.
            CCritSecLock lock(&m_markLock);
            if (m_out->Write(data, bytes)) {
                m_written += bytes / m_frameSize;
                return;
            }
        }
        Nap(1);
    }
}

void CPlayer::Ramp(short* samples, int frames) const
{
    const LONGLONG total = std::llround(m_expectedOut);
    for (int i = 0; i < frames; ++i) {
        const LONGLONG at = m_producedOut + i;
        double gain = 1.0;
        if (m_fadeIn && at < m_rampFrames)
            gain = static_cast<double>(at) / m_rampFrames;
        if (m_fadeOut && total - at <= m_rampFrames)
            gain = std::min(gain, static_cast<double>(total - at - 1) / m_rampFrames);
        if (gain < 1.0)
            for (int c = 0; c < m_channels; ++c)
                samples[i * m_channels + c] = static_cast<short>(std::lround(samples[i * m_channels + c] * gain));
    }
}

void CPlayer::TakeStretched()
{
    const int maxFrames = kBufferBytes / m_frameSize;
    // Until the pass's length is known, the frames a fade-out may still
    // need stay with the stage.
    const LONGLONG allowed = std::llround(m_expectedOut) - (m_inputDone ? 0 : m_rampFrames);
    for (;;) {
        const LONGLONG want = allowed - m_producedOut;
        const int have = static_cast<int>(m_stretch->numSamples());
        const int n = static_cast<int>(std::min<LONGLONG>({want, have, maxFrames}));
        if (n <= 0)
            return;
        // Straight from the stage's own output into the ring: one copy, not
        // two through a buffer of ours.
        soundtouch::FIFOSamplePipe* output = m_stretch->getOutput();
        short* samples = output->ptrBegin();
        if ((m_fadeIn && m_producedOut < m_rampFrames) || (m_fadeOut && m_producedOut + n > allowed - m_rampFrames))
            Ramp(samples, n);
        WriteOut(samples, n * m_frameSize);
        const int k = static_cast<int>(output->receiveSamples(static_cast<unsigned>(n)));
        if (k <= 0)
            return;
        m_producedOut += k;
    }
}

void CPlayer::KeepTail(const char* data, int frames, LONGLONG endFrame)
{
    const size_t keep = static_cast<size_t>(m_format.nSamplesPerSec) * kTailMs / 1000 * m_channels;
    if (m_currentFrame + frames + static_cast<LONGLONG>(keep / m_channels) < endFrame)
        return;
    const short* samples = reinterpret_cast<const short*>(data);
    m_tail.insert(m_tail.end(), samples, samples + static_cast<size_t>(frames) * m_channels);
    if (m_tail.size() > keep)
        m_tail.erase(m_tail.begin(), m_tail.end() - static_cast<std::ptrdiff_t>(keep));
}

void CPlayer::PlayOut(float tempo)
{
    const LONGLONG total = std::llround(m_expectedOut);
    const int tailFrames = static_cast<int>(m_tail.size()) / m_channels;
    const int chunk = static_cast<int>(m_pad.size()) / m_channels;
    // Back from the last frame, then forward again, as long as needed.
    LONGLONG step = 0;
    for (int i = 0; i < 256 && !m_ctx->stop && m_producedOut < total; ++i) {
        for (int f = 0; f < chunk; ++f, ++step) {
            if (tailFrames == 0) {
                std::fill(m_pad.begin() + f * m_channels, m_pad.begin() + (f + 1) * m_channels, short(0));
                continue;
            }
            const LONGLONG cycle = tailFrames > 1 ? 2LL * (tailFrames - 1) : 1;
            const LONGLONG k = (step + 1) % cycle;
            const LONGLONG back = k < tailFrames ? k : cycle - k;
            const short* from = &m_tail[static_cast<size_t>(tailFrames - 1 - back) * m_channels];
            std::copy(from, from + m_channels, m_pad.begin() + f * m_channels);
        }
        m_stretch->setTempo(tempo);
        m_stretch->putSamples(m_pad.data(), static_cast<unsigned>(chunk));
        TakeStretched();
    }
}

int CPlayer::TakeInput(int bytes, LONGLONG left)
{
    if (m_inEnd - m_inPos < bytes) {
        // Read ahead as much as the buffer takes (up to the range's end):
        // one call to the reader per many cycles.
        std::copy(m_in.begin() + m_inPos, m_in.begin() + m_inEnd, m_in.begin());
        m_inEnd -= m_inPos;
        m_inPos = 0;
        const LONGLONG room = std::min<LONGLONG>(kBufferBytes - m_inEnd, left - m_inEnd) / m_frameSize * m_frameSize;
        DWORD got = 0;
        if (room > 0 && m_reader->Read(m_in.data() + m_inEnd, static_cast<DWORD>(room), &got))
            m_inEnd += static_cast<int>(got) / m_frameSize * m_frameSize;
    }
    const int n = std::min(bytes, m_inEnd - m_inPos);
    m_inPos += n;
    return n;
}

bool CPlayer::Cycle(const SPlaySnapshot& s)
{
    const float tempo = s.tempo;
    if (tempo != m_markTempo)
        AddMark(m_readTime, tempo, s.RangeMax());
    const LONGLONG endFrame = EndFrame(s);
    const LONGLONG left = std::max<LONGLONG>(0, endFrame - m_currentFrame) * m_frameSize;
    const LONGLONG request =
        std::min<LONGLONG>(static_cast<LONGLONG>(tempo * kCycleBytes), left) / m_frameSize * m_frameSize;
    if (request > 0) {
        const int got = TakeInput(static_cast<int>(request), left);
        if (got == 0) {
            // Nothing more comes from the file: what was read is played out.
            m_currentFrame = endFrame;
        }
        const char* data = m_in.data() + m_inPos - got;
        const int frames = got / m_frameSize;
        KeepTail(data, frames, endFrame);
        m_currentFrame += frames;
        m_readTime += static_cast<LONGLONG>(got) * 1000000LL / m_bytesPerSecond;
        m_stretch->setTempo(tempo);
        m_stretch->putSamples(reinterpret_cast<const short*>(data), static_cast<unsigned>(frames));
        m_expectedOut += frames / static_cast<double>(tempo);
        if (m_currentFrame < endFrame) {
            TakeStretched();
            return false;
        }
    }
    // The range's end: the pass fades out when the file goes on after it.
    m_inputDone = true;
    m_fadeOut = endFrame < m_frameCount;
    TakeStretched();
    PlayOut(tempo);
    m_stretch->clear();
    return true;
}

LONGLONG CPlayer::PlayedTime(int pending)
{
    const LONGLONG played = m_written - pending / m_frameSize;
    m_marks.ForgetBefore(played);
    return m_marks.TimeAt(played);
}

void CPlayer::CountPassesHeard(LONGLONG played)
{
    // The last frame heard tells the pass.
    if (const SPlayMark* m = m_marks.At(std::max<LONGLONG>(played - 1, 0)))
        m_ctx->pass = m->time < 0 ? m->pass : m->pass + 1;
}

void CPlayer::PostCursor()
{
    const int pending = m_out->GetPendingBytes();
    CountPassesHeard(m_written - pending / m_frameSize);
    const LONGLONG cursor = PlayedTime(pending);
    if (cursor < 0 || cursor == m_lastCursor)
        return;
    m_lastCursor = cursor;
    m_ctx->timeContainer->SetPlayCursor(cursor);
    PostMessage(m_ctx->window, WM_PLAY_POSITION, 0, 0);
}

void CPlayer::OnPlaying()
{
    // Never waits for the thread, which may be finding where a cut's old
    // sound stopped: the feeder goes on feeding the device, and the cursor
    // moves on its next call instead.
    const CTryLock lock(&m_markLock);
    if (!lock.Held())
        return;
    PostCursor();
    // A play position asked for meanwhile is taken at once.
    if (m_ctx->timeContainer->GetPlayPosition(false) != -1)
        m_ctx->Wake();
}

void CPlayer::MeasureRate(int pending)
{
    const LONGLONG played = m_written - pending / m_frameSize;
    const DWORD now = GetTickCount();
    if (m_ratePlayed >= 0 && played >= m_ratePlayed && now - m_rateTick >= 20) {
        const double real = static_cast<double>(m_bytesPerSecond) / 1000;
        const double measured = static_cast<double>(played - m_ratePlayed) * m_frameSize / (now - m_rateTick);
        m_rate = std::max({real, measured, m_rate * kRateMemory});
        ++m_rateMeasures;
    }
    if (m_ratePlayed < 0 || now - m_rateTick >= 20) {
        m_ratePlayed = played;
        m_rateTick = now;
    }
}

LONGLONG CPlayer::MsUntil(int pending, LONGLONG bytes) const
{
    return pending > bytes ? static_cast<LONGLONG>((pending - bytes) / m_rate) : 0;
}

bool CPlayer::Play()
{
    if (!Begin())
        return false;
    while (!m_ctx->stop) {
        m_out->SetVolume(static_cast<UINT>(std::clamp(GetVolume(), 0, 100)));
        const SPlaySnapshot s = m_ctx->Snapshot();
        if (!FollowRequests(s) || !FollowLoopSwitch(s))
            return false;
        int pending = m_out->GetPendingBytes();
        MeasureRate(pending);
        FitDevice();
        if (!WriteAhead(s, pending))
            return false;
        if (!m_writing && pending == 0)
            break; // the last pass was played to its end
        NapWhileQueued(pending);
    }
    End();
    return true;
}

bool CPlayer::Begin()
{
    m_ctx->pass = 0;
    m_passesBegun = 0;
    const SPlaySnapshot s = m_ctx->Snapshot();
    m_looped = s.fragment.Looped != 0;
    if (m_preDelayBytes > 0) {
        // Once per thread, before the first pass only; it moves no cursor.
        AddMark(-1, 1.0f, -1);
        for (LONGLONG left = m_preDelayBytes / m_frameSize * m_frameSize; left > 0 && !m_ctx->stop;) {
            const int n = static_cast<int>(std::min<LONGLONG>(left, kBufferBytes / m_frameSize * m_frameSize));
            WriteOut(m_silence.data(), n);
            left -= n;
        }
    }
    // The first pass starts where the user put the play position when that
    // lies within the range; every later one at the range's start.
    const LONGLONG asked = m_ctx->timeContainer->GetPlayPosition(true);
    m_writing = true;
    return BeginAt(asked >= s.RangeMin() && asked <= s.RangeMax() ? asked : s.RangeMin(), s);
}

bool CPlayer::FollowRequests(const SPlaySnapshot& s)
{
    const LONGLONG asked = m_ctx->timeContainer->GetPlayPosition(true);
    const bool newRange = s.RangeMin() != m_rangeMin || s.RangeMax() != m_rangeMax;
    if (asked == -1 && s.tempo == m_markTempo && (!newRange || QueuedFits(s))) {
        // The writing simply goes on under the new range.
        m_rangeMin = s.RangeMin();
        m_rangeMax = s.RangeMax();
        return true;
    }
    const SStop stop = Cut();
    LONGLONG t = asked;
    if (stop.where == SStop::kInSilence) {
        // The first pass was not heard yet: it starts after the silence
        // anew, where it would have, or where it is asked to.
        if (t == -1)
            t = stop.time;
        if (t < s.RangeMin() || t > s.RangeMax())
            t = s.RangeMin();
    } else if (t == -1) {
        // On from where the old sound stopped: after a pass that ended, that
        // pass goes on when the range now reaches further.
        t = stop.time >= 0 ? stop.time : s.RangeMin();
    }
    if (t < s.RangeMin() - kBeforeStartSlack || t >= s.RangeMax()) {
        // Outside the range: the pass ends here.
        SPlaySnapshot next = s;
        return NextPass(next);
    }
    m_writing = true;
    return BeginAt(t, s);
}

bool CPlayer::QueuedFits(const SPlaySnapshot& s)
{
    if (!m_writing || m_currentFrame >= EndFrame(s))
        return false;
    CCritSecLock lock(&m_markLock);
    const LONGLONG played = m_written - m_out->GetPendingBytes() / m_frameSize;
    if (played < m_passOut)
        return false; // a pass after the one heard is begun, or the pre-delay is heard
    const LONGLONG heard = m_marks.TimeAt(played);
    return heard >= s.RangeMin() - kBeforeStartSlack && heard < s.RangeMax();
}

bool CPlayer::FollowLoopSwitch(const SPlaySnapshot& s)
{
    // Passes repeat while the loop flag is set, read afresh before every
    // pass (NextPass). Since about a second is queued, the pass being
    // written may be a later one than the pass being heard; a switch counts
    // for the pass being heard.
    const bool looped = s.fragment.Looped != 0;
    if (looped == m_looped)
        return true;
    m_looped = looped;
    if (!looped) {
        // Any pass begun after the one being heard is taken back: that
        // one is the last, and ends with its tail and fade as always.
        EndWithPassHeard();
        return true;
    }
    if (m_writing)
        return true; // the pass being written is followed by the next anyway
    // The last pass is written and still heard: the next one follows it
    // without anything between them.
    SPlaySnapshot next = s;
    return NextPass(next);
}

bool CPlayer::WriteAhead(SPlaySnapshot s, int& pending)
{
    while (m_writing && !m_ctx->stop && pending < m_fillTo) {
        const LONGLONG before = m_written;
        if (Cycle(s) && !NextPass(s))
            return false;
        pending += static_cast<int>((m_written - before) * m_frameSize);
        if (!m_firstPosted && m_written > 0) {
            // The first sound is handed over: the cursor moves at once.
            CCritSecLock lock(&m_markLock);
            PostCursor();
            m_firstPosted = true;
        }
    }
    return true;
}

bool CPlayer::NextPass(SPlaySnapshot& s)
{
    // The loop flag and the range afresh; the tempo stays the caller's: a
    // new one is taken up by FollowRequests, which cuts the sound where it
    // is heard, not where it is written.
    const float tempo = s.tempo;
    s = m_ctx->Snapshot();
    if (!s.fragment.Looped) {
        m_writing = false;
        m_out->Drain();
        return true;
    }
    s.tempo = tempo;
    ++m_passesBegun;
    m_writing = true;
    m_out->HoldFrom(m_written * m_frameSize);
    return BeginAt(s.RangeMin(), s);
}

void CPlayer::FitDevice()
{
    const double real = static_cast<double>(m_bytesPerSecond) / 1000; // bytes per millisecond
    const double pool = static_cast<double>(CAudioOut::kBlockCount) * CAudioOut::kBlockSize;
    const int device = static_cast<int>(std::min(std::max(real * kDeviceMs, m_rate * kDeviceWallMs), pool));
    if (m_deviceBytes > 0 && std::abs(device - m_deviceBytes) < CAudioOut::kBlockSize)
        return;
    m_deviceBytes = device;
    m_out->SetDeviceLimit(device, static_cast<int>(real * kHeldMs));
    m_keepQueued = static_cast<int>(std::max(device + real * kAfterDeviceMs, real * kKeepQueuedMs));
    const double fill =
        std::max({m_keepQueued + real * (kFillToMs - kKeepQueuedMs), real * kFillToMs, 2.0 * CAudioOut::kBlockSize});
    m_fillTo = static_cast<int>(std::min(fill, static_cast<double>(kOutputRing / 2)));
}

void CPlayer::NapWhileQueued(int pending)
{
    const LONGLONG nap = m_writing ? MsUntil(pending, m_keepQueued) : MsUntil(pending, 0) / 2 + 1;
    Nap(static_cast<DWORD>(std::clamp(nap, kMinNapMs, m_rateMeasures >= kRateMeasures ? kMaxNapMs : kFirstNapsMs)));
}

void CPlayer::End()
{
    {
        CCritSecLock lock(&m_markLock);
        const int pending = m_out->GetPendingBytes();
        CountPassesHeard(m_written - pending / m_frameSize);
        if (m_ctx->stop) {
            const LONGLONG cursor = PlayedTime(pending);
            if (cursor >= 0)
                m_lastCursor = cursor;
            // At once, not through the feeder: silence within a few milliseconds.
            ResetOutput();
        }
    }
    ITimeContainer* tc = m_ctx->timeContainer;
    tc->SetPlayPosition(GetToFragmentBeginAfterStop() ? tc->GetSelMin() : m_lastCursor);
}

LONGLONG CPlayer::TakeBackUnsent()
{
    return m_out->Withdraw(m_unsent.data(), static_cast<int>(m_unsent.size() * sizeof(short))) / m_frameSize;
}

void CPlayer::PutBack(LONGLONG at, LONGLONG frames)
{
    m_written = at;
    WriteOut(m_unsent.data(), static_cast<int>(frames * m_frameSize));
    if (!m_writing)
        m_out->Drain(); // the last pass's end was taken back with the rest
}

CPlayer::SStop CPlayer::Cut()
{
    SStop stop;
    LONGLONG sent = 0;
    LONGLONG fade = 0;
    std::vector<LONGLONG> candidates;
    {
        CCritSecLock lock(&m_markLock);
        const LONGLONG unsent = TakeBackUnsent();
        sent = m_written - unsent;
        // Only the device's part is queued now: meanwhile the cursor follows it.
        m_written = sent;
        const SPlayMark* m = m_marks.At(sent);
        if (m && m->time < 0) {
            // In the pre-delay's silence: the rest of it is kept.
            const SPlayMark* after = m_marks.After(sent);
            stop.where = SStop::kInSilence;
            stop.keep = after ? std::min(unsent, after->frame - sent) : unsent;
            stop.time = after ? after->time : -1;
        } else if (m) {
            const SPlayMark* ending = m_marks.At(sent - 1);
            const LONGLONG next = m_marks.NextPassFrame(m->pass);
            if (ending && ending->pass != m->pass && ending->time >= 0) {
                // The device's part ends with a pass (a pass's join is held
                // back until shortly before it is heard).
                stop.where = SStop::kPassEnded;
                stop.time = ending->last;
            } else if (next >= 0 && next - sent <= m_rampFrames + CAudioOut::kBlockSize / m_frameSize) {
                // The pass ends within a fade (and the block the device
                // stops short of a held join by) after the device's part,
                // and fades out by itself: it keeps its end.
                stop.where = SStop::kPassEnded;
                stop.keep = next - sent;
                stop.time = m->last;
            } else {
                stop.where = SStop::kInPass;
                fade = std::min<LONGLONG>(unsent, m_rampFrames);
                stop.time = m_marks.TimeAt(sent + fade);
                candidates = StopCandidates(sent, unsent, fade);
            }
        }
    }
    if (stop.where == SStop::kInPass) {
        LONGLONG before = 0; // frames kept at full level before the fade
        if (!candidates.empty())
            stop.time = FindStop(candidates, fade, &before);
        FadeOut(&m_unsent[static_cast<size_t>(before * m_channels)], fade);
        stop.keep = before + fade;
    }
    CCritSecLock lock(&m_markLock);
    if (const SPlayMark* last = m_marks.At(std::max<LONGLONG>(sent + stop.keep - 1, 0)))
        m_passesBegun = last->pass;
    m_marks.DropFrom(sent + stop.keep);
    PutBack(sent, stop.keep);
    return stop;
}

std::vector<LONGLONG> CPlayer::StopCandidates(LONGLONG sent, LONGLONG unsent, LONGLONG fade) const
{
    std::vector<LONGLONG> candidates;
    const int pass = m_marks.At(sent)->pass;
    for (LONGLONG k = 0; k < kFadeTries && (k + 1) * fade <= unsent; ++k) {
        const SPlayMark* at = m_marks.At(sent + (k + 1) * fade - 1);
        const LONGLONG nominal = m_marks.TimeAt(sent + (k + 1) * fade);
        if (!at || at->pass != pass || nominal < 0 || nominal >= at->last)
            break; // the fragment's mirrored end, another pass
        candidates.push_back(nominal);
    }
    return candidates;
}

LONGLONG CPlayer::FindStop(const std::vector<LONGLONG>& candidates, LONGLONG fade, LONGLONG* before)
{
    // The marks pace the source evenly, but the stage plays it in stretches
    // at the original speed, each from a place it chose: the old sound is up
    // to a stretch ahead of or behind its mark, and going on from the mark's
    // time would play that much twice or never. So the place the old sound
    // reached is found again in the source; where its frames are a blend of
    // two stretches, the fade comes one fade later (a few times at most),
    // where they are a copy of one. Failing that, the marks' time it is.
    LONGLONG stopped = candidates.front();
    double closest = kMismatchAllowed;
    for (size_t k = 0; k < candidates.size(); ++k) {
        double mismatch = 1;
        const LONGLONG found =
            m_place->Find(m_reader, &m_unsent[static_cast<size_t>(k * fade * m_channels)], fade,
                          FrameOfTime(candidates[k]) - fade, m_format.nSamplesPerSec * kSearchMs / 1000, &mismatch);
        if (found < 0 || mismatch >= closest)
            continue;
        closest = mismatch;
        *before = static_cast<LONGLONG>(k) * fade;
        // The first frame after the old sound, as a time that maps back to it.
        stopped = ((found + fade) * 1000000 + m_format.nSamplesPerSec - 1) / m_format.nSamplesPerSec;
        if (mismatch == 0)
            break;
    }
    return stopped;
}

void CPlayer::FadeOut(short* samples, LONGLONG frames) const
{
    for (LONGLONG i = 0; i < frames; ++i) {
        const double gain = static_cast<double>(frames - 1 - i) / static_cast<double>(frames);
        for (int c = 0; c < m_channels; ++c) {
            short& v = samples[i * m_channels + c];
            v = static_cast<short>(std::lround(v * gain));
        }
    }
}

void CPlayer::EndWithPassHeard()
{
    CCritSecLock lock(&m_markLock);
    const LONGLONG written = m_written;
    const LONGLONG sent = written - TakeBackUnsent();
    // The device's last frame belongs to the pass being heard.
    const SPlayMark* m = m_marks.At(std::max<LONGLONG>(sent - 1, 0));
    const int heard = m ? m->pass : m_passesBegun;
    const LONGLONG next = m_marks.NextPassFrame(heard);
    PutBack(sent, (next >= 0 ? std::max(next, sent) : written) - sent);
    if (next < 0)
        return; // the pass being written is the one heard: it is the last
    m_marks.DropFrom(m_written);
    m_passesBegun = heard;
    m_writing = false;
    m_out->Drain();
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
    if (!ctx->wake)
        ctx->wake.Reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    if (!ctx->wake)
        return false;
    ResetEvent(ctx->wake.Get());
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
