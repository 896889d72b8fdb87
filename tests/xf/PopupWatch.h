#pragma once
// The popup menus a case opens with a click and answers from inside their
// modal loop (testsupport::CModalWatch): whether the last one opened is
// up and takes the keys, and the cancelling of every open one that ends a
// loop nobody answered.
#include "xf/xfPopupMenu.h"

namespace xftest {

// A popup that a click opens shows within this, however busy the machine.
const DWORD kPopupUp = 20000;

// The last popup that opened shows and its rows take the keys.
inline bool PopupHasTheKeys()
{
    const int open = CxfPopupMenu::GetOpenCount();
    CxfPopupMenu* popup = open > 0 ? CxfPopupMenu::GetOpen(open - 1) : nullptr;
    return popup && popup->IsWindowVisible() && ::GetFocus() == popup->GetCtrl().GetSafeHwnd();
}

// Ends every open popup as Escape would, a modal one's loop with it.
inline void CancelOpenPopups()
{
    for (int i = CxfPopupMenu::GetOpenCount() - 1; i >= 0; --i)
        CxfPopupMenu::GetOpen(i)->PostMessage(WM_COMMAND, IDCANCEL);
}

} // namespace xftest
