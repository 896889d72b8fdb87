#pragma once
// The time model of one open audio file: scroll position, zoom, selection,
// play cursor and requested play position, shared by every audio view of
// the file. All times are signed 64-bit microseconds from the file's start;
// one view pixel spans 10 x scale microseconds.
#include <windows.h>
#include <unknwn.h>
#include "platform/mfc/afxiface.h"

struct IAudioReader;
struct IDisplay;

// {2F1049B0-7476-44B1-A0F0-01C5309B0519}
RAVELIN_IID(ITimeContainer, 0x2F1049B0, 0x7476, 0x44B1, 0xA0, 0xF0, 0x01, 0xC5, 0x30, 0x9B, 0x05, 0x19)

// The widest scale: 4000 s per column. Any column's time then fits in 64
// bits, and a recording of half a day still spans several columns.
constexpr LONGLONG kMaxScale = 400000000;

struct ITimeContainer : public IUnknown
{
    // The time at the views' left edge; not clamped.
    virtual void SetPosition(LONGLONG t) = 0;
    virtual LONGLONG GetPosition() = 0;
    virtual LONGLONG GetSelStart() = 0;
    virtual LONGLONG GetSelEnd() = 0;
    virtual LONGLONG GetSelMin() = 0;
    virtual LONGLONG GetSelMax() = 0;
    // Stores the two ends in order and tells every view, changed or not.
    virtual void SetSelection(LONGLONG a, LONGLONG b) = 0;
    // Both ends inclusive; false without a selection.
    [[nodiscard]] virtual bool IsInSelection(LONGLONG t) = 0;
    [[nodiscard]] virtual bool HasSelection() = 0;
    virtual LONGLONG GetScale() = 0;
    // Values below 10 become 10, above kMaxScale kMaxScale; false when the
    // scale stays as it was.
    [[nodiscard]] virtual bool SetScale(LONGLONG scale) = 0;
    // absolute: the time under view column x (else the duration of x pixels).
    virtual LONGLONG PixelToTime(int x, bool absolute) = 0;
    // relative: the view column of t (else the width of duration t),
    // truncated toward zero.
    virtual int TimeToPixel(LONGLONG t, bool relative) = 0;
    virtual LONGLONG GetLength() = 0;
    // A null reader is ignored.
    virtual void SetReader(IAudioReader* reader) = 0;
    // No reference added.
    virtual IAudioReader* GetReader() = 0;
    virtual void UpdateLength() = 0;
    virtual void AddDisplay(IDisplay* display) = 0;
    // -1 clears the cursor; times past the length are ignored.
    virtual void SetPlayCursor(LONGLONG t) = 0;
    virtual LONGLONG GetPlayCursor() = 0;
    virtual LONGLONG GetPrevPlayCursor() = 0;
    // Kept within [0, length - 1].
    virtual void SetPlayPosition(LONGLONG t) = 0;
    // clear: the stored request becomes -1 (taken) after it was read.
    virtual LONGLONG GetPlayPosition(bool clear) = 0;
    // Lets go of every view and of the reader (breaks the reference cycle
    // between the container and its views).
    virtual void Clear() = 0;
};
