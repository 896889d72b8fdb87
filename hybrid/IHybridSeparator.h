#pragma once
// The separator content's own operation (type letter 's').
#include "hybrid/IHybridContent.h"

struct IHybridSeparator : public IHybridContent
{
    // Pixels; no redraw.
    virtual void SetMargins(int left, int top, int right, int bottom) = 0;
};
