#pragma once
// The edit content's own operations (type letter 'E').
#include "hybrid/IStretchContent.h"

struct IHybridEdit : public IStretchContent
{
    virtual void SetText(LPCWSTR text) = 0;
    // Valid until the text changes.
    virtual LPCWSTR GetText() = 0;
    virtual void DoEditCommand(int number) = 0;
    [[nodiscard]] virtual bool IsEditCommandEnabled(int number) = 0;
    // True while the edit is active (its caret blinks).
    [[nodiscard]] virtual bool HasCaret() = 0;
};
