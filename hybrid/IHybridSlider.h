#pragma once
// The slider content's own operations (type letter 'L').
#include "hybrid/IStretchContent.h"

struct IHybridSlider : public IStretchContent
{
    // Stores both ends unchecked; the position is not re-clamped.
    virtual IHybridSlider* SetRange(int minimum, int maximum) = 0;
    virtual void GetRange(int& minimum, int& maximum) = 0;
    // Clamped to the range (raised to the minimum, then lowered to the maximum).
    virtual void SetPos(int value) = 0;
    virtual int GetPos() = 0;
    virtual IHybridSlider* SetUserValue(int value) = 0;
    virtual int GetUserValue() = 0;
    virtual int GetTrackPos() = 0;
    [[nodiscard]] virtual bool IsTracking() = 0;
    virtual void SetVertical(bool vertical) = 0;
};
