#include "hybrid/ComboUtils.h"
#include <algorithm>
#include "hybrid/HybridCtrl.h"

namespace {

const int kMaxFitHeight = 300;
const int kButtonGap = 6;

// The leading decimal integer of a text (an optional sign, then digits).
int LeadingInt(LPCWSTR text)
{
    return text ? static_cast<int>(wcstol(text, nullptr, 10)) : 0;
}

bool ReadsAsInt(LPCWSTR text, int value)
{
    if (!text)
        return false;
    wchar_t* end = nullptr;
    const long number = wcstol(text, &end, 10);
    return end != text && number == value;
}

} // namespace

int GetComboSelectedInt(IHybridCombo* combo)
{
    if (!combo)
        return 0;
    const int index = combo->GetCurSel();
    return index < 0 ? 0 : LeadingInt(combo->GetString(index));
}

void SelectComboItemByInt(IHybridCombo* combo, int value)
{
    if (!combo)
        return;
    for (int i = 0; i < combo->GetCount(); ++i) {
        if (ReadsAsInt(combo->GetString(i), value)) {
            combo->SetCurSel(i, true);
            return;
        }
    }
}

void FillComboTextsWithData(IHybridCombo* combo, const LPCWSTR* texts, const DWORD* data, int count, int select)
{
    if (!combo || !texts)
        return;
    for (int i = 0; i < count; ++i) {
        const int index = combo->AddString(texts[i]);
        if (data)
            combo->SetItemData(index, data[i]);
    }
    if (select != -1)
        combo->SetCurSel(select, true);
}

void FillComboTexts(IHybridCombo* combo, const LPCWSTR* texts, int count, int select)
{
    FillComboTextsWithData(combo, texts, nullptr, count, select);
}

void FillComboNumbers(IHybridCombo* combo, const int* numbers, int count, int select)
{
    if (!combo || !numbers)
        return;
    for (int i = 0; i < count; ++i) {
        CString text;
        text.Format(L"%d", numbers[i]);
        combo->AddString(text);
    }
    if (select != -1)
        combo->SetCurSel(select, true);
}

void FitDialogToHybridCtrl(CWnd* dialog, CHybridCtrl* control)
{
    if (!dialog || !dialog->GetSafeHwnd() || !control || !control->GetSafeHwnd())
        return;
    CRect r;
    dialog->GetClientRect(&r);
    control->MoveWindow(0, 0, r.Width(), 0, FALSE);
    control->RecalcLayout(false);
    const int height = std::min(control->GetContentHeight(), kMaxFitHeight);
    r.bottom = r.top + height;
    control->MoveWindow(0, 0, r.Width(), height, TRUE);
    r.bottom += kButtonGap;
    HWND ok = ::GetDlgItem(dialog->GetSafeHwnd(), IDOK);
    HWND cancel = ::GetDlgItem(dialog->GetSafeHwnd(), IDCANCEL);
    if (ok && cancel) {
        CRect button;
        ::GetWindowRect(ok, &button);
        const int w = button.Width(), h = button.Height();
        ::MoveWindow(cancel, r.Width() - w - kButtonGap, r.bottom, w, h, TRUE);
        ::MoveWindow(ok, r.Width() - (2 * w + 2 * kButtonGap), r.bottom, w, h, TRUE);
        r.bottom += h + kButtonGap;
    }
    const DWORD style = static_cast<DWORD>(::GetWindowLongW(dialog->GetSafeHwnd(), GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongW(dialog->GetSafeHwnd(), GWL_EXSTYLE));
    ::AdjustWindowRectEx(&r, style, FALSE, exStyle);
    dialog->SetWindowPos(nullptr, 0, 0, r.Width(), r.Height(), SWP_NOMOVE | SWP_NOZORDER);
}
