#pragma once
// CMLSubContent: a flow of children, left to right, wrapped into rows
// (kind 3); kind 4 justifies every row to the full width.
#include "hybrid/VerSubContent.h"

class CMLSubContent : public CVerSubContent
{
public:
    struct SRowInfo
    {
        RECT rect;
        int count;
    };

    CMLSubContent(CHybridCtrl* control, IHybridCell* owner, int kind);

    int GetKind() override { return m_kind; }
    int Layout(int contentHeight) override;
    void Draw(CDC* dc, bool drawGaps) override;
    int GetPreferredHeight(int width) override;
    int GetPreferredWidth() override;
    IHybridCell* GetNeighbour(IHybridCell* cell, UINT virtualKey) override;

private:
    void CloseRow(CCellArray& row, const CRect& inner, int x, int& y, int rowHeight);

    int m_kind;
    CArray<SRowInfo, const SRowInfo&> m_rows;
    CArray<CRect, const CRect&> m_gapRects;
    bool m_justify;
};
