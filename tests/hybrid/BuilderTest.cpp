// The cell builder: where cells land (columns, nesting, explicit index and
// parent), which values reach them, what is handed out and what is cleared.
#include <gtest/gtest.h>
#include "HybridTestKit.h"
#include "hybrid/CellBuilder.h"
#include "hybrid/IHybridCheckBox.h"
#include "hybrid/IHybridSlider.h"
#include "hybrid/IHybridText.h"

using namespace hybridtest;

TEST(HybridBuilder, ColumnsFollowTheChildCounterAndAnExplicitIndexResetsIt)
{
    CTestHost host;
    CCellBuilder builder(&host.Ctrl());
    CIPtr<IHybridHeading> model;
    builder.AddColumn(50).AddColumn(60).AddColumn(70).ReturnColumnModel(&model).CreateColumnModel();
    ASSERT_TRUE(model);

    CIPtr<IHybridCell> row;
    builder.SetColumnModel(model).ReturnCell(&row).AddCell().BeginChildren();
    builder.SetText(L"a").AddText().SetText(L"b").AddText();
    builder.SetIndex(0).SetText(L"c").AddText(); // replaces column 0
    builder.SetText(L"d").AddText();             // the next automatic column is 1
    builder.EndChildren();
    host.Pump();
    ASSERT_TRUE(row);
    EXPECT_STREQ(L"c", TextOf(ColumnOf(row, 0)));
    EXPECT_STREQ(L"d", TextOf(ColumnOf(row, 1)));
    EXPECT_EQ(50, CTestHost::RectOf(ColumnOf(row, 1)).left);

    // After EndChildren the next cell goes back to the root's stack.
    CIPtr<IHybridCell> after, parent;
    builder.SetText(L"e").ReturnCell(&after).AddText();
    ASSERT_TRUE(after);
    ASSERT_TRUE(after->GetParentCell(&parent));
    EXPECT_TRUE(host.Ctrl().IsRootCell(parent));
}

TEST(HybridBuilder, ContainerWithoutSubContentGetsAVerticalStackAndValuesReachTheCell)
{
    CTestHost host;
    CCellBuilder builder(&host.Ctrl());
    CIPtr<IHybridCell> box, first, second, hidden, skipped, plain;
    builder.ReturnCell(&box).AddCell();
    builder.SetParent(box)
        .SetData(7)
        .SetMargins(0x02020202)
        .SetBkColor(RGB(1, 2, 3))
        .SetStyleBits(HCB_VTOP, 0x40)
        .ReturnCell(&first)
        .AddText();
    builder.SetParent(box).ReturnCell(&second).AddCell();
    ASSERT_TRUE(first && second);
    CIPtr<IHybridSubContent> sub;
    ASSERT_TRUE(box->GetSubContent(&sub));
    EXPECT_EQ(2, sub->GetKind());
    EXPECT_EQ(7u, first->GetData());
    EXPECT_EQ(0x02020202u, first->GetMargins());
    EXPECT_EQ(RGB(1, 2, 3), first->GetBkColor());
    // A placement bit replaces the default vertical stretch.
    EXPECT_EQ(0u, static_cast<DWORD>(first->GetStyleBits()) & HCB_VSTRETCH);
    EXPECT_EQ(0x40u, static_cast<DWORD>(first->GetStyleBits() >> 32));
    // Nothing of the first cell's values is left for the second.
    EXPECT_EQ(0u, second->GetData());
    EXPECT_EQ(host.Ctrl().GetBkColor(), second->GetBkColor()); // 0xFEFEFE: unset, inherited
    EXPECT_EQ(static_cast<uint64_t>(HCB_VSTRETCH), second->GetStyleBits());

    builder.SetStyleBits(HCB_SHOWSELECTED).ReturnCell(&hidden).AddCell();
    ASSERT_TRUE(hidden);
    EXPECT_FALSE(hidden->IsShown());

    // CreateIf(false) skips exactly one finisher and clears its values.
    builder.CreateIf(false).SetData(9).ReturnCell(&skipped).AddText();
    builder.ReturnCell(&plain).AddText();
    EXPECT_FALSE(skipped);
    ASSERT_TRUE(plain);
    EXPECT_EQ(0u, plain->GetData());
}

TEST(HybridBuilder, FinishersHandOutTheirContentAndClearTheirOwnTargets)
{
    CTestHost host;
    CCellBuilder builder(&host.Ctrl());
    CIPtr<IHybridSlider> slider;
    CIPtr<IHybridCheckBox> box;
    builder.ReturnSlider(&slider).SetSliderRange(10, 20).AddSlider();
    ASSERT_TRUE(slider);
    int minimum = 0, maximum = 0;
    slider->GetRange(minimum, maximum);
    EXPECT_EQ(10, minimum);
    EXPECT_EQ(20, maximum);

    builder.ReturnCheckBox(&box).SetText(L"on").SetChecked(1).AddCheckBox();
    ASSERT_TRUE(box);
    EXPECT_EQ(1, box->GetCheck());
    builder.AddCheckBox(); // the target was cleared: nothing more handed out
    EXPECT_EQ(1, box->GetCheck());

    CIPtr<IHybridText> text;
    builder.ReturnText(&text).SetText(L"first").AddText();
    builder.SetText(L"second").AddText();
    ASSERT_TRUE(text);
    EXPECT_STREQ(L"first", text->GetText());
}

TEST(HybridBuilder, StyleFromTheGuiFontScaledByPercent)
{
    CTestHost host;
    CCellBuilder builder(&host.Ctrl());
    LOGFONTW gui{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(gui), &gui);
    CIPtr<IHybridStyle> style, plain;
    builder.SetFontPercent(150).SetFontWeight(700).SetTextColor(RGB(9, 8, 7)).ReturnStyle(&style).CreateStyle();
    ASSERT_TRUE(style);
    LOGFONTW made{};
    style->GetFont()->GetLogFont(&made);
    EXPECT_EQ(gui.lfHeight * 150 / 100, made.lfHeight);
    EXPECT_EQ(700, made.lfWeight);
    EXPECT_EQ(RGB(9, 8, 7), style->GetTextColor());
    // The style values were reset by the finisher.
    builder.ReturnStyle(&plain).CreateStyle();
    plain->GetFont()->GetLogFont(&made);
    EXPECT_EQ(gui.lfHeight, made.lfHeight);
    EXPECT_EQ(gui.lfWeight, made.lfWeight);
}
