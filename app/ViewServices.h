#pragma once
// What the audio views ask of the window that holds them, each in one place:
// a message to the user, a command for the frame, and the fragment menu.
#include <windows.h>

class CWnd;

// Shows string stringId in a message box with an OK button, owned by the
// top-level window of `control`.
void ShowViewMessage(CWnd* control, UINT stringId);

// Posts WM_COMMAND `id` to the top frame of the pane that holds `control`,
// which routes it; outside a pane, to the top-level window of `control`.
void PostViewCommand(CWnd* control, UINT id);

// Opens the fragment menu at a screen point for the view in `control`.
typedef void (*FragmentMenuOpener)(CWnd* control, POINT screenPoint);
// With no opener set (null), no menu opens.
void SetFragmentMenuOpener(FragmentMenuOpener opener);
FragmentMenuOpener GetFragmentMenuOpener();
