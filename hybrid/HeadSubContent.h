#pragma once
// CHeadSubContent: one child per column of a column model, side by side.
// Columns may be fixed pixel widths or percentage shares of the row.
#include "hybrid/SubContent.h"
#include "hybrid/IHybridHeading.h"

class CHeadSubContent : public CSubContent
{
public:
    CHeadSubContent(CHybridCtrl* control, IHybridCell* owner, IHybridHeading* columnModel);

    int GetKind() override { return 1; }
    int Layout(int contentHeight) override;
    void Draw(CDC* dc, bool drawGaps) override;
    void RemoveChild(IHybridCell* cell) override;
    [[nodiscard]] bool IsEmpty() override;
    int GetPreferredHeight(int width) override;
    int GetPreferredWidth() override { return 0; }
    [[nodiscard]] bool GetColumnModel(IHybridHeading** out) override;
    int GetColumnCount() override;
    [[nodiscard]] bool GetColumnCell(int index, IHybridCell** out) override;
    void RemoveAll() override;
    void GetChildren(CCellArray* children) override;
    IHybridCell* GetNeighbour(IHybridCell* cell, UINT virtualKey) override;

protected:
    void Link(IHybridCell* cell, int column, IHybridCell* before) override;

private:
    void ApplyPercentages(int available);

    CIPtr<IHybridHeading> m_columnModel;
    CCellArray m_columns;
};
