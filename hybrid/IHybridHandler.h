#pragma once
// A handler sees the notifications that rise through the cell (or control)
// it is attached to, and may answer and stop them. Handlers are born
// holding one reference (their creator's).
#include <windows.h>
#include <unknwn.h>
#include "hybrid/HybridIIDs.h"

class CHybridCtrl;
struct IHybridCell;

struct IHybridHandler : public IUnknown
{
    // Setting *handled stops the notification; the result is then its
    // answer. Pointer-sized, since some answers are pointers.
    virtual LRESULT OnNotify(UINT code, IHybridCell* sender, bool* handled) = 0;
    // cell is null when attached to the control itself.
    virtual void Attach(CHybridCtrl* control, IHybridCell* cell) = 0;
    virtual void Detach() = 0;
    virtual void OnSize(int width, int height) = 0;
    [[nodiscard]] virtual bool IsAttached() = 0;
    virtual void Reserved(DWORD a, DWORD b) = 0;
};
