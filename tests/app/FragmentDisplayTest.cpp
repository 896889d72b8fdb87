// The fragment display under real mouse messages: create, move, resize,
// activate, rows, the menu with its tempo slider, and the edges of each.
#include <gtest/gtest.h>

#include "app/AppSettings.h"
#include "app/FragmentDisplay.h"
#include "app/Tempo.h"
#include "app/ViewMessages.h"
#include "app/ViewServices.h"
#include "tests/app/ViewTestKit.h"
#include "DialogAnswerer.h"

using namespace viewtest;

namespace {

// At scale 1000 one pixel is 10 ms: a second is 100 pixels. Boxes of row 0
// span y 5..25, of row 1 25..45; the view is 110 pixels high.
struct FragmentDisplayTest : ::testing::Test
{
    CViewHost host{600, 200};
    CIPtr<ITimeContainer> model = MakeModel(10000, 1000);
    CIPtr<CFragmentDisplay> view{new CFragmentDisplay(model)};

    void SetUp() override
    {
        host.Add(view);
        host.Settle();
        host.TakePosted();
    }
    void TearDown() override
    {
        SetFragmentMenuOpener(nullptr);
        SetAutoLoopNewSel(false);
        model->Clear();
    }
    SFragmentInfo At(int i)
    {
        SFragmentInfo f;
        EXPECT_TRUE(view->GetAt(i, f));
        return f;
    }
    void DragFromTo(int x1, int y1, int x2, int y2)
    {
        host.Press(x1, y1);
        host.Drag((x1 + x2) / 2, y2);
        host.Drag(x2, y2);
        host.Release(x2, y2);
    }
};

TEST_F(FragmentDisplayTest, DragOverEmptySpaceMakesAFragmentOfOneSecondOrMore)
{
    SetAutoLoopNewSel(true);
    DragFromTo(250, 60, 100, 60);
    ASSERT_EQ(view->GetCount(), 1);
    EXPECT_EQ(At(0).StartTime, 1000000);
    EXPECT_EQ(At(0).EndTime, 2500000);
    EXPECT_EQ(At(0).Tempo, 1.0f);
    EXPECT_EQ(At(0).Looped, 1) << "new fragments follow the auto-loop setting";
    EXPECT_FALSE(view->HasActive()) << "a new fragment is not made active";
    std::vector<SPosted> posted = host.TakePosted();
    ASSERT_EQ(posted.size(), 2u);
    EXPECT_EQ(posted[0].message, WM_FRAGMENT_ADDED);
    SFragmentInfo* record = reinterpret_cast<SFragmentInfo*>(posted[0].wParam);
    EXPECT_EQ(record->StartTime, 1000000);
    EXPECT_EQ(posted[1].message, WM_FRAGMENTS_CHANGED);

    // Exactly one second is enough.
    DragFromTo(400, 60, 500, 60);
    EXPECT_EQ(view->GetCount(), 2);
    host.TakePosted();
}

TEST_F(FragmentDisplayTest, TooShortDragIsRefusedWithAMessageAndAClickAddsNothing)
{
    xftest::CDialogAnswerer answerer({{IDOK, L""}});
    DragFromTo(300, 60, 399, 60);
    host.Pump(300);
    host.Press(300, 60);
    host.Release(300, 60);
    host.Pump(200);
    EXPECT_EQ(view->GetCount(), 0);
    ASSERT_EQ(answerer.Seen().size(), 1u) << "a plain click shows no message";
    EXPECT_NE(answerer.Seen()[0].find(L"Fragment's duration must be at least 1 second."), std::wstring::npos);
    EXPECT_EQ(host.Count(WM_FRAGMENT_ADDED), 0);
}

TEST_F(FragmentDisplayTest, MovingTheBoxKeepsItsLengthAndStopsAtTheStart)
{
    view->AddFragment(1000000, 3000000, L"riff");
    host.Settle();
    host.TakePosted();

    // Within the dead zone: only activated.
    host.Press(200, 15);
    host.Drag(203, 15);
    host.Release(203, 15);
    EXPECT_EQ(At(0).StartTime, 1000000);
    EXPECT_EQ(view->GetActiveIndex(), 0);
    EXPECT_EQ(host.Count(WM_ACTIVE_FRAGMENT_REPLACED), 1);

    DragFromTo(200, 15, 250, 15);
    EXPECT_EQ(At(0).StartTime, 1500000);
    EXPECT_EQ(At(0).EndTime, 3500000);
    EXPECT_EQ(At(0).Comment, L"riff");

    // Grabbed 50 pixels right of its start and pulled to the left edge: it
    // would start at -0.5 s, and stops at 0 instead.
    DragFromTo(200, 15, 0, 15);
    EXPECT_EQ(At(0).StartTime, 0);
    EXPECT_EQ(At(0).EndTime, 2000000);
}

TEST_F(FragmentDisplayTest, ResizingAnEdgePastTheOtherSwapsThemAndTheSelectionFollows)
{
    view->AddFragment(1000000, 3000000, nullptr);
    model->SetSelection(1000000, 3000000);
    host.Settle();
    host.Hover(101, 60);
    EXPECT_EQ(view->GetDragMode(), 1);
    DragFromTo(101, 60, 400, 60);
    EXPECT_EQ(At(0).StartTime, 3000000);
    EXPECT_EQ(At(0).EndTime, 4000000);
    EXPECT_EQ(model->GetSelMin(), 3000000);
    EXPECT_EQ(model->GetSelMax(), 4000000);

    // The end edge dragged before the start of the file stops at time 0.
    model->SetPosition(-1000000);
    host.Settle();
    host.Hover(500, 60);
    ASSERT_EQ(view->GetDragMode(), 2);
    DragFromTo(500, 60, 0, 60);
    EXPECT_EQ(At(0).StartTime, 0);
    EXPECT_EQ(At(0).EndTime, 3000000);
}

TEST_F(FragmentDisplayTest, OverlappingFragmentsGoToRowsAndTheViewGrows)
{
    view->AddFragment(0, 2000000, nullptr);
    view->AddFragment(2000000, 4000000, nullptr);
    view->AddFragment(1000000, 3000000, nullptr);
    EXPECT_EQ(view->GetRowCount(), 3);
    EXPECT_EQ(At(0).Row, 0);
    EXPECT_EQ(At(1).Row, 1) << "sorted by start: [1 s, 3 s] is second";
    EXPECT_EQ(At(2).Row, 2) << "touching counts as overlapping";
    EXPECT_EQ(view->GetPreferredHeight(600), 110);
    for (int i = 0; i < 3; ++i)
        view->AddFragment(500000, 3500000, nullptr);
    EXPECT_EQ(view->GetRowCount(), 6);
    EXPECT_EQ(view->GetPreferredHeight(600), 130);

    // A box in row 1 is hit at its row only.
    view->RemoveAll();
    view->AddFragment(0, 2000000, nullptr);
    view->AddFragment(1000000, 3000000, nullptr);
    host.Settle();
    host.Hover(250, 35);
    EXPECT_EQ(view->GetDragMode(), 3);
    host.Press(250, 35);
    host.Release(250, 35);
    EXPECT_EQ(view->GetActiveIndex(), 1);
}

TEST_F(FragmentDisplayTest, ActiveFragmentOperations)
{
    view->AddFragment(0, 2000000, nullptr);
    view->AddFragment(3000000, 5000000, nullptr);
    view->AddFragment(3000000, 6000000, nullptr);
    host.TakePosted();

    const int next[] = {0, 1, 1}; // equal starts are skipped
    for (int expected : next) {
        view->SelectNext();
        EXPECT_EQ(view->GetActiveIndex(), expected);
    }
    view->SetActiveIndex(2);
    view->SelectPrev();
    view->SelectPrev();
    EXPECT_EQ(view->GetActiveIndex(), 0);

    // The tempo stays within its limits, and each change is told.
    host.TakePosted();
    for (float tempo : {0.0f, 100.0f}) {
        view->SetActiveTempo(tempo);
        view->AdjustActiveTempo(tempo > 1 ? 0.05f : -0.05f);
        EXPECT_FLOAT_EQ(view->GetActiveTempo(), tempo > 1 ? kMaxTempo : kMinTempo);
    }
    EXPECT_EQ(host.Count(WM_FRAGMENTS_CHANGED), 4);

    view->RemoveActive();
    EXPECT_EQ(view->GetCount(), 2);
    EXPECT_FALSE(view->HasActive()) << "no fragment before the first";
    view->SetActiveIndex(5);
    EXPECT_FALSE(view->HasActive());
    view->AddFragment(0, 1000000, nullptr);
    view->SetActiveIndex(2);
    view->RemoveActive();
    EXPECT_EQ(view->GetActiveIndex(), 0) << "the previous one takes over";
    view->RemoveAll();
    EXPECT_EQ(view->GetActiveTempo(), 0.0f);
}

// The fragment menu's tempo slider, as the menu will run it: the opener is
// told where to open, and the slider's value sets the active tempo.
CFragmentDisplay* g_menuView = nullptr;
POINT g_menuPoint;
int g_menuOpened = 0;

void OpenMenuAndSlide(CWnd*, POINT screen)
{
    ++g_menuOpened;
    g_menuPoint = screen;
    const int shown = SliderValueFromTempo(g_menuView->GetActiveTempo());
    EXPECT_EQ(shown, 20);
    g_menuView->SetActiveTempo(TempoFromSliderValue(shown - 4));
}

TEST_F(FragmentDisplayTest, RightClickOpensTheMenuAndDoubleClickZooms)
{
    view->AddFragment(1000000, 3000000, nullptr);
    host.Settle();
    g_menuView = view;
    g_menuOpened = 0;
    SetFragmentMenuOpener(OpenMenuAndSlide);

    host.RightClick(450, 60);
    EXPECT_EQ(g_menuOpened, 0) << "nothing active, nothing under the mouse";

    host.TakePosted();
    host.RightClick(150, 15);
    EXPECT_EQ(g_menuOpened, 1);
    EXPECT_EQ(view->GetActiveIndex(), 0);
    POINT expected = {150, 15};
    ::ClientToScreen(host.Ctrl().GetSafeHwnd(), &expected);
    EXPECT_EQ(g_menuPoint.x, expected.x);
    EXPECT_EQ(g_menuPoint.y, expected.y);
    EXPECT_FLOAT_EQ(view->GetActiveTempo(), 0.8f);
    EXPECT_GE(host.Count(WM_FRAGMENTS_CHANGED), 2);

    view->SetActiveIndex(-1);
    host.TakePosted();
    host.DoubleClick(200, 15);
    EXPECT_EQ(view->GetActiveIndex(), 0);
    bool zoom = false;
    for (const SPosted& p : host.TakePosted())
        zoom |= p.message == WM_COMMAND && p.wParam == ID_FRAGMENT_ZOOM_TO;
    EXPECT_TRUE(zoom);
}

TEST_F(FragmentDisplayTest, EscapeAndRemovalDuringADragChangeNothing)
{
    view->AddFragment(1000000, 3000000, nullptr);
    host.Settle();
    host.Press(200, 15);
    host.Drag(300, 15);
    host.Key(VK_ESCAPE);
    host.Release(300, 15);
    EXPECT_EQ(At(0).StartTime, 1000000);

    // The fragment being moved or resized goes away under the mouse.
    host.Press(200, 15);
    host.Drag(300, 15);
    view->RemoveAll();
    host.Release(300, 15);
    EXPECT_EQ(view->GetCount(), 0);

    view->AddFragment(1000000, 3000000, nullptr);
    host.Settle();
    host.Hover(300, 60);
    ASSERT_EQ(view->GetDragMode(), 2);
    host.Press(300, 60);
    host.Drag(450, 60);
    view->SetActiveIndex(0);
    view->RemoveActive();
    host.Release(450, 60);
    EXPECT_EQ(view->GetCount(), 0);
}

TEST_F(FragmentDisplayTest, SelectionEqualToAFragmentActivatesIt)
{
    view->AddFragment(1000000, 3000000, nullptr);
    view->AddFragment(4000000, 5000000, nullptr);
    model->SetSelection(5000000, 4000000);
    EXPECT_EQ(view->GetActiveIndex(), 1);
    model->SetSelection(4000000, 5000001);
    EXPECT_FALSE(view->HasActive());
    SFragmentInfo stranger;
    view->SetActive(&stranger);
    EXPECT_FALSE(view->HasActive()) << "a record not in the list is refused";
}

TEST_F(FragmentDisplayTest, PaintsHintEdgesAndBoxes)
{
    host.Settle();
    // The empty list shows the hint: some text pixel in the middle row.
    bool text = false;
    for (int x = 150; x < 450 && !text; ++x)
        text = host.Pixel(x, 55) != host.Pixel(5, 55);
    EXPECT_TRUE(text);

    view->AddFragment(1000000, 3000000, L"c");
    view->AddFragment(4000000, 5000000, nullptr);
    view->SetActiveIndex(1);
    host.Settle();
    EXPECT_EQ(host.Pixel(100, 80), RGB(192, 192, 192)) << "edge line of an inactive fragment";
    EXPECT_EQ(host.Pixel(400, 80), RGB(0, 0, 255)) << "edge line of the active fragment";
    EXPECT_EQ(host.Pixel(290, 22), RGB(240, 240, 240)) << "inactive box";
    EXPECT_EQ(host.Pixel(100, 22), RGB(192, 192, 192)) << "the box starts one pixel right of its line";
}

} // namespace
