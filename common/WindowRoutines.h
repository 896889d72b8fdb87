#pragma once
// Small routines on windows: a context menu at the mouse cursor, a posted
// size message that makes a window lay itself out again, and window
// transparency where the system offers it.
#include "platform/mfc/afx.h"

class CWnd;
class CMenu;

// Called with the submenu before it shows (to enable or check its items).
typedef void (*PopupMenuCallback)(CMenu* menu);

// Shows submenu `index` of menu resource `menuId` (-1: the product record's
// popup menu) at the cursor, right-button tracking, with `owner` (null: the
// main window) brought to the foreground and receiving the command; WM_NULL
// is posted to the owner afterwards so the menu closes properly.
void TrackPopupMenuAtCursor(int index, CWnd* owner = nullptr, int menuId = -1, PopupMenuCallback callback = nullptr);

// Posts WM_SIZE (SIZE_RESTORED) with the window's current client size.
void PostSizeMessage(CWnd* window);
void PostSizeMessage(HWND window);

// Whether layered windows can be made translucent.
[[nodiscard]] bool IsTransparencySupported();
// alpha below 255 makes the window layered with that opacity; 255 makes it
// an ordinary window again. Nothing when the system lacks the function.
void SetWindowTransparency(HWND window, BYTE alpha);
