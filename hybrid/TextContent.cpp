#include "hybrid/TextContent.h"
#include <algorithm>
#include "common/DrawRoutines.h"
#include "common/ProductInfo.h"
#include "hybrid/ContentDrawing.h"
#include "hybrid/HybridResources.h"

namespace {

const COLORREF kLinkColour = 0xFF0000;
const COLORREF kLinkHotColour = 0x0000FF;
const COLORREF kDisabledSelectedColour = 0xC0C0C0;
const int kWrapReserve = 10;
const int kMeasureWidth = 10000;

bool IsBreakCharacter(wchar_t c)
{
    return c == L' ' || c == L'/' || c == L'\\';
}

int MarginLeft(IHybridStyle* style)
{
    return style ? style->GetMargin1() : 0;
}
int MarginRight(IHybridStyle* style)
{
    return style ? style->GetMargin2() : 0;
}

SIZE Extent(HDC dc, LPCWSTR text, int length)
{
    SIZE extent{0, 0};
    ::GetTextExtentPoint32W(dc, text, length, &extent);
    return extent;
}

// The width a single line takes when drawn with or without prefix
// processing: a '&' marker that is drawn as an underline takes no room.
int LineWidth(HDC dc, const CString& text, bool prefix)
{
    if (!prefix || text.Find(L'&') < 0)
        return Extent(dc, text, text.GetLength()).cx;
    RECT r{0, 0, 0, 0};
    ::DrawTextW(dc, text, text.GetLength(), &r, DT_SINGLELINE | DT_CALCRECT);
    return r.right - r.left;
}

} // namespace

STDMETHODIMP CTextContent::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out, {Primary(IID_IHybridContent), Primary(IID_IHybridText)});
}

void CTextContent::ResetTextModes(DWORD lowBits)
{
    const DWORD modes = HTB_LINK | HTB_MULTILINE | HTB_DRAGGABLE;
    if (!(High() & modes))
        return;
    SetCellStyleBits(Low() | lowBits, High() & ~modes);
    m_height = -1;
    m_scrollOffset = 0;
    m_layoutWidth = -1;
    RequestRelayout();
}

void CTextContent::SetText(LPCWSTR text)
{
    if (m_text == (text ? text : L""))
        return;
    m_text = text;
    m_scrollOffset = 0;
    m_layoutWidth = -1;
    const int width = GetRect().Width();
    if (width > 0) {
        m_measured = 1;
        const int height = m_height;
        Measure(width);
        if (height != m_height)
            RequestRelayout();
    }
    Invalidate();
}

void CTextContent::SetNumber(int number)
{
    CString text;
    text.Format(L"%d", number);
    SetText(text);
}

void CTextContent::Measure(int width)
{
    CHybridCtrl* control = GetCtrl();
    if (!GetCell() || width <= 0 || !control || !control->GetSafeHwnd())
        return;
    m_layoutWidth = width;
    IHybridStyle* style = GetStyle();
    CClientDC dc(control);
    CFontSelector font(dc.GetSafeHdc(), StyleFont(style));
    const int oldHeight = m_height, oldWidth = m_textWidth;
    const int lineHeight = Extent(dc.GetSafeHdc(), L"|", 1).cy + 2;
    if (!(High() & HTB_MULTILINE)) {
        m_height = lineHeight;
        m_textWidth =
            MarginLeft(style) + LineWidth(dc.GetSafeHdc(), m_text, (High() & HTB_PREFIX) != 0) + 2 + MarginRight(style);
    } else {
        Wrap(dc.GetSafeHdc(), width, MarginLeft(style));
        m_height = static_cast<int>(m_lines.size()) * lineHeight;
        m_textWidth = width;
    }
    if (m_height != oldHeight || m_textWidth != oldWidth)
        RequestRelayout();
}

void CTextContent::Wrap(HDC dc, int width, int leftMargin)
{
    m_lines.clear();
    const int available = width - leftMargin - kWrapReserve;
    const int length = m_text.GetLength();
    LPCWSTR text = m_text;
    int start = 0, breakAt = -1;
    for (int i = 0; i < length; ++i) {
        if (IsBreakCharacter(text[i]))
            breakAt = i + 1;
        if (i == start || Extent(dc, text + start, i - start + 1).cx < available)
            continue;
        int next;
        CString line;
        if (breakAt < 0) {
            line = m_text.Mid(start, i - 1 - start);
            next = i - 1;
        } else {
            line = m_text.Mid(start, breakAt - start);
            next = breakAt;
        }
        // Not even two characters fit: the rest of the text is left out.
        if (line.IsEmpty())
            return;
        line.TrimRight(L' ');
        m_lines.push_back(line);
        start = next;
        breakAt = -1;
        i = start; // the loop goes on with the position after the start
    }
    m_lines.push_back(m_text.Mid(start));
}

int CTextContent::GetPreferredWidth()
{
    if (m_textWidth == 0)
        Measure(kMeasureWidth);
    return m_textWidth;
}

int CTextContent::GetPreferredHeight(int width)
{
    if (width != m_layoutWidth)
        Measure(width);
    return m_height;
}

CString CTextContent::MiddleEllipsis(const CString& text, int width, int textWidth)
{
    if (textWidth <= width || textWidth <= 0)
        return text;
    const int n = text.GetLength() * width / textWidth - 5;
    return text.Left(n / 2) + L" ... " + text.Right(n / 2);
}

void CTextContent::DrawPiece(HDC dc, const CRect& rect, LPCWSTR text, int length, UINT flags)
{
    COLORREF colour;
    if (!IsEnabled())
        colour = IsSelected() ? kDisabledSelectedColour : ::GetSysColor(COLOR_GRAYTEXT);
    else if (IsLink())
        colour = m_hover ? kLinkHotColour : kLinkColour;
    else
        colour = GetStateTextColor();
    ::SetTextColor(dc, colour);
    CRect place(rect);
    ::DrawTextW(dc, text, length, &place, flags);
    if (!(High() & HTB_LINK) || (High() & HTB_LINKCOLOURS))
        return;
    const SIZE extent = Extent(dc, text, length);
    const int lineLength = std::min<int>(extent.cx, rect.Width());
    const int y = rect.bottom - (rect.Height() - extent.cy) / 2;
    int x = rect.left;
    if (flags & DT_RIGHT)
        x = rect.right - lineLength;
    else if (flags & DT_CENTER)
        x = rect.left + (rect.Width() - lineLength) / 2;
    DrawLine(dc, x, y, x + lineLength, y, colour);
}

void CTextContent::Draw(CDC* dc, CRect rect)
{
    const HDC hdc = dc->GetSafeHdc();
    IHybridStyle* style = GetStyle();
    CFontSelector font(hdc, StyleFont(style));
    const COLORREF background = GetStateBkColor();
    const DWORD low = Low(), high = High();
    if (!(low & HCB_TRANSPARENT) || IsSelected())
        dc->FillSolidRect(&rect, background);
    ::SetBkColor(hdc, background);
    ::SetBkMode(hdc, TRANSPARENT);
    rect.left += MarginLeft(style);
    rect.right -= MarginRight(style);
    UINT flags = 0;
    if (low & HTB_RIGHT)
        flags |= DT_RIGHT;
    if (low & HTB_CENTER)
        flags |= DT_CENTER;
    if (!(low & (HTB_TOP | HTB_BOTTOM)))
        flags |= DT_VCENTER;
    else if (low & HTB_BOTTOM)
        flags |= DT_BOTTOM;
    if (!(high & HTB_PREFIX))
        flags |= DT_NOPREFIX;
    if (high & HTB_MULTILINE) {
        const int count = static_cast<int>(m_lines.size());
        if (count == 0)
            return;
        const int band = rect.Height() / count;
        for (int i = 0; i < count; ++i) {
            const CRect line(rect.left, rect.top + i * band, rect.right, rect.top + (i + 1) * band);
            DrawPiece(hdc, line, m_lines[i], m_lines[i].GetLength(), flags | DT_SINGLELINE | DT_NOPREFIX);
        }
        return;
    }
    if (m_scrollOffset == 0) {
        if (!(high & HTB_MIDDLEELLIPSIS)) {
            if (m_textWidth > rect.Width())
                flags |= DT_END_ELLIPSIS;
            DrawPiece(hdc, rect, m_text, m_text.GetLength(), flags | DT_SINGLELINE);
        } else {
            const CString shown = MiddleEllipsis(m_text, rect.Width(), m_textWidth);
            DrawPiece(hdc, rect, shown, shown.GetLength(), flags | DT_SINGLELINE);
        }
        return;
    }
    if (rect.Width() <= 0 || rect.Height() <= 0)
        return;
    CDC memory;
    CBitmap bitmap;
    if (!memory.CreateCompatibleDC(dc) || !bitmap.CreateCompatibleBitmap(dc, rect.Width(), rect.Height()))
        return;
    const HDC mdc = memory.GetSafeHdc();
    CGdiObjectSelector select(mdc, bitmap.GetSafeHandle());
    CFontSelector memoryFont(mdc, StyleFont(style));
    memory.FillSolidRect(0, 0, rect.Width(), rect.Height(), background);
    ::SetBkMode(mdc, TRANSPARENT);
    const CRect shifted(m_scrollOffset, 0, rect.Width() + m_textWidth, rect.Height());
    DrawPiece(mdc, shifted, m_text, m_text.GetLength(), DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    ::BitBlt(hdc, rect.left, rect.top, rect.Width(), rect.Height(), mdc, 0, 0, SRCCOPY);
}

HCURSOR CTextContent::GetCursor(const CPoint& point)
{
    const CRect cell = GetRect();
    IHybridStyle* style = GetStyle();
    const int w = m_textWidth;
    if (IsLink()) {
        const DWORD low = Low();
        if (w == 0)
            m_overText = true;
        else if (low & HTB_RIGHT)
            m_overText = point.x > cell.right - w - MarginRight(style);
        else if (low & HTB_CENTER)
            m_overText = point.x > cell.left + (cell.Width() - w) / 2 && point.x < cell.right - (cell.Width() - w) / 2;
        else
            m_overText = point.x < cell.left + w + MarginLeft(style);
        if (m_overText)
            return ::LoadCursorW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDC_HYBRID_LINK));
        return nullptr;
    }
    if ((High() & HTB_DRAGGABLE) && w >= cell.Width())
        return ::LoadCursorW(nullptr, IDC_SIZEWE);
    return nullptr;
}

bool CTextContent::OnLButtonDown(const CPoint& point)
{
    if (IsLink()) {
        if (!m_overText)
            return false;
        if ((High() & HTB_LINK) && (High() & HTB_OPEN))
            OpenLink(m_text);
        else
            NotifyCell(HN_LINK_CLICKED);
        return true;
    }
    if ((High() & HTB_DRAGGABLE) && m_textWidth > GetRect().Width()) {
        CaptureMouse();
        m_dragAnchor = point.x - m_scrollOffset;
        return true;
    }
    return false;
}

void CTextContent::OnMouseMove(const CPoint& point)
{
    if (!HasMouseCapture())
        return;
    const int lowest = -(m_textWidth - GetRect().Width() + MarginLeft(GetStyle()));
    m_scrollOffset = std::max(lowest, std::min(0, static_cast<int>(point.x) - m_dragAnchor));
    Invalidate();
}

void CTextContent::OnLButtonUp(const CPoint&)
{
    if (HasMouseCapture())
        GetCtrl()->ReleaseCaptureCell(GetCell());
}

bool CTextContent::OnRButtonUp(const CPoint&)
{
    if (!(High() & HTB_LINK))
        return false;
    NotifyCell(HN_LINK_RBUTTONUP);
    return true;
}

void CTextContent::OnMouseEnter()
{
    m_hover = true;
    if (High() & HTB_LINK)
        Invalidate();
}

void CTextContent::OnMouseLeave()
{
    m_hover = false;
    if (High() & HTB_LINK)
        Invalidate();
}

bool CTextContent::OnKeyDown(UINT virtualKey, UINT)
{
    if (virtualKey != VK_SPACE)
        return false;
    NotifyCell(HN_LINK_CLICKED);
    return true;
}
