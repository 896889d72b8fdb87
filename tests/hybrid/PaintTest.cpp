// Painting: a control with cells of different styles painted into a bitmap
// whose pixels are checked at known points, and partial repaints through
// the redraw queue.
#include <gtest/gtest.h>
#include "HybridTestKit.h"
#include "hybrid/CellBuilder.h"

using namespace hybridtest;

namespace {

const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(220, 0, 0);
const COLORREF kGreen = RGB(0, 160, 0);
const COLORREF kBlue = RGB(0, 0, 200);
const COLORREF kYellow = RGB(250, 250, 0);

} // namespace

TEST(HybridPaint, CellsOfDifferentStylesPaintedIntoABitmap)
{
    CTestHost host(200, 200);
    CHybridCtrl& ctrl = host.Ctrl();
    ctrl.SetBkColor(kWhite, true);
    CIPtr<IHybridStyle> style;
    {
        // A style of our own: yellow selection, blue grid.
        CCellBuilder builder(&ctrl);
        builder.SetSelBkColor(kYellow).ReturnStyle(&style).CreateStyle();
        ASSERT_TRUE(style);
        style->SetGridColor(kBlue);
    }
    // y 0..20: a plain red box.
    CIPtr<IHybridCell> plain = host.AddBox(nullptr, 10, 20, kRed);
    // y 20..42: a selected item cell (framed) with a green box.
    CIPtr<IHybridCell> item = host.AddBox(nullptr, 10, 20, kGreen, HCB_ITEM);
    item->SetStyle(style);
    // y 42..62: a red box with a 4-pixel left margin in the grid colour.
    CIPtr<IHybridCell> margined = host.AddBox(nullptr, 10, 20, kRed);
    margined->SetStyle(style);
    margined->SetMargins(0x00000004);
    // y 62..92: a container with a 30 pixel left gap and one green child,
    // the gap painted in the container's background colour.
    CIPtr<IHybridCell> gapped = host.AddContainer(nullptr, 2);
    gapped->SetBkColor(kBlue, false);
    CIPtr<IHybridSubContent> sub;
    gapped->GetSubContent(&sub);
    sub->SetLeftGap(30);
    CIPtr<IHybridCell> child = host.AddBox(gapped, 10, 30, kGreen);
    // y 92..112: drawn through an off-screen bitmap.
    CIPtr<IHybridCell> offscreen = host.AddBox(nullptr, 10, 20, kRed, HCB_OFFSCREEN);
    // y 112..132: hidden, takes no room.
    CIPtr<IHybridCell> hidden = host.AddBox(nullptr, 10, 20, kGreen);
    hidden->Show(false, false);
    host.Pump(60);
    ::SetFocus(ctrl.GetSafeHwnd());
    item->SetSelected(true, false);
    host.Pump();
    ASSERT_EQ(112, ctrl.GetContentHeight());

    CCanvas canvas(200, 200);
    ctrl.DrawAll(canvas.dc());
    EXPECT_EQ(kRed, canvas.At(100, 10));
    EXPECT_EQ(kYellow, canvas.At(100, 20)); // frame in the selection colour
    EXPECT_EQ(kYellow, canvas.At(0, 30));
    EXPECT_EQ(kGreen, canvas.At(100, 31)); // the content inside the frame
    EXPECT_EQ(kBlue, canvas.At(1, 50));    // left margin strip
    EXPECT_EQ(kBlue, canvas.At(3, 50));
    EXPECT_EQ(kRed, canvas.At(5, 50));
    EXPECT_EQ(kBlue, canvas.At(10, 70));    // the gap
    EXPECT_EQ(kGreen, canvas.At(40, 70));   // the child right of the gap
    EXPECT_EQ(kRed, canvas.At(100, 100));   // off-screen drawing
    EXPECT_EQ(kWhite, canvas.At(100, 150)); // below the content: background
    EXPECT_EQ(kWhite, canvas.At(100, 199));

    // Without the keyboard focus the selection uses the inactive caption colour.
    HWND other = ::CreateWindowExW(0, L"BUTTON", L"x", WS_CHILD | WS_VISIBLE, 0, 210, 50, 20, host.Parent(), nullptr,
                                   nullptr, nullptr);
    ::SetFocus(other);
    host.Pump();
    ctrl.DrawAll(canvas.dc());
    EXPECT_EQ(::GetSysColor(COLOR_INACTIVECAPTION), canvas.At(100, 20));
    ::DestroyWindow(other);
}

TEST(HybridPaint, RedrawQueueCoalescesAndDropsDuringFullRepaint)
{
    CTestHost host(200, 100);
    CBoxContent* a = nullptr;
    CBoxContent* b = nullptr;
    CIPtr<IHybridCell> ca = host.AddBox(nullptr, 10, 20, kRed, 0, 0, &a);
    CIPtr<IHybridCell> cb = host.AddBox(nullptr, 10, 20, kRed, 0, 0, &b);
    host.Pump(60);
    const int drawsA = a->m_draws, drawsB = b->m_draws;
    ca->Invalidate();
    cb->Invalidate();
    ca->Invalidate();
    MSG msg;
    int posted = 0;
    while (::PeekMessageW(&msg, host.Ctrl().GetSafeHwnd(), WM_HYBRID_DRAWQUEUED, WM_HYBRID_DRAWQUEUED, PM_REMOVE)) {
        ++posted;
        ::DispatchMessageW(&msg);
    }
    EXPECT_EQ(1, posted);
    EXPECT_EQ(drawsA + 2, a->m_draws);
    EXPECT_EQ(drawsB + 1, b->m_draws);

    host.Ctrl().InvalidateAll(false);
    ca->Invalidate();
    EXPECT_FALSE(
        ::PeekMessageW(&msg, host.Ctrl().GetSafeHwnd(), WM_HYBRID_DRAWQUEUED, WM_HYBRID_DRAWQUEUED, PM_NOREMOVE));
    host.Pump();
}

TEST(HybridPaint, TransparentCellRepaintedWhileScrolledUsesClientClip)
{
    CTestHost host(200, 100);
    CHybridCtrl& ctrl = host.Ctrl();
    ctrl.SetBkColor(kWhite, true);
    for (int i = 0; i < 3; ++i)
        host.AddBox(nullptr, 10, 30, kGreen);
    // An opaque blue row (y 90..150) holding a transparent child box.
    CBoxContent* rowContent = nullptr;
    CIPtr<IHybridCell> row = host.AddBox(nullptr, 10, 60, kBlue, 0, 0, &rowContent);
    row->SetSubContent(nullptr, 2);
    CBoxContent* childContent = nullptr;
    CIPtr<IHybridCell> child = host.AddBox(row, 10, 20, kRed, HCB_TRANSPARENT, 0, &childContent);
    for (int i = 0; i < 5; ++i)
        host.AddBox(nullptr, 10, 30, kGreen);
    host.Pump(80);
    ASSERT_TRUE(ctrl.SetScrollPos(40, true));
    host.Pump(60);
    const CRect childRect = CTestHost::RectOf(child); // client 50..70, document 90..110
    ASSERT_EQ(50, childRect.top);

    // Paint the client black behind the control's back, then repaint the
    // transparent child through the queue.
    {
        CClientDC dc(&ctrl);
        CRect client;
        ctrl.GetClientRect(&client);
        dc.FillSolidRect(&client, RGB(0, 0, 0));
    }
    childContent->SetColour(kYellow);
    child->Invalidate();
    host.Pump();
    EXPECT_EQ(kYellow, ScreenPixel(ctrl.GetSafeHwnd(), 50, 60));
    // The opaque ancestor repainted only the child's area: the rest of the
    // row (client y 70..110) stays as it was, also where the child's
    // document rectangle (client 90..100 of it) would lie.
    EXPECT_EQ(RGB(0, 0, 0), ScreenPixel(ctrl.GetSafeHwnd(), 50, 80));
    EXPECT_EQ(RGB(0, 0, 0), ScreenPixel(ctrl.GetSafeHwnd(), 50, 95));
}
