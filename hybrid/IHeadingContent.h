#pragma once
// The column heading content's own operations (type letter 'h').
#include "hybrid/IHybridContent.h"

struct IHeadingContent : public IHybridContent
{
    virtual void SetText(LPCWSTR text) = 0;
    // -1: the caption is the text as set.
    virtual void SetTextID(int id) = 0;
    virtual void SetSortMark(int mark) = 0;
    virtual int GetSortMark() = 0;
};
