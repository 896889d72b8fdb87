#pragma once
// Small GDI drawing toolbox shared by every owner-drawn part of the program:
// scoped selection of fonts and GDI objects, lines, bitmap and icon sizes,
// colour-keyed transparent blits (one cached mask), gradients, focus
// rectangles and colour shading. The routines work on raw device-context
// handles; the CDC forms in DrawRoutinesDC.h pass the wrapper's handle on.
#include <windows.h>

#include "platform/mfc/afxgdi.h"

// Selects a font into a device context for one scope and puts the previous
// font back. Nothing happens when the device context or the font is null.
class CDC;
class CFont;

class CFontSelector
{
public:
    CFontSelector(HDC dc, HFONT font);
    CFontSelector(CDC* dc, CFont* font); // DrawRoutinesDC.cpp
    ~CFontSelector();
    CFontSelector(const CFontSelector&) = delete;
    CFontSelector& operator=(const CFontSelector&) = delete;

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// Selects any GDI object (pen, brush, bitmap) for one scope. Restore puts the
// previous object back early; the destructor calls it. A null device context
// or object selects nothing.
class CGdiObjectSelector
{
public:
    CGdiObjectSelector(HDC dc, HGDIOBJ object);
    ~CGdiObjectSelector();
    CGdiObjectSelector(const CGdiObjectSelector&) = delete;
    CGdiObjectSelector& operator=(const CGdiObjectSelector&) = delete;
    void Restore();

private:
    HDC m_dc;
    HGDIOBJ m_old;
};

// A pen that is created, selected for one scope, deselected and deleted.
// Tolerates a null device context.
class CPenSelector
{
public:
    CPenSelector(HDC dc, int penStyle, int width, COLORREF colour);
    ~CPenSelector();
    CPenSelector(const CPenSelector&) = delete;
    CPenSelector& operator=(const CPenSelector&) = delete;

private:
    HDC m_dc;
    CPen m_pen;
    HGDIOBJ m_old;
};

// Line from (x1, y1) to (x2, y2) with its own pen; the end point itself is
// not painted. dc must not be null.
void DrawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour, int penStyle = PS_SOLID, int penWidth = 1);

// Width and height of a bitmap; (0, 0) when its information can't be read.
SIZE GetBitmapSize(HBITMAP bitmap);
// Size of a bitmap resource of the program's module; (0, 0) when it can't be loaded.
SIZE GetBitmapResourceSize(UINT resourceId);
// Twice the icon's hot spot (icons have it at their centre); (0, 0) on failure.
SIZE GetIconSize(HICON icon);

// System focus rectangle (XOR: a second call erases it) in black and white;
// nothing for a rectangle empty in both directions.
void DrawFocusRectangle(HDC dc, const RECT& rect);

// Copies the source rectangle to (x, y) on the destination, leaving out
// every source pixel of the key colour. The destination's background colour
// becomes white and its text colour black. Any size is masked completely.
void TransparentBlitColourKey(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                              COLORREF keyColour);

// Draws a bitmap resource (or the part `sourceRect` of it) centred in rect,
// leaving out pixels of the key colour.
void DrawBitmapTransparentCentred(UINT resourceId, HDC dc, const RECT& rect, COLORREF keyColour,
                                  const RECT* sourceRect = nullptr);

// Linear gradient from `from` to `to`. Directions: 1 from both sides to the
// middle (vertical lines), 2 from top and bottom to the middle, 3 left to
// right, 4 top to bottom, 5 bottom to top. Other directions draw nothing.
void DrawGradientRect(HDC dc, const RECT& rect, COLORREF from, COLORREF to, int direction);

// amount 255: the grey of the colour's luminance. Otherwise every component
// is lowered by amount (floor 0); a negative amount raises it (ceiling 255).
COLORREF ShadeColour(COLORREF colour, int amount);
COLORREF LightenColour(COLORREF colour, int amount);
