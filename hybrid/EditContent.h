#pragma once
// CEditContent: the toolkit's single-line edit box (type letter 'E'): the
// edit model in a cell, painted with a frame, a blinking caret and a
// selection, driven by the control's mouse and keyboard input, with a
// right-button context menu (Cut, Copy, Paste, Delete, Select All).
// Notifications: 27 a key changed the text, caret or selection; 28 Enter.
// SetText and the menu commands notify nothing.
#include "hybrid/ContentBase.h"
#include "hybrid/EditBase.h"
#include "hybrid/IHybridEdit.h"

// High style bits of an edit.
enum : DWORD {
    HEB_READONLY = 0x2,  // no Cut, Paste, Delete or typing; cell background
    HEB_ROWLOOK = 0x4,   // frame only on the focus cell; cell background; selection colours
    HEB_FLATFRAME = 0x8, // one grey line instead of the sunken frame
};

// Edit command numbers (DoEditCommand, IsEditCommandEnabled).
enum : int {
    EDIT_CMD_CUT = 0,
    EDIT_CMD_COPY = 1,
    EDIT_CMD_PASTE = 2,
    EDIT_CMD_DELETE = 3,
    EDIT_CMD_SELECTALL = 4,
};

// The sunken frame of edit fields and combos: 0xA3A3A3 / white outside,
// black / 0xC0C0C0 one pixel in; with fill, rect is first filled with the
// system window colour.
void DrawEditFrame(CDC* dc, RECT rect, bool fill);

class CEditContent : public CContentBase<IHybridEdit>, private CEditBase
{
public:
    CEditContent();
    ~CEditContent() override;

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;

    WCHAR GetType() override { return L'E'; }
    [[nodiscard]] bool CanFocus() override { return true; }
    void Draw(CDC* dc, CRect rect) override;
    void OnMouseMove(const CPoint& point) override;
    bool OnLButtonDown(const CPoint& point) override;
    bool OnLButtonDblClk(const CPoint& point) override;
    void OnLButtonUp(const CPoint& point) override;
    bool OnRButtonUp(const CPoint& point) override;
    void OnActivate(bool active) override;
    bool OnKeyDown(UINT virtualKey, UINT keyData) override;
    HCURSOR GetCursor(const CPoint&) override { return ::LoadCursorW(nullptr, IDC_IBEAM); }
    int GetPreferredWidth() override { return m_width; }
    int GetPreferredHeight(int width) override;
    void OnTimer(UINT_PTR id) override;

    IStretchContent* SetLength(int length) override;
    void SetText(LPCWSTR text) override;
    LPCWSTR GetText() override { return m_text; }
    void DoEditCommand(int number) override;
    [[nodiscard]] bool IsEditCommandEnabled(int number) override;
    [[nodiscard]] bool HasCaret() override { return m_active; }

    // The model's state, for owners that look at it.
    int GetCaret() const { return m_caret; }
    int GetSelStart() const { return m_selStart; }
    int GetSelEnd() const { return m_selEnd; }
    int GetScrollOffset() const { return m_scrollOffset; }
    [[nodiscard]] bool IsCaretShown() const { return m_caretShown; }
    // The edit whose context menu is open, or null.
    static CEditContent* GetMenuEdit();

private:
    DWORD HighBits() { return static_cast<DWORD>(GetStyleBits() >> 32); }
    [[nodiscard]] bool IsReadOnly() { return (HighBits() & HEB_READONLY) != 0; }
    CFont* Font();
    void StopBlinking();
    static void PrepareMenu(CMenu* menu);

    UINT_PTR m_blinkTimer;
    bool m_caretShown;
    int m_width;
    // Active (the cell has the focus): the caret shows, steadily or blinking.
    bool m_active;
};
