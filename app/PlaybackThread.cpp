#include "app/PlaybackThread.h"

#include <soundtouch/TDStretch.h>

#include <algorithm>
#include <cmath>
#include <deque>
#include <exception>
#include <memory>
#include <vector>

#include "audio/AudioOut.h"
#include "common/CritSecLock.h"
#include "common/ScopedHandle.h"
#include "app/AppSettings.h"

namespace {

constexpr int kBufferBytes = 65536;
constexpr int kOutputRing = 1048576;
constexpr int kCycleBytes = 8192; // output bytes per cycle at any tempo
constexpr LONGLONG kBeforeStartSlack = 100000;
// The thread fills the output to about kFillToMs of sound, then naps until
// about kKeepQueuedMs are left (at the rate the device really takes it), so
// it wakes a few times a second: every wake-up costs about as much as
// stretching a few milliseconds of sound. Whatever must be seen at once
// (stop, range, tempo, a play position request) wakes it through the
// context's event. A new tempo is heard at once within the pass that is
// written (the queue is dropped and the pass goes on from what is heard);
// queued sound of a pass to come keeps the tempo it was written with.
constexpr LONGLONG kFillToMs = 1000;
constexpr LONGLONG kKeepQueuedMs = 350;
constexpr LONGLONG kMinNapMs = 5;
constexpr LONGLONG kMaxNapMs = 250;
constexpr LONGLONG kFirstNapsMs = 20; // until the device's rate is known
// The play cursor moves (and the window hears of it) this often while
// sound is heard, told by the output's feeder from what it has played: at
// least twenty times a second.
constexpr DWORD kPostEveryMs = 40;
// The fade at a cut: a pass that ends inside the file fades out over its
// last frames, one that starts inside the file (or after the pre-delay's
// silence) fades in, so that a join never steps more than the sound does.
constexpr int kRampMs = 5;
// Of a pass's end, this much is kept to play the stage's held-back input out
// with: the stage gives out the stretch of the last frames only with more
// input behind them, and that input is the fragment's end mirrored, never
// sound from outside the fragment nor silence.
constexpr int kTailMs = 200;

// Where the output's frames come from: from outFrame on (frames written
// since the output was last reset), source time advances from `time` at
// `tempo` up to `last`; time -1 is silence that moves no cursor.
struct SMark
{
    LONGLONG outFrame;
    LONGLONG time;
    float tempo;
    LONGLONG last;
    int pass; // the passes begun before it
};

// The thread's own state for one run. The output's feeder reads the marks
// and the frame count (under m_markLock) to move the play cursor.
class CPlayer : public IAudioOutListener
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
    // Drops what is queued (stop, seek): the output starts over.
    void ResetOutput();
    void AddMark(LONGLONG time, float tempo, LONGLONG last);
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
    // Ends the play: the play position becomes where the user will want it.
    void Finish();
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
    // Read ahead of the stage: bytes from m_inPos to m_inEnd are the file's
    // from m_currentFrame on.
    std::vector<char> m_in = std::vector<char>(kBufferBytes);
    int m_inPos = 0;
    int m_inEnd = 0;
    const std::vector<char> m_silence = std::vector<char>(kBufferBytes, 0);
    std::vector<short> m_tail;
    std::vector<short> m_pad;
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
    // Frames written since the output was last reset, and what they are;
    // written by the thread, read by the feeder as well.
    CCriticalSection m_markLock;
    LONGLONG m_written = 0;
    std::deque<SMark> m_marks;
    LONGLONG m_lastCursor = -1;
    // Bytes per millisecond the device has been taking, and where that was
    // last measured.
    double m_rate = 0;
    LONGLONG m_ratePlayed = -1;
    DWORD m_rateTick = 0;
    bool m_rateKnown = false; // until then naps are short
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
    m_rate = static_cast<double>(m_bytesPerSecond) / 1000;
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
    m_marks.push_back({m_passOut + std::llround(m_expectedOut), time, tempo, last, m_ctx->pass.load()});
    m_markTempo = tempo;
}

void CPlayer::ResetOutput()
{
    CCritSecLock lock(&m_markLock);
    m_out->Reset();
    m_written = 0;
    m_marks.clear();
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
    while (m_marks.size() > 1 && m_marks[1].outFrame <= played)
        m_marks.pop_front();
    if (m_marks.empty() || m_marks.front().time < 0 || played < m_marks.front().outFrame)
        return -1;
    const SMark& m = m_marks.front();
    const double source = static_cast<double>(played - m.outFrame) * m.tempo * 1e6 / m_format.nSamplesPerSec;
    return std::min(m.time + static_cast<LONGLONG>(source), m.last);
}

void CPlayer::PostCursor()
{
    const LONGLONG cursor = PlayedTime(m_out->GetPendingBytes());
    if (cursor < 0 || cursor == m_lastCursor)
        return;
    m_lastCursor = cursor;
    m_ctx->timeContainer->SetPlayCursor(cursor);
    PostMessage(m_ctx->window, WM_PLAY_POSITION, 0, 0);
}

void CPlayer::OnPlaying()
{
    CCritSecLock lock(&m_markLock);
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
        m_rate = std::max(real, measured);
        m_rateKnown = true;
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

void CPlayer::Finish()
{
    ITimeContainer* tc = m_ctx->timeContainer;
    LONGLONG last = -1;
    {
        CCritSecLock lock(&m_markLock);
        last = m_lastCursor;
    }
    tc->SetPlayPosition(GetToFragmentBeginAfterStop() ? tc->GetSelMin() : last);
    ++m_ctx->pass;
}

bool CPlayer::Play()
{
    ITimeContainer* tc = m_ctx->timeContainer;
    m_ctx->pass = 0;
    SPlaySnapshot s = m_ctx->Snapshot();
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
    const LONGLONG asked = tc->GetPlayPosition(true);
    if (!BeginAt(asked >= s.RangeMin() && asked <= s.RangeMax() ? asked : s.RangeMin(), s))
        return false;
    bool writing = true; // false once the last pass is written
    bool first = true;
    const int fillTo = static_cast<int>(std::min<LONGLONG>(
        std::max<LONGLONG>(kFillToMs * m_bytesPerSecond / 1000, 2LL * m_out->GetBlockSize()), kOutputRing / 2));
    const int keep = static_cast<int>(fillTo * kKeepQueuedMs / kFillToMs);
    while (!m_ctx->stop) {
        m_out->SetVolume(static_cast<UINT>(std::clamp(GetVolume(), 0, 100)));
        s = m_ctx->Snapshot();
        LONGLONG t = tc->GetPlayPosition(true);
        if (t == -1 && (s.RangeMin() != m_rangeMin || s.RangeMax() != m_rangeMax)) {
            // A new range: the pass goes on while what is heard lies in it.
            m_rangeMin = s.RangeMin();
            m_rangeMax = s.RangeMax();
            CCritSecLock lock(&m_markLock);
            const LONGLONG heard = PlayedTime(m_out->GetPendingBytes());
            if (heard >= 0 && (heard < m_rangeMin - kBeforeStartSlack || heard >= m_rangeMax))
                t = heard;
        }
        if (t == -1 && s.tempo != m_markTempo) {
            LONGLONG heard = -1;
            {
                CCritSecLock lock(&m_markLock);
                heard = PlayedTime(m_out->GetPendingBytes());
                if (heard >= 0 && m_marks.front().pass != m_ctx->pass)
                    heard = -1;
            }
            if (heard >= 0) {
                ResetOutput();
                if (!BeginAt(heard, s))
                    return false;
                writing = true;
            }
        }
        if (t != -1) {
            // The user moved the play position or the range away from what
            // is heard: what is queued is dropped.
            ResetOutput();
            if (t < s.RangeMin() - kBeforeStartSlack || t >= s.RangeMax()) {
                // Outside the range: this pass ends here.
                if (!s.fragment.Looped)
                    break;
                ++m_ctx->pass;
                if (!BeginAt(s.RangeMin(), s))
                    return false;
            } else if (!BeginAt(t, s)) {
                return false;
            }
            writing = true;
        }
        int pending = m_out->GetPendingBytes();
        MeasureRate(pending);
        while (writing && !m_ctx->stop && pending < fillTo) {
            const LONGLONG before = m_written;
            if (Cycle(s)) {
                // The pass is written whole; the next one follows it in the
                // output without anything between them.
                if (s.fragment.Looped) {
                    ++m_ctx->pass;
                    s = m_ctx->Snapshot();
                    if (!BeginAt(s.RangeMin(), s))
                        return false;
                } else {
                    writing = false;
                    m_out->Drain();
                }
            }
            pending += static_cast<int>((m_written - before) * m_frameSize);
            if (first && m_written > 0) {
                // The first sound is handed over: the cursor moves at once.
                CCritSecLock lock(&m_markLock);
                PostCursor();
                first = false;
            }
        }
        if (!writing && pending == 0)
            break;
        // Nap until the output runs low (or, writing no more, runs out);
        // stop, range and tempo changes and play position requests wake it.
        const LONGLONG nap = writing ? MsUntil(pending, keep) : MsUntil(pending, 0) / 2 + 1;
        Nap(static_cast<DWORD>(std::clamp(nap, kMinNapMs, m_rateKnown ? kMaxNapMs : kFirstNapsMs)));
    }
    if (m_ctx->stop) {
        CCritSecLock lock(&m_markLock);
        const LONGLONG cursor = PlayedTime(m_out->GetPendingBytes());
        if (cursor >= 0)
            m_lastCursor = cursor;
    }
    // At once, not through the feeder: silence within a few milliseconds.
    if (m_ctx->stop)
        ResetOutput();
    Finish();
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
