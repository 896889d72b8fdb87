// The cuts of what is queued, as the requests decide them
// (PlayerRequests.cpp, which also takes back the passes after a join,
// WriteLaterPassesAnew, and what follows the device's part of the silence,
// Restart): a drop of everything (DropQueued); the clean cut after the
// device's share, an end moved inward made in place, or the pass heard
// keeping its own end (Cut); the passes after the one heard taken back
// when the loop is switched off (EndWithPassHeard).
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
// No sound between two fades lasts less than this many fades (its fade-in,
// its fade-out and as much again at full level): a cut's new sound before
// the range's end, and the sound from a fade-in to a cut's fade-out.
constexpr int kMinNewSoundFades = 4;

bool CPlayer::DropQueued()
{
    bool passHeard = false;
    {
        CCritSecLock lock(&m_markLock);
        const int pending = m_out->GetPendingBytes();
        const LONGLONG played = m_written - pending / m_frameSize;
        CountPassesHeard(played);
        // The pass heard goes on, or the next one follows it.
        if (const SPlayMark* m = m_marks.At(std::max<LONGLONG>(played - 1, 0))) {
            m_passesBegun = m->pass;
            passHeard = played > 0 && m->time >= 0;
        }
        const LONGLONG cursor = PlayedTime(pending);
        if (cursor >= 0)
            m_lastCursor = cursor;
        // Nothing is counted as written any more: until the reset below the
        // feeder finds no frame heard, and moves no cursor.
        m_written = 0;
        m_marks.Clear();
    }
    m_out->Reset();
    m_ratePlayed = -1;
    m_endAt = -1;
    m_extendedPass = -1;
    m_endedInPart = -1;
    m_silenceLeft = 0;
    return passHeard;
}

LONGLONG CPlayer::TakeBackUnsent()
{
    const LONGLONG unsent =
        m_out->Withdraw(m_unsent.data(), static_cast<int>(m_unsent.size() * sizeof(short))) / m_frameSize;
    m_written -= unsent;
    return unsent;
}

void CPlayer::KeepAfterDevice(LONGLONG sent, LONGLONG keep)
{
    if (const SPlayMark* last = m_marks.At(std::max<LONGLONG>(sent + keep - 1, 0)))
        m_passesBegun = last->pass;
    m_marks.DropFrom(sent + keep);
}

void CPlayer::PutBack(LONGLONG frames)
{
    WriteOut(m_unsent.data(), static_cast<int>(frames * m_frameSize));
    if (!m_writing)
        m_out->Drain(); // the last pass's end was taken back with the rest
}

LONGLONG CPlayer::LatestStop(const SPlaySnapshot& s) const
{
    return s.RangeMax() - std::llround(kMinNewSoundFades * m_rampFrames * s.tempo * 1e6 / m_format.nSamplesPerSec);
}

CPlayer::SQueued CPlayer::TakeBackForCut(const SPlaySnapshot& s)
{
    SQueued q;
    q.latest = LatestStop(s);
    const LONGLONG endFrame = EndFrame(s); // reads the reader's length: outside the lock
    CCritSecLock lock(&m_markLock);
    const LONGLONG unsent = TakeBackUnsent();
    // Only the device's part is queued now: meanwhile the cursor follows it.
    const LONGLONG sent = m_written;
    q.sent = sent;
    const SPlayMark* m = m_marks.At(sent);
    if (!m || m->time < 0)
        return q; // nothing heard, or the silence: nothing is kept
    q.inPass = true;
    if (const SPlayMark* ending = m_marks.At(sent - 1); ending && ending->pass != m->pass && ending->time >= 0) {
        // The device's part ends with a pass (a pass's join is held back
        // until shortly before it is heard).
        q.partEnds = true;
        q.partEnd = ending->end >= 0 ? ending->end : ending->last;
        return q;
    }
    // What was taken back is still marked: the last pass ends with it.
    q.next = PassEnd(m->pass, sent + unsent);
    // The sound from a mark on may be fading in (a pass's start, or the new
    // sound of a cut): the old sound fades out only after that fade and
    // twice as much sound again, so that no sound between two fades is
    // shorter than kMinNewSoundFades of them. Nor does its fade reach into
    // the next mark's sound.
    LONGLONG skip = std::clamp<LONGLONG>(m->frame + (kMinNewSoundFades - 1) * m_rampFrames - sent, 0, unsent);
    for (const SPlayMark* n = m_marks.After(sent + skip); n && n->frame <= sent + skip + m_rampFrames && skip < unsent;
         n = m_marks.After(sent + skip))
        skip = std::min(n->frame + (kMinNewSoundFades - 1) * m_rampFrames - sent, unsent);
    q.skip = skip;
    q.soon = std::max<LONGLONG>(m_rampFrames + CAudioOut::kBlockSize / m_frameSize, skip + m_rampFrames);
    q.fade = std::min<LONGLONG>(unsent - skip, m_rampFrames);
    // The old sound can stop only where it is still the source it was paced
    // from (before the pass's play-out), and where the new sound leaves more
    // than a tick before the range's end.
    q.cuttable =
        q.fade > 0 && !m_marks.PlaysOut(sent + skip + q.fade - 1) && m_marks.TimeAt(sent + skip + q.fade) <= q.latest;
    // Where the pass's sound ends: the range taken up since may say
    // otherwise, and a moved end's sound goes on from there.
    const SPlayMark* lastOfPass = q.next > 0 ? m_marks.At(q.next - 1) : nullptr;
    q.end = lastOfPass && lastOfPass->end >= 0 ? lastOfPass->end : m->last;
    q.hasOwnEnd = q.next >= 0 && q.end <= s.RangeMax();
    // An end moved inward past the device's part, with the tempo as it was:
    // the sound queued up to the new end is what the new range gives.
    if (s.tempo == m_markTempo && s.RangeMax() < q.end)
        q.reach = m_marks.FrameOfSource(sent, q.next >= 0 ? q.next : sent + unsent, endFrame);
    // Where the old sound would fade out, the new one goes on where an
    // untouched play would then be: the marks' place. At the recording's
    // own speed the old sound is a copy of the source, whose place is found
    // again to the frame (FindStop); at any other tempo the stage plays each
    // of its rounds at the recording's speed and steps back (or on) at the
    // next, so the frame the old sound carried lies up to a round off the
    // music's time, and going on from it would skip (or repeat) that much.
    const LONGLONG place = m_marks.SourceFrameAt(sent + skip + q.fade);
    q.place = place < 0 ? -1 : TimeOfFrame(place);
    if (q.cuttable && m->tempo == 1.0f)
        q.candidates = StopCandidates(sent + skip, unsent - skip, q.fade, q.latest);
    return q;
}

CPlayer::SStop CPlayer::Cut(const SPlaySnapshot& s)
{
    const SQueued q = TakeBackForCut(s);
    SStop stop;
    if (!q.inPass) {
        // Nothing heard: nothing is kept.
    } else if (q.partEnds) {
        stop = {SStop::kPassEnded, q.partEnd};
    } else if (q.reach >= q.sent + q.skip + m_rampFrames) {
        stop = EndInPlace(q, s);
    } else if (q.next >= 0 && (q.next - q.sent <= q.soon || (!q.cuttable && q.hasOwnEnd))) {
        // The pass ends within a fade (and the block the device stops short
        // of a held join by, or the sound kept for a fade-in) after the
        // device's part, and fades out by itself; or no place after the
        // device's part can be cut: it keeps its end.
        stop = {SStop::kPassEnded, q.end, q.next - q.sent};
    } else {
        stop = CutInPass(q, s);
    }
    {
        CCritSecLock lock(&m_markLock);
        KeepAfterDevice(q.sent, stop.keep);
        if (stop.fadesHere) {
            // The pass's sound now ends at the new end; none of it is the
            // stage's play-out but what was so before.
            const SPlayMark* last = m_marks.At(q.sent + stop.keep - 1);
            const LONGLONG playOut =
                last->playOut >= 0 ? std::min(last->playOut, q.sent + stop.keep) : q.sent + stop.keep;
            m_marks.SetPlayOut(last->frame, playOut, s.RangeMax());
        }
    }
    PutBack(stop.keep);
    return stop;
}

CPlayer::SStop CPlayer::EndInPlace(const SQueued& q, const SPlaySnapshot& s)
{
    // What is queued up to the new end plays on and fades out in place there.
    SStop stop = {SStop::kPassEnded, s.RangeMax(), q.reach - q.sent};
    stop.fadesHere = true;
    const LONGLONG n = std::min<LONGLONG>(stop.keep, m_rampFrames);
    FadeOut(&m_unsent[static_cast<size_t>((stop.keep - n) * m_channels)], n);
    return stop;
}

CPlayer::SStop CPlayer::CutInPass(const SQueued& q, const SPlaySnapshot& s)
{
    SStop stop = {SStop::kInPass, q.place};
    LONGLONG before = 0; // frames kept at full level before the fade
    if (!q.candidates.empty())
        stop.time = FindStop(q.candidates, q.fade, q.skip, &before);
    if (q.cuttable && stop.time <= q.latest) {
        // The old sound fades out and the new goes on from its place.
    } else if (q.hasOwnEnd) {
        // The old sound reaches further than its marks said (the stage's
        // stretches): the new would be a tick after all, and the pass
        // keeps its own end.
        return {SStop::kPassEnded, q.end, q.next - q.sent};
    } else {
        // No room for new sound: the pass ends with the old sound's fade.
        stop.time = s.RangeMax();
    }
    before += q.skip;
    FadeOut(&m_unsent[static_cast<size_t>(before * m_channels)], q.fade);
    stop.keep = before + q.fade;
    return stop;
}

std::vector<LONGLONG> CPlayer::StopCandidates(LONGLONG sent, LONGLONG unsent, LONGLONG fade, LONGLONG latest) const
{
    std::vector<LONGLONG> candidates;
    const SPlayMark* first = m_marks.At(sent);
    for (LONGLONG k = 0; k < kFadeTries && (k + 1) * fade <= unsent; ++k) {
        const SPlayMark* at = m_marks.At(sent + (k + 1) * fade - 1);
        const LONGLONG nominal = m_marks.TimeAt(sent + (k + 1) * fade);
        if (at != first || nominal < 0 || nominal >= at->last || nominal > latest ||
            m_marks.PlaysOut(sent + (k + 1) * fade - 1))
            break; // another mark's sound, the fragment's mirrored end, too near the end
        candidates.push_back(nominal);
    }
    return candidates;
}

LONGLONG CPlayer::FindStop(const std::vector<LONGLONG>& candidates, LONGLONG fade, LONGLONG skip, LONGLONG* before)
{
    // At the recording's own speed the old sound is a copy of the source,
    // stretch after stretch, and the new sound goes on with the very frame
    // after it: its place is found again in the source; where its frames
    // are a blend of two stretches, the fade comes one fade later (up to
    // kFadeTries times), where they are a copy of one. Failing that, the
    // marks' place it is.
    LONGLONG stopped = candidates.front();
    double closest = kMismatchAllowed;
    for (size_t k = 0; k < candidates.size(); ++k) {
        double mismatch = 1;
        const LONGLONG found =
            m_place->Find(m_reader, &m_unsent[static_cast<size_t>((skip + k * fade) * m_channels)], fade,
                          FrameOfTime(candidates[k]) - fade, m_format.nSamplesPerSec * kSearchMs / 1000, &mismatch);
        if (found < 0 || mismatch >= closest)
            continue;
        closest = mismatch;
        *before = static_cast<LONGLONG>(k) * fade;
        stopped = TimeOfFrame(found + fade); // the first frame after the old sound
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
    LONGLONG keep = 0;
    LONGLONG fade = 0; // of the frames kept, the last ones fade out
    {
        CCritSecLock lock(&m_markLock);
        const LONGLONG written = m_written;
        const LONGLONG unsent = TakeBackUnsent();
        const LONGLONG sent = written - unsent;
        // The pass being heard: the one of the frame the device plays now.
        const SPlayMark* m = m_marks.At(std::max<LONGLONG>(PlayedFrames(), 0));
        const int heard = m ? m->pass : m_passesBegun;
        // A pass still being written is the one heard: all of it is kept.
        const LONGLONG end = PassEnd(heard, written);
        if (end < 0) {
            keep = unsent;
        } else if (end >= sent) {
            keep = end - sent;
        } else {
            // The device already holds a later pass's first frames (a pass
            // shorter than the device's part may be there whole, and the
            // first frames of the one after it): they are heard, and the
            // play ends with a fade right after them, a few fades of sound
            // after that pass's start at least, so that its sound is no
            // tick. A pass the device holds to its end ends with its own
            // fade. Nothing follows.
            const SPlayMark* last = m_marks.At(sent - 1);
            const int held = last ? last->pass : heard + 1;
            const LONGLONG begun = last ? m_marks.NextPassFrame(held - 1) : end;
            const LONGLONG heldEnd = PassEnd(held, written);
            const LONGLONG rest = heldEnd < 0 ? unsent : heldEnd - sent;
            keep = std::min(rest, std::max<LONGLONG>(m_rampFrames, begun + kMinNewSoundFades * m_rampFrames - sent));
            fade = heldEnd >= 0 && keep == rest ? 0 : std::min<LONGLONG>(keep, m_rampFrames);
        }
        if (m_marks.NextPassFrame(heard) >= 0) {
            KeepAfterDevice(sent, keep);
            m_writing = false; // the pass being heard is the last
            if (end >= 0 && end < sent)
                m_endedInPart = m_passesBegun;
        }
    }
    if (fade > 0)
        FadeOut(&m_unsent[static_cast<size_t>((keep - fade) * m_channels)], fade);
    // The pass being written is the one heard when no other is begun: it
    // is the last, and the writing goes on to its end. Else the play ends
    // with what is put back.
    PutBack(keep);
}

} // namespace playback
