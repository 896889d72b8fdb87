#pragma once
// The handler slot of a control or a cell.
#include "common/Interfaces.h"
#include "hybrid/IHybridHandler.h"
#include "hybrid/IHybridCell.h"

// Puts `handler` (null empties the slot) in `slot`. The old handler leaves
// the slot before it is detached, so that it finds itself no longer held;
// the new one is attached to control and cell (null for the control's own).
inline void ReplaceHandler(CIPtr<IHybridHandler>& slot, IHybridHandler* handler, CHybridCtrl* control,
                           IHybridCell* cell)
{
    if (slot) {
        CIPtr<IHybridHandler> old(slot);
        slot = nullptr;
        old->Detach();
    }
    slot = handler;
    if (handler)
        handler->Attach(control, cell);
}
