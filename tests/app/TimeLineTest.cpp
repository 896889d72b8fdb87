// The time ruler: grid steps, where the labels stand, dragging.
#include <gtest/gtest.h>

#include "app/TimeContainer.h"
#include "app/TimeLineContent.h"
#include "tests/app/ViewTestKit.h"

using namespace viewtest;

namespace {

TEST(TimeLineTest, GridSteps)
{
    const LONGLONG cases[][2] = {{300000, 500000},     {270000, 500000},   {5400, 6000},
                                 {123456, 200000},     {3000000, 5000000}, {12000000, 20000000},
                                 {61000000, 70000000}, {1000, 1000},       {0, 1}};
    for (const auto& c : cases)
        EXPECT_EQ(CTimeLineContent::GridStep(c[0]), c[1]) << c[0];
}

struct TimeLineViewTest : ::testing::Test
{
    CViewHost host{600, 60};
    CIPtr<ITimeContainer> model = MakeModel(600000);
    CIPtr<CTimeLineContent> view{new CTimeLineContent(model)};
    CIPtr<IHybridCell> cell;
    void SetUp() override
    {
        cell = host.Add(view);
        host.Settle();
    }
    void TearDown() override { model->Clear(); }
    CRect Rect() { return view->GetRect(); }
    bool Tick(int x) { return host.Pixel(x, Rect().bottom - 2) == RGB(192, 192, 192); }
    // The first label's step at this zoom.
    LONGLONG Step()
    {
        return CTimeLineContent::GridStep(
            model->PixelToTime(view->GetPreferredHeight(0) > 0 ? LabelWidth() + 4 : 0, false));
    }
    int LabelWidth()
    {
        HDC dc = ::GetDC(nullptr);
        HGDIOBJ old = ::SelectObject(dc, cell->GetStyle()->GetFont()->GetSafeHandle());
        SIZE size;
        ::GetTextExtentPoint32W(dc, L"88:88:888", 9, &size);
        ::SelectObject(dc, old);
        ::ReleaseDC(nullptr, dc);
        return size.cx;
    }
};

TEST_F(TimeLineViewTest, TicksStandAtTheStepsOfTheVisibleTime)
{
    for (LONGLONG scale : {500LL, 10LL, 20000LL}) {
        model->SetScale(scale);
        model->SetPosition(scale * 10 * 25); // 25 columns into the file
        host.Settle();
        const LONGLONG step = Step();
        ASSERT_GT(step, model->PixelToTime(LabelWidth() + 4, false) - 1) << "labels never overlap";
        const LONGLONG first = (model->GetPosition() + step - 1) / step * step;
        const int x1 = model->TimeToPixel(first, true);
        const int x2 = model->TimeToPixel(first + step, true);
        EXPECT_TRUE(Tick(x1)) << scale;
        EXPECT_TRUE(Tick(x2)) << scale;
        EXPECT_FALSE(Tick((x1 + x2) / 2)) << scale;
    }
}

TEST_F(TimeLineViewTest, DraggingKeepsTheTimeUnderThePointer)
{
    model->SetPosition(1000000);
    host.Press(300, 10);
    host.Drag(200, 10);
    host.Release(200, 10);
    EXPECT_EQ(model->GetPosition(), 1000000 + 100 * 5000);
    host.Press(100, 10);
    host.Drag(500, 10);
    host.Release(500, 10);
    EXPECT_EQ(model->GetPosition(), 1500000 - 400 * 5000) << "not clamped at the start";
}

TEST(TimeLineNoModel, DrawsNothingAndIgnoresPresses)
{
    CViewHost host(600, 60);
    CIPtr<CTimeLineContent> view(new CTimeLineContent(nullptr));
    host.Add(view, 0);
    host.Ctrl().SetBkColor(RGB(10, 20, 30), true);
    host.Settle();
    EXPECT_FALSE(view->OnLButtonDown(CPoint(5, 5)));
    EXPECT_NE(host.Pixel(300, view->GetRect().bottom - 2), RGB(192, 192, 192));
}

} // namespace
