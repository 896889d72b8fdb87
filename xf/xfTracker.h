#pragma once
// Drag trackers: a small translucent window that follows the cursor while
// a frame or a control bar is dragged. The system's move loop moves it;
// at every move the dragged object's top-level frame says where it would
// land, and that frame shows its drop indicator there. Releasing the
// button drops it there; closing the tracker, Escape, or a place inside
// the dragged object itself changes nothing.
//
// Made on the stack by the code that starts the drag and run modally.
#include "platform/mfc/afxwin.h"
#include "xf/xfControlBar.h"

class CxfFrameTracker : public CDialog
{
public:
    static constexpr BYTE Alpha = 220;

    // grab: where the dragged window was grabbed, in its client
    // coordinates; text: shown in the tracker's title strip.
    CxfFrameTracker(CxfFrame* dragged, CPoint grab, LPCWSTR text);

    // Runs the drag modally while the left button is held. A button
    // released before the drag began ends it at once: the move loop would
    // otherwise wait for a release that already happened.
    void Run();

    CxfFrame* GetTarget() const { return m_pTarget; }
    int GetTargetSide() const { return m_nPos; }
    CPoint GetGrabPoint() const { return m_ptGrab; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override {}
    // Escape in the dialog and WM_CLOSE: the drag ends without a drop.
    void OnCancel() override { End(false); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The place under the cursor: a new one moves the indicator.
    virtual void Track(POINT cursor);
    virtual void Drop(CxfFrame* target);
    virtual void Paint(CDC* dc);

    // Hides the target's indicator, drops when asked, ends the dialog.
    void End(bool drop);
    // Replaces the target (hiding the old indicator); no new indicator.
    void SetTarget(CxfFrame* target);
    int TitleHeight();

    CPoint m_ptGrab;
    CString m_strText;
    CxfFrame* m_pDragged;
    CxfFrame* m_pTarget = nullptr;
    int m_nPos = 0;
    bool m_bTracking = false;
    bool m_bEnded = false;

private:
    void OnShown();
};

class CxfControlBarTracker : public CxfFrameTracker
{
public:
    CxfControlBarTracker(CxfControlBar* bar, CPoint grab);
    const SxfDockPos& GetDock() const { return m_dock; }

protected:
    // Sized like the bar: its dock extent across, its window along.
    BOOL OnInitDialog() override;
    void Track(POINT cursor) override;
    // Moves the bar to the row of the docking place.
    void Drop(CxfFrame* target) override;
    // Like the bar with its gripper.
    void Paint(CDC* dc) override;

    SxfDockPos m_dock;
};
