// Group boxes built by the group handler, column headings, separators and
// implanted child windows in a real control under Xvfb, driven by posted
// mouse messages with the pointer really moved where contents read it.
#include <gtest/gtest.h>
#include "HybridTestKit.h"
#include "hybrid/CellBuilder.h"
#include "hybrid/GroupHandler.h"
#include "hybrid/HeadingContent.h"
#include "hybrid/IHeadingContent.h"
#include "hybrid/IHybridImplantedWnd.h"

using namespace hybridtest;

namespace {

void ClickAt(CTestHost& host, CPoint p)
{
    host.MoveTo(p);
    host.Click(p.x, p.y);
}

std::vector<UINT> CodesOf(const CTestHost& host, UINT code)
{
    std::vector<UINT> out;
    for (UINT c : host.Codes())
        if (c == code)
            out.push_back(c);
    return out;
}

// A group filling the control, with one button of its own in the client cell.
struct SGroup
{
    CIPtr<CGroupHandler> handler;
    CIPtr<IHybridCell> cell, client, body, buttonCell, ownButton;
};

SGroup MakeGroup(CTestHost& host, UINT borderSet)
{
    SGroup g;
    g.handler.Attach(new CGroupHandler(L"Fragment", true, borderSet));
    CCellBuilder builder(&host.Ctrl());
    builder.SetHandler(g.handler).ReturnCell(&g.cell).AddCell();
    EXPECT_TRUE(g.handler->GetClientCell(&g.client));
    EXPECT_TRUE(g.handler->GetBodyCell(&g.body));
    CIPtr<IHybridButton> expand;
    EXPECT_TRUE(g.handler->GetExpandButton(&expand));
    if (expand)
        g.buttonCell = expand->GetCell();
    builder.SetParent(g.client).SetText(L"Own").SetData(7).ReturnCell(&g.ownButton).AddButton();
    host.Pump(60);
    return g;
}

} // namespace

TEST(HybridGroups, TheExpandButtonCollapsesAndExpandsTheBody)
{
    CTestHost host;
    SGroup g = MakeGroup(host, 0);
    ASSERT_TRUE(g.client && g.body && g.buttonCell && g.ownButton);
    EXPECT_TRUE(g.handler->IsExpanded()) << "a group starts expanded";
    const int expandedHeight = host.Ctrl().GetContentHeight();

    ClickAt(host, Centre(g.ownButton));
    EXPECT_TRUE(g.body->IsShown()) << "another button of the group changes nothing";
    EXPECT_EQ(1u, CodesOf(host, HN_BUTTON_CLICKED).size());

    ClickAt(host, Centre(g.buttonCell));
    host.Pump(60);
    EXPECT_FALSE(g.body->IsShown());
    EXPECT_LT(host.Ctrl().GetContentHeight(), expandedHeight);
    EXPECT_EQ(2u, CodesOf(host, HN_BUTTON_CLICKED).size()) << "the click still reaches the parent";

    ClickAt(host, Centre(g.buttonCell));
    host.Pump(60);
    EXPECT_TRUE(g.body->IsShown());
    EXPECT_EQ(expandedHeight, host.Ctrl().GetContentHeight());
}

TEST(HybridGroups, BorderSetsPaintTheirOwnBitmaps)
{
    // Left side: a one-pixel line at the outer edge of the side's column;
    // set 0 grey (0xA3A3A3), set 1 blue-grey; the key colour stays unpainted.
    const COLORREF expected[2] = {RGB(0xA3, 0xA3, 0xA3), RGB(0x7F, 0x9D, 0xB9)};
    for (UINT set = 0; set < 2; ++set) {
        CTestHost host;
        SGroup g = MakeGroup(host, set);
        CIPtr<IHybridCell> row;
        ASSERT_TRUE(g.client->GetParentCell(&row) && row); // the middle cell
        const CRect middle = CTestHost::RectOf(row);
        host.Ctrl().UpdateWindow();
        host.Pump(30);
        const HWND wnd = host.Ctrl().GetSafeHwnd();
        EXPECT_EQ(expected[set], ScreenPixel(wnd, middle.left - 6, middle.CenterPoint().y)) << "set " << set;
        EXPECT_EQ(expected[set], ScreenPixel(wnd, middle.right + 5, middle.CenterPoint().y)) << "set " << set;
        EXPECT_EQ(RGB(255, 255, 255), ScreenPixel(wnd, middle.left - 3, middle.CenterPoint().y));
    }
}

TEST(HybridGroups, AHandlerOnTheControlForgetsItAndItsTimersWhenReplaced)
{
    CTestHost host;
    CIPtr<CRecordingHandler> handler;
    handler.Attach(new CRecordingHandler);
    host.Ctrl().SetHandler(handler);
    host.Ctrl().SetTimerCallback(10, handler);
    host.Ctrl().SetHandler(nullptr);
    // A timer left running would call the handler through a dead registry
    // entry; after the detach the control holds no reference to it.
    host.Pump(60);
    const ULONG refs = handler->AddRef();
    handler->Release();
    EXPECT_EQ(2u, refs) << "only the test holds the handler";
}

TEST(HybridHeadings, BorderDragResizesNeighboursAndEndsWithCode5)
{
    CTestHost host;
    CCellBuilder builder(&host.Ctrl());
    CIPtr<IHybridHeading> model;
    builder.AddColumn(40).AddColumn(100).AddColumn(60).ReturnColumnModel(&model).CreateColumnModel();
    CIPtr<IHybridCell> row = host.AddContainer(nullptr, 1, model);
    CIPtr<IHybridCell> cells[3];
    for (int i = 0; i < 3; ++i)
        builder.SetParent(row)
            .SetIndex(i)
            .SetText(L"Col")
            .SetStyleBits(0, HHB_CLICKABLE)
            .ReturnCell(&cells[i])
            .AddHeading();
    host.Pump(60);
    const CRect second = CTestHost::RectOf(cells[1]);
    ASSERT_EQ(100, second.Width());

    // The first column's left border and the last one's right border never resize.
    host.MoveTo(CPoint(CTestHost::RectOf(cells[0]).left + 2, second.CenterPoint().y));
    EXPECT_EQ(0, CHeadingContent::GetResizeSide());
    host.MoveTo(CPoint(CTestHost::RectOf(cells[2]).right - 2, second.CenterPoint().y));
    EXPECT_EQ(0, CHeadingContent::GetResizeSide());

    // Dragging the second heading's left border 30 pixels left: the first
    // column stops at 20, the second takes what the first gave.
    const CPoint grip(second.left + 2, second.CenterPoint().y);
    host.MoveTo(grip);
    EXPECT_EQ(1, CHeadingContent::GetResizeSide());
    host.Post(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grip.x, grip.y));
    host.MoveTo(CPoint(grip.x - 30, grip.y), MK_LBUTTON);
    EXPECT_EQ(20, model->GetWidth(0));
    EXPECT_EQ(120, model->GetWidth(1));
    // Back 10: the anchor sits where the border really is (10 right of the pointer).
    host.MoveTo(CPoint(grip.x - 20, grip.y), MK_LBUTTON);
    EXPECT_EQ(20, model->GetWidth(0));
    host.MoveTo(CPoint(grip.x - 5, grip.y), MK_LBUTTON);
    EXPECT_EQ(35, model->GetWidth(0));
    EXPECT_EQ(105, model->GetWidth(1));
    EXPECT_EQ(60, model->GetWidth(2));
    host.Post(WM_LBUTTONUP, 0, MAKELPARAM(grip.x - 5, grip.y));
    host.Pump(60);
    EXPECT_EQ(1u, CodesOf(host, HN_COLUMNS_CHANGED).size());
    EXPECT_TRUE(CodesOf(host, HN_HEADING_CLICKED).empty());
    EXPECT_EQ(35, CTestHost::RectOf(cells[0]).Width());
}

TEST(HybridHeadings, AClickNotifies35OnlyWhenReleasedInside)
{
    CTestHost host;
    CCellBuilder builder(&host.Ctrl());
    CIPtr<IHybridHeading> model;
    builder.AddColumn(150).AddColumn(150).ReturnColumnModel(&model).CreateColumnModel();
    CIPtr<IHybridCell> row = host.AddContainer(nullptr, 1, model);
    CIPtr<IHybridCell> plain, clickable;
    builder.SetParent(row).SetIndex(0).SetText(L"Name").ReturnCell(&plain).AddHeading();
    builder.SetParent(row)
        .SetIndex(1)
        .SetText(L"Size")
        .SetStyleBits(0, HHB_CLICKABLE)
        .ReturnCell(&clickable)
        .AddHeading();
    host.Pump(60);

    ClickAt(host, Centre(clickable));
    EXPECT_EQ(1u, CodesOf(host, HN_HEADING_CLICKED).size());
    for (const SNotification& n : host.m_notifications) {
        if (n.code == HN_HEADING_CLICKED) {
            EXPECT_EQ(clickable.Get(), n.sender);
        }
    }
    ClickAt(host, Centre(plain));
    EXPECT_EQ(1u, CodesOf(host, HN_HEADING_CLICKED).size()) << "a heading without the clickable bit";

    // Pressed inside, released outside: nothing.
    host.MoveTo(Centre(clickable));
    host.Post(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(Centre(clickable).x, Centre(clickable).y));
    host.MoveTo(CPoint(10, 150), MK_LBUTTON);
    host.Post(WM_LBUTTONUP, 0, MAKELPARAM(10, 150));
    host.Pump();
    EXPECT_EQ(1u, CodesOf(host, HN_HEADING_CLICKED).size());
}

TEST(HybridSeparators, HeightsFollowTheHighBits)
{
    CTestHost host;
    CCellBuilder builder(&host.Ctrl());
    const struct
    {
        DWORD high;
        int height;
    } cases[] = {
        {0x20, 2}, {0x10, 2}, {0x08, 1}, {0x80, 3}, {0, 8}, {0x1, 2}, {0x4, 8},
    };
    std::vector<CIPtr<IHybridCell>> cells;
    for (const auto& c : cases) {
        CIPtr<IHybridCell> cell;
        builder.SetStyleBits(0, c.high).ReturnCell(&cell).AddSeparator();
        cells.push_back(cell);
    }
    host.Pump(60);
    for (size_t i = 0; i < cells.size(); ++i)
        EXPECT_EQ(cases[i].height, CTestHost::RectOf(cells[i]).Height()) << "high bits " << cases[i].high;

    // An etched separator draws its grey line 3 pixels down, white under it.
    CCanvas canvas(100, 8);
    cells[6]->GetContentPtr()->Draw(canvas.dc(), CRect(0, 0, 100, 8));
    EXPECT_EQ(RGB(0xA3, 0xA3, 0xA3), canvas.At(50, 3));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(50, 4));
    EXPECT_EQ(canvas.At(50, 0), canvas.At(1, 3)) << "the margin is background, not line";
}

TEST(HybridImplanted, AnEditControlSitsOnItsCellAndMovesWithIt)
{
    CTestHost host(300, 150);
    HWND edit = ::CreateWindowExW(0, L"EDIT", L"implanted", WS_CHILD | WS_BORDER, 0, 0, 10, 10,
                                  host.Ctrl().GetSafeHwnd(), nullptr, ::GetModuleHandleW(nullptr), nullptr);
    HWND stranger = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD, 0, 0, 10, 10, host.Parent(), nullptr,
                                      ::GetModuleHandleW(nullptr), nullptr);
    CCellBuilder builder(&host.Ctrl());
    CIPtr<IHybridCell> spacer, cell;
    CIPtr<IHybridImplantedWnd> implanted;
    builder.SetText(L"above").ReturnCell(&spacer).AddText();
    builder.SetWindow(edit).ReturnCell(&cell).ReturnImplantedWnd(&implanted).AddImplantedWnd();
    ASSERT_TRUE(implanted);
    implanted->SetWnd(stranger); // a second window is ignored
    host.Pump(60);

    auto placed = [&]() {
        CRect wnd;
        ::GetWindowRect(edit, &wnd);
        ::MapWindowPoints(nullptr, host.Ctrl().GetSafeHwnd(), reinterpret_cast<POINT*>(&wnd), 2);
        return wnd;
    };
    EXPECT_TRUE(::IsWindowVisible(edit));
    EXPECT_EQ(100, CTestHost::RectOf(cell).Height()) << "100 pixels without SetHeight";
    EXPECT_EQ(CTestHost::RectOf(cell).TopLeft(), placed().TopLeft());
    EXPECT_FALSE(::IsWindowVisible(stranger));

    implanted->SetHeight(40);
    spacer->Show(false, false);
    host.Pump(60);
    EXPECT_EQ(40, CTestHost::RectOf(cell).Height());
    EXPECT_EQ(CTestHost::RectOf(cell), placed()) << "moved and sized with its cell";

    host.Ctrl().DetachCell(cell);
    host.Pump(60);
    const CRect before = placed();
    spacer->Show(true, false);
    host.Pump(60);
    EXPECT_EQ(before, placed()) << "an unregistered window is no longer moved";
    ::DestroyWindow(edit);
    ::DestroyWindow(stranger);
}
