// Dragging bars and frames with the real pointer: the translucent tracker
// follows the system's move loop, the docking indicator marks the place,
// and the release drops the bar or frame there. A place inside the dragged
// frame itself is refused.
#include <gtest/gtest.h>
#include <vector>
#include "XfTestKit.h"
#include "xf/xfControlBar.h"
#include "xf/xfTgtPosIndicator.h"
#include "xf/xfTracker.h"

using namespace xftest;

namespace {

const int kKind = 47;

// What the screen showed at the last point of a drag, before the release.
struct SSeen
{
    bool moveLoop = false;      // the system's move loop ran
    BYTE trackerAlpha = 0;      // the one layered window that is not topmost
    CRect trackerRect{0, 0, 0, 0};
    int indicators = 0;         // layered topmost windows
    BYTE indicatorAlpha = 0;
    CRect indicatorRect{0, 0, 0, 0};
};

// Real pointer input, given step by step from a timer of this thread, so
// that it goes on inside the drag's modal loops (and the pointer really
// moves: the move loop holds the pointer for this thread). The button goes
// down at the press point, the pointer visits the path (its first point
// starts a bar drag), the button comes up (after Escape when asked). Every wait is bounded, and
// whatever the drag left open is closed at the end, so no case hangs.
class CPointerDrag
{
public:
    ~CPointerDrag()
    {
        if (m_timer)
            ::KillTimer(nullptr, m_timer);
        s_active = nullptr;
    }
    void Start(CPoint press, std::vector<CPoint> path, bool escape = false)
    {
        m_escape = escape;
        m_press = press;
        m_path = std::move(path);
        s_active = this;
        m_timer = ::SetTimer(nullptr, 0, kTick, &CPointerDrag::Tick);
    }
    // Pumps until this thread has taken the press.
    bool WaitPressed()
    {
        return PumpUntil([this] { return m_step > kPress && (::GetKeyState(VK_LBUTTON) & 0x8000); }, 3000);
    }
    // Pumps (the drag runs inside) until the script is over.
    SSeen Finish()
    {
        PumpUntil([this] { return m_step == kDone; }, 20000);
        return m_seen;
    }

private:
    static const UINT kTick = 50;
    enum EStep { kPlace, kPress, kNudge, kAwaitLoop, kPath, kRelease, kAwaitEnd, kDone };

    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD)
    {
        if (s_active)
            s_active->Step();
    }
    static void Button(DWORD flag)
    {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = flag;
        ::SendInput(1, &input, sizeof(INPUT));
    }
    static void Key(WORD key, DWORD flag)
    {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = key;
        input.ki.dwFlags = flag;
        ::SendInput(1, &input, sizeof(INPUT));
    }
    static bool InMoveLoop()
    {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        return ::GetGUIThreadInfo(::GetCurrentThreadId(), &info) && (info.flags & GUI_INMOVESIZE);
    }
    // The layered windows of this thread: the tracker and indicators.
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
            BYTE alpha = 0;
            DWORD flags = 0;
            ::GetLayeredWindowAttributes(w, nullptr, &alpha, &flags);
            if (::GetWindowLongPtrW(w, GWL_EXSTYLE) & WS_EX_TOPMOST) {
                ++m_seen.indicators;
                m_seen.indicatorAlpha = alpha;
                ::GetWindowRect(w, &m_seen.indicatorRect);
            } else {
                m_seen.trackerAlpha = alpha;
                ::GetWindowRect(w, &m_seen.trackerRect);
            }
        }
    }
    void Next(int step)
    {
        m_step = step;
        m_since = ::GetTickCount();
    }
    DWORD Elapsed() const { return ::GetTickCount() - m_since; }
    void Step()
    {
        switch (m_step) {
        case kPlace:
            ::SetCursorPos(m_press.x, m_press.y);
            Next(kPress);
            break;
        case kPress:
            Button(MOUSEEVENTF_LEFTDOWN);
            Next(kNudge);
            break;
        case kNudge:
            if (Elapsed() < 100)
                break;
            if (!m_path.empty())
                ::SetCursorPos(m_path[0].x, m_path[0].y);
            Next(kAwaitLoop);
            break;
        case kAwaitLoop:
            m_seen.moveLoop = InMoveLoop();
            if (m_seen.moveLoop || Elapsed() > 3000)
                Next(kPath);
            break;
        case kPath:
            // Each point is held for a few ticks, the last one until the
            // snapshot.
            if (Elapsed() < 200)
                break;
            if (++m_point < m_path.size()) {
                ::SetCursorPos(m_path[m_point].x, m_path[m_point].y);
                Next(kPath);
                break;
            }
            Snapshot();
            Next(kRelease);
            break;
        case kRelease:
            if (m_escape) {
                Key(VK_ESCAPE, 0);
                Key(VK_ESCAPE, KEYEVENTF_KEYUP);
            }
            Button(MOUSEEVENTF_LEFTUP);
            Next(kAwaitEnd);
            break;
        case kAwaitEnd:
            if (!InMoveLoop() && LayeredWindows().empty()) {
                Next(kDone);
            } else if (Elapsed() > 4000) {
                // Left open by a fault: close it so that the test goes on.
                for (HWND w : LayeredWindows())
                    ::PostMessageW(w, WM_CLOSE, 0, 0);
                Next(kDone);
            }
            break;
        default:
            break;
        }
    }

    static CPointerDrag* s_active;
    UINT_PTR m_timer = 0;
    CPoint m_press{0, 0};
    std::vector<CPoint> m_path;
    size_t m_point = 0;
    bool m_escape = false;
    int m_step = kPlace;
    DWORD m_since = ::GetTickCount();
    SSeen m_seen;
};

CPointerDrag* CPointerDrag::s_active = nullptr;

class DragTracker : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        // The tracker follows the move loop only when windows move whole.
        ::SystemParametersInfoW(SPI_GETDRAGFULLWINDOWS, 0, &s_fullDrag, 0);
        ::SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, TRUE, nullptr, 0);
    }
    static void TearDownTestSuite() { ::SystemParametersInfoW(SPI_SETDRAGFULLWINDOWS, s_fullDrag, nullptr, 0); }
    void TearDown() override
    {
        if (host.m_hWnd)
            host.Close();
        DrainQuits();
        Central().layouts.erase(kKind);
    }
    CxfFrame* Build(const wchar_t* layout, int width, int height)
    {
        DrainQuits();
        Central().layouts[kKind] = layout;
        EXPECT_TRUE(host.Open(width, height, true));
        PumpLayout();
        return host.Root();
    }
    static CPoint Screen(CWnd* wnd, CPoint client)
    {
        wnd->ClientToScreen(&client);
        return client;
    }
    CTestHost host{CxfAgent::FlagBuildLayout, kKind};
    static BOOL s_fullDrag;
};

BOOL DragTracker::s_fullDrag = FALSE;

} // namespace

TEST_F(DragTracker, BarDraggedByItsGripperOntoTheTopRowMovesToTheTopSide)
{
    // Panes 40..49 prefer 20 pixels: each bar is 28 thick.
    CxfFrame* root = Build(L"F{C(left){P(id=41)}C{P(id=42)}P(id=1)}", 400, 300);
    ASSERT_EQ(2, root->GetBarCount());
    CxfControlBar* left = static_cast<CxfControlBar*>(root->GetBar(0));
    CxfControlBar* top = static_cast<CxfControlBar*>(root->GetBar(1));
    ASSERT_EQ(CRect(0, 28, 28, 300), RectInParent(left->m_hWnd));

    // Pressed on the gripper strip, nudged 4 by 3, carried over the top bar.
    const CPoint press = Screen(left, CPoint(14, 5));
    CPointerDrag drag;
    drag.Start(press, {press + CPoint(4, 3), Screen(root, CPoint(200, 14))});
    const SSeen seen = drag.Finish();

    EXPECT_TRUE(seen.moveLoop);
    EXPECT_EQ(CxfFrameTracker::Alpha, seen.trackerAlpha);
    EXPECT_EQ(220, seen.trackerAlpha);
    // The indicator: topmost and faint, over the whole band of the row.
    ASSERT_EQ(1, seen.indicators);
    EXPECT_EQ(30, seen.indicatorAlpha);
    CRect band(0, 0, 400, 28);
    root->ClientToScreen(&band);
    EXPECT_EQ(band, seen.indicatorRect);

    // Dropped: the bar now heads the top row and the layout follows.
    EXPECT_EQ(nullptr, root->GetDropIndicator());
    ASSERT_EQ(2, root->GetBarCount());
    EXPECT_EQ(left, root->GetBar(0));
    EXPECT_EQ(top, root->GetBar(1));
    EXPECT_EQ(CxfFrame::SideTop, left->m_dock.side);
    EXPECT_EQ(0, left->m_dock.row);
    EXPECT_EQ(200, left->m_dock.pos);
    PumpLayout();
    EXPECT_EQ(CRect(0, 0, 400, 28), RectInParent(left->m_hWnd));
    EXPECT_EQ(CRect(0, 28, 400, 56), RectInParent(top->m_hWnd));
    EXPECT_EQ(CRect(0, 56, 400, 300), CRect(root->GetAreaRect()));
}

TEST_F(DragTracker, FrameDropsOnAnEdgeButNeverInsideItself)
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
    auto dragFrame = [&](CxfFrame* dragged, std::vector<CPoint> path, CxfFrame** target, bool escape = false) {
        const CPoint press = Screen(dragged, grab);
        path.insert(path.begin(), press + CPoint(4, 3));
        CPointerDrag drag;
        drag.Start(press, path, escape);
        EXPECT_TRUE(drag.WaitPressed());
        CxfFrameTracker tracker(dragged, grab, L"Two");
        tracker.Run();
        const SSeen seen = drag.Finish();
        EXPECT_TRUE(seen.moveLoop);
        EXPECT_EQ(220, seen.trackerAlpha);
        EXPECT_EQ(seen.trackerRect.Width() / 2, tracker.GetGrabPoint().x);
        const CPoint grabbed = tracker.GetGrabPoint();
        // The tracker keeps the cursor at the grab offset.
        EXPECT_EQ(CPoint(path.back().x - grabbed.x, path.back().y - grabbed.y), seen.trackerRect.TopLeft());
        *target = tracker.GetTarget();
        return seen;
    };

    // Frame two onto the left edge of frame one: one splits, two first.
    CxfFrame* target = one;
    SSeen seen = dragFrame(two, {Screen(one, CPoint(10, 200))}, &target);
    ASSERT_EQ(1, seen.indicators);
    EXPECT_EQ(CxfTgtPosIndicator::Alpha, seen.indicatorAlpha);
    CRect strip(0, 0, 20, 400); // along the left of one's window
    one->ClientToScreen(&strip);
    EXPECT_EQ(strip, seen.indicatorRect);
    EXPECT_EQ(nullptr, target);
    EXPECT_EQ(nullptr, one->GetDropIndicator());
    EXPECT_EQ(L"F:v{F:v{FP2,FP1},F:h{FP3}}", Describe(root));
    ASSERT_EQ(one, two->GetFrame());
    PumpLayout();

    // Frame one (now holding two) over three, then over its own child two:
    // the indicator goes, and the drop there changes nothing.
    CRect twoRect;
    two->GetClientRect(&twoRect);
    const std::wstring before = Describe(root);
    seen = dragFrame(one, {Screen(three, CPoint(10, 200)), Screen(two, CPoint(twoRect.Width() / 2, 10))}, &target);
    EXPECT_EQ(0, seen.indicators);
    EXPECT_EQ(nullptr, target);
    EXPECT_EQ(nullptr, three->GetDropIndicator());
    EXPECT_EQ(before, Describe(root));

    // Frame three over the left edge of two, then Escape: nothing moves.
    seen = dragFrame(three, {Screen(two, CPoint(10, 100))}, &target, true);
    EXPECT_EQ(1, seen.indicators);
    EXPECT_EQ(nullptr, target);
    EXPECT_EQ(nullptr, two->GetDropIndicator());
    EXPECT_EQ(before, Describe(root));
}

TEST_F(DragTracker, ATrackerWhoseButtonIsAlreadyUpEndsAtOnce)
{
    CxfFrame* root = Build(L"F(ver){F(width=50p){P(id=1)}F{P(id=2)}}", 300, 200);
    ASSERT_FALSE(::GetKeyState(VK_LBUTTON) & 0x8000);
    const std::wstring before = Describe(root);
    CxfFrameTracker tracker(root->GetChild(1), CPoint(5, 5), L"");
    tracker.Run();
    EXPECT_EQ(nullptr, tracker.m_hWnd);
    EXPECT_EQ(before, Describe(root));
}
