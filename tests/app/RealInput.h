#pragma once
// Pointer and keys through the system's input queue (SendInput), as a user
// gives them: they pass the program's own message loop and pre-translation.
#include <windows.h>
#include "platform/mfc/afxgeom.h"

namespace realinput {

// Moves the pointer to a screen point.
void MoveTo(CPoint screen);
// A left click at a screen point.
void Click(CPoint screen);
// A key pressed and released.
void Press(WORD key);

} // namespace realinput
