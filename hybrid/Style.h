#pragma once
// CStyle: a shared, reference-counted text style of cells (font, colours,
// margins). Colours default to the system colours of the moment of
// construction.
#include "platform/mfc/afxwin.h"
#include "common/Interfaces.h"
#include "hybrid/IHybridStyle.h"

class CStyle : public IHybridStyle
{
public:
    CStyle();

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    IHybridStyle* SetFont(const LOGFONTW* font) override;
    CFont* GetFont() override;
    int GetTextHeight() override;
    IHybridStyle* SetBkColor(COLORREF colour) override;
    COLORREF GetBkColor() override;
    IHybridStyle* SetSelBkColor(COLORREF colour) override;
    COLORREF GetSelBkColor() override;
    IHybridStyle* SetSelTextColor(COLORREF colour) override;
    COLORREF GetSelTextColor() override;
    IHybridStyle* SetTextColor(COLORREF colour) override;
    COLORREF GetTextColor() override;
    IHybridStyle* SetGridColor(COLORREF colour) override;
    COLORREF GetGridColor() override;
    int GetMargin1() override;
    IHybridStyle* SetMargin1(int margin) override;
    int GetMargin2() override;
    IHybridStyle* SetMargin2(int margin) override;

protected:
    virtual ~CStyle();
    friend class CRefCount; // deletes at the last Release

private:
    std::unique_ptr<CFont> m_font;
    COLORREF m_bkColor;
    COLORREF m_selBkColor;
    COLORREF m_textColor;
    COLORREF m_selTextColor;
    COLORREF m_gridColor;
    int m_margin1;
    int m_margin2;
    CRefCount m_refs;
};
