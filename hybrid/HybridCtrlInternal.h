#pragma once
// Small helpers shared by the .cpp files of CHybridCtrl; not for other users.
#include "hybrid/IHybridCell.h"

namespace HybridCtrlDetail {

// The low 32 style bits of a cell (the HCB_* flags).
inline DWORD LowBits(IHybridCell* cell)
{
    return static_cast<DWORD>(cell->GetStyleBits());
}

// The parent cell of `cell`, or none for a null cell or the root.
inline CIPtr<IHybridCell> ParentOf(IHybridCell* cell)
{
    CIPtr<IHybridCell> parent;
    if (cell)
        cell->GetParentCell(&parent);
    return parent;
}

} // namespace HybridCtrlDetail
