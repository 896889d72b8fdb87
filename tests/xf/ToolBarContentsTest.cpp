// Toolbar contents on real bars: label measuring and presses, the slider's
// orientation and length, tab strips, the frame list of an MDI area, and a
// painted bar checked at known pixels.
#include <gtest/gtest.h>
#include "XfTestKit.h"
#include "hybrid/ContentDrawing.h"
#include "hybrid/IHybridSlider.h"
#include "xf/xfFrameListContent.h"
#include "xf/xfToolBar.h"

using namespace xftest;

namespace {

const int kKind = 43;
const SxfToolBarItem kEnd = {XF_ITEM_END, 0, 0, 0, 0, 0, 0, nullptr, 0};

SxfToolBarItem Item(UINT type, UINT id, DWORD flags = 0, INT_PTR param = 0, UINT param2 = 0)
{
    return SxfToolBarItem{type, id, flags, param, param2, 0, 0, nullptr, 0};
}

class Contents : public ::testing::Test
{
protected:
    void TearDown() override
    {
        if (host.m_hWnd)
            host.Close();
        DrainQuits();
        Central().layouts.erase(kKind);
        Central().tables.erase(62);
    }
    CxfFrame* Build(const wchar_t* layout, std::vector<SxfToolBarItem> items, int width = 400, int height = 200)
    {
        DrainQuits();
        table = std::move(items);
        table.push_back(kEnd);
        Central().tables[62] = table.data();
        Central().layouts[kKind] = layout;
        EXPECT_TRUE(host.Open(width, height, true));
        PumpLayout();
        return host.Root();
    }
    static IHybridContent* ContentAt(CxfToolBar* bar, int i) { return bar->GetItemCells()[i]->GetContentPtr(); }
    static void Click(CxfToolBar* bar, IHybridCell* cell)
    {
        CRect r;
        cell->GetRect(&r);
        const LPARAM at = MAKELPARAM(r.CenterPoint().x, r.CenterPoint().y);
        bar->GetCtrl().SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, at);
        bar->GetCtrl().SendMessage(WM_LBUTTONUP, 0, at);
    }
    std::vector<SxfToolBarItem> table;
    CTestHost host{CxfAgent::FlagBuildLayout, kKind};
};

WPARAM TakeCommand(HWND window)
{
    MSG msg;
    return ::PeekMessageW(&msg, window, WM_COMMAND, WM_COMMAND, PM_REMOVE) ? msg.wParam : 0;
}

} // namespace

TEST_F(Contents, LabelsMeasureOnceFromTextOrLetterCountAndPostTheirCommand)
{
    CxfFrame* root = Build(L"F{T(tb=62)P(id=1)}", {Item(XF_ITEM_LABEL, 0, 0, 5), Item(XF_ITEM_LABEL, 71, 0, 0),
                                                   Item(XF_ITEM_LABEL, 72, 0, 0, 10247)});
    CxfToolBar* bar = dynamic_cast<CxfToolBar*>(root->GetBar(0));
    ASSERT_NE(nullptr, bar);
    IHybridStyle* style = bar->GetItemCells()[0]->GetStyle();
    const CSize five = MeasureStyleText(&bar->GetCtrl(), style, L"MMMMM");
    const CSize one = MeasureStyleText(&bar->GetCtrl(), style, L"M");
    EXPECT_EQ(five.cx + 6, ContentAt(bar, 0)->GetPreferredWidth());
    EXPECT_EQ(five.cy + 6, ContentAt(bar, 0)->GetPreferredHeight(0));
    EXPECT_EQ(one.cx + 6, ContentAt(bar, 1)->GetPreferredWidth());

    // The text of string nParam2; a longer text later keeps the first size.
    CIPtr<IxfToolBarLabel> titled;
    ASSERT_TRUE(SUCCEEDED(titled.QueryFrom(ContentAt(bar, 2), IID_IxfToolBarLabel)));
    EXPECT_STREQ(L"Untitled", titled->GetText());
    const int width = ContentAt(bar, 2)->GetPreferredWidth();
    titled->SetText(L"A much longer title than before");
    EXPECT_EQ(width, ContentAt(bar, 2)->GetPreferredWidth());

    // A press posts the command, also the command 0.
    HWND top = root->m_hWnd;
    while (TakeCommand(top)) {
    }
    EXPECT_TRUE(ContentAt(bar, 1)->OnLButtonDown(CPoint(0, 0)));
    EXPECT_EQ(71u, TakeCommand(top));
    MSG msg;
    EXPECT_TRUE(ContentAt(bar, 0)->OnLButtonDown(CPoint(0, 0)));
    ASSERT_TRUE(::PeekMessageW(&msg, top, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(0u, msg.wParam);
}

TEST_F(Contents, SliderTurnsVerticalOnASideBarAndTakesItsLengthFromTheRecord)
{
    CxfFrame* root = Build(L"F{T(left,tb=62)P(id=1)}", {Item(XF_ITEM_SLIDER, 81, 0, 80), Item(XF_ITEM_SLIDER, 82)});
    CxfToolBar* bar = dynamic_cast<CxfToolBar*>(root->GetBar(0));
    ASSERT_NE(nullptr, bar);
    EXPECT_EQ(80, ContentAt(bar, 0)->GetPreferredHeight(0));
    EXPECT_EQ(200, ContentAt(bar, 1)->GetPreferredHeight(0)); // the slider's own length
    EXPECT_GT(ContentAt(bar, 0)->GetPreferredHeight(0), ContentAt(bar, 0)->GetPreferredWidth());
    // The bar is as thick as its widest item.
    EXPECT_EQ(ContentAt(bar, 0)->GetPreferredWidth(), bar->GetDockExtent());
}

TEST_F(Contents, TabStripHoldsDataActivatesAndPostsItsCommand)
{
    CxfFrame* root = Build(L"F{T(tb=62)P(id=1)}", {Item(XF_ITEM_TABS, 90)});
    CxfToolBar* bar = dynamic_cast<CxfToolBar*>(root->GetBar(0));
    ASSERT_NE(nullptr, bar);
    CIPtr<IxfTab> tabs;
    ASSERT_TRUE(SUCCEEDED(tabs.QueryFrom(ContentAt(bar, 0), IID_IxfTab)));
    tabs->AddTab(L"One", 11);
    tabs->AddTab(L"Two", 22);
    EXPECT_EQ(2, tabs->GetTabCount());
    EXPECT_EQ(22u, tabs->GetTabData(1));
    EXPECT_EQ(0u, tabs->GetTabData(-1));
    EXPECT_EQ(0u, tabs->GetTabData(2));
    tabs->SetActiveTab(1);
    EXPECT_EQ(1, tabs->GetActiveTab());
    tabs->SetActiveTab(-1);
    EXPECT_EQ(-1, tabs->GetActiveTab());
    EXPECT_GT(ContentAt(bar, 0)->GetPreferredWidth(), 0);

    PumpLayout();
    HWND top = root->m_hWnd;
    while (TakeCommand(top)) {
    }
    CCellArray tabCells;
    CCellCollector collect(tabCells);
    bar->GetCtrl().EnumCells(collect, HCE_ALL);
    // The last cell made is the second tab.
    IHybridCell* second = tabCells[tabCells.GetSize() - 1];
    ASSERT_NE(nullptr, second);
    bar->GetCtrl().SetActiveCell(second, false, true);
    EXPECT_EQ(90u, TakeCommand(top));
    tabs->RemoveAllTabs();
    EXPECT_EQ(0, tabs->GetTabCount());
}

TEST_F(Contents, FrameListMirrorsTheDocumentsOfItsArea)
{
    CxfFrame* root = Build(L"F{M{T(tb=62)F(controller=31){P(id=1)}F(controller=32){P(id=2)}F(controller=33){P(id=3)}}}",
                           {Item(XF_ITEM_FRAMELIST, 0, XF_ITEMF_STRETCH)}, 500, 300);
    ASSERT_EQ(1, root->GetChildCount());
    CxfFrame* area = root->GetChild(0);
    ASSERT_EQ(CxfFrame::KindMDIClient, area->GetKind());
    CIPtr<IxfFrameListContent> list;
    ASSERT_TRUE(area->GetFrameList(&list));
    ASSERT_EQ(3, area->GetChildCount());
    CxfController* c[3];
    for (int i = 0; i < 3; ++i)
        c[i] = area->GetChild(i)->GetController();
    // The frames got their tabs when the tree started: the first tab added
    // activated its frame, later ones changed nothing.
    EXPECT_EQ(c[0], list->GetActiveController());
    EXPECT_TRUE(area->GetChild(0)->IsActive());
    EXPECT_FALSE(area->GetChild(1)->IsActive());

    // A click on the third tab shows its frame and hides the others.
    CxfToolBar* bar = dynamic_cast<CxfToolBar*>(area->GetBar(0));
    ASSERT_NE(nullptr, bar);
    PumpLayout();
    CCellArray cells;
    CCellCollector collect(cells);
    bar->GetCtrl().EnumCells(collect, HCE_ALL);
    IHybridCell* third = nullptr;
    for (INT_PTR i = 0; i < cells.GetSize(); ++i)
        if (cells[i]->GetData() == reinterpret_cast<DWORD_PTR>(c[2]))
            third = cells[i];
    ASSERT_NE(nullptr, third);
    Click(bar, third);
    EXPECT_EQ(c[2], list->GetActiveController());
    EXPECT_TRUE(area->GetChild(2)->IsShown());
    EXPECT_TRUE(area->GetChild(2)->IsActive());
    EXPECT_FALSE(area->GetChild(0)->IsShown());

    // Next from the last wraps to the first; previous from the first to the last.
    list->ActivateNext();
    EXPECT_EQ(0, list->GetActiveIndex());
    EXPECT_TRUE(area->GetChild(0)->IsShown());
    list->ActivatePrevious();
    EXPECT_EQ(2, list->GetActiveIndex());

    // Removing the active last tab activates the new last one.
    list->RemoveEntry(c[2]);
    EXPECT_EQ(c[1], list->GetActiveController());
    EXPECT_TRUE(area->GetChild(1)->IsShown());
    EXPECT_TRUE(area->GetChild(1)->IsActive());

    EXPECT_FALSE(area->GetChild(0)->IsShown());
    list->RemoveAll();
    EXPECT_EQ(-1, list->GetActiveIndex());
}

TEST_F(Contents, ABarPaintsItsGradientSeparatorAndSlider)
{
    // A label, a skinned separator, a slider and a plain separator on a
    // bar without gripper; the gradient covers only the items' area.
    CxfFrame* root = Build(L"F{T(nogripper,tb=62)P(id=1)}",
                           {Item(XF_ITEM_LABEL, 1, 0, 4), Item(XF_ITEM_SEPARATOR, 0, XF_ITEMF_ALT),
                            Item(XF_ITEM_SLIDER, 2, 0, 100), Item(XF_ITEM_SEPARATOR, 0)},
                           400, 200);
    CxfToolBar* bar = dynamic_cast<CxfToolBar*>(root->GetBar(0));
    ASSERT_NE(nullptr, bar);
    bar->GetCtrl().RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    PumpFor(100);
    CRect sep, slider, last;
    bar->GetItemCells()[1]->GetRect(&sep);
    bar->GetItemCells()[2]->GetRect(&slider);
    bar->GetItemCells()[3]->GetRect(&last);
    EXPECT_EQ(10, sep.Width()); // the skin's size
    EXPECT_EQ(100, slider.Width());
    CClientDC dc(&bar->GetCtrl());
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    // Etched line: grey then white in the middle of the separator.
    const int x = sep.left + (sep.Width() - 10) / 2 + 4;
    EXPECT_EQ(RGB(0xA3, 0xA3, 0xA3), dc.GetPixel(x, sep.CenterPoint().y));
    EXPECT_EQ(RGB(0xFF, 0xFF, 0xFF), dc.GetPixel(x + 1, sep.CenterPoint().y));
    // The gradient: lighter than the face at the top, darker at the bottom.
    CRect client;
    bar->GetCtrl().GetClientRect(&client);
    EXPECT_EQ(face, dc.GetPixel(0, 0)); // a cut corner
    const COLORREF topColour = dc.GetPixel(1, 1), bottomColour = dc.GetPixel(1, client.bottom - 2);
    EXPECT_GT(GetGValue(topColour), GetGValue(face));
    EXPECT_LT(GetGValue(bottomColour), GetGValue(face));
    // Beyond the items the background is flat.
    EXPECT_EQ(face, dc.GetPixel(client.right - 3, client.CenterPoint().y));
    // The slider's groove is drawn in the middle of its cell.
    const COLORREF groove = dc.GetPixel(slider.left + 30, slider.CenterPoint().y);
    EXPECT_NE(dc.GetPixel(slider.left + 30, slider.top + 1), groove);
}
