// Layout strings against the cell trees they build: every letter and
// directive, arguments kept in step across nesting levels, column models
// and styles, and strings that end too early never read past their end.
#include <gtest/gtest.h>
#include "HybridTestKit.h"
#include "hybrid/ButtonContent.h"
#include "hybrid/CellBuilder.h"
#include "hybrid/IHybridButton.h"
#include "hybrid/IHybridCheckBox.h"
#include "hybrid/IHybridCombo.h"
#include "hybrid/IHybridDate.h"
#include "hybrid/IHybridEdit.h"
#include "hybrid/IHybridPicture.h"
#include "hybrid/IHybridSeparator.h"
#include "hybrid/IHybridSlider.h"
#include "hybrid/IHybridText.h"
#include "hybrid/IHeadingContent.h"
#include "hybrid/LayoutString.h"

using namespace hybridtest;

namespace {

using Cells = std::vector<CIPtr<IHybridCell>>;

Cells ChildrenOf(IHybridSubContent* sub)
{
    CCellArray cells;
    if (sub)
        sub->GetChildren(&cells);
    Cells out;
    for (int i = 0; i < cells.GetSize(); ++i)
        out.push_back(cells.GetAt(i));
    return out;
}

Cells ChildrenOf(IHybridCell* cell)
{
    CIPtr<IHybridSubContent> sub;
    if (cell && cell->GetSubContent(&sub))
        return ChildrenOf(sub);
    return Cells();
}

Cells Roots(CTestHost& host)
{
    return ChildrenOf(host.Ctrl().GetRootSubContent());
}

// A row with `count` column cells' worth of columns.
CIPtr<IHybridCell> AddRow(CTestHost& host, int count)
{
    CCellBuilder builder(&host.Ctrl());
    CIPtr<IHybridHeading> model;
    builder.AddColumns(count).ReturnColumnModel(&model).CreateColumnModel();
    CIPtr<IHybridCell> row;
    builder.SetColumnModel(model).ReturnCell(&row).AddCell();
    return row;
}

} // namespace

TEST(LayoutString, TextCellsInTheRootListAndNestedLevelsCountFromZero)
{
    CTestHost host;
    BuildFromLayoutString(&host.Ctrl(), L"T(%t) T(%t)", L"one", L"two");
    Cells roots = Roots(host);
    ASSERT_EQ(2, static_cast<int>(roots.size()));
    EXPECT_STREQ(L"one", TextOf(roots[0]));
    EXPECT_STREQ(L"two", TextOf(roots[1]));
    EXPECT_EQ(host.Ctrl().GetStdStyle(HCS_NORMAL), roots[0]->GetStyle());

    // Arguments stay in step through every level.
    BuildFromLayoutString(&host.Ctrl(), L"C{T(%t)C{T(%t)}}T(%t)", L"a", L"b", L"c");
    roots = Roots(host);
    ASSERT_EQ(4, static_cast<int>(roots.size()));
    Cells inner = ChildrenOf(roots[2]);
    ASSERT_EQ(2, static_cast<int>(inner.size()));
    EXPECT_EQ(0, roots[2]->GetContentType());
    EXPECT_STREQ(L"a", TextOf(inner[0]));
    Cells innermost = ChildrenOf(inner[1]);
    ASSERT_EQ(1, static_cast<int>(innermost.size()));
    EXPECT_STREQ(L"b", TextOf(innermost[0]));
    EXPECT_STREQ(L"c", TextOf(roots[3]));
}

TEST(LayoutString, EveryLetterMakesItsContentAndHandsItsInterfaceOut)
{
    CTestHost host(400, 600);
    CIPtr<IHybridButton> button;
    CIPtr<IHybridEdit> edit;
    CIPtr<IHybridText> text;
    CIPtr<IHeadingContent> heading;
    CIPtr<IHybridPicture> picture, iconPicture;
    CIPtr<IHybridCombo> combo;
    CIPtr<IHybridProgress> progress;
    CIPtr<IHybridCheckBox> check;
    CIPtr<IHybridSlider> slider;
    CIPtr<IHybridDate> date;
    CIPtr<IHybridSeparator> separator;
    CIPtr<IHybridCell> container;
    HICON icon = ::LoadIconW(nullptr, MAKEINTRESOURCEW(32512)); // IDI_APPLICATION
    BuildFromLayoutString(&host.Ctrl(), L"B(%B%t%r) E(%t%r) T(%t%r) h(%t%r) P(%B%r) P(%i%r) c(%r) p(%s%r) x(%t%r)",
                          10021u, 0xFFFFFFu, L"Go", &button, L"typed", &edit, L"plain", &text, L"Head", &heading,
                          10021u, 0xFFFFFFu, &picture, icon, &iconPicture, &combo, 3, &progress, L"Tick", &check);
    BuildFromLayoutString(&host.Ctrl(), L"L(%r) d(%r) s(%r) t C(%r)", &slider, &date, &separator, &container);

    const WCHAR letters[] = L"BEThPPcpxLdstC";
    Cells roots = Roots(host);
    ASSERT_EQ(14, static_cast<int>(roots.size()));
    for (int i = 0; i < 13; ++i)
        EXPECT_EQ(letters[i], roots[i]->GetContentType()) << i;
    EXPECT_EQ(0, roots[13]->GetContentType());

    ASSERT_TRUE(button && edit && text && heading && picture && iconPicture && combo && progress && check);
    ASSERT_TRUE(slider && date && separator && container);
    EXPECT_EQ(10021, static_cast<CButtonContent*>(button.Get())->GetImageId());
    EXPECT_STREQ(L"typed", edit->GetText());
    EXPECT_STREQ(L"plain", text->GetText());
    int bitmapId = 0;
    COLORREF key = 0;
    picture->GetBitmap(&bitmapId, &key);
    EXPECT_EQ(10021, bitmapId);
    EXPECT_EQ(0xFFFFFFu, key);
    EXPECT_EQ(host.Ctrl().GetStdStyle(HCS_LARGE), progress->GetStyle());
    EXPECT_TRUE(IsSameObject(container, roots[13]));
    EXPECT_TRUE(IsSameObject(text->GetCell(), roots[2]));
}

TEST(LayoutString, CallerContentAndCellDirectives)
{
    CTestHost host;
    CIPtr<CBoxContent> box(new CBoxContent(20, 10)); // contents are born without references
    CIPtr<CRecordingHandler> handler;
    handler.Attach(new CRecordingHandler);
    CIPtr<IHybridCell> made;
    BuildFromLayoutString(&host.Ctrl(), L"U(%o%c%e%I%H%C%h)", static_cast<IHybridContent*>(box), RGB(1, 2, 3),
                          0x04030201u, 77u, static_cast<IHybridHandler*>(handler), &made, 99);
    ASSERT_TRUE(made);
    EXPECT_EQ(static_cast<IHybridContent*>(box), made->GetContentPtr());
    EXPECT_TRUE(IsSameObject(box->GetCell(), made));
    EXPECT_EQ(RGB(1, 2, 3), made->GetBkColor());
    EXPECT_EQ(0x04030201u, made->GetMargins());
    EXPECT_EQ(77u, made->GetData());
    EXPECT_TRUE(handler->IsAttached());

    // %T loads the plain string table text; %s outside 1 to 3 is no style.
    CIPtr<IHybridCell> month, large;
    BuildFromLayoutString(&host.Ctrl(), L"T(%T%s%C) T(%s%C)", 10085u, 9, &month, 3, &large);
    EXPECT_STREQ(L"January", TextOf(month));
    EXPECT_EQ(host.Ctrl().GetStdStyle(HCS_NORMAL), month->GetStyle());
    EXPECT_EQ(host.Ctrl().GetStdStyle(HCS_LARGE), large->GetStyle());

    // A %q takes no argument; %h takes one and does nothing.
    CIPtr<IHybridCell> quiet;
    BuildFromLayoutString(&host.Ctrl(), L"T(%q%h%t%C)", 5, L"after", &quiet);
    EXPECT_STREQ(L"after", TextOf(quiet));
}

TEST(LayoutString, StyleBitsGapsAndInsertionPlaces)
{
    CTestHost host;
    CIPtr<IHybridCell> top, stretched, gapped;
    BuildFromLayoutString(&host.Ctrl(), L"T(%S%C) T(%S%C) C(%L%R%C){T}", 0x20000u, &top, 0x10000u | HCB_NOFOCUS,
                          &stretched, 7, 9, &gapped);
    ASSERT_TRUE(top && stretched && gapped);
    EXPECT_EQ(static_cast<DWORD>(HCB_VTOP), static_cast<DWORD>(top->GetStyleBits()) & HCB_VPLACEMENT);
    EXPECT_EQ(static_cast<DWORD>(HCB_VSTRETCH), static_cast<DWORD>(stretched->GetStyleBits()) & HCB_VPLACEMENT);
    EXPECT_TRUE(static_cast<DWORD>(stretched->GetStyleBits()) & HCB_NOFOCUS);
    CIPtr<IHybridSubContent> sub;
    ASSERT_TRUE(gapped->GetSubContent(&sub));
    EXPECT_EQ(7, sub->GetLeftGap());
    EXPECT_EQ(9, sub->GetRightGap());
    EXPECT_EQ(1, static_cast<int>(ChildrenOf(gapped).size()));

    // %b links before that cell; nullptr for it appends.
    IHybridCell* before = top;
    BuildFromLayoutString(&host.Ctrl(), L"T(%b%t) T(%b%t)", &before, L"first", nullptr, L"last");
    Cells roots = Roots(host);
    ASSERT_EQ(5, static_cast<int>(roots.size()));
    EXPECT_STREQ(L"first", TextOf(roots[0]));
    EXPECT_TRUE(IsSameObject(top, roots[1]));
    EXPECT_STREQ(L"last", TextOf(roots[4]));

    // %n places cells in columns of an existing row given by %p, which is
    // used as it stands; a holder of no cell makes a new one.
    CIPtr<IHybridCell> row = AddRow(host, 3);
    IHybridCell* holder = row;
    const DWORD rowData = static_cast<DWORD>(row->GetData());
    BuildFromLayoutString(&host.Ctrl(), L"C(%p%I){T(%n%t) T(%n%t)}", &holder, 55u, 2, L"right", 0, L"left");
    EXPECT_EQ(rowData, row->GetData());
    EXPECT_STREQ(L"right", TextOf(ColumnOf(row, 2)));
    EXPECT_STREQ(L"left", TextOf(ColumnOf(row, 0)));
    IHybridCell* empty = nullptr;
    const int before2 = static_cast<int>(Roots(host).size());
    BuildFromLayoutString(&host.Ctrl(), L"C(%p)", &empty);
    EXPECT_EQ(before2 + 1, static_cast<int>(Roots(host).size()));
}

TEST(LayoutString, ColumnModelsAndStylesMakeNoCells)
{
    CTestHost host;
    CIPtr<IHybridHeading> model;
    CIPtr<IHybridStyle> style, bold;
    BuildFromLayoutString(&host.Ctrl(), L"H(%w%w%q%r) S(%s%r) S(%b%c%B%S%t%r)", 100, 50, &model, 200, &style, 700,
                          RGB(1, 1, 1), RGB(2, 2, 2), RGB(3, 3, 3), RGB(4, 4, 4), &bold);
    EXPECT_EQ(0, static_cast<int>(Roots(host).size()));
    ASSERT_TRUE(model && style && bold);
    ASSERT_EQ(2, model->GetCount());
    EXPECT_EQ(100, model->GetWidth(0));
    EXPECT_EQ(50, model->GetWidth(1));
    LOGFONTW gui{}, made{};
    ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(gui), &gui);
    style->GetFont()->GetLogFont(&made);
    EXPECT_EQ(gui.lfHeight * 2, made.lfHeight);
    EXPECT_EQ(host.Ctrl().GetBkColor(), style->GetBkColor());
    EXPECT_EQ(::GetSysColor(COLOR_HIGHLIGHT), style->GetSelBkColor());
    bold->GetFont()->GetLogFont(&made);
    EXPECT_EQ(700, made.lfWeight);
    EXPECT_EQ(gui.lfHeight, made.lfHeight);
    EXPECT_EQ(RGB(1, 1, 1), bold->GetTextColor());
    EXPECT_EQ(RGB(2, 2, 2), bold->GetBkColor());
    EXPECT_EQ(RGB(3, 3, 3), bold->GetSelBkColor());
    EXPECT_EQ(RGB(4, 4, 4), bold->GetSelTextColor());

    // A given font is copied.
    LOGFONTW big = gui;
    big.lfHeight = -30;
    HFONT font = ::CreateFontIndirectW(&big);
    CIPtr<IHybridStyle> copied;
    BuildFromLayoutString(&host.Ctrl(), L"S(%f%r)", font, &copied);
    copied->GetFont()->GetLogFont(&made);
    EXPECT_EQ(-30, made.lfHeight);
    ::DeleteObject(font);
}

TEST(LayoutString, StringsThatEndEarlyStopAtTheirEnd)
{
    CTestHost host;
    // What follows each NUL must never be read: it would make more cells
    // and take arguments that were never passed.
    const wchar_t trailingPercent[] = L"T(%\0%t)T(%t)T(%t)";
    const wchar_t openParen[] = L"T(%t\0)T(%t)T(%t)";
    const wchar_t openBrace[] = L"C{T(%t)\0}T(%t)T(%t)";
    BuildFromLayoutString(&host.Ctrl(), trailingPercent);
    EXPECT_EQ(1, static_cast<int>(Roots(host).size()));
    BuildFromLayoutString(&host.Ctrl(), openParen, L"kept");
    ASSERT_EQ(2, static_cast<int>(Roots(host).size()));
    EXPECT_STREQ(L"kept", TextOf(Roots(host)[1]));
    BuildFromLayoutString(&host.Ctrl(), openBrace, L"inside");
    ASSERT_EQ(3, static_cast<int>(Roots(host).size()));
    EXPECT_STREQ(L"inside", TextOf(ChildrenOf(Roots(host)[2])[0]));

    // A closing brace at the top ends the parse; null strings do nothing.
    BuildFromLayoutString(&host.Ctrl(), L"T(%t)}T(%t)", L"x", L"never");
    EXPECT_EQ(4, static_cast<int>(Roots(host).size()));
    BuildFromLayoutString(&host.Ctrl(), nullptr);
    EXPECT_EQ(4, static_cast<int>(Roots(host).size()));
    va_list none{};
    EXPECT_EQ(trailingPercent, ParseLayoutLevel(&host.Ctrl(), nullptr, trailingPercent, &none));
}
