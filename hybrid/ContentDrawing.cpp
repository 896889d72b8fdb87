#include "hybrid/ContentDrawing.h"
#include "common/DrawRoutines.h"
#include "hybrid/HybridCtrl.h"

CSize MeasureStyleText(CHybridCtrl* control, IHybridStyle* style, LPCWSTR text, int length)
{
    if (!control || !control->GetSafeHwnd() || !text)
        return CSize(0, 0);
    CClientDC dc(control);
    CFontSelector font(dc.GetSafeHdc(), StyleFont(style));
    SIZE extent{0, 0};
    ::GetTextExtentPoint32W(dc.GetSafeHdc(), text, length < 0 ? lstrlenW(text) : length, &extent);
    return CSize(extent.cx, extent.cy);
}

void DrawBoxLabel(HDC dc, IHybridStyle* style, CRect rect, LPCWSTR text, bool enabled, COLORREF colour, bool focus)
{
    CFontSelector font(dc, StyleFont(style));
    ::SetBkMode(dc, TRANSPARENT);
    if (enabled) {
        ::SetTextColor(dc, colour);
        ::DrawTextW(dc, text, -1, &rect, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
        if (focus && text && *text) {
            SIZE extent{0, 0};
            ::GetTextExtentPoint32W(dc, text, lstrlenW(text), &extent);
            CRect frame(rect.left - 2, rect.top, rect.left + extent.cx + 2, rect.bottom);
            ::DrawFocusRect(dc, &frame);
        }
        return;
    }
    CRect shifted = rect;
    shifted.OffsetRect(1, 1);
    ::SetTextColor(dc, HYBRID_LIGHT);
    ::DrawTextW(dc, text, -1, &shifted, DT_SINGLELINE | DT_VCENTER);
    ::SetTextColor(dc, HYBRID_SHADOW);
    ::DrawTextW(dc, text, -1, &rect, DT_SINGLELINE | DT_VCENTER);
}
