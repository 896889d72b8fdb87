// Frame layout: split sizes from pixels and percentages, deferred layout on
// the top-level frame's timer, control bars and the status bar docked around
// the area, splitter and gripper drags, minimum sizes, the size grip and
// splitter painting.
#include <gtest/gtest.h>
#include "XfTestKit.h"
#include "common/DrawRoutines.h"
#include "xf/xfControlBar.h"
#include "xf/xfLayout.h"

using namespace xftest;

namespace {

// A host whose tree is built from one layout, laid out at width x height.
class FrameLayout : public HostTest
{
protected:
    // Left/top and right/bottom of child i along the split axis.
    static std::pair<int, int> Span(CxfFrame* parent, int i, bool horizontal = true)
    {
        const CRect rc = RectInParent(parent->GetChild(i)->m_hWnd);
        return horizontal ? std::make_pair(int(rc.left), int(rc.right)) : std::make_pair(int(rc.top), int(rc.bottom));
    }
};

// Counts its layouts.
class CCountingFrame : public CxfFrame
{
public:
    void RecalcLayout() override
    {
        ++layouts;
        CxfFrame::RecalcLayout();
    }
    int layouts = 0;
};

} // namespace

TEST_F(FrameLayout, PercentSizesShareTheSpaceLeftBySplitters)
{
    CxfFrame* root = Build(L"F(ver){F(width=70p){P(id=1)}F(width=30p){P(id=2)}}", 1006, 600, false);
    ASSERT_EQ(L"F:v{FP1,FP2}", Describe(root));
    EXPECT_EQ(std::make_pair(0, 700), Span(root, 0));
    EXPECT_EQ(std::make_pair(706, 1006), Span(root, 1));
    EXPECT_EQ(CRect(0, 0, 700, 600), RectInParent(root->GetChild(0)->GetPane()->m_hWnd) + CPoint(0, 0));

    // Resizing relays out on the next tick, not inside WM_SIZE.
    Resize(1106, 600);
    EXPECT_EQ(std::make_pair(0, 700), Span(root, 0));
    PumpLayout();
    EXPECT_EQ(std::make_pair(0, 770), Span(root, 0));
    EXPECT_EQ(std::make_pair(776, 1106), Span(root, 1));

    // A spare pixel goes to the last child.
    Resize(1007, 600);
    PumpLayout();
    EXPECT_EQ(std::make_pair(0, 700), Span(root, 0));
    EXPECT_EQ(std::make_pair(706, 1007), Span(root, 1));

    // A hidden child leaves the split; the last visible one takes the rest.
    root->GetChild(0)->SetVisible(false);
    PumpLayout();
    EXPECT_EQ(std::make_pair(0, 1007), Span(root, 1));
}

TEST_F(FrameLayout, LastChildFillsButIsNeverShrunk)
{
    CxfFrame* root = Build(L"F(ver){F(width=33p){P(id=1)}F(width=33p){P(id=2)}F(width=33p){P(id=3)}}", 1006, 300);
    // 994 available: 328 and 328; the last gets 994 - (328 + 328 + 6).
    EXPECT_EQ((std::vector<int>{328, 328, 332}), root->GetSizes());
    Build(L"F(hor){F(height=500){P(id=1)}F(height=400){P(id=2)}}", 300, 706);
    EXPECT_EQ((std::vector<int>{500, 400}), host.Root()->GetSizes());
    EXPECT_EQ(std::make_pair(506, 906), Span(host.Root(), 1, false));
}

TEST_F(FrameLayout, ProportionalAndConstantWidths)
{
    CxfFrame* root =
        Build(L"F(ver){F(width=200,ProportionalWidth){P(id=1)}F(width=200,ConstWidth){P(id=2)}F{P(id=3)}}", 1006, 300);
    EXPECT_EQ((std::vector<int>{200, 200, 588}), root->GetSizes());
    Resize(2012, 300);
    PumpLayout();
    // 200 x 2000 / 1006 (the last client width), truncated.
    EXPECT_EQ((std::vector<int>{397, 200, 1397}), root->GetSizes());
}

TEST_F(FrameLayout, NoRoomLeavesEveryChildEmptyAndZeroAreasAreSkipped)
{
    CxfFrame* root = Build(L"F(ver){F(width=50p){P(id=1)}F{P(id=2)}F{P(id=3)}}", 10, 300);
    EXPECT_EQ((std::vector<int>{0, 0, 0}), root->GetSizes());
    Resize(0, 300);
    PumpLayout();
    EXPECT_EQ((std::vector<int>{0, 0, 0}), root->GetSizes());
    Resize(606, 300);
    PumpLayout();
    EXPECT_EQ((std::vector<int>{297, 0, 291}), root->GetSizes()); // the last: 594 - (297 + 0 + 6)
}

TEST_F(FrameLayout, OneLayoutPerTickHoweverManyRequests)
{
    CWnd plain;
    ASSERT_TRUE(plain.CreateEx(0, nullptr, L"plain", WS_POPUP, CRect(0, 0, 800, 300), nullptr, 0));
    auto* root = new CCountingFrame;
    ASSERT_TRUE(root->CreateWnd(&plain));
    ParseLayout(root, L"F(ver){F(width=50p){P(id=1)}F{P(id=2)}}");
    CxfFrame::Tidy(root);
    EXPECT_TRUE(CxfFrame::Start(root, nullptr, true));
    for (int i = 0; i < 3; ++i)
        root->RequestLayout(true);
    root->MoveWindow(0, 0, 800, 300);
    EXPECT_EQ(0, root->layouts);
    PumpLayout();
    EXPECT_EQ(1, root->layouts);
    EXPECT_EQ(std::make_pair(0, 397), Span(root, 0));

    for (int w = 600; w < 606; ++w)
        root->MoveWindow(0, 0, w, 300);
    EXPECT_EQ(1, root->layouts);
    EXPECT_EQ(std::make_pair(0, 397), Span(root, 0));
    EXPECT_TRUE(PumpUntil([&] { return root->layouts > 1; }));
    PumpLayout();
    EXPECT_EQ(2, root->layouts);
    EXPECT_EQ(std::make_pair(0, 299), Span(root, 0));

    EXPECT_TRUE(CxfFrame::Start(root, nullptr, false));
    CxfFrame::TearDown(root);
    root->DestroyWindow();
    plain.DestroyWindow();
}

TEST_F(FrameLayout, SplitterDragKeepsMinimumSizes)
{
    CxfFrame* root = Build(L"F(ver){F(width=70p){P(id=1)}F(width=30p){P(id=2)}}", 1006, 600, false);
    auto press = [&](UINT message, int x) {
        root->SendMessage(message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, 100));
    };
    press(WM_LBUTTONDOWN, 703);
    EXPECT_EQ(root->m_hWnd, ::GetCapture());
    press(WM_MOUSEMOVE, 503); // the pointer stays in the splitter's middle
    EXPECT_EQ((std::vector<int>{500, 500}), root->GetSizes());
    EXPECT_EQ(std::make_pair(506, 1006), Span(root, 1)); // at once, without a layout
    press(WM_MOUSEMOVE, 10);
    EXPECT_EQ((std::vector<int>{50, 950}), root->GetSizes());
    press(WM_MOUSEMOVE, 1000);
    EXPECT_EQ((std::vector<int>{950, 50}), root->GetSizes());
    press(WM_LBUTTONUP, 1000);
    EXPECT_EQ(nullptr, ::GetCapture());
    press(WM_MOUSEMOVE, 500); // no capture: nothing moves
    EXPECT_EQ((std::vector<int>{950, 50}), root->GetSizes());

    // A press off the splitter does not capture.
    press(WM_LBUTTONDOWN, 300);
    EXPECT_EQ(nullptr, ::GetCapture());

    // Over the splitter the cursor becomes the sizing arrow.
    EXPECT_TRUE(SetCursorAt(root, CPoint(952, 100)));
    EXPECT_FALSE(SetCursorAt(root, CPoint(852, 100)));
}

TEST_F(FrameLayout, SplittersArePaintedWithGradientAndGripDots)
{
    for (const wchar_t* layout :
         {L"F(ver){F(width=70p){P(id=1)}F{P(id=2)}}", L"F(ver,WndColorSplitters){F(width=70p){P(id=1)}F{P(id=2)}}"}) {
        CxfFrame* root = Build(layout, 1006, 600);
        const bool windowColour = root->HasParam(L"WndColorSplitters");
        CDC mem;
        CClientDC screen(nullptr);
        EXPECT_TRUE(mem.CreateCompatibleDC(&screen));
        CBitmap bitmap;
        EXPECT_TRUE(bitmap.CreateCompatibleBitmap(&screen, 1006, 600));
        CBitmap* old = mem.SelectObject(&bitmap);
        root->PaintSplitters(&mem);
        const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
        EXPECT_EQ(face, mem.GetPixel(10, 10));
        if (windowColour) {
            EXPECT_EQ(::GetSysColor(COLOR_WINDOW), mem.GetPixel(700, 10));
            EXPECT_EQ(::GetSysColor(COLOR_WINDOW), mem.GetPixel(704, 326));
        } else {
            EXPECT_EQ(LightenColour(face, 5), mem.GetPixel(700, 10));
            EXPECT_EQ(RGB(255, 255, 255), mem.GetPixel(704, 326));
        }
        // Ten dots, 5 pixels apart, from 25 below to 20 above the middle.
        for (int offset = -20; offset <= 25; offset += 5)
            EXPECT_EQ(RGB(0xA3, 0xA3, 0xA3), mem.GetPixel(703, 300 + offset)) << offset;
        EXPECT_NE(RGB(0xA3, 0xA3, 0xA3), mem.GetPixel(703, 300 - 25));
        mem.SelectObject(old);
    }
}

TEST_F(FrameLayout, BarsOnEachSideFrameTheAreaAndHoldTheirPaneInTheInnerRectangle)
{
    // Panes 40..49 prefer 20 pixels: each bar is 28 thick.
    CxfFrame* root =
        Build(L"F{C(left){P(id=41)}C{P(id=42)}C(right,nogripper){P(id=43)}C(bottom){P(id=44)}P(id=1)}", 400, 300);
    ASSERT_EQ(4, root->GetBarCount());
    auto bar = [&](int i) { return static_cast<CxfControlBar*>(root->GetBar(i)); };
    EXPECT_EQ(CxfFrame::SideTop, bar(1)->m_dock.side); // no side key: top
    // Left bars start below the top bars, bottom bars right of the left ones.
    EXPECT_EQ(CRect(0, 28, 28, 300), RectInParent(bar(0)->m_hWnd));
    EXPECT_EQ(CRect(0, 0, 400, 28), RectInParent(bar(1)->m_hWnd));
    EXPECT_EQ(CRect(372, 28, 400, 300), RectInParent(bar(2)->m_hWnd));
    EXPECT_EQ(CRect(28, 272, 400, 300), RectInParent(bar(3)->m_hWnd));
    EXPECT_EQ(CRect(28, 28, 372, 272), CRect(root->GetAreaRect()));

    // Border 4 all round; the gripper takes 10 at the start of the bar.
    EXPECT_EQ(CRect(4, 14, 24, 268), bar(0)->GetInnerRect());
    EXPECT_EQ(CRect(14, 4, 396, 24), bar(1)->GetInnerRect());
    EXPECT_EQ(CRect(4, 4, 24, 268), bar(2)->GetInnerRect());
    EXPECT_EQ(bar(0)->GetInnerRect(), RectInParent(bar(0)->GetPane()->m_hWnd));
    EXPECT_EQ(bar(2)->GetInnerRect(), RectInParent(bar(2)->GetPane()->m_hWnd));
    EXPECT_EQ(CRect(28, 28, 372, 272), RectInParent(root->GetPane()->m_hWnd));

    // The minimum: the bars across, and the pane's 50.
    SIZE min{};
    root->GetMinSize(min, false);
    EXPECT_EQ(56 + 50, min.cx);
    EXPECT_EQ(28 + 28 + 50, min.cy);
    root->GetMinSize(min, true);
    EXPECT_EQ(56, min.cx);
}

TEST_F(FrameLayout, OnlyAMoveAlongBothAxesAfterAGripperPressStartsADrag)
{
    CxfFrame* root = Build(L"F{C{P(id=42)}P(id=1)}", 300, 200);
    CxfControlBar* bar = static_cast<CxfControlBar*>(root->GetBar(0));
    // A press beyond the gripper strip takes no capture.
    bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 10));
    EXPECT_NE(bar->m_hWnd, ::GetCapture());
    bar->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 10));
    EXPECT_EQ(bar->m_hWnd, ::GetCapture());
    bar->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(25, 10)); // 20 straight right
    EXPECT_EQ(bar->m_hWnd, ::GetCapture());
    bar->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(8, 12)); // 3 by 2: product 6
    EXPECT_EQ(bar->m_hWnd, ::GetCapture());
    bar->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(9, 13)); // 4 by 3: product 12
    EXPECT_NE(bar->m_hWnd, ::GetCapture());
}

TEST_F(FrameLayout, StatusBarDocksAtTheBottomWithItsGripZone)
{
    CxfFrame* root = Build(L"F{SP(id=1)}", 300, 200);
    ASSERT_EQ(1, root->GetBarCount());
    CxfStatusBar* status = static_cast<CxfStatusBar*>(root->GetBar(0));
    EXPECT_EQ(CxfFrame::SideBottom, status->m_dock.side);
    EXPECT_FALSE(status->HasGripper());
    // No items: at least 15 thick; border 2, and 15 more on the right.
    EXPECT_EQ(15, status->GetDockExtent());
    EXPECT_EQ(CRect(0, 185, 300, 200), RectInParent(status->m_hWnd));
    EXPECT_EQ(CRect(2, 2, 300 - 2 - 15, 13), status->GetInnerRect());

    // The grip zone shows the diagonal sizing cursor and starts the host's
    // size loop from the bottom-right corner; elsewhere neither happens.
    SetCursorAt(status, CPoint(290, 7));
    EXPECT_EQ(::LoadCursorW(nullptr, IDC_SIZENWSE), ::GetCursor());
    SetCursorAt(status, CPoint(100, 7));
    EXPECT_EQ(::LoadCursorW(nullptr, IDC_ARROW), ::GetCursor());

    status->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 7));
    EXPECT_TRUE(host.m_sizeCommands.empty());
    status->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(290, 7));
    ASSERT_EQ(1u, host.m_sizeCommands.size());
    EXPECT_EQ(static_cast<WPARAM>(0xF008), host.m_sizeCommands[0].first);
    CPoint screen(290, 7);
    status->ClientToScreen(&screen);
    EXPECT_EQ(MAKELPARAM(screen.x, screen.y), host.m_sizeCommands[0].second);
    // No drag of a status bar.
    EXPECT_NE(status->m_hWnd, ::GetCapture());
}

TEST_F(FrameLayout, StatusBarOfAMaximizedHostHasNoGripMarginButKeepsTheSizingCursor)
{
    CxfFrame* root = Build(L"F{SP(id=1)}", 300, 200);
    CxfStatusBar* status = static_cast<CxfStatusBar*>(root->GetBar(0));
    host.ShowWindow(SW_MAXIMIZE);
    PumpLayout();
    CRect client;
    status->GetClientRect(&client);
    EXPECT_EQ(client.right - 2, status->GetInnerRect().right);
    SetCursorAt(status, CPoint(client.right - 5, 7));
    EXPECT_EQ(::LoadCursorW(nullptr, IDC_SIZENWSE), ::GetCursor());
}
