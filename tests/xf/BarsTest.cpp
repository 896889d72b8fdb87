// Control bars and the status bar: docking on the four sides, inner
// rectangles, gripper drags, the size grip and its cursor.
#include <gtest/gtest.h>
#include "XfTestKit.h"
#include "xf/xfControlBar.h"
#include "xf/xfToolBar.h"

using namespace xftest;

namespace {

const int kKind = 41;

class Bars : public ::testing::Test
{
protected:
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
    CTestHost host{CxfAgent::FlagBuildLayout, kKind};
};

CPoint ScreenPointOf(CWnd* wnd, CPoint client)
{
    wnd->ClientToScreen(&client);
    return client;
}

} // namespace

TEST_F(Bars, BarsOnEachSideFrameTheAreaAndHoldTheirPaneInTheInnerRectangle)
{
    // Panes 40..49 prefer 20 pixels: each bar is 28 thick.
    CxfFrame* root = Build(L"F{C(left){P(id=41)}C{P(id=42)}C(right,nogripper){P(id=43)}C(bottom){P(id=44)}P(id=1)}",
                           400, 300);
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
}

TEST_F(Bars, OnlyAMoveAlongBothAxesAfterAGripperPressStartsADrag)
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

TEST_F(Bars, StatusBarDocksAtTheBottomWithItsGripZone)
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
    ::SetCursorPos(ScreenPointOf(status, CPoint(290, 7)).x, ScreenPointOf(status, CPoint(290, 7)).y);
    status->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(status->m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::LoadCursorW(nullptr, IDC_SIZENWSE), ::GetCursor());
    ::SetCursorPos(ScreenPointOf(status, CPoint(100, 7)).x, ScreenPointOf(status, CPoint(100, 7)).y);
    status->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(status->m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::LoadCursorW(nullptr, IDC_ARROW), ::GetCursor());

    status->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 7));
    EXPECT_TRUE(host.m_sizeCommands.empty());
    status->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(290, 7));
    ASSERT_EQ(1u, host.m_sizeCommands.size());
    EXPECT_EQ(static_cast<WPARAM>(0xF008), host.m_sizeCommands[0].first);
    const CPoint screen = ScreenPointOf(status, CPoint(290, 7));
    EXPECT_EQ(MAKELPARAM(screen.x, screen.y), host.m_sizeCommands[0].second);
    // No drag of a status bar.
    EXPECT_NE(status->m_hWnd, ::GetCapture());
}

TEST_F(Bars, StatusBarOfAMaximizedHostHasNoGripMarginButKeepsTheSizingCursor)
{
    CxfFrame* root = Build(L"F{SP(id=1)}", 300, 200);
    CxfStatusBar* status = static_cast<CxfStatusBar*>(root->GetBar(0));
    host.ShowWindow(SW_MAXIMIZE);
    PumpLayout();
    CRect client;
    status->GetClientRect(&client);
    EXPECT_EQ(client.right - 2, status->GetInnerRect().right);
    const CPoint inZone = ScreenPointOf(status, CPoint(client.right - 5, 7));
    ::SetCursorPos(inZone.x, inZone.y);
    status->SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(status->m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::LoadCursorW(nullptr, IDC_SIZENWSE), ::GetCursor());
}
