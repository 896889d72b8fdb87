#pragma once
// The text content's own operations (type letter 'T').
#include "hybrid/IHybridContent.h"

struct IHybridText : public IHybridContent
{
    virtual void ResetTextModes(DWORD lowBits) = 0;
    virtual void SetText(LPCWSTR text) = 0;
    virtual LPCWSTR GetText() = 0;
    virtual void SetNumber(int number) = 0;
};
