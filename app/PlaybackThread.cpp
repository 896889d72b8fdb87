#include "app/PlaybackThread.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <exception>

#include "common/CritSecLock.h"
#include "app/AppSettings.h"
#include "app/Player.h"

namespace playback {

namespace {

constexpr int kOutputRing = 1048576;
// The thread fills the output to about kFillToMs of sound, then naps until
// about kKeepQueuedMs are left (at the rate the device really takes it), so
// it wakes a few times a second: every wake-up costs about as much as
// stretching a few milliseconds of sound. Whatever must be seen at once
// (stop, range, tempo, loop flag, a play position request) wakes it through
// the context's event.
constexpr LONGLONG kFillToMs = 1000;
constexpr LONGLONG kKeepQueuedMs = 350;
constexpr LONGLONG kFirstNapsMs = 20; // until the device's rate is known
// The shortest nap while the output runs down (NapWhileQueued): a cut put
// off may still come sooner. Elsewhere the thread naps 1 ms at a time while
// the ring is full (WriteOut) or an end is near (WaitForEnd).
constexpr LONGLONG kMinNapMs = 5;
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
// The pane hands the range and the loop flag on only at a position
// message. While the last pass plays out (the loop switched off), while the
// pass heard ends where an end moved inward is held, and near the end of
// the pass heard, the window hears of the play this often in between, the
// cursor staying where it is (Nap): a loop switched on shortly before the
// pass's end reaches the thread while the next pass can still follow it
// without a gap, and an end moved late while the pass can still play it.
// About every pass of the feeder: it takes each block the device gives
// back, and waits no longer than 10 ms otherwise.
constexpr DWORD kHandOverEveryMs = 5;
// At the end of the last pass, the longest wait for the pane's hand-over of
// the range (a window thread busy elsewhere answers late, or never).
constexpr DWORD kHandOverWaitMs = 250;
// The output's device holds no more than this much of the queue; the rest
// can still be taken back and written anew (a new tempo, or a range the
// queue no longer fits) while the device plays on, so such a change is
// heard after at most this much sound, with a clean cut, or an end moved
// inward made in place: nothing of the music is lost or played twice.
// (Where the pass heard must keep its own end instead, an end moved on is
// heard after it, faded in; less than a few fades of it counts from the
// next pass, looped, or is not heard, played once.) (What the device holds
// can be dropped only by a reset, after which it cannot tell exactly where
// its sound stopped: under Wine its position runs some tens of
// milliseconds ahead of what it has played. So a reset is kept for where
// the play jumps or a pass ends: a stop, a play position asked for, a range
// that leaves what is heard behind.) A device that takes the sound faster
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
// silence) fades in, so that a join never steps more than the sound does
// (but where the pass heard ends at once, with a drop and a reset of the
// device: a hard cut, as at a stop).
constexpr int kRampMs = 5;

} // namespace

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
    m_cursorMoved = GetTickCount();
    m_out->SetListener(this, kHandOverEveryMs);
    m_ctx->state = kPlayPlaying;
    return true;
}

LONGLONG CPlayer::PlayedTime(int pending)
{
    const LONGLONG played = m_written - pending / m_frameSize;
    m_marks.ForgetBefore(played);
    return m_marks.TimeAt(played);
}

LONGLONG CPlayer::PassEnd(int pass, LONGLONG queued) const
{
    const LONGLONG next = m_marks.NextPassFrame(pass);
    return next < 0 && !m_writing ? queued : next;
}

void CPlayer::CountPassesHeard(LONGLONG played)
{
    // The last frame heard tells the pass; none heard since the output
    // started over tells nothing new.
    if (played <= 0)
        return;
    if (const SPlayMark* m = m_marks.At(played - 1))
        m_ctx->pass = m->time < 0 ? m->pass : m->pass + 1;
}

LONGLONG CPlayer::NextCursor()
{
    const int pending = m_out->GetPendingBytes();
    CountPassesHeard(m_written - pending / m_frameSize);
    const LONGLONG cursor = PlayedTime(pending);
    if (cursor < 0 || cursor == m_lastCursor)
        return -1;
    m_lastCursor = cursor;
    return cursor;
}

void CPlayer::PostCursor(LONGLONG cursor)
{
    if (cursor < 0)
        return;
    m_ctx->timeContainer->SetPlayCursor(cursor);
    PostMessage(m_ctx->window, WM_PLAY_POSITION, 0, 0);
}

void CPlayer::OnPlaying()
{
    const DWORD now = GetTickCount();
    if (now - m_cursorMoved < kPostEveryMs) {
        // Between the cursor's moves: the window hears of the play only
        // while the last pass plays out, for the pane to hand the loop flag
        // on, and near a pass's end, for the pane to hand a moved end on
        // while it can still be heard in that pass.
        if (m_handOverOften)
            PostMessage(m_ctx->window, WM_PLAY_POSITION, 0, 0);
        return;
    }
    m_cursorMoved = now;
    // The thread holds the mark lock only for a short copy or count (see
    // its declaration), so the feeder waits briefly at most.
    LONGLONG cursor = -1;
    {
        CCritSecLock lock(&m_markLock);
        cursor = NextCursor();
    }
    PostCursor(cursor);
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

bool CPlayer::PassEndWithin(LONGLONG ms)
{
    CCritSecLock lock(&m_markLock);
    const LONGLONG played = PlayedFrames();
    const SPlayMark* m = m_marks.At(played);
    if (!m || m->time < 0)
        return false;
    const LONGLONG end = PassEnd(m->pass, m_written);
    return end >= played &&
           MsUntil(static_cast<int>(std::min<LONGLONG>(end - played, INT_MAX / m_frameSize) * m_frameSize), 0) <= ms;
}

void CPlayer::Nap(DWORD ms)
{
    // A range the pane changes reaches the thread at the pane's next
    // hand-over: one cursor move later at most.
    m_handOverOften = !m_writing || m_endAt >= 0 || PassEndWithin(static_cast<LONGLONG>(ms) + kPostEveryMs);
    WaitForSingleObject(m_ctx->wake.Get(), ms);
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
        if (!FollowRequests(s))
            return false;
        if (m_over)
            break; // the last pass ended where the queue was dropped
        if (!FollowLoopSwitch(s))
            return false;
        int pending = m_out->GetPendingBytes();
        if (m_endAt >= 0) {
            if (!WaitForEnd(s, pending))
                return false;
            if (m_over)
                break;
            if (m_endAt >= 0)
                continue; // not there yet
            pending = m_out->GetPendingBytes();
        }
        MeasureRate(pending);
        FitDevice();
        if (!WriteAhead(s, pending))
            return false;
        if (!m_writing && pending == 0) {
            bool over = false;
            if (!FollowEnd(over))
                return false;
            if (over)
                break; // the last pass was played to its end
            continue;
        }
        m_endAsked = false; // sound is queued: an end to come asks afresh
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
    // The first pass starts where the user put the play position when that
    // lies within the range; every later one at the range's start.
    const LONGLONG asked = m_ctx->timeContainer->GetPlayPosition(true);
    const LONGLONG first = asked >= s.RangeMin() && asked <= s.RangeMax() ? asked : s.RangeMin();
    // The pre-delay's silence: once per thread, before the first pass
    // only; it moves no cursor. The play loop writes it a part at a time,
    // so that whatever is asked for meanwhile is followed, however long
    // the silence.
    return BeginAfter(m_preDelayBytes / m_frameSize, first, s);
}

bool CPlayer::WriteAhead(SPlaySnapshot s, int& pending)
{
    while (m_writing && !m_ctx->stop && pending < m_fillTo) {
        const LONGLONG before = m_written;
        if (m_silenceLeft > 0) {
            if (!WriteSilencePart(s))
                return false;
        } else if (Cycle(s) && !NextPass(s)) {
            return false;
        }
        pending += static_cast<int>((m_written - before) * m_frameSize);
        if (!m_firstPosted && m_written > 0) {
            // The first sound is handed over: the cursor moves at once.
            LONGLONG cursor = -1;
            {
                CCritSecLock lock(&m_markLock);
                cursor = NextCursor();
            }
            PostCursor(cursor);
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
    LONGLONG ms = std::clamp(nap, kMinNapMs, m_rateMeasures >= kRateMeasures ? kMaxNapMs : kFirstNapsMs);
    if (m_cutNapMs >= 0)
        ms = std::min(ms, m_cutNapMs);
    Nap(static_cast<DWORD>(ms));
}

bool CPlayer::FollowEnd(bool& over)
{
    if (!m_endAsked) {
        m_endAsked = true;
        m_endHandOvers = m_ctx->AskHandOver();
        m_endAskedTick = GetTickCount();
        PostMessage(m_ctx->window, WM_PLAY_POSITION, 0, 0);
    } else if (m_ctx->HandOvers() != m_endHandOvers) {
        SPlaySnapshot s = m_ctx->Snapshot();
        if (!s.fragment.Looped) {
            over = true;
            return true;
        }
        // Switched on shortly before the end or after it, and handed on only
        // now: the next pass follows, late (the device played silence
        // meanwhile).
        m_looped = true;
        m_endAsked = false;
        return NextPass(s);
    }
    const DWORD waited = GetTickCount() - m_endAskedTick;
    if (waited >= kHandOverWaitMs) {
        over = true;
        return true;
    }
    // Woken by the hand-over (asked for above), a stop, or a change.
    Nap(kHandOverWaitMs - waited);
    return true;
}

void CPlayer::End()
{
    // A stop drops what is queued here; the device falls silent as soon as
    // the output is closed, when the thread ends.
    if (m_ctx->stop)
        DropQueued();
    LONGLONG last = -1;
    {
        CCritSecLock lock(&m_markLock);
        CountPassesHeard(PlayedFrames());
        last = m_lastCursor;
    }
    ITimeContainer* tc = m_ctx->timeContainer;
    tc->SetPlayPosition(GetToFragmentBeginAfterStop() ? tc->GetSelMin() : last);
}

} // namespace playback

UINT PlaybackThreadProc(LPVOID param)
{
    auto* ctx = static_cast<SPlayContext*>(param);
    if (!ctx)
        return 0xFFFFFFFFu;
    bool ok = false;
    try {
        playback::CPlayer player(ctx);
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
