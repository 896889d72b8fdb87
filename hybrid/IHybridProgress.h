#pragma once
// The progress content's own operations (type letter 'p').
#include <cstdint>
#include "hybrid/IHybridContent.h"
#include "platform/mfc/afxstr.h"

struct IHybridProgress;
// Supplies the label instead of the percentage.
using PFN_PROGRESS_TEXT = CString (*)(IHybridProgress* content);

struct IHybridProgress : public IHybridContent
{
    // A new total resets the position to 0.
    virtual void SetTotal(int64_t total) = 0;
    // Lowered to the total when above it.
    virtual void SetPos(int64_t position) = 0;
    virtual int64_t GetPos() = 0;
    virtual int64_t GetTotal() = 0;
    virtual IHybridProgress* SetTextCallback(PFN_PROGRESS_TEXT callback) = 0;
};
