#pragma once
// CPlayer: the playback thread's own state for one run (PlaybackThread.h),
// and its steps: the play loop in PlaybackThread.cpp; the pass being
// written, and its end where the range's end moved inward behind what the
// stage was fed, in PlayerWrite.cpp; what is asked for while playing, judged
// and followed (what follows a cut, the later passes written anew, the
// silence begun afresh) in PlayerRequests.cpp; the cuts of what is queued
// (a drop, the clean cut or an end in place, the passes after the one heard
// taken back) in PlayerCut.cpp. Known to those files only.
#include <soundtouch/TDStretch.h>

#include <atomic>
#include <memory>
#include <vector>

#include "audio/AudioOut.h"
#include "app/PlayContext.h"
#include "app/PlayMarks.h"
#include "app/SourcePlace.h"

namespace playback {

// The input buffer (also the pre-delay's silence) and the output buffer.
constexpr int kBufferBytes = 65536;
// What is heard, or a place asked for, lies outside a range when it is more
// than this before the range's start, or at or after its end; the pass
// heard then ends.
constexpr LONGLONG kBeforeStartSlack = 100000;
inline bool Outside(LONGLONG t, const SPlaySnapshot& s)
{
    return t < s.RangeMin() - kBeforeStartSlack || t >= s.RangeMax();
}
// Of a pass's end, this much is kept to play the stage's held-back input out
// with: the stage gives out the stretch of the last frames only with more
// input behind them, and that input is the fragment's end mirrored, never
// sound from outside the fragment nor silence.
constexpr int kTailMs = 200;
// The longest nap of the thread while sound is queued (but before a cut
// put off, or an end to wait for, which may come sooner).
constexpr LONGLONG kMaxNapMs = 250;

// The thread's own state for one run. The output's feeder, to move the play
// cursor, reads the marks and the frame count, forgets the marks it has
// played past, and writes the last cursor and the context's pass count
// (all under m_markLock).
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
    // Before the first pass: the pre-delay's silence (written by the play
    // loop, BeginAfter), then the first pass.
    bool Begin();
    // A play position asked for, a new tempo, a new range, each judged
    // against what the frames being heard were written for (PlayerRequests.cpp),
    // and against the pass heard, or the next one where the device already
    // holds its first frames (that pass is never begun again).
    // Where the play jumps or the pass heard ends (a play position asked
    // for, a range that leaves what is heard behind), what is queued is
    // dropped (DropQueued); a new end that the device already holds ends
    // the pass when it is heard (WaitForEnd), and an end moved back before
    // then plays on to the end in force. A new start that leaves what is
    // heard inside the range never ends the pass heard: it changes only
    // the passes after the one judged, which are written anew from its join
    // (WriteLaterPassesAnew); one moved past what is heard leaves it behind
    // and ends the pass at once, as any such range does. While
    // the pass judged is still being written, the writing goes on under the
    // new range (to an end moved inward too, Cycle). A new tempo, or a new
    // range that what is queued no longer fits, drops nothing that is
    // heard (Cut): an end moved inward ends the pass in place at the new
    // end; else the old sound is cut after the device's share and the new
    // goes on, or the pass keeps its own end and what an end moved on adds
    // follows that end (GoOnAfterCut; looped, once a pass: later the next
    // pass takes the move up; played once, another piece follows in turn);
    // for a range's end moved on, the cut waits until it is due
    // (SHeard::cutBy). While the pre-delay's silence is heard (or still
    // being written), a place inside the range, a new range or a new tempo
    // start the first pass afresh after the rest of the silence (Restart);
    // a place outside the range ends the pass, as it does while a pass is
    // heard (GoTo).
    bool FollowRequests(const SPlaySnapshot& s);
    // Looped, a pass gets one piece after its kept end: a later move of its
    // end is left to the next pass. Played once there is no next pass: a
    // piece whose end must be kept gets another piece after it in turn.
    bool ExtendedAlready(int pass, const SPlaySnapshot& s) const { return s.fragment.Looped && pass == m_extendedPass; }
    // A play position asked for: heard from there at once, or the pass ends
    // when it lies outside the range.
    bool GoTo(LONGLONG t, const SPlaySnapshot& s);
    // What is heard now, against the range of `s`.
    struct SHeard
    {
        bool inPass = false;     // false: nothing written, or the pre-delay's silence
        LONGLONG firstPass = -1; // in the silence: where the first pass begins after it
        bool writtenFor = true;  // everything from the frame heard on was written for the range
        LONGLONG played = 0;     // the frame heard
        // The pass judged: the one heard, or a later one whose first frames
        // the device already holds (the pass heard then plays out what the
        // device holds of it).
        int pass = 0;
        // What is heard lies before the start (and its slack) or at or after
        // the end, and so do the first frames of the pass judged.
        bool outside = false;
        LONGLONG endAt = -1; // the frame within the device's share where the end is reached
        // The pass judged is the one being written (nothing after it is
        // begun), and the writing can go on to the range's end: it has not
        // passed it, or what is written does not reach it yet.
        bool fits = false;
        bool endKept = false; // the range's end is the one the pass judged was written for
        bool endMovedOn = false;
        LONGLONG laterPass = -1; // the first frame of the pass after it; -1 while none is written
        LONGLONG passEnd = -1;   // the frame after its end, where that is written
        // The end moved on while the pass judged has its end queued beyond
        // the device's part: the latest end of the device's part at which
        // the old sound can still be cut with new sound up to the new end
        // (-1: none). The cut waits until the device's part nears it, so
        // that the steps of a drag merge until then: an end dragged on is
        // cut once each time the writing has reached the end in force and a
        // later step moves it on, as often as the drag's pace makes that
        // happen (nothing else bounds it).
        LONGLONG cutBy = -1;
        LONGLONG sent = 0; // the end of the device's part
    };
    SHeard Heard(const SPlaySnapshot& s);
    // The frames queued from the one heard on count as written for the
    // range of `s`: the change is taken up.
    void TakeRange(const SPlaySnapshot& s);
    // Only the passes from output frame `join` on differ under the range of
    // `s` (a new start): they are taken back and the next pass written anew
    // from that join, the pass before it untouched. Where the device took
    // the join meanwhile, that pass and every one after it are kept as
    // written. False: a seek failed.
    bool WriteLaterPassesAnew(LONGLONG join, const SPlaySnapshot& s);
    // Begins the pass at t after what is left of the pre-delay's silence:
    // where the device holds nothing but the silence, what comes after its
    // part is taken back and the rest of the silence written anew, so that
    // it keeps its length; else everything queued is dropped and the
    // silence not heard yet is written again.
    bool Restart(LONGLONG t, const SPlaySnapshot& s);
    // The pass heard ends now: what is queued is dropped and, looped, the
    // next pass begins at once; else the play is over.
    bool EndPassNow(const SPlaySnapshot& s);
    // Drops everything queued: the ring at once, while the device plays what
    // it holds only until the sound written next can follow it, right after
    // the driver's next period (20 ms and the feeder's next pass at most;
    // CAudioOut::Reset), no longer counted as queued.
    // The passes heard are counted and the cursor kept first. True when the
    // last frame heard was a pass's (not the silence, not nothing).
    bool DropQueued();
    // While the pass heard ends at m_endAt: naps until the device gets
    // there, then ends it. False: a seek failed.
    bool WaitForEnd(const SPlaySnapshot& s, int pending);
    // The loop rule: the flag counts for the pass being heard.
    bool FollowLoopSwitch(const SPlaySnapshot& s);
    // Writing: cycles until about a second is queued.
    bool WriteAhead(SPlaySnapshot s, int& pending);
    // A pass is written whole: the next follows while the loop flag is set,
    // else the output plays out what it holds.
    bool NextPass(SPlaySnapshot& s);
    // Naps until the output runs low, or runs out once nothing is written,
    // or until a cut put off (SHeard::cutBy) is due.
    void NapWhileQueued(int pending);
    // The last pass was heard to its end. A loop switched on shortly before
    // that, or meanwhile, reaches the thread only with the pane's next
    // hand-over of the range (at a position message): one more message is
    // posted, and the play is over (`over`) once the pane has handed the
    // range on after it with the loop still off, or when the window has not
    // done so within kHandOverWaitMs (a window that never answers ends
    // every play that much later). The loop on again: the next pass
    // follows, after the silence the device played meanwhile. False: a
    // seek failed.
    bool FollowEnd(bool& over);
    // The device's part of the queue, at the rate it has been taking it.
    void FitDevice();
    // Ends the play: at once on a stop; the play position becomes where
    // the user will want it.
    void End();

    // Takes back what the device does not hold yet into m_unsent; answers
    // its frames. Only the device's part is counted as written then. Under
    // the mark lock.
    LONGLONG TakeBackUnsent();
    // Of what was taken back after the device's part (which ends at
    // `sent`), only the first `keep` frames go on: the marks of the rest
    // go, and the pass of the last frame kept is the one being written.
    // Under the mark lock; PutBack then writes them.
    void KeepAfterDevice(LONGLONG sent, LONGLONG keep);
    // Writes the first `frames` taken back again. Never under the mark lock.
    void PutBack(LONGLONG frames);
    // Where the old sound of a cut stopped.
    struct SStop
    {
        enum EWhere { kNothingHeard, kInPass, kPassEnded } where = kNothingHeard;
        // kInPass: the source time to go on from; kPassEnded: where the
        // pass's sound ends (the end of the range its end was written for).
        LONGLONG time = -1;
        LONGLONG keep = 0; // frames of the old sound kept after the device's part
        // kPassEnded: the kept frames' last ones fade out in place (an end
        // moved inward), rather than ending with the pass's own end.
        bool fadesHere = false;
    };
    // The one clean cut, for a new tempo and a new range that what is
    // queued no longer fits, while a pass is heard. What the device does not
    // hold yet is taken back (the device's part, a small share of the queue,
    // plays on: it can be taken back only by a reset, and after one the
    // device cannot tell exactly where its sound stopped), and one of four
    // outcomes chosen: an end moved inward past the device's part, the
    // tempo unchanged, is made in place (EndInPlace); a pass that ends
    // within a few milliseconds after the device's part, or whose sound
    // there is already the stage's play-out of its end (where the place
    // cannot be told), keeps its own end where it has one within the range
    // (the caller then writes what an end moved on adds after it, or begins
    // the next pass (looped), or lets the play end); else the old sound is
    // cut inside the pass (CutInPass), where the new sound goes on, or,
    // with no room left for new sound, the pass ends there. A sound's first
    // frames fade in (a pass's start, a cut's new sound): the old sound
    // fades out only after that fade and twice as much sound again, so
    // that no sound between two fades is shorter than a tick. The rest is
    // dropped, passes begun ahead with it.
    SStop Cut(const SPlaySnapshot& s);
    // What a cut finds queued after the device's part, which it takes back.
    struct SQueued
    {
        LONGLONG sent = 0;     // the end of the device's part
        bool inPass = false;   // the device's part ends in a pass's sound (not the silence, not nothing)
        bool partEnds = false; // it ends with a pass, whose sound ends at source time `partEnd`
        LONGLONG partEnd = -1;
        LONGLONG next = -1; // the frame after the end of the pass heard (PassEnd)
        LONGLONG skip = 0;  // frames at full level before the first place the fade may begin
        LONGLONG fade = 0;  // frames of the old sound's fade
        LONGLONG soon = 0;  // a pass ending this near after the device's part keeps its end
        // The old sound can stop after the device's part and leave room for
        // new sound before the range's end (LatestStop: `latest`).
        bool cuttable = false;
        LONGLONG latest = -1;
        LONGLONG end = -1;                // the source time the pass's sound ends at
        bool hasOwnEnd = false;           // the pass can keep that end: it is written, within the range
        LONGLONG reach = -1;              // an end moved inward: the frame that reaches it, where queued
        LONGLONG place = -1;              // the source time after the old sound's fade, as the marks pace it
        std::vector<LONGLONG> candidates; // at 1.0x: where FindStop looks for the old sound
    };
    SQueued TakeBackForCut(const SPlaySnapshot& s);
    // An end moved inward past the device's part, the tempo unchanged: what
    // is queued up to the new end is kept and fades out in place there (the
    // pass ends at the new end: kPassEnded, fadesHere).
    SStop EndInPlace(const SQueued& q, const SPlaySnapshot& s);
    // The old sound fades out over the next few milliseconds, and the new
    // goes on where an untouched play would then be: the marks' place, or
    // at 1.0x the place the old sound reached, found again in the source
    // (FindStop); nothing of the music is heard twice or skipped. Where the
    // new sound would be a tick after all, the pass keeps its own end where
    // it has one; else the pass ends with the old sound's fade (no new
    // sound: the time is the range's end).
    SStop CutInPass(const SQueued& q, const SPlaySnapshot& s);
    // After a cut: the new sound from where the old one stopped, or the
    // piece an end moved on adds after the pass's kept end, or the next
    // pass (looped) or the play's end. False: a seek failed.
    bool GoOnAfterCut(const SStop& stop, const SHeard& heard, const SPlaySnapshot& s);
    // The last source time a cut's new sound may begin at: with less of the
    // range left than a few fades at the tempo of `s`, it would be a tick.
    LONGLONG LatestStop(const SPlaySnapshot& s) const;
    // The source times at which the old sound may stop (one per fade's
    // length after frame `sent`) within the sound of that frame's mark and
    // before its pass's play-out, none later than `latest`. Under the mark
    // lock.
    std::vector<LONGLONG> StopCandidates(LONGLONG sent, LONGLONG unsent, LONGLONG fade, LONGLONG latest) const;
    // At 1.0x: of the candidates, the one where the frames taken back are
    // most nearly a copy of the source: answers its time (the first frame
    // after the old sound) and how many frames before it play at full
    // level. Reads the file: never under the mark lock. The candidates'
    // frames begin `skip` frames into what was taken back.
    LONGLONG FindStop(const std::vector<LONGLONG>& candidates, LONGLONG fade, LONGLONG skip, LONGLONG* before);
    // Fades `samples` from full level down to a last frame of silence.
    void FadeOut(short* samples, LONGLONG frames) const;
    // The loop switched off: a pass begun after the one being heard is
    // taken back, so that one ends the play; where the device already holds
    // that pass's first frames, they are heard, faded out.
    void EndWithPassHeard();

    LONGLONG FrameOfTime(LONGLONG t) const;
    // The earliest time whose frame (FrameOfTime) is `frame`.
    LONGLONG TimeOfFrame(LONGLONG frame) const;
    LONGLONG EndFrame(const SPlaySnapshot& s) const;
    // Starts feeding the stage from time t (a new pass, or a seek within
    // one); false when the reader cannot seek.
    bool BeginAt(LONGLONG t, const SPlaySnapshot& s);
    // One cycle of the pass being written: reads, stretches and writes out;
    // at the range's end plays the stage out. True when the pass is whole.
    bool Cycle(const SPlaySnapshot& s);
    // The range's end (its frame `endFrame`) moved inward behind what the
    // stage was fed, but ahead of what it gave: the pass ends where the
    // marks pace the new end, its last frames faded out. True: the pass is
    // whole.
    bool EndShort(const SPlaySnapshot& s, LONGLONG endFrame);
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
    // Marks the frames written from now on: source time `time` (-1: the
    // silence) at `tempo`, written for the range of `s`.
    void AddMark(LONGLONG time, float tempo, const SPlaySnapshot& s);
    // The pass to begin at t after `silence` frames of the pre-delay's
    // silence (written for the range of `s`), which the play loop writes a
    // part at a time (WriteSilencePart); at once without one. False: a seek
    // failed.
    bool BeginAfter(LONGLONG silence, LONGLONG t, const SPlaySnapshot& s);
    // Writes the next part of the silence; after its last part begins the
    // first pass. False: a seek failed.
    bool WriteSilencePart(const SPlaySnapshot& s);
    // Sets the context's pass count: the passes heard up to output frame
    // `played` (the pre-delay's silence is none). Under the mark lock.
    void CountPassesHeard(LONGLONG played);
    // The frame after the end of pass `pass`: the first frame of the pass
    // after it, or for the last pass, once it is written whole, `queued`
    // (the end of the queue); -1 while it is still being written. Under the
    // mark lock.
    LONGLONG PassEnd(int pass, LONGLONG queued) const;
    // Frames the output has played since it was last reset. Under the mark lock.
    LONGLONG PlayedFrames() { return m_written - m_out->GetPendingBytes() / m_frameSize; }
    // The source time the output is playing now; -1 when none. Under the
    // mark lock.
    LONGLONG PlayedTime(int pending);
    // The cursor to show for what is heard, counting the passes heard on
    // the way; -1 when it stays. Under the mark lock.
    LONGLONG NextCursor();
    // Moves the cursor and tells the window. Never under the mark lock: the
    // time container tells its views.
    void PostCursor(LONGLONG cursor);
    // On the feeder thread.
    void OnPlaying() override;
    // Wall milliseconds until the output holds `bytes`, at the rate the
    // device has been taking the sound (never slower than real time).
    LONGLONG MsUntil(int pending, LONGLONG bytes) const;
    void MeasureRate(int pending);
    // Naps until woken or `ms` have passed. Meanwhile, with the end of the
    // last pass ahead, or the end of the pass heard near, the window hears
    // of the play at the feeder's quicker pace (OnPlaying).
    void Nap(DWORD ms);
    // The end of the pass heard comes within `ms` of wall time, at the rate
    // the device has been taking the sound. Takes the mark lock.
    bool PassEndWithin(LONGLONG ms);

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
    // Where the sound being written began in the output: a pass's start, a
    // cut's new sound, a piece after a kept end, or the pre-delay's silence.
    LONGLONG m_passOut = 0;
    bool m_inputDone = false;
    bool m_fadeIn = false;
    bool m_fadeOut = false;
    LONGLONG m_currentFrame = 0;
    LONGLONG m_readTime = 0;
    float m_markTempo = 0;      // the tempo being written
    bool m_writing = false;     // false once the last pass is written
    LONGLONG m_silenceLeft = 0; // frames of the pre-delay's silence still to write
    LONGLONG m_firstPass = 0;   // where the first pass begins after the silence
    bool m_over = false;        // the last pass ended where the queue was dropped
    LONGLONG m_endAt = -1;      // the output frame where the pass heard ends; -1 none
    // The pass whose end moved on was extended past its own end already (a
    // pass gets one such piece); -1 none since the last drop.
    int m_extendedPass = -1;
    // The pass the play ends in after the first frames the device held of
    // it when the loop was switched off: nothing of the range follows them
    // (a moved end, or a cut's new sound); -1 none since the last drop.
    int m_endedInPart = -1;
    LONGLONG m_cutNapMs = -1; // the longest nap before a cut put off is due; -1 none
    bool m_looped = false;    // the loop flag as the thread last acted on it
    bool m_firstPosted = false;
    int m_passesBegun = 0; // the pass being written, counted from 0
    // The window hears of the play at the feeder's pace: the pass heard is
    // the last one written, ends at m_endAt, or ends soon. Set by the thread
    // as it naps, read by the feeder.
    std::atomic<bool> m_handOverOften{false};
    DWORD m_cursorMoved = 0; // when the feeder last moved the cursor; the feeder's own
    // The end's hand-over asked for (FollowEnd): the pane's hand-overs
    // by then, and when.
    bool m_endAsked = false;
    unsigned m_endHandOvers = 0;
    DWORD m_endAskedTick = 0;
    // Frames counted as written since the output was last reset (a
    // withdrawal takes back what the device does not hold, a drop sets it
    // to 0 before the reset), and what they are; written by the thread,
    // read by the feeder as well.
    //
    // The lock order of a play, decided here: the output's listener lock
    // (held while the feeder tells OnPlaying), then this mark lock, then
    // the output's own lock (with the ring's and the feeder's command lock
    // under it). Nothing takes them the other way round: the output tells
    // its listener with none of its other locks held, the thread sets the
    // listener only outside the mark lock, and the time container calls
    // nothing of the play. The time container's lock (taken to move the
    // cursor) comes under the listener lock when the feeder moves the
    // cursor, and under none of them when the thread does; never under the
    // mark lock or the output's own.
    //
    // The feeder waits for this lock when it moves the cursor, so the
    // thread holds it only for a short copy or count: writing a block to
    // the ring, taking back what the device does not hold, reading or
    // changing the marks. Nothing naps, retries, reads the file, resets the
    // device or tells the time container while it is held.
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

} // namespace playback
