#pragma once
// One fragment of an audio file: a stretch the user marked, with how it is
// played. Copies copy every field.
#include "platform/mfc/afx.h"

// The longest count-in (the silence before a play's first pass) that can be
// chosen.
constexpr int kMaxPreDelaySec = 30;

struct SFragmentInfo
{
    LONGLONG StartTime = 0; // µs
    LONGLONG EndTime = 0;   // µs
    float Tempo = 1.0f;     // 1.0 = the recording's own speed
    int Row = 0;            // display row of the last layout; never stored
    int Looped = 0;
    CString Comment;
    int PreDelaySec = 0; // whole seconds of silence before a play's first pass, once
};
