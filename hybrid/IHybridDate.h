#pragma once
// The date content's own operations (type letter 'd'). Times are the C
// runtime's 64-bit times: seconds since 1970-01-01 00:00 UTC.
#include <cstdint>
#include "hybrid/IHybridContent.h"

struct IHybridDate : public IHybridContent
{
    virtual int64_t GetTime() = 0;
    virtual void SetTime(int64_t time) = 0;
};
