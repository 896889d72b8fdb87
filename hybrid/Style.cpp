#include "hybrid/Style.h"

CStyle::CStyle()
    : m_bkColor(GetSysColor(COLOR_WINDOW)), m_selBkColor(GetSysColor(COLOR_HIGHLIGHT)), m_textColor(0),
      m_selTextColor(GetSysColor(COLOR_HIGHLIGHTTEXT)), m_gridColor(0xC0C0C0), m_margin1(3), m_margin2(3), m_refs(0)
{
}

CStyle::~CStyle() = default;

STDMETHODIMP CStyle::QueryInterface(REFIID riid, void** out)
{
    return AnswerQueryInterface(
        riid, out,
        {{IID_IUnknown, static_cast<IHybridStyle*>(this)}, {IID_IHybridStyle, static_cast<IHybridStyle*>(this)}});
}

STDMETHODIMP_(ULONG) CStyle::AddRef()
{
    return m_refs.AddRef();
}
STDMETHODIMP_(ULONG) CStyle::Release()
{
    return m_refs.Release(this);
}

IHybridStyle* CStyle::SetFont(const LOGFONTW* font)
{
    m_font.reset();
    if (font) {
        m_font = std::make_unique<CFont>();
        if (!m_font->CreateFontIndirect(font))
            m_font.reset(); // as without a font: the cells use the control's
    }
    return this;
}

CFont* CStyle::GetFont()
{
    return m_font.get();
}

int CStyle::GetTextHeight()
{
    if (!m_font || !m_font->GetSafeHandle())
        return 0;
    CDC dc;
    if (!dc.CreateCompatibleDC(nullptr))
        return 0;
    CFont* old = dc.SelectObject(m_font.get());
    CSize extent = dc.GetTextExtent(CString(L"|"));
    dc.SelectObject(old);
    return extent.cy;
}

IHybridStyle* CStyle::SetBkColor(COLORREF colour)
{
    m_bkColor = colour;
    return this;
}
COLORREF CStyle::GetBkColor()
{
    return m_bkColor;
}
IHybridStyle* CStyle::SetSelBkColor(COLORREF colour)
{
    m_selBkColor = colour;
    return this;
}
COLORREF CStyle::GetSelBkColor()
{
    return m_selBkColor;
}
IHybridStyle* CStyle::SetSelTextColor(COLORREF colour)
{
    m_selTextColor = colour;
    return this;
}
COLORREF CStyle::GetSelTextColor()
{
    return m_selTextColor;
}
IHybridStyle* CStyle::SetTextColor(COLORREF colour)
{
    m_textColor = colour;
    return this;
}
COLORREF CStyle::GetTextColor()
{
    return m_textColor;
}
IHybridStyle* CStyle::SetGridColor(COLORREF colour)
{
    m_gridColor = colour;
    return this;
}
COLORREF CStyle::GetGridColor()
{
    return m_gridColor;
}
int CStyle::GetMargin1()
{
    return m_margin1;
}
IHybridStyle* CStyle::SetMargin1(int margin)
{
    m_margin1 = margin;
    return this;
}
int CStyle::GetMargin2()
{
    return m_margin2;
}
IHybridStyle* CStyle::SetMargin2(int margin)
{
    m_margin2 = margin;
    return this;
}
