#pragma once
// A control bar: a frame docked on one side of its parent frame, holding a
// pane (or, as a toolbar, a row of items) inside a border. Its parent's
// layout stacks the bars by side in docking order, each as thick as
// GetDockExtent says.
#include "xf/xfFrame.h"

// Where a bar docks: its row and position within the row (-1: not placed
// yet) and its side (1 left, 2 top, 3 right, 4 bottom).
struct SxfDockPos
{
    int row = -1;
    int pos = -1;
    int side = CxfFrame::SideTop;
    bool operator==(const SxfDockPos& o) const { return row == o.row && pos == o.pos && side == o.side; }
    [[nodiscard]] bool IsPlaced() const { return row != -1 && pos != -1; }
};

class CxfControlBar : public CxfFrame
{
    DECLARE_DYNAMIC(CxfControlBar)
public:
    CxfControlBar();

    virtual void SetBarID(int id) { m_nBarId = id; }
    virtual int GetBarID() const { return m_nBarId; }
    // Thickness across the docking side: without a pane 0, else the pane's
    // preferred extent + 8.
    virtual int GetDockExtent();
    // Margin on every side.
    virtual int GetBorderWidth();
    // Extra margin on the right.
    virtual int GetGripMargin();
    [[nodiscard]] virtual bool FindContent(UINT commandId, IHybridContent** out);

    [[nodiscard]] bool IsVertical() const { return m_dock.side == SideLeft || m_dock.side == SideRight; }
    const CRect& GetInnerRect() const { return m_rcInner; }
    [[nodiscard]] bool HasGripper() const { return m_bGripper; }

    void OnParam(SxfParam& param) override;
    void RecalcLayout() override;
    COLORREF GetBkColor() override;
    // The bar's background: face colour, gripper dashes, a 1-pixel frame.
    void PaintSplitters(CDC* dc) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    SxfDockPos m_dock;

    // A bar's face in rect: the background, the gripper dashes along the
    // start of the bar when asked, a 1-pixel frame in the face colour.
    static void PaintBarFace(CDC* dc, const CRect& rect, COLORREF background, bool vertical, bool gripper);

protected:
    // A press on the gripper strip followed by a move along both axes
    // (|dx * dy| > 9) has become a bar drag (the capture is released): a
    // bar tracker runs.
    virtual void OnBarDrag(CPoint pressPoint);
    // Paints the bar; a toolbar always draws the dashes (its items cover them).
    void PaintBar(CDC* dc, bool gripper);

    CRect m_rcInner{0, 0, 0, 0};
    bool m_bGripper = true;
    int m_nBarId = -1;

    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    DECLARE_MESSAGE_MAP()
};
