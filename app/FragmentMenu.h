#pragma once
// The fragment menu of the audio views: submenu 0 of the product's popup
// menu resource, owned by the top frame of the pane that holds the view, so
// that a chosen command reaches that pane through the frame's routing.
#include "platform/mfc/afxwin.h"

// Opens the menu at a screen point and returns when it has closed; nothing
// when `control` is not inside a pane of a frame tree.
void OpenFragmentMenu(CWnd* control, POINT screenPoint);
