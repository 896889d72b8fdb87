#pragma once
// Pointer and keys through the system's input queue (SendInput), as a user
// gives them: they pass the program's own message loop and pre-translation.
#include <windows.h>
#include "platform/mfc/afxgeom.h"
#include "platform/mfc/afxwnd.h"

namespace realinput {

// The screen point at the centre of a rectangle of a window's client area.
CPoint ScreenCentre(CWnd& window, CRect rect);
// Moves the pointer to a screen point.
void MoveTo(CPoint screen);
// One mouse event where the pointer is (MOUSEEVENTF_LEFTDOWN, ...).
void Button(DWORD flags);
// A press and release of the left (or right) button where the pointer is.
void ClickHere(bool right = false);
// A left click at a screen point.
void Click(CPoint screen);
// A key pressed and released, with Ctrl held when asked.
void Press(WORD key, bool ctrl = false);

} // namespace realinput
