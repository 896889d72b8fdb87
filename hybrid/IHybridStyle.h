#pragma once
// What a cell needs to draw text: a font, five colours and two margins
// (margin 1 left, margin 2 right). Setters return the style for chaining.
#include <windows.h>
#include <unknwn.h>
#include "hybrid/HybridIIDs.h"

class CFont;

struct IHybridStyle : public IUnknown
{
    virtual IHybridStyle* SetFont(const LOGFONTW* font) = 0;
    virtual CFont* GetFont() = 0;
    virtual int GetTextHeight() = 0;
    virtual IHybridStyle* SetBkColor(COLORREF colour) = 0;
    virtual COLORREF GetBkColor() = 0;
    virtual IHybridStyle* SetSelBkColor(COLORREF colour) = 0;
    virtual COLORREF GetSelBkColor() = 0;
    virtual IHybridStyle* SetSelTextColor(COLORREF colour) = 0;
    virtual COLORREF GetSelTextColor() = 0;
    virtual IHybridStyle* SetTextColor(COLORREF colour) = 0;
    virtual COLORREF GetTextColor() = 0;
    virtual IHybridStyle* SetGridColor(COLORREF colour) = 0;
    virtual COLORREF GetGridColor() = 0;
    virtual int GetMargin1() = 0;
    virtual IHybridStyle* SetMargin1(int margin) = 0;
    virtual int GetMargin2() = 0;
    virtual IHybridStyle* SetMargin2(int margin) = 0;
};

// Numbers of a control's standard styles (4 is not defined).
enum EHCStyle {
    HCS_NORMAL = 1,
    HCS_BOLD = 2,
    HCS_LARGE = 3,
    HCS_SMALL = 5,
};
