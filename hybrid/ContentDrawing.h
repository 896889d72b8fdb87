#pragma once
// Drawing and measuring helpers shared by the toolkit's contents.
#include "platform/mfc/afxwin.h"
#include "hybrid/IHybridStyle.h"

class CHybridCtrl;

// The style's font handle, or null.
inline HFONT StyleFont(IHybridStyle* style)
{
    return style && style->GetFont() ? static_cast<HFONT>(style->GetFont()->GetSafeHandle()) : nullptr;
}

// Extent of `text` in the style's font, measured in a device context of the
// control's window; (0, 0) without a control window.
CSize MeasureStyleText(CHybridCtrl* control, IHybridStyle* style, LPCWSTR text, int length = -1);

// The label of a check box or radio button right of its 13 x 13 box:
// enabled in `colour` with an end ellipsis and, when `focus` and the text
// is not empty, a focus rectangle 2 pixels wider than the text on each
// side; disabled embossed (white shifted by one pixel, then 0xA3A3A3).
void DrawBoxLabel(HDC dc, IHybridStyle* style, CRect rect, LPCWSTR text, bool enabled, COLORREF colour, bool focus);

// Left edge of a box of `size` vertically centred in rect.
inline int CentredTop(const CRect& rect, int size)
{
    return rect.top + (rect.Height() - size) / 2;
}

// Colours of the toolkit's embossed and 3-D drawing.
constexpr COLORREF HYBRID_LIGHT = 0xFFFFFF;
constexpr COLORREF HYBRID_SHADOW = 0xA3A3A3;
