// The cuts of what is queued: a play position asked for (GoTo) and a range
// that leaves what is heard behind drop it all at once (DropQueued); a new
// tempo and a new range that what is queued no longer fits cut it cleanly
// where the device's share ends (Cut); the loop switched off takes back the
// passes after the one heard (EndWithPassHeard).
#include "app/Player.h"

#include <algorithm>
#include <cmath>

#include "common/CritSecLock.h"

namespace playback {

// How far from its mark's time a cut's old sound is looked for in the
// source: the stage's stretches stray from an even pace by less.
constexpr int kSearchMs = 100;
// A cut's fade is moved on at most this often, to where the old sound is a
// copy of the source; failing that, the place found must explain all but
// this part of the old sound's energy, else the marks' time is taken.
constexpr int kFadeTries = 4;
constexpr double kMismatchAllowed = 0.25;

bool CPlayer::GoTo(LONGLONG t, const SPlaySnapshot& s)
{
    if (Outside(t, s))
        return EndPassNow(s);
    if (Heard(s).inPass)
        DropQueued();
    else
        (void)Cut(); // the pre-delay's silence goes on; the first pass follows it from t
    m_writing = true;
    return BeginAt(t, s);
}

CPlayer::SHeard CPlayer::Heard(const SPlaySnapshot& s)
{
    SHeard heard;
    CCritSecLock lock(&m_markLock);
    const LONGLONG played = m_written - m_out->GetPendingBytes() / m_frameSize;
    const SPlayMark* m = m_marks.At(played);
    if (!m || m->time < 0)
        return heard;
    heard.inPass = true;
    heard.outside = Outside(m_marks.TimeAt(played), s);
    if (!heard.outside) {
        const LONGLONG sent = m_written - m_out->GetUnsentBytes() / m_frameSize;
        heard.endAt = m_marks.FrameReaching(played, sent, s.RangeMax());
    }
    return heard;
}

bool CPlayer::EndPassNow(const SPlaySnapshot& s)
{
    DropQueued();
    m_rangeMin = s.RangeMin();
    m_rangeMax = s.RangeMax();
    m_markTempo = s.tempo;
    SPlaySnapshot next = s;
    if (!NextPass(next))
        return false;
    m_over = !m_writing;
    return true;
}

void CPlayer::DropQueued()
{
    CCritSecLock lock(&m_markLock);
    const int pending = m_out->GetPendingBytes();
    const LONGLONG played = m_written - pending / m_frameSize;
    CountPassesHeard(played);
    // The pass heard goes on, or the next one follows it.
    if (const SPlayMark* m = m_marks.At(std::max<LONGLONG>(played - 1, 0)))
        m_passesBegun = m->pass;
    const LONGLONG cursor = PlayedTime(pending);
    if (cursor >= 0)
        m_lastCursor = cursor;
    m_out->Reset();
    m_written = 0;
    m_marks.Clear();
    m_ratePlayed = -1;
    m_endAt = -1;
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

} // namespace playback
