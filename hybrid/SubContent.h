#pragma once
// CSubContent: what the five child containers of a cell share: the gaps,
// the control, the owner cell, reference counting, default answers and the
// gap painting.
#include "platform/mfc/afxwin.h"
#include "common/Interfaces.h"
#include "hybrid/CellArray.h"
#include "hybrid/IHybridCell.h"
#include "hybrid/IHybridSubContent.h"

class CHybridCtrl;

class CSubContent : public IHybridSubContent
{
public:
    CSubContent(CHybridCtrl* control, IHybridCell* owner);

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    void Draw(CDC* dc, bool drawGaps) override;
    [[nodiscard]] bool InsertChild(int column, IHybridCell** out, IHybridCell* before) override;
    void SelectAll(bool select, bool notify) override;
    bool HitTest(POINT point, IHybridCell** out) override;
    void SelectInRect(const RECT* documentRect) override;
    void CollectSelected(CCellArray* selected) override;
    [[nodiscard]] bool GetOwnerCell(IHybridCell** out) override;
    [[nodiscard]] bool GetColumnModel(IHybridHeading** out) override;
    int GetColumnCount() override;
    [[nodiscard]] bool GetColumnCell(int index, IHybridCell** out) override;
    void RemoveAll() override;
    IHybridSubContent* SetLeftGap(int gap) override;
    int GetLeftGap() override;
    int GetRightGap() override;
    IHybridSubContent* SetRightGap(int gap) override;
    void SetChildren(CCellArray* children) override;
    IHybridCell* GetNeighbour(IHybridCell* cell, UINT virtualKey) override;
    [[nodiscard]] bool IsEmpty() override;

    virtual ~CSubContent();

protected:
    // Links a new child made by InsertChild into this container.
    virtual void Link(IHybridCell* cell, int column, IHybridCell* before) = 0;
    // The owner's content rectangle less the gaps.
    CRect GetInnerRect();
    COLORREF GetGapColor();
    DWORD OwnerLowBits();
    int OwnerMargin(int side);
    void FillGap(CDC* dc, const CRect& rect);
    void DetachChild(IHybridCell* cell);

    int m_leftGap;
    int m_rightGap;
    CHybridCtrl* m_control;
    CIPtr<IHybridCell> m_owner;
    CRefCount m_refs;
};
