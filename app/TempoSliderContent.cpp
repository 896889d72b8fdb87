#include "app/TempoSliderContent.h"

#include "app/Tempo.h"
#include "app/TempoText.h"
#include "common/DrawRoutines.h"

namespace {

// Room for the widest tempo the slider reaches, and the gap before it.
const wchar_t kWidestText[] = L"0.00 x";
const int kGap = 6;

} // namespace

void CTempoSliderContent::Draw(CDC* dc, CRect rect)
{
    if (!dc)
        return;
    IHybridStyle* style = GetStyle();
    CFont* font = style ? style->GetFont() : nullptr;
    CFontSelector selected(dc->GetSafeHdc(), font ? static_cast<HFONT>(*font) : nullptr);
    const int room = dc->GetTextExtent(kWidestText).cx + kGap;
    if (room != m_endRoom) {
        // Measured with the font it is drawn in; the layout follows.
        m_endRoom = room;
        RequestRelayout();
    }
    CHybridSlider::Draw(dc, rect);
    const CString text = GetShownText();
    CRect place(rect.right - m_endRoom + kGap, rect.top, rect.right, rect.bottom);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(GetTextColor());
    dc->DrawText(text, &place, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

CString CTempoSliderContent::GetShownText()
{
    return FormatTempo(TempoFromSliderValue(IsTracking() ? GetTrackPos() : GetPos()));
}
