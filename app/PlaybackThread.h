#pragma once
// The playback thread: plays the range of an SPlayContext once or in a loop
// at its tempo without changing the pitch, through the time-stretch stage
// and a waveOut output. Loop passes follow each other in the output without
// anything between them (but where a change ends the pass heard at once,
// below); a pass cut inside the file fades out at its end and one that
// starts inside it fades in. About a second is queued ahead of what
// is heard, yet every change is judged against what is heard and what those
// frames were written for: the loop flag counts for the pass being heard
// (switched off, that pass is the last; switched on during the last,
// another follows it). A play position asked for, and a range that leaves
// what is heard behind, drop everything queued at once, the device's share
// with it, as a reset does (a hard cut): the play jumps there, or the pass
// heard ends. A new end that the device already holds ends the pass when it
// is heard, with the same hard cut and no fade. A new tempo, and a range
// that what is queued no longer fits, cut cleanly after the small share of
// the queue the device holds: the old sound fades out and the new one fades
// in where it stopped (a pass that would end a few milliseconds after the
// cut keeps its own end, and the next pass takes the change up). During the
// pre-delay's silence (written a part at a time, however long) a place
// asked for inside the range, a new range or tempo start the first pass
// afresh after the rest of the silence; a place outside the range ends the
// pass there too. The play cursor follows what the output has played
// (moved on the output's feeder thread). It tells the context's window by
// posted messages only (so the window may wait for it).
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
