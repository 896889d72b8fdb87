// Scroll arithmetic: limit, line and page steps, wheel steps, scrolling a
// cell into view, and the scroll bar appearing with overflow.
#include <gtest/gtest.h>
#include "HybridTestKit.h"

using namespace hybridtest;

namespace {

// 20 rows of 30 pixels (600) in a 100 high control.
void FillRows(CTestHost& host, std::vector<CIPtr<IHybridCell>>& rows, int count = 20, int height = 30)
{
    for (int i = 0; i < count; ++i)
        rows.push_back(host.AddBox(nullptr, 10, height, RGB(i * 10, 0, 0)));
    host.Pump(80);
}

UINT WheelLines()
{
    UINT lines = 0;
    if (!::SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0))
        lines = 3;
    return lines;
}

} // namespace

TEST(HybridScroll, ScrollBarFollowsOverflow)
{
    CTestHost host(200, 100);
    std::vector<CIPtr<IHybridCell>> rows;
    FillRows(host, rows, 3);
    EXPECT_FALSE(host.Ctrl().IsScrollBarShown());
    EXPECT_EQ(200, CTestHost::RectOf(rows[0]).Width());
    EXPECT_FALSE(host.Ctrl().SetScrollPos(10, true));

    for (int i = 0; i < 5; ++i)
        rows.push_back(host.AddBox(nullptr, 10, 30, RGB(0, 0, 0)));
    host.Pump(80);
    EXPECT_TRUE(host.Ctrl().IsScrollBarShown());
    EXPECT_EQ(240, host.Ctrl().GetContentHeight());
    // The narrower cell area caused a second layout.
    CRect area;
    host.Ctrl().GetCellAreaRect(&area);
    EXPECT_LT(area.Width(), 200);
    EXPECT_EQ(area.Width(), CTestHost::RectOf(rows[0]).Width());
}

TEST(HybridScroll, AlwaysShownScrollBarWithoutOverflowScrollsNothing)
{
    CTestHost host(200, 100);
    host.Ctrl().SetAlwaysShowScrollBar(true);
    std::vector<CIPtr<IHybridCell>> rows;
    FillRows(host, rows, 3); // 90 in 100
    CHybridCtrl& ctrl = host.Ctrl();
    EXPECT_TRUE(ctrl.IsScrollBarShown());
    POINT screen{20, 20};
    ::ClientToScreen(ctrl.GetSafeHwnd(), &screen);
    host.Post(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), MAKELPARAM(screen.x, screen.y));
    host.Pump();
    EXPECT_EQ(0, ctrl.GetScrollPos());
    EXPECT_FALSE(ctrl.SetScrollPos(10, true));

    // Content that overflowed and shrank again: back at 0, and it stays there.
    for (int i = 0; i < 5; ++i)
        rows.push_back(host.AddBox(nullptr, 10, 30, RGB(0, 0, 0)));
    host.Pump(80);
    EXPECT_TRUE(ctrl.SetScrollPos(100, true));
    for (size_t i = 3; i < rows.size(); ++i)
        ctrl.DetachCell(rows[i]);
    host.Pump(80);
    ASSERT_EQ(90, ctrl.GetContentHeight());
    EXPECT_EQ(0, ctrl.GetScrollPos());
    EXPECT_FALSE(ctrl.SetScrollPos(30, true));
    EXPECT_EQ(0, CTestHost::RectOf(rows[0]).top);
    EXPECT_TRUE(ctrl.IsScrollBarShown());
    HWND bar = ::GetDlgItem(ctrl.GetSafeHwnd(), 1);
    EXPECT_TRUE(::IsWindowVisible(bar));
    EXPECT_FALSE(::IsWindowEnabled(bar));
}

TEST(HybridScroll, LimitLinePageAndThumb)
{
    CTestHost host(200, 100);
    std::vector<CIPtr<IHybridCell>> rows;
    FillRows(host, rows);
    CHybridCtrl& ctrl = host.Ctrl();
    ASSERT_EQ(600, ctrl.GetContentHeight());
    // limit = max - page + 1 = 600 - 100 + 1
    EXPECT_TRUE(ctrl.SetScrollPos(10000, true));
    EXPECT_EQ(501, ctrl.GetScrollPos());
    EXPECT_TRUE(ctrl.SetScrollPos(-5, true));
    EXPECT_EQ(0, ctrl.GetScrollPos());
    EXPECT_FALSE(ctrl.SetScrollPos(0, true)); // no change

    // Cell rectangles are client coordinates: scrolled up by the position.
    ctrl.SetScrollPos(45, true);
    EXPECT_EQ(CRect(0, 15, CTestHost::RectOf(rows[2]).right, 45), CTestHost::RectOf(rows[2]));

    // Line up from 0 is -1 (ignored); a page is the content height - 1.
    ctrl.SetScrollPos(0, true);
    ctrl.SetLineStep(7);
    const struct
    {
        WPARAM code;
        int pos;
    } steps[] = {{SB_LINEUP, 0}, {SB_LINEDOWN, 7}, {SB_PAGEDOWN, 501}, {SB_PAGEUP, 0}, {SB_BOTTOM, 501}, {SB_TOP, 0}};
    for (const auto& step : steps) {
        host.Post(WM_VSCROLL, step.code, 0);
        host.Pump();
        EXPECT_EQ(step.pos, ctrl.GetScrollPos()) << "code " << step.code;
    }
}

TEST(HybridScroll, WheelSteps)
{
    CTestHost host(200, 100);
    std::vector<CIPtr<IHybridCell>> rows;
    FillRows(host, rows);
    CHybridCtrl& ctrl = host.Ctrl();
    POINT screen{20, 20};
    ::ClientToScreen(ctrl.GetSafeHwnd(), &screen);
    const LPARAM at = MAKELPARAM(screen.x, screen.y);
    const int step = static_cast<int>(WheelLines()) * 20;

    // Less than a notch scrolls nothing; far past the top stops at 0.
    const struct
    {
        int delta;
        int pos;
    } turns[] = {{-120, step}, {-60, step}, {-240, 3 * step}, {240, step}, {120 * 50, 0}};
    for (const auto& turn : turns) {
        host.Post(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(turn.delta)), at);
        host.Pump();
        EXPECT_EQ(turn.pos, ctrl.GetScrollPos()) << "delta " << turn.delta;
    }
}

TEST(HybridScroll, WheelSetToOneScreenPerNotchScrollsAPage)
{
    CTestHost host(200, 100);
    std::vector<CIPtr<IHybridCell>> rows;
    FillRows(host, rows);
    CHybridCtrl& ctrl = host.Ctrl();
    POINT screen{20, 20};
    ::ClientToScreen(ctrl.GetSafeHwnd(), &screen);
    const LPARAM at = MAKELPARAM(screen.x, screen.y);
    // This session only (not written to the registry); restored below.
    const UINT saved = WheelLines();
    ASSERT_TRUE(::SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, WHEEL_PAGESCROLL, nullptr, 0));
    host.Post(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(-120)), at);
    host.Pump();
    const int down = ctrl.GetScrollPos();
    host.Post(WM_MOUSEWHEEL, MAKEWPARAM(0, 120), at);
    host.Pump();
    const int up = ctrl.GetScrollPos();
    ::SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, saved, nullptr, 0);
    CRect area;
    ctrl.GetCellAreaRect(&area);
    EXPECT_EQ(area.Height(), down); // down by the cell area's height, not backwards
    EXPECT_EQ(0, up);
}

TEST(HybridScroll, EnsureVisibleOnATallCell)
{
    CTestHost host(200, 100);
    std::vector<CIPtr<IHybridCell>> rows;
    FillRows(host, rows, 3);
    CIPtr<IHybridCell> tall = host.AddBox(nullptr, 10, 250); // 90..340
    host.AddBox(nullptr, 10, 300);
    host.Pump(80);
    CHybridCtrl& ctrl = host.Ctrl();
    // First the bottom aligns with the area's bottom, then the top with the top.
    ctrl.EnsureVisible(tall);
    host.Pump();
    EXPECT_EQ(340 - 100, ctrl.GetScrollPos());
    ctrl.EnsureVisible(tall);
    host.Pump();
    EXPECT_EQ(90, ctrl.GetScrollPos());
    ctrl.EnsureVisible(rows[0]);
    host.Pump();
    EXPECT_EQ(0, ctrl.GetScrollPos());
}

TEST(HybridScroll, PendingScrollIntoViewReleasesItsCellWhenTheWindowGoes)
{
    CTestHost host(200, 100);
    std::vector<CIPtr<IHybridCell>> rows;
    FillRows(host, rows, 3);
    CIPtr<IHybridCell> cell(rows[2]);
    rows.clear();
    host.Ctrl().EnsureVisible(cell);
    host.Ctrl().DestroyWindow(); // the request is still queued
    host.Pump();
    EXPECT_EQ(2u, cell->AddRef()); // ours and the one just added
    cell->Release();
}

TEST(HybridScroll, RelayoutRequestsAreCoalescedAndRateLimited)
{
    CTestHost host(200, 100);
    std::vector<CIPtr<IHybridCell>> rows;
    FillRows(host, rows, 2);
    CHybridCtrl& ctrl = host.Ctrl();
    ::Sleep(400); // a fresh rate window
    int posted = 0;
    for (int i = 0; i < 30; ++i) {
        ctrl.UpdateLayout(false);
        MSG msg;
        if (::PeekMessageW(&msg, ctrl.GetSafeHwnd(), WM_HYBRID_RELAYOUT, WM_HYBRID_RELAYOUT, PM_REMOVE)) {
            ++posted;
            ::DispatchMessageW(&msg);
        }
    }
    // The first request opens the window, 20 more are granted in it.
    EXPECT_EQ(21, posted);
    ::Sleep(400);
    ctrl.UpdateLayout(false);
    ctrl.UpdateLayout(false); // coalesced with the first
    MSG msg;
    EXPECT_TRUE(::PeekMessageW(&msg, ctrl.GetSafeHwnd(), WM_HYBRID_RELAYOUT, WM_HYBRID_RELAYOUT, PM_REMOVE));
    EXPECT_FALSE(::PeekMessageW(&msg, ctrl.GetSafeHwnd(), WM_HYBRID_RELAYOUT, WM_HYBRID_RELAYOUT, PM_NOREMOVE));
    ::DispatchMessageW(&msg);
}
