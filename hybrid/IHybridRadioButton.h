#pragma once
// The radio button content's own operations (made for the builder letter 'r').
#include "hybrid/IHybridContent.h"

struct IHybridRadioButton : public IHybridContent
{
    virtual void SetText(LPCWSTR text) = 0;
    // Checking unchecks the other radio buttons of the group (the nearest
    // ancestor cell marked HCB_RADIOGROUP); notify sends code 30.
    virtual void SetCheck(bool check, bool notify) = 0;
    [[nodiscard]] virtual bool GetCheck() = 0;
    // A strip of six 13 x 13 frames replacing the drawn box.
    virtual void SetBitmap(int bitmapId, COLORREF transparent) = 0;
};
