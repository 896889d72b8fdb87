#pragma once
// CEditBase: the state and editing rules of a single-line text box: the
// text, the caret, the selection and a horizontal scroll offset, with the
// operations that turn keys, mouse positions and clipboard commands into
// changes of them, and the drawing of text, selection and caret. It owns no
// window and no timer; its owner feeds it input and decides when to redraw.
//
// A selection exists when its two ends differ; it runs from the smaller end
// up to (not including) the larger, and both ends are -1 when cleared.
// Indices count UTF-16 units; widths are measured with the caller's font.
// User-interface thread only.
#include "platform/mfc/afxwin.h"

class CEditBase
{
public:
    // margin: inset of hit testing and caret scrolling from the left and
    // right edges, and of the caret line from the top and bottom; the owner
    // draws the text that far in, so that all three agree.
    explicit CEditBase(int margin);

    [[nodiscard]] bool HasSelection() const { return m_selStart != m_selEnd; }
    void ClearSelection() { m_selStart = m_selEnd = -1; }
    // True when a selection was removed (the caret goes to its lower end).
    bool DeleteSelection();
    // Selected characters to the clipboard (nothing without a selection).
    void Copy();
    // Clipboard text in place of the selection, at the caret.
    void Paste();
    // keyData: the key message's lParam. True when the text, the caret or
    // the selection changed (always for Home).
    bool OnKeyDown(UINT virtualKey, LPARAM keyData, bool readOnly);
    // The index whose left edge lies nearest to the point (rect: the
    // owner's rectangle, same coordinates); the text length when index 0 is
    // 3000 pixels or more away.
    int HitTest(POINT point, RECT rect, CFont* font);
    // Scrolls in 2-pixel steps until the caret lies inside rect less the
    // margins; a rectangle without room puts the caret at its left edge.
    void EnsureCaretVisible(CFont* font, RECT rect);
    void Draw(CDC* dc, CFont* font, RECT rect, bool showSelection, COLORREF textColour, COLORREF selectionTextColour,
              COLORREF selectionBackColour, bool showCaret);

    int m_margin;
    int m_caret;
    int m_selStart;
    int m_selEnd;
    int m_scrollOffset;
    CString m_text;

private:
    void Anchor()
    {
        if (!HasSelection())
            m_selStart = m_caret;
    }
    void InsertAtCaret(const CString& text);
    void RemoveAt(int index);
};

// Width of the first `count` characters of text (clamped to its length).
int EditPrefixWidth(HDC dc, const CString& text, int count);
