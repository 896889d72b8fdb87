#pragma once
// The child container of a cell: holds, lays out, paints, hit-tests and
// selects its child cells. Kinds: 1 columns, 2 vertical stack, 3 flow,
// 4 justified flow, 5 free placement.
#include <windows.h>
#include <unknwn.h>
#include "hybrid/HybridIIDs.h"

class CDC;
class CCellArray;
struct IHybridCell;
struct IHybridHeading;

struct IHybridSubContent : public IUnknown
{
    virtual int GetKind() = 0;
    // contentHeight: height of the owner's content; answers the lowest y used.
    virtual int Layout(int contentHeight) = 0;
    virtual void Draw(CDC* dc, bool drawGaps) = 0;
    [[nodiscard]] virtual bool InsertChild(int column, IHybridCell** out, IHybridCell* before) = 0;
    virtual void SelectAll(bool select, bool notify) = 0;
    virtual void RemoveChild(IHybridCell* cell) = 0;
    [[nodiscard]] virtual bool IsEmpty() = 0;
    virtual bool HitTest(POINT point, IHybridCell** out) = 0;
    virtual void SelectInRect(const RECT* documentRect) = 0;
    // Appends the selected item cells below this container to `selected`.
    virtual void CollectSelected(CCellArray* selected) = 0;
    [[nodiscard]] virtual bool GetOwnerCell(IHybridCell** out) = 0;
    virtual int GetPreferredHeight(int width) = 0;
    virtual int GetPreferredWidth() = 0;
    [[nodiscard]] virtual bool GetColumnModel(IHybridHeading** out) = 0;
    virtual int GetColumnCount() = 0;
    [[nodiscard]] virtual bool GetColumnCell(int index, IHybridCell** out) = 0;
    virtual void RemoveAll() = 0;
    virtual IHybridSubContent* SetLeftGap(int gap) = 0;
    virtual int GetLeftGap() = 0;
    virtual int GetRightGap() = 0;
    virtual IHybridSubContent* SetRightGap(int gap) = 0;
    virtual void GetChildren(CCellArray* children) = 0;
    virtual void SetChildren(CCellArray* children) = 0;
    // Arrow-key neighbour of a child in this layout, no reference added.
    virtual IHybridCell* GetNeighbour(IHybridCell* cell, UINT virtualKey) = 0;
};

// The free-placement container's own operation.
struct IFreeHybridSubContent : public IUnknown
{
    // Rectangle of that very cell relative to the owner's top-left corner.
    virtual void SetCellRect(IHybridCell* cell, int left, int top, int right, int bottom) = 0;
};
