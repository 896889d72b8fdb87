#include "hybrid/CellBuilder.h"
#include "common/Interfaces.h"
#include "hybrid/Style.h"

CCellBuilder::CCellBuilder(CHybridCtrl* control)
    : m_control(control), m_bkColor(HYBRID_COLOR_UNSET), m_fontWeight(0), m_fontPercent(100), m_textColor(0),
      m_selBkColor(HYBRID_COLOR_UNSET), m_selTextColor(HYBRID_COLOR_UNSET), m_styleTarget(nullptr)
{
}

void CCellBuilder::ClearCellFields()
{
    m_bkColor = HYBRID_COLOR_UNSET;
}

CCellBuilder& CCellBuilder::CreateStyle()
{
    CIPtr<IHybridStyle> style(new CStyle);
    LOGFONTW font{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    if (m_fontWeight)
        font.lfWeight = m_fontWeight;
    if (m_fontPercent != 100)
        font.lfHeight = font.lfHeight * m_fontPercent / 100;
    style->SetFont(&font);
    if (m_textColor != HYBRID_COLOR_UNSET)
        style->SetTextColor(m_textColor);
    if (m_selTextColor != HYBRID_COLOR_UNSET)
        style->SetSelTextColor(m_selTextColor);
    if (m_bkColor != HYBRID_COLOR_UNSET)
        style->SetBkColor(m_bkColor);
    if (m_selBkColor != HYBRID_COLOR_UNSET)
        style->SetSelBkColor(m_selBkColor);
    ReturnInterface(style, m_styleTarget);
    m_styleTarget = nullptr;
    m_fontWeight = 0;
    m_fontPercent = 100;
    m_textColor = m_selTextColor = m_selBkColor = HYBRID_COLOR_UNSET;
    ClearCellFields();
    return *this;
}
