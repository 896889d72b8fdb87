#pragma once
// Keyboard-state and key-to-character queries, and the tab-stop walk of the
// owner-drawn controls.
#include <windows.h>

// Whether the key is held down right now.
[[nodiscard]] bool IsShiftDown();
[[nodiscard]] bool IsCtrlDown();

// The character a key-down message types with the current keyboard state and
// layout (Unicode mapping); 0 for a null message, a key without a character,
// a dead key, or when the keyboard state can't be read.
WCHAR GetCharFromKeyMsg(const MSG* msg);

// The character of a virtual key with the scan code from bits 16..23 of
// lParam; 0 unless the translation gives exactly one character.
WCHAR GetCharFromVirtualKey(UINT virtualKey, LPARAM lParam);

// The next sibling (the previous one when backward) with WS_TABSTOP, walking
// from the window in that direction without wrapping; null at the end of the
// list. Visibility and enabled state play no part.
HWND FindNextTabStopWindow(HWND window, bool backward);
