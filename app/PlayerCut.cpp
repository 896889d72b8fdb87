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

CPlayer::SStop CPlayer::Cut(const SPlaySnapshot& s)
{
    SStop stop;
    LONGLONG sent = 0;
    LONGLONG fade = 0;
    LONGLONG skip = 0; // frames at full level before the first place the fade may begin
    std::vector<LONGLONG> candidates;
    SStop ownEnd;          // the pass heard keeping its own end, where it can
    bool cuttable = false; // the old sound can stop after the device's part
    // The new sound goes on from where the old one stops up to the range's end.
    const LONGLONG latest = LatestStop(s);
    const LONGLONG endFrame = EndFrame(s); // reads the reader's length: outside the lock
    {
        CCritSecLock lock(&m_markLock);
        const LONGLONG unsent = TakeBackUnsent();
        // Only the device's part is queued now: meanwhile the cursor follows it.
        sent = m_written;
        const SPlayMark* m = m_marks.At(sent);
        if (m && m->time >= 0) {
            const SPlayMark* ending = m_marks.At(sent - 1);
            // What was taken back is still marked: the last pass ends with it.
            const LONGLONG next = PassEnd(m->pass, sent + unsent);
            // The sound from a mark on may be fading in (a pass's start, or
            // the new sound of a cut): the old sound fades out only after
            // that fade and twice as much sound again, so that no sound
            // between two fades is shorter than kMinNewSoundFades of them.
            // Nor does its fade reach into the next mark's sound.
            skip = std::clamp<LONGLONG>(m->frame + (kMinNewSoundFades - 1) * m_rampFrames - sent, 0, unsent);
            for (const SPlayMark* n = m_marks.After(sent + skip);
                 n && n->frame <= sent + skip + m_rampFrames && skip < unsent; n = m_marks.After(sent + skip))
                skip = std::min(n->frame + (kMinNewSoundFades - 1) * m_rampFrames - sent, unsent);
            const LONGLONG soon =
                std::max<LONGLONG>(m_rampFrames + CAudioOut::kBlockSize / m_frameSize, skip + m_rampFrames);
            fade = std::min<LONGLONG>(unsent - skip, m_rampFrames);
            // The old sound can stop only where it is still the source it
            // was paced from (before the pass's play-out), and where the
            // new sound leaves more than a tick before the range's end.
            cuttable =
                fade > 0 && !m_marks.PlaysOut(sent + skip + fade - 1) && m_marks.TimeAt(sent + skip + fade) <= latest;
            // Else the pass keeps its own end where it has one within the
            // range (the caller writes what a moved end adds after it, or
            // goes on with the next pass or the play's end).
            // Where its sound ends: the range taken up since may say
            // otherwise, and a moved end's sound goes on from there.
            const SPlayMark* lastOfPass = next > 0 ? m_marks.At(next - 1) : nullptr;
            const LONGLONG end = lastOfPass && lastOfPass->end >= 0 ? lastOfPass->end : m->last;
            if (next >= 0 && end <= s.RangeMax())
                ownEnd = {SStop::kPassEnded, end, next - sent};
            // An end moved inward past the device's part, with the tempo
            // as it was: the sound queued up to the new end is what the new
            // range gives, so it plays on and fades out in place there.
            const LONGLONG reach = s.tempo == m_markTempo && s.RangeMax() < end
                                       ? m_marks.FrameOfSource(sent, next >= 0 ? next : sent + unsent, endFrame)
                                       : -1;
            if (ending && ending->pass != m->pass && ending->time >= 0) {
                // The device's part ends with a pass (a pass's join is held
                // back until shortly before it is heard).
                stop.where = SStop::kPassEnded;
                stop.time = ending->end >= 0 ? ending->end : ending->last;
            } else if (reach >= sent + skip + m_rampFrames) {
                stop = {SStop::kPassEnded, s.RangeMax(), reach - sent};
                stop.fadesHere = true;
            } else if (next >= 0 && (next - sent <= soon || (!cuttable && ownEnd.where == SStop::kPassEnded))) {
                // The pass ends within a fade (and the block the device
                // stops short of a held join by, or the sound kept for a
                // fade-in) after the device's part, and fades out by
                // itself; or no place after the device's part can be cut:
                // it keeps its end.
                stop = {SStop::kPassEnded, end, next - sent};
            } else {
                stop.where = SStop::kInPass;
                const LONGLONG place = m_marks.SourceFrameAt(sent + skip + fade);
                stop.time = place < 0 ? -1 : TimeOfFrame(place);
                // At the recording's own speed the old sound is a copy of
                // the source, whose place is found again to the frame
                // (FindStop). At any other tempo the new sound goes on from
                // the place the marks pace, where an untouched play would
                // be: the stage plays each of its rounds at the recording's
                // speed and steps back (or on) at the next, so the frame
                // the old sound carried lies up to a round off the music's
                // time, and going on from it would skip (or repeat) that
                // much of the recording.
                if (cuttable && m->tempo == 1.0f)
                    candidates = StopCandidates(sent + skip, unsent - skip, fade, latest);
            }
        }
    }
    if (stop.where == SStop::kInPass) {
        LONGLONG before = 0; // frames kept at full level before the fade
        if (!candidates.empty())
            stop.time = FindStop(candidates, fade, skip, &before);
        const bool noNewSound = !cuttable || stop.time > latest;
        if (noNewSound && ownEnd.where == SStop::kPassEnded) {
            // The old sound reaches further than its marks said (the
            // stage's stretches): the new would be a tick after all.
            stop = ownEnd;
        } else {
            if (noNewSound)
                stop.time = s.RangeMax(); // no new sound: the pass ends with the old sound's fade
            before += skip;
            FadeOut(&m_unsent[static_cast<size_t>(before * m_channels)], fade);
            stop.keep = before + fade;
        }
    }
    if (stop.fadesHere) {
        const LONGLONG n = std::min<LONGLONG>(stop.keep, m_rampFrames);
        FadeOut(&m_unsent[static_cast<size_t>((stop.keep - n) * m_channels)], n);
    }
    {
        CCritSecLock lock(&m_markLock);
        KeepAfterDevice(sent, stop.keep);
        if (stop.fadesHere) {
            // The pass's sound now ends at the new end; none of it is the
            // stage's play-out but what was so before.
            const SPlayMark* last = m_marks.At(sent + stop.keep - 1);
            const LONGLONG playOut = last->playOut >= 0 ? std::min(last->playOut, sent + stop.keep) : sent + stop.keep;
            m_marks.SetPlayOut(last->frame, playOut, s.RangeMax());
        }
    }
    PutBack(stop.keep);
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
            // The device already holds the next pass's first frames: they
            // are heard, and the play ends with a fade right after them (a
            // few fades of sound after the pass's start at least, so that
            // its sound is no tick). Nothing follows that pass.
            keep = std::min(unsent, std::max<LONGLONG>(m_rampFrames, end + kMinNewSoundFades * m_rampFrames - sent));
            fade = std::min<LONGLONG>(keep, m_rampFrames);
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
