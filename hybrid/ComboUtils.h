#pragma once
// Free routines that dialogs built on the toolkit use to fill and read
// combo contents and to size a dialog around its Hybrid control. They keep
// no state; null combos and arrays do nothing.
#include "platform/mfc/afxwin.h"
#include "hybrid/IHybridCombo.h"

class CHybridCtrl;

// The leading decimal integer of the selected item's text; 0 without a
// combo or a selection.
int GetComboSelectedInt(IHybridCombo* combo);
// Selects (with notification) the first item whose text reads as value.
void SelectComboItemByInt(IHybridCombo* combo, int value);

// Empties the combo, then adds every text of the list in order. The list
// is read by count and text by index (GetCount, GetAt), as the recent-file
// list offers its entries.
template <class TList>
void FillComboFromList(IHybridCombo* combo, const TList& list)
{
    if (!combo)
        return;
    combo->ResetContent();
    for (int i = 0; i < list.GetCount(); ++i)
        combo->AddString(list.GetAt(i));
}
// The same for a system combo box; answers the item count.
template <class TList>
int FillComboBoxFromList(HWND comboBox, const TList& list)
{
    ::SendMessageW(comboBox, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < list.GetCount(); ++i)
        ::SendMessageW(comboBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCWSTR>(list.GetAt(i))));
    return static_cast<int>(::SendMessageW(comboBox, CB_GETCOUNT, 0, 0));
}
// Adds the texts (the old items stay), then selects `select` (with
// notification) unless it is -1.
void FillComboTexts(IHybridCombo* combo, const LPCWSTR* texts, int count, int select);
void FillComboTextsWithData(IHybridCombo* combo, const LPCWSTR* texts, const DWORD* data, int count, int select);
void FillComboNumbers(IHybridCombo* combo, const int* numbers, int count, int select);

// Lays the control out at the dialog's client width, gives it its content
// height (at most 300 pixels, it scrolls beyond), places the OK and Cancel
// buttons under it when the dialog has both, and sizes the dialog to fit
// without moving it.
void FitDialogToHybridCtrl(CWnd* dialog, CHybridCtrl* control);
