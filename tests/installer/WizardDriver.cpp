#include "WizardDriver.h"
#include <vector>

namespace setuptest {

namespace {

struct SFound
{
    const wchar_t* caption;
    bool box;
    HWND window;
};

BOOL CALLBACK FindDialogProc(HWND window, LPARAM param)
{
    auto* found = reinterpret_cast<SFound*>(param);
    wchar_t cls[32] = {};
    ::GetClassNameW(window, cls, 32);
    if (wcscmp(cls, L"#32770") != 0 || !::IsWindowVisible(window))
        return TRUE;
    // A message box holds its text in a static of id 0xFFFF.
    const bool isBox = ::GetDlgItem(window, 0xFFFF) != nullptr;
    if (found->box) {
        if (isBox) {
            found->window = window;
            return FALSE;
        }
        return TRUE;
    }
    const std::wstring caption = CDriver::Text(window);
    if (!isBox && caption.rfind(found->caption, 0) == 0) {
        found->window = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

bool CDriver::WaitFor(const std::function<bool()>& done, DWORD ms)
{
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > ms)
            return false;
        ::Sleep(10);
    }
    return true;
}

HWND CDriver::WaitForDialog(const wchar_t* caption, DWORD ms) const
{
    SFound found{caption, false, nullptr};
    WaitFor(
        [&] {
            ::EnumThreadWindows(m_uiThread, FindDialogProc, reinterpret_cast<LPARAM>(&found));
            return found.window != nullptr;
        },
        ms);
    return found.window;
}

HWND CDriver::FindBox() const
{
    SFound found{L"", true, nullptr};
    ::EnumThreadWindows(m_uiThread, FindDialogProc, reinterpret_cast<LPARAM>(&found));
    return found.window;
}

bool CDriver::BoxShows() const
{
    return FindBox() != nullptr;
}

std::wstring CDriver::Answer(int button, DWORD ms) const
{
    HWND box = nullptr;
    if (!WaitFor([&] { return (box = FindBox()) != nullptr; }, ms))
        return L"(no message box)";
    const std::wstring text = ItemText(box, 0xFFFF);
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
    WaitFor([&] { return !::IsWindow(box) || !::IsWindowVisible(box); }, ms);
    return text;
}

void CDriver::Click(HWND dialog, int id)
{
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

std::wstring CDriver::Text(HWND window)
{
    std::vector<wchar_t> text(1024);
    ::SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    return text.data();
}

std::wstring CDriver::ItemText(HWND dialog, int id)
{
    HWND item = ::GetDlgItem(dialog, id);
    return item ? Text(item) : L"";
}

bool CDriver::ItemVisible(HWND dialog, int id)
{
    HWND item = ::GetDlgItem(dialog, id);
    return item && (::GetWindowLongW(item, GWL_STYLE) & WS_VISIBLE);
}

} // namespace setuptest
