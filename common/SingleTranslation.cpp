#include "common/SingleTranslation.h"
#include "common/LocalizedString.h"
#include <vector>

CString ReadWindowText(HWND hwnd)
{
    int length = GetWindowTextLengthW(hwnd);
    if (length <= 0)
        return CString();
    std::vector<WCHAR> buffer(size_t(length) + 1, 0);
    int got = GetWindowTextW(hwnd, buffer.data(), length + 1);
    return CString(buffer.data(), got > 0 ? got : 0);
}

namespace {

CString ReadComboItem(HWND combo, int index)
{
    LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR || length <= 0)
        return CString();
    std::vector<WCHAR> buffer(size_t(length) + 1, 0);
    LRESULT got = SendMessageW(combo, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(buffer.data()));
    return got == CB_ERR ? CString() : CString(buffer.data(), static_cast<int>(got));
}

} // namespace

CSingleTranslation::CSingleTranslation(HWND hwnd) : m_hwnd(hwnd)
{
    Translate();
}

void CSingleTranslation::Translate()
{
    if (m_changed)
        Restore();
    if (m_kind == kUndecided) {
        WCHAR className[64] = {};
        if (GetClassNameW(m_hwnd, className, 64) == 0)
            return;
        LONG_PTR style = GetWindowLongPtrW(m_hwnd, GWL_STYLE);
        if (_wcsicmp(className, L"ComboBox") == 0 && !(style & CBS_SORT))
            m_kind = kUnsortedCombo;
    }
    if (m_kind == kUnsortedCombo)
        TranslateComboItems();
    m_untranslatedText = ReadWindowText(m_hwnd);
    m_text = m_untranslatedText;
    TranslateText(m_text);
    SetWindowTextW(m_hwnd, m_text);
    m_changed = true;
}

void CSingleTranslation::Restore()
{
    SetWindowTextW(m_hwnd, m_untranslatedText);
    m_changed = false;
}

void CSingleTranslation::TranslateComboItems()
{
    LRESULT selection = SendMessageW(m_hwnd, CB_GETCURSEL, 0, 0);
    LRESULT count = SendMessageW(m_hwnd, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        CString item = ReadComboItem(m_hwnd, i);
        if (!TranslateText(item))
            continue;
        LRESULT data = SendMessageW(m_hwnd, CB_GETITEMDATA, i, 0);
        SendMessageW(m_hwnd, CB_DELETESTRING, i, 0);
        SendMessageW(m_hwnd, CB_INSERTSTRING, i, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(item)));
        SendMessageW(m_hwnd, CB_SETITEMDATA, i, data);
        if (i == selection)
            SendMessageW(m_hwnd, CB_SETCURSEL, i, 0);
    }
}
