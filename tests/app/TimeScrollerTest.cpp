// The time scroller: thumb arithmetic, scrolling and zooming by mouse.
#include <gtest/gtest.h>

#include "app/TimeContainer.h"
#include "app/TimeScrollerContent.h"
#include "tests/app/ViewTestKit.h"

using namespace viewtest;

namespace {

// A one-minute file under a 600-column scroller at 5 ms per pixel: the
// thumb spans columns 0 to 30.
struct TimeScrollerTest : ::testing::Test
{
    CViewHost host{600, 40};
    CIPtr<ITimeContainer> model = MakeModel(60000, 500);
    CIPtr<CTimeScrollerContent> view{new CTimeScrollerContent(model)};
    void SetUp() override
    {
        host.Add(view);
        host.Settle();
    }
    void TearDown() override { model->Clear(); }
    CRect Thumb() { return view->GetThumbRect(view->GetRect()); }
    bool Grey(int x1, int x2)
    {
        const int y = view->GetRect().CenterPoint().y;
        for (int x = x1; x < x2; ++x)
            for (int dy = -6; dy <= 6; ++dy)
                if (host.Pixel(x, y + dy) == RGB(128, 128, 128))
                    return true;
        return false;
    }
};

TEST_F(TimeScrollerTest, ThumbSpansTheVisiblePart)
{
    EXPECT_EQ(Thumb().left, 0);
    EXPECT_EQ(Thumb().right, 30);
    model->SetPosition(30000000);
    EXPECT_EQ(Thumb().left, 300);
    EXPECT_EQ(Thumb().right, 330);
    model->SetPosition(59000000);
    EXPECT_EQ(Thumb().right, 620) << "past the end of the file the thumb reaches past the bar";
}

TEST_F(TimeScrollerTest, DraggingTheThumbScrollsAndDraggingItsEndsZooms)
{
    host.Hover(15, 5);
    EXPECT_EQ(view->GetDragMode(), 0);
    EXPECT_STREQ(view->GetToolTipText(), L"Scroll");
    host.Press(15, 5);
    host.Drag(75, 5);
    host.Release(75, 5);
    EXPECT_EQ(model->GetPosition(), 6000000);
    EXPECT_EQ(model->GetScale(), 500);
    model->SetPosition(0);
    host.Settle();

    host.Hover(30, 5);
    EXPECT_EQ(view->GetDragMode(), 2);
    EXPECT_STREQ(view->GetToolTipText(), L"Change zoom");
    host.Press(30, 5);
    host.Drag(100, 5);
    host.Release(100, 5);
    EXPECT_EQ(model->GetScale(), 1666);
    EXPECT_EQ(model->GetPosition(), 0);
    EXPECT_EQ(Thumb().right, 99) << "the thumb follows, within the truncation";

    // The left end keeps the right end in place; past it the zoom is the
    // closest there is.
    host.Hover(2, 5);
    EXPECT_EQ(view->GetDragMode(), 1);
    host.Press(2, 5);
    host.Drag(50, 5);
    EXPECT_EQ(model->GetPosition(), 48 * 100000);
    EXPECT_NEAR(Thumb().right, 99, 3) << "the right end stays, within the truncation";
    host.Drag(200, 5);
    host.Release(200, 5);
    EXPECT_EQ(model->GetScale(), 10);
}

TEST_F(TimeScrollerTest, TheThumbDraggedPastEitherEndScrollsBeforeTheStartOrPastTheEnd)
{
    // 100 pixels left of position 0: 100 x 60 s / 600 before the start.
    // The pointer needs room left of the bar on the screen.
    ::SetWindowPos(host.Window(), nullptr, 300, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    host.Settle();
    host.Hover(15, 5);
    host.Press(15, 5);
    host.Drag(-85, 5);
    EXPECT_EQ(model->GetPosition(), -10000000);
    EXPECT_EQ(Thumb().left, -100);
    host.Release(-85, 5);
    host.Settle();
    EXPECT_FALSE(Grey(0, 600)) << "the thumb is off the bar, left of it";

    // Past the end: from 58 s, 50 pixels to the right.
    model->SetPosition(58000000);
    host.Settle();
    host.Hover(590, 5);
    host.Press(590, 5);
    host.Drag(640, 5);
    host.Release(640, 5);
    EXPECT_EQ(model->GetPosition(), 63000000);
    EXPECT_EQ(Thumb().left, 630);
}

TEST_F(TimeScrollerTest, NarrowThumbHasNoZoomEndsAndBesideItNothingHappens)
{
    model->SetScale(100); // 6 columns
    host.Settle();
    host.Hover(4, 5);
    EXPECT_EQ(view->GetDragMode(), 0);
    host.Hover(12, 5);
    EXPECT_EQ(view->GetDragMode(), 3);
    EXPECT_EQ(view->GetToolTipText(), nullptr);
    host.Press(300, 5);
    host.Drag(400, 5);
    host.Release(400, 5);
    EXPECT_EQ(model->GetPosition(), 0) << "no paging beside the thumb";
}

TEST_F(TimeScrollerTest, GripsNeedRoom)
{
    model->SetScale(534); // 32 columns: end grips and centre grip
    host.Settle();
    EXPECT_TRUE(Grey(0, 8));
    EXPECT_TRUE(Grey(8, 24));
    model->SetScale(517); // 31 columns: the centre grip only
    host.Settle();
    EXPECT_FALSE(Grey(0, 8));
    EXPECT_TRUE(Grey(8, 24));
    model->SetScale(250); // 15 columns: none
    host.Settle();
    EXPECT_FALSE(Grey(0, 15));
}

TEST(TimeScrollerEmpty, AFileOfLengthZeroNeverDivides)
{
    CViewHost host(600, 40);
    CIPtr<ITimeContainer> model(new CTimeContainer);
    CIPtr<CTimeScrollerContent> view(new CTimeScrollerContent(model));
    host.Add(view);
    host.Settle();
    EXPECT_EQ(view->GetThumbRect(view->GetRect()).Width(), 0);
    host.Press(0, 5);
    host.Drag(100, 5);
    host.Release(100, 5);
    EXPECT_EQ(model->GetPosition(), 0);
    model->Clear();
}

} // namespace
