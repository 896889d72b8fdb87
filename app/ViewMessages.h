#pragma once
// Private messages the audio views post to the window that holds their
// control (the transcription pane), and the commands they raise.
#include <windows.h>

enum : UINT {
    // wParam: the new SFragmentInfo (still owned by the fragment display).
    WM_FRAGMENT_ADDED = 0x8003,
    // The fragment list or a fragment changed.
    WM_FRAGMENTS_CHANGED = 0x8039,
    // Another fragment (or none) became the active one.
    WM_ACTIVE_FRAGMENT_REPLACED = 0x8465,
    // The position slider was released; the position is in the time model.
    WM_POSITION_SLIDER_RELEASED = WM_APP + 0x1395,
};

enum : UINT {
    ID_FRAGMENT_ZOOM_TO = 33013,
};
