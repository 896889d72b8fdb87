#pragma once
// A window's placement as the settings store it: a 24-byte REG_BINARY value
// (maximised, minimised, normal rectangle), so the layout is a stored format.
#include "platform/mfc/afx.h"

class CWnd;

struct SWndPos
{
    BOOL maximised = FALSE;
    BOOL minimised = FALSE;
    RECT rect = {0, 0, 0, 0};

    // Reads the window's state; the rectangle is the screen rectangle of a
    // normal window, else its normal (restored) position.
    void Capture(HWND window);

    // With a record: moves the window to its rectangle, then maximises or
    // minimises it as stored. Without one (the first start): sizes the window
    // to the desktop work area less twice the margin, limited to the maximum
    // width and height where those are not 0, and centres it. Nothing
    // without a window.
    static void Apply(const SWndPos* record, CWnd* window, int margin, int maxWidth, int maxHeight);
};

static_assert(sizeof(SWndPos) == 24, "SWndPos is stored as 24 bytes");
