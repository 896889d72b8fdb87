// What the user asks for while playing, each judged against what the frames
// being heard were written for (the range kept in their marks, and whether
// they are the pre-delay's silence or a pass), never against what is being
// written: about a second is queued ahead, a pass after the one heard may
// be begun already under a newer range, and the heard pass must still
// follow the change.
#include "app/Player.h"

#include <algorithm>

#include "common/CritSecLock.h"

namespace playback {

// A cut put off comes this much of the device's time, and two device blocks
// more, before the device's part reaches where it is held back: a busy
// machine wakes the thread late. Until then the thread naps half the time
// left at a time.
constexpr LONGLONG kCutLeadMs = 20;

bool CPlayer::FollowRequests(const SPlaySnapshot& s)
{
    m_cutNapMs = -1;
    const LONGLONG asked = m_ctx->timeContainer->GetPlayPosition(true);
    if (asked != -1)
        return GoTo(asked, s);
    const SHeard heard = Heard(s);
    // An end the device already holds ends the pass heard there (WaitForEnd)
    // only while the range still asks for it: moved back (to the end the
    // pass was written for, or to another), it is dropped or judged afresh
    // below, and the pass plays to the end in force. While it stands, a new
    // tempo counts from the next pass; once it is dropped, a tempo that
    // changed meanwhile is cut for as any other.
    const bool endStands =
        m_endAt >= 0 && heard.inPass && !heard.writtenFor && !heard.outside && !heard.endKept && heard.endAt >= 0;
    if (!endStands)
        m_endAt = -1;
    const bool newTempo = s.tempo != m_markTempo && !endStands;
    if (heard.writtenFor && !newTempo)
        return true;
    if (!heard.inPass) {
        // The silence: the first pass begins after it, where it would have.
        const LONGLONG t = heard.firstPass;
        return Restart(t < s.RangeMin() || t > s.RangeMax() ? s.RangeMin() : t, s);
    }
    if (!heard.writtenFor) {
        if (heard.outside)
            return EndPassNow(s);
        if (!newTempo && heard.endKept) {
            // The pass judged sounds as it did (a new start counts from the
            // next pass): only a later pass queued after it differs, and is
            // written anew from its join on, nothing dipped before.
            if (heard.laterPass < 0) {
                TakeRange(s);
                return true;
            }
            return WriteLaterPassesAnew(heard.laterPass, s);
        }
        if (heard.endAt >= 0) {
            // The device already holds the new end: the pass ends when that
            // is heard (WaitForEnd). Judged afresh at every wake until then,
            // so that a pass whose first frames the device takes meanwhile
            // is kept and judged instead (Heard), and an end moved back
            // meanwhile is followed (above).
            m_endAt = heard.endAt;
            return true;
        }
        if (!newTempo && heard.fits) {
            // The writing simply goes on under the new range.
            TakeRange(s);
            return true;
        }
        if (!newTempo && heard.endMovedOn && ExtendedAlready(heard.pass, s)) {
            // Looped, the pass heard was extended once already: a drag does
            // not dip it again at every step, and the next pass takes the
            // rest up.
            TakeRange(s);
            return true;
        }
        const LONGLONG due = heard.cutBy - 2 * CAudioOut::kBlockSize / m_frameSize -
                             static_cast<LONGLONG>(m_rate * kCutLeadMs) / m_frameSize;
        if (!newTempo && heard.cutBy >= 0 && heard.sent < due) {
            // The end moved on: the device's part is held back where the
            // old sound can still be cut (its share grows by several blocks
            // at a time, more when its rate is measured afresh), and the
            // cut waits until that part gets near there; the thread naps
            // half the time left at a time.
            m_out->HoldFrom(heard.cutBy * m_frameSize);
            m_cutNapMs = std::max<LONGLONG>(1, MsUntil(static_cast<int>((due - heard.sent) * m_frameSize), 0) / 2);
            return true;
        }
    }
    const SStop stop = Cut(s);
    TakeRange(s);
    return GoOnAfterCut(stop, heard, s);
}

bool CPlayer::GoOnAfterCut(const SStop& stop, const SHeard& heard, const SPlaySnapshot& s)
{
    const LONGLONG t = stop.time < 0 ? s.RangeMin() : stop.time;
    if (m_passesBegun == m_endedInPart) {
        // The play ends with the first frames of a pass the device held when
        // the loop was switched off: nothing goes on after them.
        m_markTempo = s.tempo;
        SPlaySnapshot next = s;
        return NextPass(next);
    }
    if (stop.where == SStop::kPassEnded && heard.played < heard.passEnd && t < s.RangeMax() && t <= LatestStop(s) &&
        FrameOfTime(t) < m_frameCount && !ExtendedAlready(m_passesBegun, s)) {
        // The pass keeps its own end, but the end moved on: the sound from
        // its end's next frame to the new end follows it, faded in as at a
        // loop's join, and belongs to the same pass. Looped, once a pass;
        // played once, a piece whose own end is kept gets another in turn.
        m_extendedPass = m_passesBegun;
        m_writing = true;
        return BeginAt(t, s);
    }
    if (stop.where == SStop::kPassEnded || Outside(t, s)) {
        // The pass keeps its own end, ends in place at an end moved inward,
        // or no new sound follows the old sound's fade (no room for it
        // before the range's end, or its place lies outside the range):
        // the pass ends there.
        // Where its end moved on by less than a few fades (on its own that
        // sound would be a tick), the next pass (looped) takes the change
        // up, and played once that sound is not heard; looped, so does a
        // move after the pass was extended once. The tempo is noted, so
        // that the next wake cuts nothing again.
        m_markTempo = s.tempo;
        SPlaySnapshot next = s;
        return NextPass(next);
    }
    m_writing = true;
    return BeginAt(t, s);
}

bool CPlayer::WriteLaterPassesAnew(LONGLONG join, const SPlaySnapshot& s)
{
    LONGLONG keep = 0;
    bool joinHeld = false;
    {
        CCritSecLock lock(&m_markLock);
        const LONGLONG unsent = TakeBackUnsent();
        const LONGLONG sent = m_written;
        // The device may have taken the join since it was judged: then the
        // pass after it is kept whole, as any pass the device holds.
        joinHeld = join < sent;
        keep = joinHeld ? unsent : std::min(join - sent, unsent);
        m_marks.TakeRange(PlayedFrames(), s.RangeMin(), s.RangeMax());
        if (!joinHeld)
            KeepAfterDevice(sent, keep);
    }
    if (joinHeld) {
        PutBack(keep);
        return true;
    }
    m_writing = true; // so that putting the pass heard back asks for no drain
    PutBack(keep);
    SPlaySnapshot next = s;
    return NextPass(next);
}

bool CPlayer::GoTo(LONGLONG t, const SPlaySnapshot& s)
{
    if (!Outside(t, s))
        return Restart(t, s);
    if (!EndPassNow(s))
        return false;
    // The place asked for is where the play stands now, as if it had
    // been heard there: an ended play leaves the position at it.
    CCritSecLock lock(&m_markLock);
    m_lastCursor = t;
    return true;
}

CPlayer::SHeard CPlayer::Heard(const SPlaySnapshot& s)
{
    // Reads the reader's length: outside the lock.
    const bool writingInRange = m_currentFrame < EndFrame(s);
    SHeard heard;
    CCritSecLock lock(&m_markLock);
    const LONGLONG played = PlayedFrames();
    heard.played = played;
    heard.writtenFor = m_marks.WrittenFor(played, s.RangeMin(), s.RangeMax());
    const SPlayMark* m = m_marks.At(played);
    if (!m)
        return heard;
    if (m->time < 0) {
        const SPlayMark* after = m_marks.After(played);
        heard.firstPass = after ? after->time : m_firstPass;
        return heard;
    }
    heard.inPass = true;
    const LONGLONG sent = m_written - m_out->GetUnsentBytes() / m_frameSize;
    heard.sent = sent;
    // Where the device already holds the first frames of a pass after the
    // one heard, that pass is the one judged: what the device holds can only
    // be dropped by a reset, which would cut those frames short, and the
    // pass would be heard again from its start. The pass heard then plays
    // out what the device holds of it (less than kHeldMs: a pass's join is
    // held back until then).
    LONGLONG from = played;
    for (LONGLONG next = m_marks.NextPassFrame(m->pass); next >= 0 && next < sent;
         next = m_marks.NextPassFrame(m->pass)) {
        from = next;
        m = m_marks.At(from);
    }
    heard.pass = m->pass;
    // A later pass judged stays whatever the new range: its first frames
    // are held, and what is heard is the pass before it. Only where that
    // too lies outside does the pass heard end (a new start alone never
    // ends it: it counts from the pass after the one judged).
    heard.outside = Outside(m_marks.TimeAt(from), s) && Outside(m_marks.TimeAt(played), s);
    if (heard.outside)
        return heard;
    heard.endAt = m_marks.FrameReaching(from, sent, s.RangeMax());
    heard.laterPass = m_marks.NextPassFrame(m->pass);
    const LONGLONG passEnd = PassEnd(m->pass, m_written);
    heard.passEnd = passEnd;
    heard.endKept = s.RangeMax() == m->last;
    // While the pass judged is still being written (nothing after it is
    // begun), the writing goes on under the new range: up to a further end,
    // or to an end moved inward ahead of what is written, even behind what
    // the stage was fed (Cycle then ends the pass there). Else the queue is
    // cut (Cut).
    const bool endMovedOn = s.RangeMax() > m->last;
    heard.endMovedOn = endMovedOn;
    heard.fits =
        m_writing && passEnd < 0 && (writingInRange || m_marks.FrameReaching(from, m_written, s.RangeMax()) < 0);
    if (endMovedOn && passEnd > sent) {
        // The last frame at which the old sound may stop: before the pass's
        // play-out, and where the new sound still lasts a few fades; its
        // fade begins a fade before.
        const LONGLONG playOut = m_marks.At(passEnd - 1)->playOut;
        LONGLONG last = playOut >= 0 ? playOut : passEnd - m_rampFrames;
        const LONGLONG reaching = m_marks.FrameReaching(from, passEnd, LatestStop(s));
        if (reaching >= 0)
            last = std::min(last, reaching);
        heard.cutBy = last - m_rampFrames;
    }
    return heard;
}

void CPlayer::TakeRange(const SPlaySnapshot& s)
{
    CCritSecLock lock(&m_markLock);
    const LONGLONG played = PlayedFrames();
    m_marks.TakeRange(played, s.RangeMin(), s.RangeMax());
}

bool CPlayer::Restart(LONGLONG t, const SPlaySnapshot& s)
{
    LONGLONG silence = 0; // frames of the pre-delay not heard yet
    bool inSilence = false;
    {
        CCritSecLock lock(&m_markLock);
        const LONGLONG played = std::max<LONGLONG>(PlayedFrames(), 0);
        const SPlayMark* m = m_marks.At(played);
        if (m && m->time < 0) {
            // Written so far, and still to be written.
            const SPlayMark* after = m_marks.After(played);
            const LONGLONG end = after ? after->frame : m_written + m_silenceLeft;
            // Where the device holds nothing but the silence, it plays that
            // on, and only what comes after its part is written anew: the
            // silence stays exactly as long. (A reset would leave it
            // playing its part until the driver's next period, heard but
            // not counted.)
            TakeBackUnsent();
            inSilence = m_written <= end;
            if (inSilence) {
                KeepAfterDevice(m_written, 0);
                silence = end - m_written;
            } else {
                silence = end - played;
            }
        }
    }
    if (inSilence) {
        m_silenceLeft = 0;
        m_endAt = -1;
        m_extendedPass = -1;
        return BeginAfter(silence, t, s);
    }
    // Dropped with the rest, the silence the device held is written again:
    // it stays whole, and nothing of another place comes before t.
    DropQueued();
    return BeginAfter(silence, t, s);
}

bool CPlayer::EndPassNow(const SPlaySnapshot& s)
{
    if (!DropQueued())
        --m_passesBegun; // none of the pass was heard: the next takes its place in the count
    m_markTempo = s.tempo;
    SPlaySnapshot next = s;
    if (!NextPass(next))
        return false;
    m_over = !m_writing;
    return true;
}

bool CPlayer::WaitForEnd(const SPlaySnapshot& s, int pending)
{
    const LONGLONG left = m_endAt - (m_written - pending / m_frameSize);
    if (left <= 0)
        return EndPassNow(s);
    // Until about then, at the rate the device takes the sound (never
    // slower than real time, so never late), then again.
    Nap(static_cast<DWORD>(std::clamp<LONGLONG>(MsUntil(static_cast<int>(left * m_frameSize), 0), 1, kMaxNapMs)));
    return true;
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
        // one is the last, and ends with its tail and fade as always (and
        // what the device already holds of later passes, faded out).
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

} // namespace playback
