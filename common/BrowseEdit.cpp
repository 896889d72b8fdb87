#include "common/BrowseEdit.h"
#include "common/LocalizedString.h"
#include "common/Pickers.h"

namespace {
const UINT kButtonBitmap = 10021;
const COLORREF kButtonKey = 0xFFFFFF;
const UINT kAllFilesFilter = 10080; // "All Files|*.*||"

CString TranslatedString(UINT id)
{
    CLocalizedString text;
    text.LoadString(id);
    return CString(static_cast<LPCWSTR>(text));
}
} // namespace

CBrowseEdit::CBrowseEdit(int kind, LPCWSTR toolTip)
    : CButtonEdit(kButtonBitmap, kButtonKey, toolTip ? toolTip : L"", EDIT_BUTTON_NO_MESSAGE), m_kind(kind),
      m_filterId(kAllFilesFilter)
{
}

CBrowseEdit::CBrowseEdit(int kind, UINT toolTipId) : CBrowseEdit(kind, TranslatedString(toolTipId))
{
}

void CBrowseEdit::OnButton()
{
    const HWND parent = ::GetParent(m_hWnd);
    if (m_kind == BROWSE_FOLDER) {
        const CString folder = BrowseForFolder(parent);
        if (folder.IsEmpty())
            return;
        SetWindowText(folder);
        ::PostMessageW(parent, WM_BROWSE_FOLDER, 0, 0);
        return;
    }
    if (m_kind != BROWSE_OPEN_FILE && m_kind != BROWSE_SAVE_FILE)
        return;
    CString filter;
    filter.LoadString(m_filterId);
    CString current;
    GetWindowText(current);
    const CString chosen = BrowseForFile(filter, m_kind == BROWSE_OPEN_FILE, parent, nullptr, current);
    if (chosen.IsEmpty())
        return;
    SetWindowText(chosen);
    ::PostMessageW(parent, WM_BROWSE_FILE, 0, 0);
}
