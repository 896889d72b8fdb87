// The position slider: markers, dragging the requested play position.
#include <gtest/gtest.h>

#include "app/AudioSliderContent.h"
#include "app/TimeContainer.h"
#include "app/ViewMessages.h"
#include "tests/app/ViewTestKit.h"

using namespace viewtest;

namespace {

const COLORREF kCursorBalloon = RGB(150, 150, 255);

// A ten-second file at 10 ms per pixel: the view shows 6 s.
struct AudioSliderTest : ::testing::Test
{
    CViewHost host{600, 40};
    CIPtr<ITimeContainer> model = MakeModel(10000, 1000);
    CIPtr<CAudioSliderContent> view{new CAudioSliderContent(model)};
    void SetUp() override
    {
        host.Add(view);
        host.Ctrl().SetBkColor(RGB(10, 20, 30), true);
        host.Settle();
        host.TakePosted();
    }
    void TearDown() override { model->Clear(); }
    // Columns of the middle row painted in `colour`, within [x1, x2).
    int Count(int x1, int x2, COLORREF colour)
    {
        const CRect r = view->GetRect();
        int n = 0;
        for (int x = x1; x < x2; ++x)
            for (int y = r.top; y < r.bottom; ++y)
                n += host.Pixel(x, y) == colour;
        return n;
    }
};

TEST_F(AudioSliderTest, MarkersShowCursorAndRequestedPosition)
{
    model->GetPlayPosition(true);
    host.Settle();
    EXPECT_EQ(Count(0, 600, kCursorBalloon), 0);
    EXPECT_EQ(Count(0, 600, RGB(10, 20, 30)), 600 * view->GetRect().Height()) << "an empty strip";

    model->SetPlayCursor(2000000);
    host.Settle();
    EXPECT_GT(Count(200, 260, kCursorBalloon), 0) << "the balloon stands right of its column";
    EXPECT_EQ(Count(140, 195, kCursorBalloon), 0);

    model->SetPlayCursor(5900000);
    host.Settle();
    // Mirrored, the balloon ends 4 columns right of its column (590).
    EXPECT_EQ(Count(595, 600, kCursorBalloon), 0);
    EXPECT_GT(Count(520, 590, kCursorBalloon), 0) << "near the right edge it is mirrored";
}

TEST_F(AudioSliderTest, PressAndReleaseStoreThePositionAndTellThePaneOnce)
{
    host.Press(250, 5);
    EXPECT_EQ(view->GetDragTime(), 2500000) << "the marker jumps to the pressed column";
    host.Release(250, 5);
    EXPECT_EQ(model->GetPlayPosition(false), 2500000);
    EXPECT_EQ(view->GetDragTime(), -1);
    EXPECT_EQ(host.Count(WM_POSITION_SLIDER_RELEASED), 1);

    host.Press(100, 5);
    host.Drag(400, 5);
    EXPECT_EQ(view->GetDragTime(), 4000000);
    EXPECT_EQ(model->GetPlayPosition(false), 2500000) << "stored only on release";
    host.Release(400, 5);
    EXPECT_EQ(model->GetPlayPosition(false), 4000000);
}

TEST_F(AudioSliderTest, DragsStayWithinTheFile)
{
    model->SetPosition(-1000000);
    host.Press(50, 5);
    host.Release(50, 5);
    EXPECT_EQ(model->GetPlayPosition(false), 0);
    model->SetPosition(8000000);
    host.Press(300, 5);
    host.Release(300, 5);
    EXPECT_EQ(model->GetPlayPosition(false), 9999999);
}

TEST(AudioSliderEmpty, AFileOfLengthZeroRequestsNothing)
{
    CViewHost host(600, 40);
    CIPtr<ITimeContainer> model(new CTimeContainer);
    CIPtr<CAudioSliderContent> view(new CAudioSliderContent(model));
    host.Add(view);
    host.Settle();
    host.Press(100, 5);
    host.Release(100, 5);
    EXPECT_EQ(model->GetPlayPosition(false), -1);
    model->Clear();
}

} // namespace
