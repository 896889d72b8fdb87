#include "RealInput.h"

#include <vector>

namespace realinput {

CPoint ScreenCentre(CWnd& window, CRect rect)
{
    window.ClientToScreen(&rect);
    return rect.CenterPoint();
}

void MoveTo(CPoint screen)
{
    // The position first: hover tracking compares it with the cell.
    ::SetCursorPos(screen.x, screen.y);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = screen.x * 65535 / (::GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = screen.y * 65535 / (::GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof(INPUT));
}

void Button(DWORD flags)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    ::SendInput(1, &input, sizeof(INPUT));
}

void ClickHere(bool right)
{
    INPUT input[2] = {};
    input[0].type = input[1].type = INPUT_MOUSE;
    input[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    input[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    ::SendInput(2, input, sizeof(INPUT));
}

void Click(CPoint screen)
{
    MoveTo(screen);
    ClickHere();
}

void Press(WORD key, bool ctrl)
{
    std::vector<INPUT> input;
    auto add = [&input](WORD vk, bool up) {
        INPUT i{};
        i.type = INPUT_KEYBOARD;
        i.ki.wVk = vk;
        i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
        input.push_back(i);
    };
    if (ctrl)
        add(VK_CONTROL, false);
    add(key, false);
    add(key, true);
    if (ctrl)
        add(VK_CONTROL, true);
    ::SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

} // namespace realinput
