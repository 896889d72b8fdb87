#pragma once
// The drawing routines in the class library's terms: a CDC* for the device
// context and a const RECT* for the rectangle. Each passes the wrapper's
// handle on to the routine of DrawRoutines.h; a null device context or
// rectangle draws nothing.
#include "common/DrawRoutines.h"

class CDC;

void DrawLine(CDC* dc, int x1, int y1, int x2, int y2, COLORREF colour, int penStyle = PS_SOLID, int penWidth = 1);
void DrawGradientRect(CDC* dc, const RECT* rect, COLORREF from, COLORREF to, int direction);
void DrawBitmapTransparentCentred(UINT resourceId, CDC* dc, const RECT* rect, COLORREF keyColour,
                                  const RECT* sourceRect = nullptr);
