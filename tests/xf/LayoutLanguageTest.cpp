// The layout language: templates, the shape and parameters of what the
// parser builds, and the places where malformed text ends a list.
#include <gtest/gtest.h>
#include "XfTestKit.h"
#include "xf/xfControlBar.h"
#include "xf/xfLayout.h"
#include "xf/xfToolBar.h"

using namespace xftest;

namespace {

class Layout : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Log().Clear();
        ASSERT_TRUE(host.Open(400, 300, false));
        root = host.Root();
        ASSERT_NE(nullptr, root);
    }
    void TearDown() override
    {
        host.Close();
        DrainQuits();
        EXPECT_EQ(0, Log().panesAlive);
        EXPECT_EQ(0, Log().controllersAlive);
    }
    // Removes what earlier parses built.
    void Clear()
    {
        while (root->GetChildCount() > 0)
            root->GetChild(0)->DestroyWindow();
        while (root->GetBarCount() > 0)
            root->GetBar(0)->DestroyWindow();
    }
    // Parses into the root; answers the tree below the root.
    std::wstring Build(const wchar_t* text)
    {
        ParseLayout(root, text, &last);
        return Describe(root);
    }
    CTestHost host{0, 0};
    CxfFrame* root = nullptr;
    CxfFrame* last = nullptr;
};

} // namespace

TEST(LayoutTemplate, PlaceholdersAndPercentSigns)
{
    CString out;
    EXPECT_EQ(L"7", std::wstring(FormatLayoutString(out, "%i%s%x", 7, static_cast<const wchar_t*>(nullptr))));
    EXPECT_EQ(L"a-12bc,d", std::wstring(FormatLayoutString(out, L"a%i%s,%%d%", -12, L"bc")));
    EXPECT_EQ(L"", std::wstring(FormatLayoutString(out, static_cast<const char*>(nullptr), 1)));
    EXPECT_EQ(L"T(top,tb=1001,nogripper,menuBk)",
              std::wstring(FormatLayoutString(out, "T(top,tb=%i,nogripper,menuBk)", 1001)));
    // Narrow templates go through the ANSI code page; arguments stay wide.
    EXPECT_EQ(L"F(title=\u00e9t\u00e9)", std::wstring(FormatLayoutString(out, "F(title=%s)", L"\u00e9t\u00e9")));
}

TEST_F(Layout, FormatterOutputReadsBackAsItsArguments)
{
    CString text;
    FormatLayoutString(text, "R(controller=%i){T(top,tb=%i,nogripper)F(AccelTable=%i,width=%ip){P(id=%i,active)}}", 3,
                       12, 1042, 70, 5);
    EXPECT_EQ(L"Fc3[T]{FP5}", Build(text));
    EXPECT_EQ(L"controller=3", Params(root));
    EXPECT_EQ(L"top,tb=12,nogripper", Params(root->GetBar(0)));
    EXPECT_EQ(L"AccelTable=1042,width=70p", Params(root->GetChild(0)));
    EXPECT_EQ(L"id=5,active", Params(root->GetChild(0)->GetPane()));
    EXPECT_TRUE(Log().Has("init p5") == false); // nothing starts while parsing
}

TEST_F(Layout, EveryElementLetter)
{
    EXPECT_EQ(L"F:v[CP41[T],T,S]{F{M:o{F}},M:o}",
              Build(L"C(left){T(top)P(id=41)}T(tb=3)S(hidden)F{M(mdiID=4){F}}M(PrimaryMDI)R(ver)"));
    EXPECT_EQ(CxfFrame::ModeSideBySide, root->GetMode()); // R: the parent itself
    EXPECT_EQ(L"ver", Params(root));
    CxfControlBar* bar = root->GetBar(0);
    EXPECT_EQ(CxfFrame::SideLeft, bar->m_dock.side);
    EXPECT_EQ(L"id=41", Params(bar->GetPane()));
    EXPECT_EQ(bar->m_hWnd, ::GetParent(bar->GetPane()->m_hWnd));
    // The status bar gets "bottom" first; its window was made after its
    // parameters, so "hidden" hides it.
    CxfFrame* status = root->GetBar(2);
    EXPECT_EQ(L"bottom,hidden", Params(status));
    EXPECT_FALSE(status->IsShown());
    EXPECT_FALSE(status->GetStyle() & WS_VISIBLE);
    EXPECT_EQ(CxfFrame::SideBottom, static_cast<CxfControlBar*>(status)->m_dock.side);
    EXPECT_EQ(CxfFrame::ModeOverlap, root->GetChild(1)->GetMode());
    EXPECT_EQ(root->GetChild(0), last);
    for (int i = 0; i < root->GetBarCount(); ++i)
        EXPECT_EQ(root->m_hWnd, ::GetParent(root->GetBar(i)->m_hWnd));
}

TEST_F(Layout, ParameterBlocks)
{
    Build(L"T(top,tb=3,nogripper)F(width=7.5)F(,,=x,a=b=c)F(x=1");
    EXPECT_EQ(L"top,tb=3,nogripper", Params(root->GetBar(0)));
    EXPECT_EQ(L"width=7,5", Params(root->GetChild(0)));
    // Empty keys are skipped; "b=c" after a value is a new parameter.
    EXPECT_EQ(L"x,a=b,c", Params(root->GetChild(1)));
    EXPECT_EQ(L"x=1", Params(root->GetChild(2))); // the text ended the block
    EXPECT_FALSE(static_cast<CxfControlBar*>(root->GetBar(0))->HasGripper());
}

TEST_F(Layout, WhatEndsAList)
{
    // A blank, a comma, and "}" (the inner list only) end a list. A pane
    // without a block, with a first parameter other than id, or that is
    // missing (98) or has no window (99) ends the list that holds it; the
    // outer list goes on where the inner one stopped.
    const wchar_t* rows[][2] = {
        {L"F{F{P(id=1)}}F", L"F{F{FP1},F}"}, {L"F {P(id=1)}", L"F{F}"},   {L"F,F", L"F{F}"},
        {L"F{FF}F", L"F{F{F,F},F}"},         {L"F{PF}F", L"F{F,F}"},      {L"F{P(title,id=1)F}F", L"F{F}"},
        {L"F{P(id=98)F}F", L"F{F}"},         {L"F{P(id=99)F}F", L"F{F}"},
    };
    for (const auto& row : rows) {
        Clear();
        EXPECT_EQ(row[1], Build(row[0])) << row[0];
    }
    EXPECT_EQ(0, Log().panesAlive); // the pane without a window was deleted

    // The id key in any case; later keys stay parameters.
    Clear();
    EXPECT_EQ(L"F{FP2[T]}", Build(L"F{P(ID=2,title)}")); // "title" brings the caption band
    EXPECT_EQ(L"ID=2,title", Params(root->GetChild(0)->GetPane()));
    EXPECT_TRUE(root->GetChild(0)->GetPane()->GetStyle() & WS_VISIBLE);
}

TEST_F(Layout, OnlyTheLastOutermostFrameIsReported)
{
    Build(L"F(ver){FF}F");
    EXPECT_EQ(root->GetChild(1), last);
    CxfFrame* before = last;
    Build(L"T(top)C");
    EXPECT_EQ(before, last); // no frame: left alone
    EXPECT_EQ(nullptr, ParseLayout(nullptr, nullptr));
    const wchar_t* text = L"F";
    EXPECT_EQ(text, ParseLayout(nullptr, text));
}

TEST_F(Layout, FrameKeys)
{
    Central().layouts[21] = L"F(hor)F(overlap,hidden)";
    Build(L"F(id=21,controller=4,controller=5,title=1,main,doc)");
    // Layout 21 went into the root, after the frame; its last outermost
    // frame got the id silently.
    EXPECT_EQ(L"Fc4,F:h,F:o}", Describe(root).substr(2));
    EXPECT_EQ(L"overlap,hidden,id=21", Params(root->GetChild(2)));
    EXPECT_TRUE(root->GetChild(2)->IsShown()); // its window existed before "hidden"
    EXPECT_EQ(1, Log().controllersMade);       // the second controller key found one in place
    Central().layouts.erase(21);
}

TEST_F(Layout, SelfIncludingLayoutStops)
{
    Central().layouts[22] = L"F(id=22)";
    Build(L"F(id=22)");
    EXPECT_LE(root->GetChildCount(), 20);
    Central().layouts.erase(22);
}

TEST_F(Layout, DeepNestingEndsTheParse)
{
    std::wstring text;
    for (int i = 0; i < 200; ++i)
        text += L"F{";
    Build(text.c_str());
    int depth = 0;
    for (CxfFrame* f = root; f->GetChildCount() > 0; f = f->GetChild(0))
        ++depth;
    EXPECT_GT(depth, 10);
    EXPECT_LT(depth, 100);
}
