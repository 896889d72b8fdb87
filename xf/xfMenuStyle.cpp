#include "xf/xfMenuStyle.h"
#include <cstddef>
#include "hybrid/CellBuilder.h"

CIPtr<IHybridStyle> xfMakeMenuStyle(CHybridCtrl* control, int weight, bool highlight, COLORREF selBk)
{
    CIPtr<IHybridStyle> style;
    CCellBuilder(control).SetSelBkColor(selBk).ReturnStyle(&style).CreateStyle();
    if (!style)
        return style;
    NONCLIENTMETRICSW metrics{};
    // The structure without its last field: the size every system accepts.
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
        LOGFONTW font = metrics.lfMenuFont;
        font.lfWeight = weight;
        style->SetFont(&font);
    }
    if (highlight) {
        style->SetSelBkColor(::GetSysColor(COLOR_HIGHLIGHT));
        style->SetSelTextColor(::GetSysColor(COLOR_HIGHLIGHTTEXT));
    }
    return style;
}
