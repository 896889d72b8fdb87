#pragma once
// Small contents for the demo window and the repaint benchmark: a text
// label drawn in its cell's style and a colour swatch.
#include <string>
#include "hybrid/ContentBase.h"

class CDemoLabel : public CContentBase<IHybridContent>
{
public:
    explicit CDemoLabel(const std::wstring& text) : m_text(text) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override
    {
        return AnswerQuery(riid, out, {Primary(IID_IHybridContent)});
    }
    WCHAR GetType() override { return L'U'; }
    void Draw(CDC* dc, CRect rect) override
    {
        IHybridStyle* style = GetStyle();
        dc->FillSolidRect(&rect, GetStateBkColor());
        CFont* old = style && style->GetFont() ? dc->SelectObject(style->GetFont()) : nullptr;
        dc->SetBkMode(TRANSPARENT);
        dc->SetTextColor(GetStateTextColor());
        CRect text = rect;
        text.DeflateRect(style ? style->GetMargin1() : 3, 0, style ? style->GetMargin2() : 3, 0);
        ::DrawTextW(dc->GetSafeHdc(), m_text.c_str(), static_cast<int>(m_text.size()), &text,
                    DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
        if (old)
            dc->SelectObject(old);
    }
    int GetPreferredWidth() override { return Measure().cx; }
    int GetPreferredHeight(int) override { return Measure().cy; }

private:
    CSize Measure()
    {
        if (m_size.cx == 0) {
            IHybridStyle* style = GetStyle();
            CDC dc;
            if (!dc.CreateCompatibleDC(nullptr))
                return CSize(8, 4); // nothing to measure with: the margins only, tried again next time
            CFont* old = style && style->GetFont() ? dc.SelectObject(style->GetFont()) : nullptr;
            SIZE extent{};
            ::GetTextExtentPoint32W(dc.GetSafeHdc(), m_text.c_str(), static_cast<int>(m_text.size()), &extent);
            if (old)
                dc.SelectObject(old);
            m_size = CSize(extent.cx + 8, extent.cy + 4);
        }
        return m_size;
    }
    std::wstring m_text;
    CSize m_size{0, 0};
};

class CDemoSwatch : public CContentBase<IHybridContent>
{
public:
    CDemoSwatch(COLORREF colour, int width, int height) : m_colour(colour), m_width(width), m_height(height) {}
    STDMETHODIMP QueryInterface(REFIID riid, void** out) override
    {
        return AnswerQuery(riid, out, {Primary(IID_IHybridContent)});
    }
    void Draw(CDC* dc, CRect rect) override
    {
        dc->FillSolidRect(&rect, GetStateBkColor());
        rect.DeflateRect(2, 2);
        dc->FillSolidRect(&rect, m_colour);
    }
    int GetPreferredWidth() override { return m_width; }
    int GetPreferredHeight(int) override { return m_height; }

private:
    COLORREF m_colour;
    int m_width, m_height;
};

// Puts a content into a new child cell of `parent` (under the given
// sub-content column) and answers the cell.
inline CIPtr<IHybridCell> AddContentCell(IHybridCell* parent, IHybridContent* content, int column = 0, DWORD low = 0)
{
    CIPtr<IHybridSubContent> sub;
    CIPtr<IHybridCell> cell;
    if (!parent->GetSubContent(&sub) || !sub->InsertChild(column, &cell, nullptr))
        return cell;
    CIPtr<IHybridContent> keep(content);
    cell->SetContent(content);
    content->SetCell(cell);
    content->OnAttach();
    if (low)
        cell->SetStyleBits(static_cast<DWORD>(cell->GetStyleBits()) | low, 0);
    return cell;
}
