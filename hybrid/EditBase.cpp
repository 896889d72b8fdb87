#include "hybrid/EditBase.h"
#include <algorithm>
#include <cstdlib>
#include "common/Clipboard.h"
#include "common/DrawRoutines.h"
#include "common/KeyRoutines.h"
#include "common/ScopedHandle.h"

namespace {

const int kFarAway = 3000;

HFONT FontHandle(CFont* font)
{
    return font ? static_cast<HFONT>(font->GetSafeHandle()) : nullptr;
}

// A memory device context compatible with the screen, with a font selected.
class CMeasureDC
{
public:
    explicit CMeasureDC(CFont* font) : m_dc(::CreateCompatibleDC(nullptr)), m_font(m_dc.Get(), FontHandle(font)) {}
    HDC Get() const { return m_dc.Get(); }

private:
    CScopedHandle<HDC, &::DeleteDC> m_dc; // outlives the font selection
    CFontSelector m_font;
};

} // namespace

int EditPrefixWidth(HDC dc, const CString& text, int count)
{
    count = std::max(0, std::min(count, text.GetLength()));
    SIZE size{0, 0};
    if (count > 0)
        ::GetTextExtentPoint32W(dc, text, count, &size);
    return size.cx;
}

CEditBase::CEditBase(int margin) : m_margin(margin), m_caret(0), m_selStart(-1), m_selEnd(-1), m_scrollOffset(0)
{
}

bool CEditBase::DeleteSelection()
{
    if (!HasSelection())
        return false;
    const int length = m_text.GetLength();
    const int lo = std::max(0, std::min(std::min(m_selStart, m_selEnd), length));
    const int hi = std::max(0, std::min(std::max(m_selStart, m_selEnd), length));
    m_text = m_text.Left(lo) + m_text.Mid(hi);
    m_caret = lo;
    ClearSelection();
    return true;
}

void CEditBase::Copy()
{
    if (!HasSelection())
        return;
    const int length = m_text.GetLength();
    const int lo = std::max(0, std::min(std::min(m_selStart, m_selEnd), length));
    const int hi = std::max(0, std::min(std::max(m_selStart, m_selEnd), length));
    SetClipboardText(m_text.Mid(lo, hi - lo));
}

void CEditBase::InsertAtCaret(const CString& text)
{
    const int at = std::max(0, std::min(m_caret, m_text.GetLength()));
    m_text = m_text.Left(at) + text + m_text.Mid(at);
    m_caret = at + text.GetLength();
}

void CEditBase::RemoveAt(int index)
{
    if (index >= 0 && index < m_text.GetLength())
        m_text = m_text.Left(index) + m_text.Mid(index + 1);
}

void CEditBase::Paste()
{
    const CString text = GetClipboardText();
    DeleteSelection();
    InsertAtCaret(text);
}

bool CEditBase::OnKeyDown(UINT virtualKey, LPARAM keyData, bool readOnly)
{
    const bool shift = IsShiftDown();
    const CString oldText = m_text;
    const int oldCaret = m_caret, oldStart = m_selStart, oldEnd = m_selEnd;
    const int length = m_text.GetLength();
    switch (virtualKey) {
    case VK_BACK:
        if (!readOnly && !DeleteSelection() && m_caret > 0) {
            --m_caret;
            RemoveAt(m_caret);
        }
        break;
    case VK_DELETE:
        if (!readOnly && !DeleteSelection())
            RemoveAt(m_caret);
        break;
    case VK_END:
    case VK_HOME: {
        const int target = virtualKey == VK_END ? length : 0;
        if (shift) {
            Anchor();
            m_selEnd = target;
        } else {
            ClearSelection();
        }
        m_caret = target;
        if (virtualKey == VK_HOME)
            return true;
        break;
    }
    case VK_LEFT:
    case VK_RIGHT: {
        const int step = virtualKey == VK_LEFT ? -1 : 1;
        const bool room = step < 0 ? m_caret > 0 : m_caret < length;
        if (!shift)
            ClearSelection();
        if (room) {
            if (shift) {
                Anchor();
                m_selEnd = m_caret + step;
            }
            m_caret += step;
        }
        break;
    }
    default: {
        const WCHAR ch = GetCharFromVirtualKey(virtualKey, keyData);
        if (!ch)
            break;
        if (IsCtrlDown()) {
            const UINT key = (virtualKey >= 'A' && virtualKey <= 'Z') ? virtualKey - 'A' + 'a' : virtualKey;
            if (key == 'c') {
                Copy();
            } else if (key == 'v' && !readOnly) {
                Paste();
            } else if (key == 'x' && !readOnly) {
                Copy();
                DeleteSelection();
            }
        } else if (ch >= 0x20 && ch <= 0x7E && !readOnly) {
            DeleteSelection();
            InsertAtCaret(CString(ch));
        }
        break;
    }
    }
    return m_text != oldText || m_caret != oldCaret || m_selStart != oldStart || m_selEnd != oldEnd;
}

int CEditBase::HitTest(POINT point, RECT rect, CFont* font)
{
    CMeasureDC dc(font);
    const int target = point.x - m_margin + m_scrollOffset - rect.left;
    const int length = m_text.GetLength();
    int best = kFarAway;
    int result = length;
    for (int index = 0;; ++index) {
        const int distance = std::abs(EditPrefixWidth(dc.Get(), m_text, index) - target);
        if (distance >= best)
            break;
        best = distance;
        result = index;
        if (index >= length)
            break;
    }
    return result;
}

void CEditBase::EnsureCaretVisible(CFont* font, RECT rect)
{
    CMeasureDC dc(font);
    const int left = rect.left + m_margin, right = rect.right - m_margin;
    const int width = EditPrefixWidth(dc.Get(), m_text, m_caret);
    if (right - left < 1) {
        // Two-pixel steps may jump over a room this narrow forever.
        m_scrollOffset = width;
        return;
    }
    const int x = left + width - m_scrollOffset;
    if (x < left)
        m_scrollOffset -= 2 * ((left - x + 1) / 2);
    else if (x > right)
        m_scrollOffset += 2 * ((x - right + 1) / 2);
}

void CEditBase::Draw(CDC* dc, CFont* font, RECT rect, bool showSelection, COLORREF textColour,
                     COLORREF selectionTextColour, COLORREF selectionBackColour, bool showCaret)
{
    if (!dc)
        return;
    const HDC hdc = dc->GetSafeHdc();
    CFontSelector selected(hdc, FontHandle(font));
    const UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, textColour);
    RECT textRect = rect;
    textRect.left -= m_scrollOffset;
    ::DrawTextW(hdc, m_text, m_text.GetLength(), &textRect, format);
    if (showSelection && HasSelection()) {
        const int length = m_text.GetLength();
        const int lo = std::max(0, std::min(std::min(m_selStart, m_selEnd), length));
        const int hi = std::max(0, std::min(std::max(m_selStart, m_selEnd), length));
        RECT selRect = rect;
        selRect.left = rect.left + EditPrefixWidth(hdc, m_text, lo) - m_scrollOffset;
        ::SetBkMode(hdc, OPAQUE);
        ::SetTextColor(hdc, selectionTextColour);
        ::SetBkColor(hdc, selectionBackColour);
        ::DrawTextW(hdc, static_cast<LPCWSTR>(m_text) + lo, hi - lo, &selRect, format);
    }
    if (showCaret) {
        const int x = rect.left + EditPrefixWidth(hdc, m_text, m_caret) - m_scrollOffset;
        DrawLine(hdc, x, rect.top + m_margin, x, rect.bottom - m_margin, RGB(0, 0, 0));
    }
}
