// Dragging bars and frames with the real pointer: the translucent tracker
// follows the system's move loop, the topmost indicator marks the place,
// the release drops there; a place inside the dragged frame, Escape and a
// button already up change nothing.
#include <gtest/gtest.h>
#include <vector>
#include "XfTestKit.h"
#include "xf/xfControlBar.h"
#include "xf/xfTgtPosIndicator.h"
#include "xf/xfTracker.h"

using namespace xftest;

namespace {

// The layered windows at the last point of a drag, before the release.
struct SSeen
{
    bool moveLoop = false;
    BYTE trackerAlpha = 0;
    CRect trackerRect;
    int indicators = 0; // the topmost ones
    BYTE indicatorAlpha = 0;
    CRect indicatorRect;
};

void Send(DWORD type, DWORD flags, WORD key = 0)
{
    INPUT input{};
    input.type = type;
    if (type == INPUT_MOUSE)
        input.mi.dwFlags = flags;
    else
        input.ki = {key, 0, flags, 0, 0};
    ::SendInput(1, &input, sizeof(INPUT));
}

// Real pointer input given step by step from a timer of this thread, so
// that it goes on inside the drag's modal loops (a pointer moved from
// another thread would not move the pointer the move loop holds). Press,
// the path (its first point starts a bar drag), Escape when asked, release.
// Every wait is bounded and whatever is left open is closed: no case hangs.
class CPointerDrag
{
public:
    CPointerDrag(CPoint press, std::vector<CPoint> path, bool escape = false)
        : m_press(press), m_path(std::move(path)), m_escape(escape)
    {
        s_active = this;
        m_timer = ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) { s_active->Step(); });
    }
    ~CPointerDrag() { ::KillTimer(nullptr, m_timer); }
    bool WaitPressed()
    {
        return PumpUntil([this] { return m_step > 1 && (::GetKeyState(VK_LBUTTON) & 0x8000); }, 3000);
    }
    SSeen Finish()
    {
        PumpUntil([this] { return m_step == kDone; }, 20000);
        return m_seen;
    }

private:
    enum { kDone = 6 };
    static bool InMoveLoop()
    {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        return ::GetGUIThreadInfo(::GetCurrentThreadId(), &info) && (info.flags & GUI_INMOVESIZE);
    }
    static std::vector<HWND> LayeredWindows()
    {
        std::vector<HWND> found;
        ::EnumThreadWindows(
            ::GetCurrentThreadId(),
            [](HWND w, LPARAM p) -> BOOL {
                if (::IsWindowVisible(w) && (::GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_LAYERED))
                    reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&found));
        return found;
    }
    void Snapshot()
    {
        for (HWND w : LayeredWindows()) {
            const bool topmost = ::GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST;
            m_seen.indicators += topmost;
            ::GetLayeredWindowAttributes(w, nullptr, topmost ? &m_seen.indicatorAlpha : &m_seen.trackerAlpha, nullptr);
            ::GetWindowRect(w, topmost ? &m_seen.indicatorRect : &m_seen.trackerRect);
        }
    }
    void Next() { ++m_step, m_since = ::GetTickCount(); }
    void Step()
    {
        const DWORD elapsed = ::GetTickCount() - m_since;
        switch (m_step) {
        case 0: ::SetCursorPos(m_press.x, m_press.y); return Next();
        case 1: Send(INPUT_MOUSE, MOUSEEVENTF_LEFTDOWN); return Next();
        case 2:
            if (elapsed > 100) {
                ::SetCursorPos(m_path[0].x, m_path[0].y);
                Next();
            }
            return;
        case 3:
            if ((m_seen.moveLoop = InMoveLoop()) || elapsed > 3000)
                Next();
            return;
        case 4: // each point held 200 ms
            if (elapsed < 200)
                return;
            if (++m_point < m_path.size()) {
                ::SetCursorPos(m_path[m_point].x, m_path[m_point].y);
                m_since = ::GetTickCount();
                return;
            }
            Snapshot();
            if (m_escape) {
                Send(INPUT_KEYBOARD, 0, VK_ESCAPE);
                Send(INPUT_KEYBOARD, KEYEVENTF_KEYUP, VK_ESCAPE);
            }
            Send(INPUT_MOUSE, MOUSEEVENTF_LEFTUP);
            return Next();
        case 5:
            if (!InMoveLoop() && LayeredWindows().empty())
                return Next();
            if (elapsed > 4000) {
                for (HWND w : LayeredWindows())
                    ::PostMessageW(w, WM_CLOSE, 0, 0);
                Next();
            }
            return;
        default: return;
        }
    }

    static CPointerDrag* s_active;
    CPoint m_press;
    std::vector<CPoint> m_path;
    bool m_escape;
    UINT_PTR m_timer = 0;
    size_t m_point = 0;
    int m_step = 0;
    DWORD m_since = ::GetTickCount();
    SSeen m_seen;
};

CPointerDrag* CPointerDrag::s_active = nullptr;

CPoint Screen(CWnd* wnd, CPoint client)
{
    wnd->ClientToScreen(&client);
    return client;
}

class DragTracker : public HostTest
{
protected:
    static void SetUpTestSuite()
    {
        // The tracker follows the move loop only when windows move whole.
        ::SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &s_fullDrag, 0);
        ::SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
    }
    static void TearDownTestSuite() { ::SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, s_fullDrag, nullptr, 0); }
    static BOOL s_fullDrag;
};

BOOL DragTracker::s_fullDrag = FALSE;

} // namespace

TEST_F(DragTracker, BarDraggedByItsGripperOntoTheTopRowMovesToTheTopSide)
{
    // Panes 40..49 prefer 20 pixels: each bar is 28 thick.
    CxfFrame* root = Build(L"F{C(left){P(id=41)}C{P(id=42)}P(id=1)}", 400, 300);
    CxfControlBar* left = static_cast<CxfControlBar*>(root->GetBar(0));
    CxfControlBar* top = static_cast<CxfControlBar*>(root->GetBar(1));
    ASSERT_EQ(CRect(0, 28, 28, 300), RectInParent(left->m_hWnd));

    // With the button up a tracker ends at once: the move loop would wait
    // for a release that already happened.
    CxfControlBarTracker idle(left, CPoint(14, 5));
    idle.Run();
    EXPECT_EQ(nullptr, idle.m_hWnd);

    // Pressed on the gripper strip, nudged 4 by 3, carried over the top bar.
    const CPoint press = Screen(left, CPoint(14, 5));
    const SSeen seen = CPointerDrag(press, {press + CPoint(4, 3), Screen(root, CPoint(200, 14))}).Finish();
    EXPECT_TRUE(seen.moveLoop);
    EXPECT_EQ(220, seen.trackerAlpha);
    EXPECT_EQ(CRect(0, 0, 28, 272), CRect(0, 0, seen.trackerRect.Width(), seen.trackerRect.Height()));
    // Topmost and faint, over the whole band of the row.
    ASSERT_EQ(1, seen.indicators);
    EXPECT_EQ(30, seen.indicatorAlpha);
    CRect band(0, 0, 400, 28);
    root->ClientToScreen(&band);
    EXPECT_EQ(band, seen.indicatorRect);

    // Dropped: the bar heads the top row, docked at the point's x.
    EXPECT_EQ(nullptr, root->GetDropIndicator());
    ASSERT_EQ(2, root->GetBarCount());
    EXPECT_EQ(left, root->GetBar(0));
    EXPECT_TRUE(left->m_dock == (SxfDockPos{0, 200, CxfFrame::SideTop}));
    PumpLayout();
    EXPECT_EQ(CRect(0, 0, 400, 28), RectInParent(left->m_hWnd));
    EXPECT_EQ(CRect(0, 28, 400, 56), RectInParent(top->m_hWnd));
    EXPECT_EQ(CRect(0, 56, 400, 300), CRect(root->GetAreaRect()));
}

TEST_F(DragTracker, FrameDropsOnAnEdgeButNeverInsideItselfNorAfterEscape)
{
    // Left: frame one; right: frame two above frame three.
    CxfFrame* root = Build(L"F(ver){F(width=50p){P(id=1)}F(hor){F(height=50p){P(id=2)}F{P(id=3)}}}", 600, 400);
    ASSERT_EQ(L"F:v{FP1,F:h{FP2,FP3}}", Describe(root));
    CxfFrame* one = root->FindPane(1)->GetFrame();
    CxfFrame* two = root->FindPane(2)->GetFrame();
    CxfFrame* three = root->FindPane(3)->GetFrame();

    // Frames start their drags from code: the tracker runs while the button
    // is held on the dragged frame. The grab lies right of the narrower
    // tracker, so it moves to the tracker's middle.
    const CPoint grab(250, 150);
    CxfFrame* target = nullptr;
    auto dragFrame = [&](CxfFrame* dragged, std::vector<CPoint> path, bool escape = false) {
        const CPoint press = Screen(dragged, grab);
        path.insert(path.begin(), press + CPoint(4, 3));
        CPointerDrag drag(press, path, escape);
        EXPECT_TRUE(drag.WaitPressed());
        CxfFrameTracker tracker(dragged, grab, L"Two");
        tracker.Run();
        const SSeen seen = drag.Finish();
        EXPECT_TRUE(seen.moveLoop);
        EXPECT_EQ(CxfFrameTracker::Alpha, seen.trackerAlpha);
        // The tracker keeps the cursor at the grab offset.
        const CPoint g = tracker.GetGrabPoint();
        EXPECT_EQ(seen.trackerRect.Width() / 2, g.x);
        EXPECT_EQ(CPoint(path.back().x - g.x, path.back().y - g.y), seen.trackerRect.TopLeft());
        target = tracker.GetTarget();
        return seen;
    };

    // Frame two onto the left edge of frame one: one splits, two first.
    SSeen seen = dragFrame(two, {Screen(one, CPoint(10, 200))});
    ASSERT_EQ(1, seen.indicators);
    EXPECT_EQ(CxfTgtPosIndicator::Alpha, seen.indicatorAlpha);
    CRect strip(0, 0, 20, 400);
    one->ClientToScreen(&strip);
    EXPECT_EQ(strip, seen.indicatorRect);
    EXPECT_EQ(nullptr, target);
    EXPECT_EQ(nullptr, one->GetDropIndicator());
    EXPECT_EQ(L"F:v{F:v{FP2,FP1},F:h{FP3}}", Describe(root));
    PumpLayout();

    // Frame one (now holding two) over three, then over its own child two:
    // the indicator goes and the drop changes nothing.
    CRect twoRect;
    two->GetClientRect(&twoRect);
    const std::wstring before = Describe(root);
    seen = dragFrame(one, {Screen(three, CPoint(10, 200)), Screen(two, CPoint(twoRect.Width() / 2, 10))});
    EXPECT_EQ(0, seen.indicators);
    EXPECT_EQ(before, Describe(root));

    // Frame three over the left edge of two, then Escape: nothing moves.
    seen = dragFrame(three, {Screen(two, CPoint(10, 100))}, true);
    EXPECT_EQ(1, seen.indicators);
    EXPECT_EQ(nullptr, two->GetDropIndicator());
    EXPECT_EQ(before, Describe(root));
}
