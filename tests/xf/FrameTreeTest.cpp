// The frame tree as a whole: tidying and merging, starting and stopping,
// activation, child frames opened from a layout, docking, closing a frame
// from its own window procedure, and the drop-target test.
#include <gtest/gtest.h>
#include "XfTestKit.h"
#include "xf/xfContext.h"
#include "xf/xfLayout.h"
#include "xf/xfMDIClient.h"
#include "xf/xfMessages.h"

using namespace xftest;

namespace {

// Parse gives a root that is neither tidied nor started; Build (the
// shared host) a started tree, laid out at 1006 x 600.
class FrameTree : public HostTest
{
protected:
    void TearDown() override
    {
        if (plain.m_hWnd)
            plain.Close();
        HostTest::TearDown();
    }
    CxfFrame* Parse(const wchar_t* layout)
    {
        if (plain.m_hWnd)
            plain.Close();
        EXPECT_TRUE(plain.Open(800, 600, false));
        ParseLayout(plain.Root(), layout);
        return plain.Root();
    }
    CxfFrame* Build(const wchar_t* layout) { return HostTest::Build(layout, 1006, 600, false); }
    CTestHost plain{0, kHostKind};
};

} // namespace

TEST_F(FrameTree, TidyRemovesEmptyFramesAndMergesSingleChildren)
{
    CxfFrame* root = Parse(L"F(ver){F{P(id=1)}F{F}F(hor){F{P(id=2)}}}");
    HWND emptyOne = root->GetChild(0)->GetChild(1)->m_hWnd;
    CxfFrame::Tidy(root);
    // The empty frames went (a frame whose only child has another mode
    // keeps it); the root took the mode and children of its only child.
    EXPECT_EQ(L"F:v{FP1,F:h{FP2}}", Describe(root));
    EXPECT_FALSE(::IsWindow(emptyOne));
    EXPECT_EQ(root->m_hWnd, ::GetParent(root->GetChild(0)->m_hWnd));
    EXPECT_EQ(L"ver", Params(root));
}

TEST_F(FrameTree, WhatIsNeverMerged)
{
    // An accelerator table, another mode under a moded parent, bars on
    // both sides, an MDI area or a controller under a controller keep the
    // child. F(hor) still merges into the F(AccelTable) above it.
    // The empty MDI area stays an area.
    const wchar_t* rows[][2] = {{L"R(controller=1){F(AccelTable=5){F(hor){F(ver){P(id=1)}}}}", L"Fc1{F:h{F:vP1}}"},
                                {L"T(top)F{T(top)P(id=2)}", L"F[T]{FP2[T]}"},
                                {L"M(mdiID=2)", L"F{M:o}"},
                                {L"R(controller=1){F(controller=2){P(id=3)}}", L"Fc1{Fc2P3}"}};
    for (const auto& row : rows) {
        CxfFrame* root = Parse(row[0]);
        CxfFrame::Tidy(root);
        EXPECT_EQ(row[1], Describe(root)) << row[0];
    }
}

TEST_F(FrameTree, MergedControllerMovesAndIsNotMadeTwice)
{
    CxfFrame* root = Parse(L"F(ver,controller=2){F{P(id=1)}F{P(id=2)}}");
    EXPECT_EQ(1, Log().controllersMade);
    CxfController* c = root->GetChild(0)->GetController();
    CxfFrame::Tidy(root);
    EXPECT_EQ(L"F:vc2{FP1,FP2}", Describe(root));
    EXPECT_EQ(c, root->GetController());
    EXPECT_EQ(root, c->GetFrame());
    EXPECT_EQ(1, Log().controllersMade);
    EXPECT_EQ(1, Log().controllersAlive);
}

TEST_F(FrameTree, StartOpensControllersAndPanesThenStopTearsDown)
{
    Central().layouts[kHostKind] = L"R(controller=1){F(ver,controller=2){F{P(id=1)}F{P(id=2)}}}";
    ASSERT_TRUE(host.Open(800, 600, false));
    CxfFrame* root = host.Root();
    EXPECT_EQ(L"Fc1{F:vc2{FP1,FP2}}", Describe(root));
    EXPECT_EQ((std::vector<std::string>{"open c1", "open c2", "init p1", "init p2", "active c2", "active c1"}),
              Log().events);
    // The first pane frame became the active frame, with its ancestors.
    CxfFrame* first = root->GetChild(0)->GetChild(0);
    EXPECT_TRUE(first->IsActive());
    EXPECT_TRUE(root->IsActive());
    EXPECT_FALSE(root->GetChild(0)->GetChild(1)->IsActive());
    EXPECT_TRUE(static_cast<CTestPane*>(first->GetPane())->IsActive());
    EXPECT_TRUE(root->IsLayoutEnabled());

    Log().events.clear();
    root->GetChild(0)->GetChild(1)->ActivateFrame();
    EXPECT_TRUE(root->GetChild(0)->GetChild(1)->IsActive());
    EXPECT_FALSE(first->IsActive());
    EXPECT_FALSE(static_cast<CTestPane*>(first->GetPane())->IsActive());

    Log().events.clear();
    HWND rootWnd = root->m_hWnd;
    host.Close();
    EXPECT_EQ((std::vector<std::string>{"stop c1", "stop c2", "exit p1", "exit p2"}), Log().events);
    EXPECT_FALSE(::IsWindow(rootWnd));
    EXPECT_EQ(0, TestApp().GetFrameCount());
}

TEST_F(FrameTree, CloseMessageRemovesTheFrameFromInsideItsOwnWindowProcedure)
{
    CxfFrame* root = Build(L"F(ver){F(controller=3){P(id=1)}F{P(id=2)}}");
    ASSERT_EQ(L"F:v{Fc3P1,FP2}", Describe(root));
    CxfFrame* doomed = root->GetChild(0);
    HWND doomedWnd = doomed->m_hWnd;
    HWND paneWnd = doomed->GetPane()->m_hWnd;
    Log().events.clear();
    doomed->PostMessage(XFM_CLOSEFRAME);
    PumpFor(50);
    EXPECT_FALSE(::IsWindow(doomedWnd));
    EXPECT_FALSE(::IsWindow(paneWnd));
    EXPECT_EQ(L"F:v{FP2}", Describe(root));
    EXPECT_EQ((std::vector<std::string>{"stop c3", "exit p1"}), Log().events);
    EXPECT_EQ(0, Log().controllersAlive);
    EXPECT_EQ(1, Log().panesAlive);
    PumpLayout();
    EXPECT_EQ(CRect(0, 0, 1006, 600), RectInParent(root->GetChild(0)->m_hWnd));
}

TEST_F(FrameTree, OpenChildFrame)
{
    CxfFrame* root = Build(L"M(mdiID=3){F{P(id=1)}}");
    ASSERT_EQ(L"F{M:o{FP1}}", Describe(root));
    CxfFrame* area = root->GetChild(0);
    EXPECT_EQ(area, root->FindMDIClient(3));
    EXPECT_EQ(nullptr, root->FindMDIClient(4));
    EXPECT_EQ(area, area->GetChild(0)->FindMDIClient(-1));

    Central().layouts[51] = L"F(controller=5){P(id=5)}";
    Central().layouts[52] = L"F(ver){F(controller=7){P(id=6)}F{P(id=8)}}"; // controller 7 fails
    Log().events.clear();
    SxfContext request(L"song.wav");
    CxfFrame* opened = area->OpenChildFrame(51, &request);
    ASSERT_NE(nullptr, opened);
    EXPECT_EQ(L"F{M:o{FP1,Fc5P5}}", Describe(root));
    EXPECT_EQ((std::vector<std::string>{"open c5 song.wav", "init p5 song.wav"}), Log().events);
    PumpLayout();
    EXPECT_EQ(RectInParent(area->GetChild(0)->m_hWnd), RectInParent(opened->m_hWnd)); // overlap

    const int panes = Log().panesAlive;
    EXPECT_EQ(nullptr, area->OpenChildFrame(52, &request));
    EXPECT_EQ(L"F{M:o{FP1,Fc5P5}}", Describe(root));
    PumpFor(20);
    EXPECT_EQ(panes, Log().panesAlive);
    EXPECT_EQ(1, Log().controllersAlive);

    // A kind without a layout leaves the empty child.
    EXPECT_EQ(nullptr, area->OpenChildFrame(53, &request));
    EXPECT_EQ(L"F{M:o{FP1,Fc5P5,F}}", Describe(root));
}

TEST_F(FrameTree, DockingSplitsTheTarget)
{
    struct SCase
    {
        int side;
        const wchar_t* tree;
    };
    // Frame 2 dropped on frame 1: the target splits, the dragged frame
    // first for left and top; a target that keeps the root's mode merges.
    for (const SCase& c :
         {SCase{CxfFrame::SideLeft, L"F:v{FP2,FP1}"}, SCase{CxfFrame::SideRight, L"F:v{FP1,FP2}"},
          SCase{CxfFrame::SideTop, L"F:v{F:h{FP2,FP1}}"}, SCase{CxfFrame::SideBottom, L"F:v{F:h{FP1,FP2}}"}}) {
        CxfFrame* root = Build(L"F(ver){F{P(id=1)}F{P(id=2)}}");
        ASSERT_EQ(L"F:v{FP1,FP2}", Describe(root));
        root->GetChild(1)->DockFrame(root->GetChild(0), c.side);
        EXPECT_EQ(c.tree, Describe(root)) << c.side;
        EXPECT_TRUE(root->GetStyle() & WS_VISIBLE);
        CxfPane* one = root->FindPane(1);
        EXPECT_EQ(one->GetFrame()->m_hWnd, ::GetParent(one->m_hWnd));
        PumpLayout();
        EXPECT_EQ(CRect(one->GetFrame()->GetAreaRect()), RectInParent(one->m_hWnd));
    }

    // A target with children: they move into the new frame, in order.
    CxfFrame* root = Build(L"F(ver){F{P(id=1)}F{P(id=2)}}");
    Central().layouts[61] = L"F{P(id=3)}";
    CxfFrame* three = root->OpenChildFrame(61, nullptr);
    ASSERT_NE(nullptr, three);
    EXPECT_EQ(L"F:v{FP1,FP2,FP3}", Describe(root));
    three->DockFrame(root, CxfFrame::SideTop);
    EXPECT_EQ(L"F:h{FP3,F:v{FP1,FP2}}", Describe(root));
    PumpLayout();
    // Neither has a size of its own: the last takes the room.
    EXPECT_EQ(CRect(0, 6, 1006, 600), RectInParent(root->GetChild(1)->m_hWnd));

    // Nothing for a bad side, the frame itself or a target in its subtree.
    CxfFrame* lower = root->GetChild(1);
    lower->DockFrame(lower->GetChild(0), CxfFrame::SideLeft);
    root->DockFrame(three, CxfFrame::SideLeft);
    three->DockFrame(three, CxfFrame::SideLeft);
    three->DockFrame(lower, 5);
    three->DockFrame(lower, 0);
    three->DockFrame(nullptr, 1);
    EXPECT_EQ(L"F:h{FP3,F:v{FP1,FP2}}", Describe(root));
    EXPECT_EQ(3, Log().panesAlive);
}

TEST_F(FrameTree, DropTargetNearOneEdgeOnly)
{
    CxfFrame* root = Build(L"F(ver){F(width=50p){P(id=1)}F{P(id=2)}}");
    CxfFrame* left = root->GetChild(0); // 0..500 of 1006 x 600
    auto test = [&](int x, int y, CxfFrame* frame, int side) {
        CPoint pt(x, y);
        root->ClientToScreen(&pt);
        CxfFrame* hit = nullptr;
        int got = 0;
        const bool found = root->HitTestDock(pt, &hit, &got);
        EXPECT_EQ(frame != nullptr, found) << x << "," << y;
        if (found && frame) {
            EXPECT_EQ(frame, hit) << x << "," << y;
            EXPECT_EQ(side, got) << x << "," << y;
        }
    };
    test(200, 10, left, CxfFrame::SideTop);
    test(200, 590, left, CxfFrame::SideBottom);
    test(30, 300, left, CxfFrame::SideLeft);
    test(470, 300, left, CxfFrame::SideRight);
    test(5, 5, nullptr, 0);                // a corner: two edges near
    test(250, 300, nullptr, 0);            // far from every edge
    test(40, 40, left, CxfFrame::SideTop); // a tie: the top wins
    test(2000, 300, nullptr, 0);           // outside
}
