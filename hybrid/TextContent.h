#pragma once
// CTextContent: a windowless text label (type letter 'T') drawn in its
// cell's style: one line with an end or middle ellipsis, one line the user
// can drag sideways, a word-wrapped text, or a link that notifies its cell
// (19 click or Space, 20 right click) or opens its own text with the shell.
#include <vector>
#include "hybrid/ContentBase.h"
#include "hybrid/IHybridText.h"

// Low style bits a text reads besides HCB_TRANSPARENT.
enum : DWORD {
    HTB_RIGHT = 0x10,
    HTB_CENTER = 0x20,
    HTB_TOP = 0x40,
    HTB_BOTTOM = 0x80,
};

// High style bits of a text.
enum : DWORD {
    HTB_LINK = 0x1,        // underlined, focusable, notifies 19 and 20
    HTB_LINKCOLOURS = 0x2, // link colours and click, never underlined
    HTB_OPEN = 0x4,        // with HTB_LINK: a click opens the text itself
    HTB_MULTILINE = 0x8,   // word wrap
    HTB_DRAGGABLE = 0x10,  // a line wider than the cell can be dragged sideways
    HTB_PREFIX = 0x20,     // "&" marks a mnemonic
    HTB_MIDDLEELLIPSIS = 0x40,
};

class CTextContent : public CContentBase<IHybridText>
{
public:
    CTextContent() = default;

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;

    WCHAR GetType() override { return L'T'; }
    [[nodiscard]] bool CanFocus() override { return (High() & HTB_LINK) != 0; }
    void Draw(CDC* dc, CRect rect) override;
    void OnMouseMove(const CPoint& point) override;
    bool OnLButtonDown(const CPoint& point) override;
    void OnLButtonUp(const CPoint& point) override;
    bool OnRButtonUp(const CPoint& point) override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;
    bool OnKeyDown(UINT virtualKey, UINT keyData) override;
    HCURSOR GetCursor(const CPoint& point) override;
    int GetPreferredWidth() override;
    int GetPreferredHeight(int width) override;

    void ResetTextModes(DWORD lowBits) override;
    void SetText(LPCWSTR text) override;
    LPCWSTR GetText() override { return m_text; }
    void SetNumber(int number) override;

    // The wrapped lines of a multi-line text.
    const std::vector<CString>& GetLines() const { return m_lines; }
    int GetScrollOffset() const { return m_scrollOffset; }
    // What a middle ellipsis shows of a text `textWidth` wide in `width`.
    static CString MiddleEllipsis(const CString& text, int width, int textWidth);

private:
    DWORD Low() { return static_cast<DWORD>(GetStyleBits()); }
    DWORD High() { return static_cast<DWORD>(GetStyleBits() >> 32); }
    [[nodiscard]] bool IsLink() { return (High() & (HTB_LINK | HTB_LINKCOLOURS)) != 0; }
    void Measure(int width);
    void Wrap(HDC dc, int width, int leftMargin);
    void DrawPiece(HDC dc, const CRect& rect, LPCWSTR text, int length, UINT flags);

    CString m_text;
    std::vector<CString> m_lines;
    int m_measured = 0;
    int m_height = -1;
    int m_textWidth = 0;
    int m_dragAnchor = 0;
    int m_scrollOffset = 0;
    int m_layoutWidth = -1;
    bool m_overText = false;
    bool m_hover = false;
};
