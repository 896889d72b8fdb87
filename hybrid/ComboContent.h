#pragma once
// CComboContent: the drop-down combo (type letter 'c'): the current item's
// text (or a prompt) in a framed field with an arrow button; a click or
// Alt+Down opens the drop-down list (CComboList) below the combo, or above
// it when the work area has no room below. Up and Down step through the
// items. Notifications: 21 current item changed (when asked to notify),
// 22 list opened, 23 list closed. Invalid indices are ignored: GetString
// answers an empty text and GetItemData 0.
#include "common/DWordArrayEx.h"
#include "hybrid/ContentBase.h"
#include "hybrid/IHybridCombo.h"

class CComboList;

// High style bits of a combo.
enum : DWORD {
    HCMB_ARROWONLY = 0x1, // a bare arrow, centred text, no focus rectangle
    HCMB_EDITABLE = 0x2,  // read by the cell: the editable combo
    HCMB_FLAT = 0x4,      // one-pixel grey frame, flat arrows
    HCMB_FLATFOCUS = 0x8, // with HCMB_FLAT: the frame only while focused or open
};

// Most rows a drop-down list shows at once.
constexpr int COMBO_MAX_ROWS = 15;
// A press this soon after the list closed by losing the activation does not
// reopen it (it is the click that closed it).
constexpr DWORD COMBO_REOPEN_GUARD_MS = 333;

class CComboContent : public CContentBase<IHybridCombo>
{
public:
    CComboContent();
    ~CComboContent() override;

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;

    WCHAR GetType() override { return L'c'; }
    [[nodiscard]] bool CanFocus() override { return true; }
    void Draw(CDC* dc, CRect rect) override;
    bool OnLButtonDown(const CPoint& point) override;
    bool OnKeyDown(UINT virtualKey, UINT keyData) override;
    int GetPreferredWidth() override;
    int GetPreferredHeight(int width) override;
    void OnDetach() override;

    IStretchContent* SetLength(int length) override;
    int AddStringID(UINT id) override;
    int AddString(LPCWSTR text) override;
    LPCWSTR GetString(int index) override;
    int GetCurSel() override { return m_current; }
    void SetCurSel(int index, bool notify) override;
    int SelectString(LPCWSTR text, bool notify) override;
    int SelectItemData(DWORD value) override;
    void ResetContent() override;
    int GetCount() override { return static_cast<int>(m_items.GetSize()); }
    void ShowDropDown(bool show, bool lostActivation) override;
    LPCWSTR GetEditText() override { return L""; }
    // What the closed combo shows: its current item, else its prompt text.
    CString GetShownText() { return m_current != -1 ? CString(GetString(m_current)) : m_prompt; }
    void SetEditText(LPCWSTR) override {}
    void SetItemData(int index, DWORD value) override;
    DWORD GetItemData(int index) override;
    void SetPromptText(LPCWSTR text) override;
    [[nodiscard]] bool IsValidIndex(int index) override { return index >= 0 && index < GetCount(); }

    // The open drop-down list, or null.
    CComboList* GetOpenList();

protected:
    // The current item changed: the plain combo repaints itself.
    virtual void OnCurrentChanged() { Invalidate(); }
    // Whether opening and closing are notified (22, 23).
    [[nodiscard]] virtual bool NotifiesDropDown() { return true; }
    DWORD HighBits() { return static_cast<DWORD>(GetStyleBits() >> 32); }
    // Closes an open list without notification or focus change.
    void DropList();

    CStringArray m_items;
    CDWordArrayEx m_itemData;
    int m_current = -1;
    int m_width = 0;

private:
    void OpenList();
    void CloseList(bool lostActivation);
    void DrawArrow(CDC* dc, CRect& rect, bool focusLook, bool enabled);

    CComboList* m_list = nullptr;
    HWND m_listWnd = nullptr;
    DWORD m_closeTime = 0;
    CString m_prompt;
};
