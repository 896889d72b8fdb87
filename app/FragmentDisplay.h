#pragma once
// CFragmentDisplay: the view in which the user marks and handles the
// fragments of the open file. It owns the fragment list, draws every
// fragment as a box on the shared time axis (overlapping ones in rows),
// and lets the mouse create, resize, move, activate, zoom to and open the
// menu of a fragment. Changes are posted to the window holding the control.
#include "common/PtrArrays.h"
#include "app/DisplayContent.h"

class CFragmentDisplay : public CDisplayContent<IFragmentDisplay>
{
public:
    explicit CFragmentDisplay(ITimeContainer* container);
    ~CFragmentDisplay() override;

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;

    // IFragmentDisplay
    void SetActiveTempo(float tempo) override;
    float GetActiveTempo() override;
    [[nodiscard]] bool HasActive() override { return m_active != nullptr; }
    void AddFragment(LONGLONG t1, LONGLONG t2, LPCTSTR comment) override;
    [[nodiscard]] bool Load(CTextTree* tree) override;
    [[nodiscard]] bool Save(CTextTree* tree) override;
    void SelectNext() override;
    void SelectPrev() override;
    void ToggleActiveLoop() override;
    void SetActiveIndex(int index) override;
    void SetActive(SFragmentInfo* fragment) override;
    void RemoveActive() override;
    void RemoveAll() override;
    [[nodiscard]] bool GetActive(SFragmentInfo& out) override;
    [[nodiscard]] bool GetAt(int index, SFragmentInfo& out) override;
    int GetCount() override { return static_cast<int>(m_fragments.GetSize()); }
    int GetActiveIndex() override;
    void SetActiveComment(LPCTSTR text) override;
    void SetActivePreDelay(int seconds) override;
    void AdjustActiveTempo(float delta) override;

    // Content
    int GetPreferredHeight(int width) override;
    void Draw(CDC* dc, CRect rect) override;
    void Paint(CDC*, CRect, int, int) override { Invalidate(); }
    HCURSOR GetCursor(const CPoint& point) override;
    bool OnLButtonDown(const CPoint& point) override;
    void OnMouseMove(const CPoint& point) override;
    void OnLButtonUp(const CPoint& point) override;
    bool OnLButtonDblClk(const CPoint& point) override;
    bool OnRButtonDown(const CPoint& point, bool* maySelect) override;
    bool OnKeyDown(UINT virtualKey, UINT keyData) override;
    void OnSelectionChanged() override;

    // Number of rows of the last layout (0 before the first).
    int GetRowCount() const { return m_rows; }
    // The mouse's current intent: 0 create, 1 start edge, 2 end edge, 3 move.
    int GetDragMode() const { return m_dragMode; }

private:
    enum {
        kRowHeight = 20,
        kTopMargin = 5,
        kEdgeTolerance = 3,
        kMoveDeadZone = 3,
    };
    static const LONGLONG kMinDuration = 1000000;

    void Layout();
    SFragmentInfo* Find(SFragmentInfo* fragment) const;
    void Forget(SFragmentInfo* fragment);
    int ColumnOf(LONGLONG t);
    CRect BoxRect(const SFragmentInfo& f, const CRect& view);
    void DrawBox(CDC* dc, const SFragmentInfo& f, const CRect& view);
    void RedrawBox(const SFragmentInfo& f);
    void DrawDragLines();
    void FinishEdit();

    CGCPtrArray<SFragmentInfo> m_fragments{true};
    CRect m_drag{0, 0, 0, 0};
    int m_dragMode = 0;
    SFragmentInfo* m_target = nullptr;
    SFragmentInfo* m_active = nullptr;
    int m_rows = 0;
    int m_grabOffset = 0;
    bool m_moved = false;
};
