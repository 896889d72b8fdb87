#pragma once
// What the output's frames are, counted since the output was last reset:
// from a mark's frame on, source time advances from the mark's time at its
// tempo up to its last time, within the mark's pass. Time -1 is silence
// (the pre-delay) that moves no cursor. Each mark also keeps the range its
// frames were written for, so that a change is judged against what is
// heard, not against what is being written. Marks are added in the order
// of their frames; the owner guards them with a lock of its own.
#include <windows.h>

#include <deque>

struct SPlayMark
{
    LONGLONG frame;
    LONGLONG time;
    float tempo;
    LONGLONG first; // the range the frames were written for (the silence:
    LONGLONG last;  // the range of the pass that follows it); TakeRange
                    // moves it. `last` also bounds the source time of the
                    // frames (TimeAt, and so the cursor): the pass's
                    // mirrored tail shows its end.
    int pass;       // the passes begun before it
    // These two are set on the marks of a piece of a pass's sound (from
    // where it began: the pass's start, a cut's new sound or a piece after
    // a kept end) once the piece's end is written, and a piece whose end is
    // kept with another piece after it keeps them; an end made in place
    // sets them on the last mark kept only. The marks of a piece cut short
    // before its end was written keep -1.
    // The first frame of the pass's play-out: the stage gives its last
    // frames only with the mirrored tail behind them, so from there on the
    // frames may hold that tail, not the source the marks pace out. An end
    // made in place, at an end moved inward, adds none.
    LONGLONG playOut = -1;
    // The source time the pass's sound ends at: the end of the range it was
    // written for then. A range taken up later (TakeRange) leaves it, as
    // the sound stays what it is.
    LONGLONG end = -1;
};

class CPlayMarks
{
public:
    explicit CPlayMarks(DWORD sampleRate) : m_rate(sampleRate) {}

    void Add(const SPlayMark& mark) { m_marks.push_back(mark); }
    void Clear() { m_marks.clear(); }
    // Forgets what lies before `frame`: no earlier frame is asked for again.
    void ForgetBefore(LONGLONG frame);
    // Drops the marks from `frame` on: those frames are written anew.
    void DropFrom(LONGLONG frame);
    // The mark that covers `frame`; null before the first one.
    const SPlayMark* At(LONGLONG frame) const;
    // The last mark; null when none.
    const SPlayMark* Last() const { return m_marks.empty() ? nullptr : &m_marks.back(); }
    // The first mark after `frame`; null when none.
    const SPlayMark* After(LONGLONG frame) const;
    // The source time of `frame`; -1 in silence or before the first mark.
    LONGLONG TimeAt(LONGLONG frame) const;
    // The source frame of `frame`: its mark's time's frame, and the frames
    // since at the mark's tempo, rounded (unbounded by the mark's range);
    // -1 in silence or before the first mark. At 1.0x exactly the frame a
    // copy of the source from the mark on carries there.
    LONGLONG SourceFrameAt(LONGLONG frame) const;
    // The first frame of the pass after `pass`; -1 while none is written.
    LONGLONG NextPassFrame(int pass) const;
    // The first frame in [from, to), within the pass of frame `from`, whose
    // source time is at or after `time`; -1 when none.
    LONGLONG FrameReaching(LONGLONG from, LONGLONG to, LONGLONG time) const;
    // The frame in [from, to), within the pass of frame `from`, whose source
    // frame is `source` as the marks pace it: where an untouched play of a
    // mark's sound reaches it (the mark's frame and the source frames from
    // its own at its tempo, rounded), in the first mark from `from` on whose
    // sound reaches it; `from` when that frame's source lies beyond it
    // already; -1 when none.
    LONGLONG FrameOfSource(LONGLONG from, LONGLONG to, LONGLONG source) const;
    // Every frame from `frame` on was written for the range [first, last]
    // (true when none is written).
    bool WrittenFor(LONGLONG frame, LONGLONG first, LONGLONG last) const;
    // The frames from `frame` on count as written for [first, last]: what
    // they hold was judged to fit that range.
    void TakeRange(LONGLONG frame, LONGLONG first, LONGLONG last);
    // The marks from `passFrame` on (a piece of a pass's sound, from where
    // it began, or the last mark of an end made in place) play out from
    // `frame` on, and their sound ends at source time `end`.
    void SetPlayOut(LONGLONG passFrame, LONGLONG frame, LONGLONG end);
    // `frame` lies in its pass's play-out.
    bool PlaysOut(LONGLONG frame) const;

private:
    DWORD m_rate;
    std::deque<SPlayMark> m_marks;
};
