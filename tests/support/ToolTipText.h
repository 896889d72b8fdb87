#pragma once
// What the tool tip of an edit's picture button says: the text of the tool
// its tool-tip control holds, read back from that control.
#include <string>
#include <commctrl.h>
#include "common/ButtonEdit.h"

namespace testsupport {

// "(none)" when the button has no tool-tip control, "(no tool)" when the
// control holds no tool.
inline std::wstring ButtonToolTip(HWND edit)
{
    auto* button = dynamic_cast<CPictureButton*>(CWnd::FromHandlePermanent(::GetDlgItem(edit, IDC_EDIT_BUTTON)));
    HWND tip = button ? button->GetToolTipWnd() : nullptr;
    if (!tip)
        return L"(none)";
    wchar_t text[256] = {};
    TOOLINFOW info = {};
    info.cbSize = sizeof(info);
    info.lpszText = text;
    if (!::SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&info)))
        return L"(no tool)";
    return text;
}

} // namespace testsupport
