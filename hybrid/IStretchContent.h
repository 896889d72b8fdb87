#pragma once
// A content that takes a length chosen by its container along a bar (the
// window framework's toolbars share spare room between such contents).
#include "hybrid/IHybridContent.h"

struct IStretchContent : public IHybridContent
{
    // Stores the length; answers the object.
    virtual IStretchContent* SetLength(int length) = 0;
};
