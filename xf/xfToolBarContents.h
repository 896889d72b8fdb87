#pragma once
// The content-by-type dispatch of toolbar item records, and small helpers
// shared by the toolbar contents.
#include <vector>
#include "common/Interfaces.h"
#include "hybrid/HybridCtrl.h"
#include "xf/xfToolBarItem.h"

class CxfToolBar;

// The contents a record makes on bar, in cell order: one for most kinds,
// one per top-level entry for a menu band, none for a kind this program
// does not make (or a custom callback that declines).
void CreateItemContents(CxfToolBar* bar, const SxfToolBarItem& item, std::vector<CIPtr<IHybridContent>>& out);

// The control's parent window as T (a bar class), or null.
template <class T>
T* ParentOf(CHybridCtrl* control)
{
    return control ? dynamic_cast<T*>(control->GetParent()) : nullptr;
}

// Under owner: a container cell with one 100-pixel column (style bits
// 0x20200) and inside it a flow cell whose children wrap onto further
// lines; the flow cell goes to *row.
void CreateFlowRow(CHybridCtrl* control, IHybridCell* owner, IHybridCell** row);
