#pragma once
// CPoint, CSize and CRect: the Win32 POINT, SIZE and RECT with members.
// They are layout-identical to the Win32 records, so a CRect* can be passed
// where a RECT* is wanted.
#include <windows.h>

class CSize;
class CRect;

class CPoint : public tagPOINT
{
public:
    CPoint()
    {
        x = 0;
        y = 0;
    }
    CPoint(int initX, int initY)
    {
        x = initX;
        y = initY;
    }
    CPoint(POINT pt)
    {
        x = pt.x;
        y = pt.y;
    }
    CPoint(SIZE sz)
    {
        x = sz.cx;
        y = sz.cy;
    }
    explicit CPoint(LPARAM dwPoint)
    {
        x = static_cast<short>(LOWORD(dwPoint));
        y = static_cast<short>(HIWORD(dwPoint));
    }

    void Offset(int dx, int dy)
    {
        x += dx;
        y += dy;
    }
    void Offset(POINT pt) { Offset(pt.x, pt.y); }
    void Offset(SIZE sz) { Offset(sz.cx, sz.cy); }
    void SetPoint(int X, int Y)
    {
        x = X;
        y = Y;
    }

    bool operator==(POINT pt) const { return x == pt.x && y == pt.y; }
    bool operator!=(POINT pt) const { return !(*this == pt); }
    void operator+=(SIZE sz)
    {
        x += sz.cx;
        y += sz.cy;
    }
    void operator-=(SIZE sz)
    {
        x -= sz.cx;
        y -= sz.cy;
    }
    void operator+=(POINT pt)
    {
        x += pt.x;
        y += pt.y;
    }
    void operator-=(POINT pt)
    {
        x -= pt.x;
        y -= pt.y;
    }
    CPoint operator+(SIZE sz) const { return CPoint(x + sz.cx, y + sz.cy); }
    CPoint operator-(SIZE sz) const { return CPoint(x - sz.cx, y - sz.cy); }
    CPoint operator+(POINT pt) const { return CPoint(x + pt.x, y + pt.y); }
    inline CSize operator-(POINT pt) const;
    CPoint operator-() const { return CPoint(-x, -y); }
    inline CRect operator+(const RECT* lpRect) const;
};

class CSize : public tagSIZE
{
public:
    CSize()
    {
        cx = 0;
        cy = 0;
    }
    CSize(int initCX, int initCY)
    {
        cx = initCX;
        cy = initCY;
    }
    CSize(SIZE sz)
    {
        cx = sz.cx;
        cy = sz.cy;
    }
    CSize(POINT pt)
    {
        cx = pt.x;
        cy = pt.y;
    }

    void SetSize(int CX, int CY)
    {
        cx = CX;
        cy = CY;
    }
    bool operator==(SIZE sz) const { return cx == sz.cx && cy == sz.cy; }
    bool operator!=(SIZE sz) const { return !(*this == sz); }
    void operator+=(SIZE sz)
    {
        cx += sz.cx;
        cy += sz.cy;
    }
    void operator-=(SIZE sz)
    {
        cx -= sz.cx;
        cy -= sz.cy;
    }
    CSize operator+(SIZE sz) const { return CSize(cx + sz.cx, cy + sz.cy); }
    CSize operator-(SIZE sz) const { return CSize(cx - sz.cx, cy - sz.cy); }
    CSize operator-() const { return CSize(-cx, -cy); }
    CPoint operator+(POINT pt) const { return CPoint(cx + pt.x, cy + pt.y); }
    CPoint operator-(POINT pt) const { return CPoint(cx - pt.x, cy - pt.y); }
};

inline CSize CPoint::operator-(POINT pt) const
{
    return CSize(x - pt.x, y - pt.y);
}

class CRect : public tagRECT
{
public:
    CRect() { left = top = right = bottom = 0; }
    CRect(int l, int t, int r, int b)
    {
        left = l;
        top = t;
        right = r;
        bottom = b;
    }
    CRect(const RECT& src) { ::CopyRect(this, &src); }
    CRect(const RECT* lpSrc) { ::CopyRect(this, lpSrc); }
    CRect(POINT pt, SIZE sz)
    {
        left = pt.x;
        top = pt.y;
        right = pt.x + sz.cx;
        bottom = pt.y + sz.cy;
    }
    CRect(POINT topLeft, POINT bottomRight)
    {
        left = topLeft.x;
        top = topLeft.y;
        right = bottomRight.x;
        bottom = bottomRight.y;
    }

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return CSize(Width(), Height()); }
    CPoint& TopLeft() { return *reinterpret_cast<CPoint*>(&left); }
    CPoint& BottomRight() { return *reinterpret_cast<CPoint*>(&right); }
    const CPoint& TopLeft() const { return *reinterpret_cast<const CPoint*>(&left); }
    const CPoint& BottomRight() const { return *reinterpret_cast<const CPoint*>(&right); }
    CPoint CenterPoint() const { return CPoint((left + right) / 2, (top + bottom) / 2); }

    operator LPRECT() { return this; }
    operator LPCRECT() const { return this; }

    // Empty: no area (width or height <= 0). Null: all four zero.
    [[nodiscard]] BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
    [[nodiscard]] BOOL IsRectNull() const { return left == 0 && right == 0 && top == 0 && bottom == 0; }
    [[nodiscard]] BOOL PtInRect(POINT pt) const { return ::PtInRect(this, pt); }

    void SetRect(int l, int t, int r, int b) { ::SetRect(this, l, t, r, b); }
    void SetRect(POINT topLeft, POINT bottomRight) { SetRect(topLeft.x, topLeft.y, bottomRight.x, bottomRight.y); }
    void SetRectEmpty() { ::SetRectEmpty(this); }
    void CopyRect(LPCRECT lpSrc) { ::CopyRect(this, lpSrc); }
    [[nodiscard]] BOOL EqualRect(LPCRECT lpRect) const { return ::EqualRect(this, lpRect); }

    void InflateRect(int x, int y) { ::InflateRect(this, x, y); }
    void InflateRect(SIZE sz) { InflateRect(sz.cx, sz.cy); }
    void InflateRect(LPCRECT r)
    {
        left -= r->left;
        top -= r->top;
        right += r->right;
        bottom += r->bottom;
    }
    void InflateRect(int l, int t, int r, int b)
    {
        left -= l;
        top -= t;
        right += r;
        bottom += b;
    }
    void DeflateRect(int x, int y) { ::InflateRect(this, -x, -y); }
    void DeflateRect(SIZE sz) { DeflateRect(sz.cx, sz.cy); }
    void DeflateRect(LPCRECT r)
    {
        left += r->left;
        top += r->top;
        right -= r->right;
        bottom -= r->bottom;
    }
    void DeflateRect(int l, int t, int r, int b)
    {
        left += l;
        top += t;
        right -= r;
        bottom -= b;
    }
    void OffsetRect(int x, int y) { ::OffsetRect(this, x, y); }
    void OffsetRect(POINT pt) { OffsetRect(pt.x, pt.y); }
    void OffsetRect(SIZE sz) { OffsetRect(sz.cx, sz.cy); }
    void MoveToX(int x)
    {
        right = x + Width();
        left = x;
    }
    void MoveToY(int y)
    {
        bottom = y + Height();
        top = y;
    }
    void MoveToXY(int x, int y)
    {
        MoveToX(x);
        MoveToY(y);
    }
    void MoveToXY(POINT pt) { MoveToXY(pt.x, pt.y); }
    void NormalizeRect()
    {
        if (left > right) {
            LONG t = left;
            left = right;
            right = t;
        }
        if (top > bottom) {
            LONG t = top;
            top = bottom;
            bottom = t;
        }
    }

    // The Win32 rules: an empty result is all zeros and returns FALSE.
    BOOL IntersectRect(LPCRECT a, LPCRECT b) { return ::IntersectRect(this, a, b); }
    BOOL UnionRect(LPCRECT a, LPCRECT b) { return ::UnionRect(this, a, b); }
    BOOL SubtractRect(LPCRECT a, LPCRECT b) { return ::SubtractRect(this, a, b); }

    bool operator==(const RECT& r) const { return ::EqualRect(this, &r) != FALSE; }
    bool operator!=(const RECT& r) const { return !(*this == r); }
    void operator+=(POINT pt) { OffsetRect(pt.x, pt.y); }
    void operator+=(SIZE sz) { OffsetRect(sz.cx, sz.cy); }
    void operator-=(POINT pt) { OffsetRect(-pt.x, -pt.y); }
    void operator-=(SIZE sz) { OffsetRect(-sz.cx, -sz.cy); }
    void operator&=(const RECT& r) { ::IntersectRect(this, this, &r); }
    void operator|=(const RECT& r) { ::UnionRect(this, this, &r); }
    CRect operator+(POINT pt) const
    {
        CRect r(*this);
        r.OffsetRect(pt.x, pt.y);
        return r;
    }
    CRect operator-(POINT pt) const
    {
        CRect r(*this);
        r.OffsetRect(-pt.x, -pt.y);
        return r;
    }
    CRect operator+(SIZE sz) const
    {
        CRect r(*this);
        r.OffsetRect(sz.cx, sz.cy);
        return r;
    }
    CRect operator-(SIZE sz) const
    {
        CRect r(*this);
        r.OffsetRect(-sz.cx, -sz.cy);
        return r;
    }
    CRect operator&(const RECT& r2) const
    {
        CRect r;
        ::IntersectRect(&r, this, &r2);
        return r;
    }
    CRect operator|(const RECT& r2) const
    {
        CRect r;
        ::UnionRect(&r, this, &r2);
        return r;
    }
};

inline CRect CPoint::operator+(const RECT* lpRect) const
{
    CRect r(lpRect);
    r.OffsetRect(x, y);
    return r;
}
