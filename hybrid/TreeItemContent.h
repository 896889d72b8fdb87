#pragma once
// CTreeItemContent: one node of a tree (type letter 't'). Attached, it
// builds under its own cell a row of an expander button and an item cell
// (the caller puts the node's label there), and below the row a children
// cell whose sub-content holds the child nodes. A node starts collapsed;
// a press or double click on the expander toggles it, raising 33
// (expanding) or 34 (collapsing) before the state changes. The expander
// shows only when the node's cell has high style bit HTI_EXPANDER.
#include "hybrid/ContentBase.h"
#include "hybrid/IHybridButton.h"
#include "hybrid/IHybridTreeItem.h"

// High style bit of a tree item's cell: show the expander column.
constexpr DWORD HTI_EXPANDER = 0x1;
// User data of the expander's cell.
constexpr DWORD_PTR TREE_EXPANDER_DATA = 10000;

class CTreeItemContent : public CContentBase<IHybridTreeItem>
{
public:
    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;

    WCHAR GetType() override { return L't'; }
    [[nodiscard]] bool CanFocus() override { return false; }
    void OnAttach() override;
    void OnDetach() override;
    // Brings the expander picture up to date; the row and children cells
    // carry the real height.
    int GetPreferredHeight(int width) override;
    LRESULT OnChildNotify(UINT code, IHybridCell* sender, bool* handled) override;

    [[nodiscard]] bool IsExpanded() override;
    void Expand() override;
    void Collapse() override;
    [[nodiscard]] bool HasChildren() override;
    [[nodiscard]] bool GetParentItem(IHybridTreeItem** out) override;
    [[nodiscard]] bool GetItemCell(IHybridCell** out) override;
    [[nodiscard]] bool GetChildrenCell(IHybridCell** out) override;

    // Expanded with children, collapsed with children, or without children.
    void UpdateExpander();

private:
    CIPtr<IHybridCell> m_itemCell;
    CIPtr<IHybridCell> m_childrenCell;
    CIPtr<IHybridButton> m_expander;
};
