#pragma once
// The check box content's own operations (type letter 'x').
#include "hybrid/IHybridContent.h"

struct IHybridCheckBox : public IHybridContent
{
    virtual void SetText(LPCWSTR text) = 0;
    // 0 unchecked, 1 checked, 2 indeterminate; notify sends code 29.
    virtual void SetCheck(int state, bool notify) = 0;
    virtual int GetCheck() = 0;
};
