#pragma once
// A rectangle with centre routines; the arrow-key navigation of the owner-
// drawn controls measures distances between cell centres with it.
#include "platform/mfc/afx.h"

class CRectEx : public CRect
{
public:
    CRectEx() = default;
    CRectEx(const RECT& r) : CRect(r) {}
    CRectEx(int l, int t, int r, int b) : CRect(l, t, r, b) {}

    // Signed integer division, as the rectangle's own arithmetic.
    int CenterX() const { return (left + right) / 2; }
    int CenterY() const { return (top + bottom) / 2; }
    CPoint CenterPoint() const { return CPoint(CenterX(), CenterY()); }
};
