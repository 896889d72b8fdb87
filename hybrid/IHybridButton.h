#pragma once
// The button content's own operations (type letter 'B').
#include "hybrid/IHybridContent.h"

struct IHybridButton : public IHybridContent
{
    virtual void SetText(LPCWSTR text) = 0;
    virtual void SetTextID(UINT id) = 0;
    // A bitmap resource drawn as the picture, colourKey left transparent.
    virtual void SetImage(UINT bitmapId, COLORREF colourKey) = 0;
    // A "PNG" resource decoded for owners that draw the picture themselves.
    virtual void LoadImage(UINT pngId) = 0;
    virtual void SetLatched(bool latched) = 0;
    [[nodiscard]] virtual bool IsLatched() = 0;
};
