#pragma once
// CVerSubContent: children stacked vertically, kept as a doubly linked list
// through the cells' own sibling links.
#include "hybrid/SubContent.h"

class CVerSubContent : public CSubContent
{
public:
    CVerSubContent(CHybridCtrl* control, IHybridCell* owner);

    int GetKind() override { return 2; }
    int Layout(int contentHeight) override;
    void Draw(CDC* dc, bool drawGaps) override;
    void RemoveChild(IHybridCell* cell) override;
    int GetPreferredHeight(int width) override;
    int GetPreferredWidth() override;
    void GetChildren(CCellArray* children) override;
    void SetChildren(CCellArray* children) override;
    IHybridCell* GetNeighbour(IHybridCell* cell, UINT virtualKey) override;

protected:
    void Link(IHybridCell* cell, int column, IHybridCell* before) override;

    CIPtr<IHybridCell> m_first;
    CIPtr<IHybridCell> m_last;
};
