#pragma once
// A column model: the ordered column widths that every row of a column
// layout reads. The second value of a column is its percentage share when
// the row lays out in percentages.
#include <windows.h>
#include <unknwn.h>
#include "hybrid/HybridIIDs.h"

struct IHybridHeading : public IUnknown
{
    virtual void InsertColumn(int index, int width) = 0;
    virtual int GetCount() = 0;
    // Both setters check the index; an index outside the columns changes nothing.
    virtual void SetWidth(int index, int width) = 0;
    virtual int GetWidth(int index) = 0;
    virtual int GetTotalWidth() = 0;
    virtual void SetSecondValue(int index, int value) = 0;
    virtual int GetSecondValue(int index) = 0;
};
