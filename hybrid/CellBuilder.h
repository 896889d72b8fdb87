#pragma once
// CCellBuilder: the chained builder that fills a CHybridCtrl. This part
// makes styles (CreateStyle and its setters); every setter returns the
// builder so that calls chain.
#include "platform/mfc/afxwin.h"
#include "hybrid/IHybridStyle.h"

class CHybridCtrl;

// Colour value meaning "unset" for the builder and the cells.
constexpr COLORREF HYBRID_COLOR_UNSET = 0xFEFEFE;

class CCellBuilder
{
public:
    explicit CCellBuilder(CHybridCtrl* control);
    CCellBuilder(const CCellBuilder&) = delete;
    CCellBuilder& operator=(const CCellBuilder&) = delete;

    CCellBuilder& SetBkColor(COLORREF colour) { m_bkColor = colour; return *this; }
    CCellBuilder& SetFontWeight(int weight) { m_fontWeight = weight; return *this; }
    CCellBuilder& SetFontPercent(int percent) { m_fontPercent = percent; return *this; }
    CCellBuilder& SetTextColor(COLORREF colour) { m_textColor = colour; return *this; }
    CCellBuilder& SetSelBkColor(COLORREF colour) { m_selBkColor = colour; return *this; }
    CCellBuilder& SetSelTextColor(COLORREF colour) { m_selTextColor = colour; return *this; }
    CCellBuilder& ReturnStyle(IHybridStyle** target) { m_styleTarget = target; return *this; }

    // Makes a style from the GUI font with the stored weight, height percent
    // and colours, hands it to the style target (reference added) and resets
    // the style fields and the per-cell fields.
    CCellBuilder& CreateStyle();

private:
    void ClearCellFields();

    CHybridCtrl* m_control;
    COLORREF m_bkColor;
    int m_fontWeight;
    int m_fontPercent;
    COLORREF m_textColor;
    COLORREF m_selBkColor;
    COLORREF m_selTextColor;
    IHybridStyle** m_styleTarget;
};
