#pragma once
// CFreeSubContent: children at rectangles given by the caller
// (IFreeHybridSubContent::SetCellRect), relative to the owner's corner.
#include "hybrid/SubContent.h"

class CFreeSubContent : public CSubContent, public IFreeHybridSubContent
{
public:
    struct SCellInfo
    {
        CRect rect;
        CIPtr<IHybridCell> cell;
        SCellInfo() = default;
        SCellInfo(const CRect& r, IHybridCell* c) : rect(r), cell(c) {}
        SCellInfo(const SCellInfo&) = default;
        // Moves within the array copy (a reference each), never steal.
        SCellInfo& operator=(const SCellInfo& other)
        {
            rect = other.rect;
            cell = other.cell.Get();
            return *this;
        }
    };

    CFreeSubContent(CHybridCtrl* control, IHybridCell* owner);

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return CSubContent::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return CSubContent::Release(); }

    int GetKind() override { return 5; }
    int Layout(int contentHeight) override;
    void Draw(CDC* dc, bool drawGaps) override;
    void RemoveChild(IHybridCell* cell) override;
    int GetPreferredHeight(int width) override;
    int GetPreferredWidth() override;
    void GetChildren(CCellArray* children) override;
    // Detaches every child, as the owner's Detach needs: each child holds
    // this sub-content and is held by it, so a child left here would keep
    // the whole subtree (and the owner) alive.
    void RemoveAll() override;

    void SetCellRect(IHybridCell* cell, int left, int top, int right, int bottom) override;

protected:
    void Link(IHybridCell* cell, int column, IHybridCell* before) override;

private:
    CArray<SCellInfo, const SCellInfo&> m_cells;
};
