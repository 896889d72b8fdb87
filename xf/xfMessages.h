#pragma once
// The framework's private window messages and timer.
#include <windows.h>

// Idle update: sent to every descendant window of each top-level frame
// once per idle period; frames, bars and panes refresh their command states.
const UINT XFM_IDLEUPDATE = WM_APP + 0x12C;
// Posted to a toolbar by its frame list when its height may have changed:
// measure the wrapped height again.
const UINT XFM_FRAMELISTCHANGED = WM_APP + 0x12D;
// Posted by a toolbar to itself in menu mode: open the hot element's popup.
const UINT XFM_OPENHOTMENU = WM_APP + 0x12E;
// Posted by a host agent to its host: show yourself (initialisation is over).
const UINT XFM_SHOWHOST = WM_APP + 0x12F;
// Posted to a pane after it handled a command: take the focus back.
const UINT XFM_PANECOMMAND = WM_APP + 0x130;
// Posted to a frame: close yourself.
const UINT XFM_CLOSEFRAME = WM_APP + 0x131;
// Posted to every registered host; nobody acts on it.
const UINT XFM_HOSTNOTIFY = WM_APP + 0xE0;

// The top-level frame's timer that performs pending layouts.
const UINT_PTR XF_LAYOUT_TIMER = 1;
const UINT XF_LAYOUT_PERIOD_MS = 100;
// Close this popup menu, its open submenu first.
const UINT XFM_CLOSEPOPUP = WM_APP + 0x12;
