#pragma once
// The tree item content's own operations (type letter 't').
#include "hybrid/IHybridContent.h"

struct IHybridTreeItem : public IHybridContent
{
    [[nodiscard]] virtual bool IsExpanded() = 0;
    virtual void Expand() = 0;
    virtual void Collapse() = 0;
    [[nodiscard]] virtual bool HasChildren() = 0;
    [[nodiscard]] virtual bool GetParentItem(IHybridTreeItem** out) = 0;
    // The cell that receives the node's label.
    [[nodiscard]] virtual bool GetItemCell(IHybridCell** out) = 0;
    // The cell whose sub-content holds the child nodes.
    [[nodiscard]] virtual bool GetChildrenCell(IHybridCell** out) = 0;
};
