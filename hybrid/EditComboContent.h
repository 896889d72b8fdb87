#pragma once
// CEditComboContent: the editable combo (type letter 'c' with high style
// bit value 2). Instead of painting itself it builds two child cells: an
// edit holding the text and, inside it, a small button that opens the
// drop-down list; choosing an item writes its text into the edit. The
// children's notifications stay inside (the edited text is read with
// GetEditText); only 21 leaves the combo. It keeps no item data.
#include "hybrid/ComboContent.h"
#include "hybrid/IHybridEdit.h"

enum : UINT {
    IDB_HYBRID_COMBO_BUTTON = 10026, // three pictures, red key
};

// Narrowest length an editable combo accepts.
constexpr int EDIT_COMBO_MIN_LENGTH = 25;

class CEditComboContent : public CComboContent
{
public:
    CEditComboContent() = default;

    void SetCell(IHybridCell* cell) override;
    void Draw(CDC*, CRect) override {}
    void OnLayout() override;
    void OnEnable(bool enabled) override;
    int GetPreferredHeight(int) override { return 0; }
    void OnRelease() override;
    LRESULT OnChildNotify(UINT code, IHybridCell* sender, bool* handled) override;

    IStretchContent* SetLength(int length) override;
    void ResetContent() override;
    int AddString(LPCWSTR text) override;
    void ShowDropDown(bool show, bool lostActivation) override;
    LPCWSTR GetEditText() override;
    void SetEditText(LPCWSTR text) override;

    [[nodiscard]] bool GetEditCell(IHybridCell** out) { return ReturnInterface(m_editCell, out); }
    [[nodiscard]] bool GetButtonCell(IHybridCell** out) { return ReturnInterface(m_buttonCell, out); }

protected:
    void OnCurrentChanged() override;
    [[nodiscard]] bool NotifiesDropDown() override { return false; }

private:
    CIPtr<IHybridEdit> m_edit;
    CIPtr<IHybridCell> m_editCell;
    CIPtr<IHybridCell> m_buttonCell;
};
