// Layout geometry of the sub-content kinds in a real control window.
#include <gtest/gtest.h>
#include "HybridTestKit.h"
#include "hybrid/HybridHeading.h"

using namespace hybridtest;

namespace {

CIPtr<IHybridHeading> MakeModel(CHybridCtrl* ctrl, std::initializer_list<int> widths)
{
    CIPtr<IHybridHeading> model(new CHybridHeading(ctrl));
    int i = 0;
    for (int w : widths)
        model->InsertColumn(i++, w);
    return model;
}

} // namespace

TEST(HybridLayout, VerticalStackAndContentHeight)
{
    CTestHost host(200, 300);
    CIPtr<IHybridCell> a = host.AddBox(nullptr, 50, 20);
    CIPtr<IHybridCell> b = host.AddBox(nullptr, 50, 30);
    host.Pump();
    EXPECT_EQ(CRect(0, 0, 200, 20), CTestHost::RectOf(a));
    EXPECT_EQ(CRect(0, 20, 200, 50), CTestHost::RectOf(b));
    EXPECT_EQ(50, host.Ctrl().GetContentHeight());
    EXPECT_FALSE(host.Ctrl().IsScrollBarShown());

    // Bit 30 centres the children in the owner's content height: a box of
    // 100 with children of 20 + 30 starts them 25 lower.
    CBoxContent* tall = nullptr;
    CIPtr<IHybridCell> owner = host.AddBox(nullptr, 10, 100, RGB(1, 1, 1), HCB_ALIGNCENTER, 0, &tall);
    owner->SetSubContent(nullptr, 2);
    CIPtr<IHybridCell> c1 = host.AddBox(owner, 10, 20);
    CIPtr<IHybridCell> c2 = host.AddBox(owner, 10, 30);
    host.Pump();
    const CRect o = CTestHost::RectOf(owner);
    EXPECT_EQ(o.top + 25, CTestHost::RectOf(c1).top);
    EXPECT_EQ(o.top + 45, CTestHost::RectOf(c2).top);
}

TEST(HybridLayout, FixedAndPercentageColumnsAtSeveralWidths)
{
    CTestHost host(400, 200);
    CIPtr<IHybridHeading> fixed = MakeModel(&host.Ctrl(), {50, 120, 80});
    CIPtr<IHybridCell> row = host.AddContainer(nullptr, 1, fixed);
    CIPtr<IHybridCell> c0 = host.AddBox(row, 10, 16, RGB(255, 0, 0), 0, 0);
    CIPtr<IHybridCell> c1 = host.AddBox(row, 10, 24, RGB(0, 255, 0), 0, 1);
    CIPtr<IHybridCell> c2 = host.AddBox(row, 10, 16, RGB(0, 0, 255), HCB_VCENTER, 2);
    c2->SetStyleBits(static_cast<DWORD>(c2->GetStyleBits()) & ~HCB_VSTRETCH, 0);

    // Percentages with the first column fixed (0x2200): the others share the
    // rest by their values (set as their widths at insertion: 60 and 40).
    CIPtr<IHybridHeading> shares = MakeModel(&host.Ctrl(), {100, 60, 40});
    CIPtr<IHybridCell> prow = host.AddContainer(nullptr, 1, shares, 0x2200);
    CIPtr<IHybridCell> p0 = host.AddBox(prow, 1, 10, RGB(9, 9, 9), 0, 0);
    CIPtr<IHybridCell> p1 = host.AddBox(prow, 1, 10, RGB(9, 9, 9), 0, 1);
    CIPtr<IHybridCell> p2 = host.AddBox(prow, 1, 10, RGB(9, 9, 9), 0, 2);

    // Percentages with the last two fixed (0xA00).
    CIPtr<IHybridHeading> title = MakeModel(&host.Ctrl(), {99, 20, 20});
    CIPtr<IHybridCell> trow = host.AddContainer(nullptr, 1, title, 0xA00);
    CIPtr<IHybridCell> t0 = host.AddBox(trow, 1, 10, RGB(9, 9, 9), 0, 0);
    CIPtr<IHybridCell> t2 = host.AddBox(trow, 1, 10, RGB(9, 9, 9), 0, 2);

    struct SRow
    {
        int width;
        int p1Left;
        int p1Right;
        int p2Right;
        int t0Right;
    };
    const SRow table[] = {
        {400, 100, 280, 400, 356},
        {300, 100, 220, 300, 257},
        {200, 100, 160, 200, 158},
    };
    for (const SRow& r : table) {
        host.Resize(r.width, 200);
        host.Pump(60); // the percentage widths settle with one more relayout
        SCOPED_TRACE(r.width);
        // Fixed columns never move; the stretch cell takes the row height.
        EXPECT_EQ(CRect(0, 0, 50, 24), CTestHost::RectOf(c0));
        EXPECT_EQ(CRect(50, 0, 170, 24), CTestHost::RectOf(c1));
        EXPECT_EQ(CRect(170, 4, 250, 20), CTestHost::RectOf(c2));
        EXPECT_EQ(CRect(0, 24, 100, 34), CTestHost::RectOf(p0));
        EXPECT_EQ(r.p1Left, CTestHost::RectOf(p1).left);
        EXPECT_EQ(r.p1Right, CTestHost::RectOf(p1).right);
        EXPECT_EQ(r.p2Right, CTestHost::RectOf(p2).right);
        EXPECT_EQ(r.t0Right, CTestHost::RectOf(t0).right);
        EXPECT_EQ(r.t0Right + 40, CTestHost::RectOf(t2).right);
    }
}

TEST(HybridLayout, ColumnModelSettersCheckIndexAndRange)
{
    CTestHost host;
    CIPtr<IHybridHeading> model = MakeModel(&host.Ctrl(), {10, 20});
    model->SetWidth(5, 100);
    model->SetWidth(-1, 100);
    model->SetWidth(0, -7);
    model->SetSecondValue(9, 3);
    EXPECT_EQ(2, model->GetCount());
    EXPECT_EQ(30, model->GetTotalWidth());
    EXPECT_EQ(0, model->GetWidth(-1));
    EXPECT_EQ(0, model->GetWidth(2));
    EXPECT_EQ(0, model->GetSecondValue(2));
    // An insert past the end grows the model.
    model->InsertColumn(4, 7);
    EXPECT_EQ(5, model->GetCount());
    EXPECT_EQ(7, model->GetWidth(4));

    // The same width causes no relayout request; a new one does.
    host.Pump();
    model->SetWidth(0, 10);
    EXPECT_FALSE(host.Ctrl().IsRepaintPending());
    model->SetWidth(0, 11);
    EXPECT_TRUE(host.Ctrl().IsRepaintPending());
}

TEST(HybridLayout, FlowWrappingAndJustifiedRows)
{
    CTestHost host(100, 300);
    CIPtr<IHybridCell> flow = host.AddContainer(nullptr, 3);
    std::vector<CIPtr<IHybridCell>> cells;
    for (int w : {30, 40, 50, 60, 120})
        cells.push_back(host.AddBox(flow, w, w / 10));
    host.Pump();
    // Rows: {30, 40} {50} {60} {120, overflowing}; stretch cells take the row height.
    const CRect expected[] = {{0, 0, 30, 4}, {30, 0, 70, 4}, {0, 4, 50, 9}, {0, 9, 60, 15}, {0, 15, 120, 27}};
    for (size_t i = 0; i < cells.size(); ++i)
        EXPECT_EQ(expected[i], CTestHost::RectOf(cells[i])) << i;
    EXPECT_EQ(27, CTestHost::RectOf(flow).Height());

    // Justified: 30 + 40 in 100 gives each 15 more.
    CTestHost host2(100, 300);
    CIPtr<IHybridCell> just = host2.AddContainer(nullptr, 4);
    CIPtr<IHybridCell> j0 = host2.AddBox(just, 30, 10);
    CIPtr<IHybridCell> j1 = host2.AddBox(just, 40, 10);
    host2.Pump();
    EXPECT_EQ(CRect(0, 0, 45, 10), CTestHost::RectOf(j0));
    EXPECT_EQ(CRect(45, 0, 100, 10), CTestHost::RectOf(j1));

    // One item wider than the row, and a row with no spare width: no
    // division by zero, the item keeps its width.
    CIPtr<IHybridCell> just2 = host2.AddContainer(nullptr, 4);
    CIPtr<IHybridCell> wide = host2.AddBox(just2, 150, 10);
    CIPtr<IHybridCell> exact = host2.AddBox(just2, 100, 10);
    host2.Pump();
    EXPECT_EQ(150, CTestHost::RectOf(wide).Width());
    EXPECT_EQ(100, CTestHost::RectOf(exact).Width());
    EXPECT_EQ(CTestHost::RectOf(wide).bottom, CTestHost::RectOf(exact).top);
}

TEST(HybridLayout, FreePlacementFollowsTheOwner)
{
    CTestHost host(200, 300);
    CIPtr<IHybridCell> spacer = host.AddBox(nullptr, 10, 30);
    CIPtr<IHybridCell> free = host.AddContainer(nullptr, 5);
    CIPtr<IHybridCell> a = host.AddBox(free, 1, 1);
    CIPtr<IHybridCell> b = host.AddBox(free, 1, 1);
    CIPtr<IHybridSubContent> sub;
    free->GetSubContent(&sub);
    CIPtr<IFreeHybridSubContent> placer;
    ASSERT_TRUE(SUCCEEDED(placer.QueryFrom(sub, IID_IFreeHybridSubContent)));
    placer->SetCellRect(a, 10, 5, 60, 25);
    placer->SetCellRect(b, 100, 40, 150, 70);
    host.Ctrl().UpdateLayout(true);
    host.Pump();
    EXPECT_EQ(CRect(10, 35, 60, 55), CTestHost::RectOf(a));
    EXPECT_EQ(CRect(100, 70, 150, 100), CTestHost::RectOf(b));
    EXPECT_EQ(100, host.Ctrl().GetContentHeight());

    // The owner moves down by 20: the cells keep their places relative to it.
    static_cast<CBoxContent*>(spacer->GetContentPtr())->m_height = 50;
    host.Ctrl().UpdateLayout(true);
    host.Pump();
    EXPECT_EQ(CRect(10, 55, 60, 75), CTestHost::RectOf(a));
}

TEST(HybridLayout, DisplacedColumnCellIsDetached)
{
    CTestHost host;
    CIPtr<IHybridHeading> model = MakeModel(&host.Ctrl(), {50, 50});
    CIPtr<IHybridCell> row = host.AddContainer(nullptr, 1, model);
    CBoxContent* firstContent = nullptr;
    const int aliveBefore = CBoxContent::s_alive;
    CIPtr<IHybridCell> first = host.AddBox(row, 10, 10, RGB(1, 2, 3), 0, 0, &firstContent);
    CIPtr<IHybridCell> second = host.AddBox(row, 10, 10, RGB(1, 2, 3), 0, 0);
    // The first cell left the tree: no control, no parent, no content.
    EXPECT_EQ(nullptr, first->GetCtrl());
    EXPECT_FALSE(first->HasParent());
    EXPECT_EQ(nullptr, first->GetContentPtr());
    EXPECT_EQ(aliveBefore + 1, CBoxContent::s_alive);
    CIPtr<IHybridSubContent> sub;
    row->GetSubContent(&sub);
    CIPtr<IHybridCell> inSlot;
    ASSERT_TRUE(sub->GetColumnCell(0, &inSlot));
    EXPECT_TRUE(IsSameObject(inSlot, second));
    EXPECT_EQ(1, sub->GetColumnCount());
}

TEST(HybridLayout, HiddenCellsTakeOnlyTheirBottomMargin)
{
    CTestHost host(200, 300);
    // Shown only while selected (bit 26): deselecting hides it and its subtree.
    CIPtr<IHybridCell> panel = host.AddBox(nullptr, 10, 40, RGB(0, 0, 0), HCB_SHOWSELECTED);
    panel->SetMargins(0x03000000);
    panel->SetSubContent(nullptr, 2);
    CIPtr<IHybridCell> inside = host.AddBox(panel, 10, 10);
    CIPtr<IHybridCell> below = host.AddBox(nullptr, 10, 10);
    panel->SetSelected(true, false);
    host.Pump(60);
    EXPECT_EQ(43, CTestHost::RectOf(below).top);
    panel->SetSelected(false, false);
    host.Pump(60);
    EXPECT_FALSE(panel->IsShown());
    EXPECT_FALSE(inside->IsVisible());
    EXPECT_EQ(3, CTestHost::RectOf(panel).Height());
    EXPECT_EQ(3, CTestHost::RectOf(below).top);

    // Animated show and hide (bit 21) end in the same layout; a cell less
    // than 10 pixels high changes without animation.
    CIPtr<IHybridCell> animated = host.AddBox(nullptr, 10, 50, RGB(0, 0, 0), HCB_ANIMATE);
    CIPtr<IHybridCell> small = host.AddBox(nullptr, 10, 8, RGB(0, 0, 0), HCB_ANIMATE);
    CIPtr<IHybridCell> last = host.AddBox(nullptr, 10, 10);
    host.Pump(60);
    const int top = CTestHost::RectOf(last).top;
    animated->Show(false, false);
    small->Show(false, false);
    host.Pump(60);
    EXPECT_EQ(top - 58, CTestHost::RectOf(last).top);
    animated->Show(true, false);
    small->Show(true, false);
    host.Pump(60);
    EXPECT_EQ(top, CTestHost::RectOf(last).top);
}

TEST(HybridLayout, BurstBeyondTheRateLimitEndsOnTheLastLayout)
{
    CTestHost host(200, 200);
    CBoxContent* box = nullptr;
    CIPtr<IHybridCell> cell = host.AddBox(nullptr, 50, 10, RGB(0, 0, 200), 0, 0, &box);
    host.Pump();
    // More requests than the limit lets through, each run at once; the
    // last change comes after the limit is spent.
    for (int i = 0; i < 40; ++i) {
        box->m_height = 10 + i;
        host.Ctrl().UpdateLayout(false);
        host.Pump(0);
    }
    box->m_height = 77;
    host.Ctrl().UpdateLayout(false);
    // The last layout comes on a timer at the end of the limit's window.
    EXPECT_TRUE(host.PumpUntil([&cell] { return CTestHost::RectOf(cell).Height() == 77; }))
        << "the last layout never came; the cell is " << CTestHost::RectOf(cell).Height() << " high";
}
