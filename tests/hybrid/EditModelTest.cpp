// The edit model without a window: keys (with Shift and Ctrl set in the
// thread's keyboard state), selections, the real clipboard, hit testing
// and caret scrolling with a real font.
#include <gtest/gtest.h>
#include "common/Clipboard.h"
#include "hybrid/EditBase.h"

namespace {

void SetHeld(bool shift, bool ctrl)
{
    BYTE state[256];
    ::GetKeyboardState(state);
    state[VK_SHIFT] = state[VK_LSHIFT] = shift ? 0x80 : 0;
    state[VK_CONTROL] = state[VK_LCONTROL] = ctrl ? 0x80 : 0;
    ::SetKeyboardState(state);
}

// Holds Shift and/or Ctrl in the thread's keyboard state for one scope.
struct SHeldKeys
{
    SHeldKeys(bool shift, bool ctrl) { SetHeld(shift, ctrl); }
    ~SHeldKeys() { SetHeld(false, false); }
};

LPARAM KeyData(UINT key)
{
    return static_cast<LPARAM>(::MapVirtualKeyW(key, 0)) << 16 | 1;
}

bool Key(CEditBase& edit, UINT key, bool shift = false, bool ctrl = false, bool readOnly = false)
{
    SHeldKeys held(shift, ctrl);
    return edit.OnKeyDown(key, KeyData(key), readOnly);
}

void Type(CEditBase& edit, const char* text)
{
    for (const char* p = text; *p; ++p) {
        const SHORT vk = ::VkKeyScanW(static_cast<WCHAR>(*p));
        Key(edit, LOBYTE(vk), (HIBYTE(vk) & 1) != 0);
    }
}

CEditBase Made(LPCWSTR text, int caret)
{
    CEditBase edit(3);
    edit.m_text = text;
    edit.m_caret = caret;
    return edit;
}

class CGuiFont
{
public:
    CGuiFont() { EXPECT_TRUE(m_font.Attach(::GetStockObject(DEFAULT_GUI_FONT))); }
    ~CGuiFont() { m_font.Detach(); }
    CFont* Get() { return &m_font; }

private:
    CFont m_font;
};

} // namespace

TEST(EditModel, TypingArrowsHomeEndAndTheirReports)
{
    CEditBase edit(3);
    Type(edit, "Hi there");
    EXPECT_EQ(CString(L"Hi there"), edit.m_text);
    EXPECT_EQ(8, edit.m_caret);
    EXPECT_FALSE(Key(edit, VK_END)) << "End at the end changes nothing";
    EXPECT_TRUE(Key(edit, VK_HOME));
    EXPECT_TRUE(Key(edit, VK_HOME)) << "Home always reports a change";
    EXPECT_FALSE(Key(edit, VK_LEFT)) << "Left at the start";
    EXPECT_FALSE(Key(edit, VK_BACK)) << "Back at the start";
    EXPECT_FALSE(Key(edit, VK_LEFT, true)) << "Shift+Left at the start sets no anchor";
    EXPECT_EQ(-1, edit.m_selStart);
    // Ctrl makes no word steps: Ctrl+Right moves one character.
    EXPECT_TRUE(Key(edit, VK_RIGHT, false, true));
    EXPECT_EQ(1, edit.m_caret);
    EXPECT_TRUE(Key(edit, VK_DELETE, false, true));
    EXPECT_EQ(CString(L"H there"), edit.m_text);
    Key(edit, VK_END);
    EXPECT_FALSE(Key(edit, VK_DELETE)) << "Delete at the end";
    Type(edit, "\t");
    EXPECT_EQ(CString(L"H there"), edit.m_text) << "control characters are not inserted";
}

TEST(EditModel, ShiftSelectionsKeepTheirAnchorAndTypingReplacesThem)
{
    CEditBase edit = Made(L"abcdef", 2);
    Key(edit, VK_RIGHT, true);
    Key(edit, VK_RIGHT, true);
    EXPECT_EQ(2, edit.m_selStart);
    EXPECT_EQ(4, edit.m_selEnd);
    EXPECT_EQ(4, edit.m_caret);
    Key(edit, VK_END, true);
    EXPECT_EQ(2, edit.m_selStart) << "Shift+End keeps the old anchor";
    EXPECT_EQ(6, edit.m_selEnd);
    Key(edit, VK_HOME, true);
    EXPECT_EQ(2, edit.m_selStart);
    EXPECT_EQ(0, edit.m_selEnd);
    Type(edit, "X");
    EXPECT_EQ(CString(L"Xcdef"), edit.m_text) << "a leftward selection replaced in one step";
    EXPECT_EQ(1, edit.m_caret);
    EXPECT_FALSE(edit.HasSelection());
    // Without Shift an arrow only drops the selection and moves from the caret.
    Key(edit, VK_RIGHT, true);
    EXPECT_TRUE(Key(edit, VK_LEFT));
    EXPECT_FALSE(edit.HasSelection());
    EXPECT_EQ(1, edit.m_caret);
    // Back with Shift acts as Back.
    Key(edit, VK_END);
    Key(edit, VK_LEFT, true);
    EXPECT_TRUE(Key(edit, VK_BACK, true));
    EXPECT_EQ(CString(L"Xcde"), edit.m_text);
}

TEST(EditModel, ClipboardCutCopyPasteThroughTheRealClipboard)
{
    CEditBase edit = Made(L"one two", 0);
    Key(edit, VK_RIGHT, true);
    Key(edit, VK_RIGHT, true);
    Key(edit, VK_RIGHT, true);
    EXPECT_TRUE(Key(edit, 'C', false, true) == false) << "a copy changes nothing in the edit";
    EXPECT_EQ(CString(L"one"), GetClipboardText());
    EXPECT_TRUE(Key(edit, 'X', false, true));
    EXPECT_EQ(CString(L" two"), edit.m_text);
    Key(edit, VK_END);
    EXPECT_TRUE(Key(edit, 'V', false, true));
    EXPECT_EQ(CString(L" twoone"), edit.m_text);
    EXPECT_EQ(7, edit.m_caret);
    // Pasting lets in what typing refuses.
    SetClipboardText(L"\x00e9\r\n");
    Type(edit, "\xe9");
    EXPECT_EQ(CString(L" twoone"), edit.m_text);
    edit.Paste();
    EXPECT_EQ(CString(L" twoone\x00e9\r\n"), edit.m_text);
    // Ctrl+A and Ctrl+Z do nothing (no undo); typing with Ctrl inserts nothing.
    EXPECT_FALSE(Key(edit, 'A', false, true));
    EXPECT_FALSE(Key(edit, 'Z', false, true));
    // An empty clipboard still removes the selection.
    ::OpenClipboard(nullptr);
    ::EmptyClipboard();
    ::CloseClipboard();
    Key(edit, VK_HOME);
    Key(edit, VK_RIGHT, true);
    EXPECT_TRUE(Key(edit, 'V', false, true));
    EXPECT_EQ(CString(L"twoone\x00e9\r\n"), edit.m_text);
}

TEST(EditModel, ReadOnlyMovesAndCopiesButNeverChangesTheText)
{
    CEditBase edit = Made(L"fixed", 5);
    for (UINT key : {static_cast<UINT>(VK_BACK), static_cast<UINT>(VK_DELETE)})
        EXPECT_FALSE(Key(edit, key, false, false, true));
    EXPECT_TRUE(Key(edit, VK_LEFT, true, false, true));
    EXPECT_FALSE(Key(edit, 'X', false, true, true));
    EXPECT_FALSE(Key(edit, 'V', false, true, true));
    EXPECT_FALSE(Key(edit, 'Q', false, false, true));
    EXPECT_EQ(CString(L"fixed"), edit.m_text);
    Key(edit, 'C', false, true, true);
    EXPECT_EQ(CString(L"d"), GetClipboardText());
}

TEST(EditModel, HitTestAndCaretScrollingMeasureWithTheFont)
{
    CGuiFont font;
    CEditBase edit = Made(L"iiii WWWW", 0);
    const RECT rect{10, 0, 200, 20};
    EXPECT_EQ(0, edit.HitTest(CPoint(13, 5), rect, font.Get()));
    EXPECT_EQ(9, edit.HitTest(CPoint(190, 5), rect, font.Get()));
    EXPECT_EQ(9, edit.HitTest(CPoint(-3000, 5), rect, font.Get())) << "3000 pixels away: the text length";
    const int middle = edit.HitTest(CPoint(40, 5), rect, font.Get());
    EXPECT_GT(middle, 0);
    EXPECT_LT(middle, 9);

    CString longText;
    for (int i = 0; i < 60; ++i)
        longText += L"word ";
    edit.m_text = longText;
    edit.m_caret = longText.GetLength();
    edit.EnsureCaretVisible(font.Get(), rect);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    const int caretX = rect.left + 3 + EditPrefixWidth(dc, longText, edit.m_caret) - edit.m_scrollOffset;
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    EXPECT_LE(caretX, rect.right - 3);
    EXPECT_GE(caretX, rect.right - 3 - 2) << "within 2 pixels of the right limit";
    edit.m_caret = 0;
    edit.EnsureCaretVisible(font.Get(), rect);
    EXPECT_EQ(0, edit.m_scrollOffset);

    // A rectangle with no room (or less) between its margins still ends.
    for (RECT narrow : {RECT{10, 0, 16, 20}, RECT{10, 0, 13, 20}}) {
        edit.m_caret = 7;
        edit.EnsureCaretVisible(font.Get(), narrow);
        edit.m_caret = 8;
        edit.EnsureCaretVisible(font.Get(), narrow);
    }
}
