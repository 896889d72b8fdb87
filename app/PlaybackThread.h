#pragma once
// The playback thread: plays the range of an SPlayContext once or in a loop
// at its tempo without changing the pitch, through the time-stretch stage
// and a waveOut output. Loop passes follow each other in the output without
// anything between them, but where a change ends the pass heard at once
// (below), and where the loop is handed on only after the last pass was
// heard to its end (the device's silence comes between, FollowEnd); a pass
// cut inside the file fades out at its end and one that starts inside it
// fades in. About a second is queued ahead of what is heard, yet every
// change is judged against what is heard and what those frames were
// written for: the loop flag counts for the pass being heard (switched off,
// that pass is the last; switched on during the last, another follows it).
//
// A play position asked for, and a range that leaves what is heard behind,
// drop everything queued, as a reset does (a hard cut): the play jumps
// there, or the pass heard ends. The device plays what it holds only until
// the sound written next can follow it, right after the driver's next
// period (20 ms and the feeder's next pass at most). A new end that the
// device already holds ends the pass when it is heard, with the same hard
// cut and no fade. But where the device already holds the first frames of
// the next pass, nothing is dropped: the pass heard plays out what the
// device holds of it, and the next pass is judged instead, so that it is
// never heard twice (a new start then counts from the pass after it).
//
// An end moved inward past what the device holds, the tempo unchanged,
// drops nothing that is heard: what is queued up to the new end plays on
// and fades out in place there (where the writing has not got so far, it
// goes on to the new end). A new tempo, and an end moved on past what is
// queued, cut cleanly after the small share of the queue the device holds:
// the old sound fades out and the new one fades in where an untouched play
// would be then (at 1.0x the frame after the old sound's last). Where only
// a later pass differs (a new start), the queue is taken back from that
// pass's join on and the pass heard plays on untouched. Where no place for
// a cut is left (the new sound would be a tick before the range's end, or
// the old sound is the stage's play-out of the pass's end) the pass keeps
// its own end: then the sound an end moved on adds follows that end, faded
// in as at a loop's join, and then the next pass, looped, or the end.
// Looped, a pass gets one such piece, and a later move is the next pass's;
// played once, a piece whose end must be kept gets another after it. Less
// than a few fades of such sound is never written (on its own it would be
// a tick): looped the next pass takes it up, played once it is not heard.
// An end moved inward that leaves less than a few fades of sound after the
// device's share ends the pass at the first place after it, with the old
// sound's fade. A range's end moved on while the pass's end is queued is
// cut only when that is due, shortly before the latest place the new sound
// can still follow from, so that the steps of a drag merge until then.
//
// During the pre-delay's silence (written a part at a time, however long)
// a place asked for inside the range, a new range or tempo start the first
// pass afresh after the rest of the silence, which keeps its length; a
// place outside the range ends the pass there too. The play cursor follows
// what the output has played (moved on the output's feeder thread). It
// tells the context's window by posted messages only, never waiting for
// the window but at the natural end: there it waits up to 250 ms for the
// window's next hand-over of the range (SPlayContext::AskHandOver), for a
// loop switched on at the last moment, so a window that never hands the
// range on (one that does not answer its position messages) ends every
// play that much later. A window may wait for the thread
// (JoinPlaybackThread) without a deadlock.
#include "app/PlayContext.h"

enum : UINT {
    // The thread has ended; posted once on every way out, after the state
    // became ended (wParam and lParam 0).
    WM_PLAYBACK_ENDED = WM_APP + 1,
    // The play cursor moved (wParam and lParam 0).
    WM_PLAY_POSITION = WM_APP + 2,
};

// 0 after a normal end, 0xFFFFFFFF after a failure (no window, reader,
// output or stretch stage, more channels than the stage takes, a failed
// seek), which also sets the context's failed flag before the end is posted.
UINT PlaybackThreadProc(LPVOID context);

// Clears the stop and failed flags and the pass count and starts the thread on the
// context; false (and no thread) when the system refuses one.
[[nodiscard]] bool StartPlaybackThread(SPlayContext* context);
// Waits for the running thread to end and forgets it; the state becomes idle.
void JoinPlaybackThread(SPlayContext* context);
