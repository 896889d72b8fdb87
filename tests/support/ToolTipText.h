#pragma once
// What the tool tip of an edit's picture button says: the text of the tool
// that a tool-tip control of the edit's thread holds for that button, read
// back from the control (from any thread of the process).
#include <string>
#include <windows.h>
#include <commctrl.h>
#include "common/ButtonEdit.h"

namespace testsupport {

// "(none)" when no tool-tip control holds a tool for the button.
inline std::wstring ButtonToolTip(HWND edit)
{
    struct SSearch
    {
        HWND button;
        std::wstring text = L"(none)";
    } search{::GetDlgItem(edit, IDC_EDIT_BUTTON)};
    if (!search.button)
        return search.text;
    ::EnumThreadWindows(
        ::GetWindowThreadProcessId(edit, nullptr),
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<SSearch*>(param);
            wchar_t cls[64] = {};
            ::GetClassNameW(window, cls, 64);
            if (lstrcmpiW(cls, TOOLTIPS_CLASSW) != 0)
                return TRUE;
            const int count = static_cast<int>(::SendMessageW(window, TTM_GETTOOLCOUNT, 0, 0));
            for (int i = 0; i < count; ++i) {
                wchar_t text[256] = {};
                TOOLINFOW info = {};
                info.cbSize = sizeof(info);
                info.lpszText = text;
                if (::SendMessageW(window, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&info)) &&
                    info.hwnd == s->button) {
                    s->text = text;
                    return FALSE;
                }
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.text;
}

} // namespace testsupport
