#include "common/DrawRoutinesDC.h"
#include "platform/mfc/afxdc.h"
#include "platform/mfc/afxgdi.h"

CFontSelector::CFontSelector(CDC* dc, CFont* font)
    : CFontSelector(dc->GetSafeHdc(), static_cast<HFONT>(font->GetSafeHandle()))
{
}

void DrawLine(CDC* dc, int x1, int y1, int x2, int y2, COLORREF colour, int penStyle, int penWidth)
{
    if (HDC hdc = dc->GetSafeHdc())
        DrawLine(hdc, x1, y1, x2, y2, colour, penStyle, penWidth);
}

void DrawGradientRect(CDC* dc, const RECT* rect, COLORREF from, COLORREF to, int direction)
{
    if (HDC hdc = dc->GetSafeHdc(); hdc && rect)
        DrawGradientRect(hdc, *rect, from, to, direction);
}

void DrawBitmapTransparentCentred(UINT resourceId, CDC* dc, const RECT* rect, COLORREF keyColour,
                                  const RECT* sourceRect)
{
    if (HDC hdc = dc->GetSafeHdc(); hdc && rect)
        DrawBitmapTransparentCentred(resourceId, hdc, *rect, keyColour, sourceRect);
}
