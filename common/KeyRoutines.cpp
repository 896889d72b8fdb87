#include "common/KeyRoutines.h"

namespace {

// Translates with ToUnicode; returns its result and the first unit in *ch.
int TranslateKey(UINT virtualKey, LPARAM lParam, WCHAR* ch)
{
    BYTE state[256];
    if (!GetKeyboardState(state))
        return 0;
    WCHAR buffer[8] = {};
    UINT scanCode = (static_cast<UINT>(lParam) >> 16) & 0xFF;
    int n = ToUnicode(virtualKey, scanCode, state, buffer, 8, 0);
    *ch = buffer[0];
    return n;
}

} // namespace

bool IsShiftDown()
{
    return (GetKeyState(VK_SHIFT) & 0x8000) != 0;
}

bool IsCtrlDown()
{
    return (GetKeyState(VK_CONTROL) & 0x8000) != 0;
}

WCHAR GetCharFromKeyMsg(const MSG* msg)
{
    if (msg == nullptr)
        return 0;
    WCHAR ch = 0;
    int n = TranslateKey(static_cast<UINT>(msg->wParam), msg->lParam, &ch);
    return n > 0 ? ch : 0;
}

WCHAR GetCharFromVirtualKey(UINT virtualKey, LPARAM lParam)
{
    WCHAR ch = 0;
    int n = TranslateKey(virtualKey, lParam, &ch);
    return n == 1 ? ch : 0;
}

HWND FindNextTabStopWindow(HWND window, bool backward)
{
    if (window == nullptr)
        return nullptr;
    UINT step = backward ? GW_HWNDPREV : GW_HWNDNEXT;
    for (HWND w = GetWindow(window, step); w != nullptr; w = GetWindow(w, step)) {
        if (w == window)
            return w;
        if (GetWindowLongPtrW(w, GWL_STYLE) & WS_TABSTOP)
            return w;
    }
    return nullptr;
}
