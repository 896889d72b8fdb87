// The time model: conversions at several zooms, limits, notifications.
#include <gtest/gtest.h>

#include <atomic>
#include <climits>
#include <thread>
#include "app/TimeContainer.h"
#include "tests/app/ViewTestKit.h"

using namespace viewtest;

namespace {

struct TimeContainerTest : ::testing::Test
{
    CIPtr<ITimeContainer> model{new CTimeContainer};
    CIPtr<CCountingDisplay> a{new CCountingDisplay};
    CIPtr<CCountingDisplay> b{new CCountingDisplay};
    std::vector<int> log;

    void SetUp() override
    {
        a->m_id = 1;
        b->m_id = 2;
        a->m_log = b->m_log = &log;
        model->AddDisplay(a);
        model->AddDisplay(b);
    }
    void TearDown() override { model->Clear(); }
    void Forget()
    {
        a->m_calls.clear();
        b->m_calls.clear();
        log.clear();
    }
};

TEST_F(TimeContainerTest, PixelsAndTimesAtSeveralZooms)
{
    model->SetPosition(1000000);
    EXPECT_EQ(model->TimeToPixel(999999, true), 0) << "truncated toward zero, not -1";
    EXPECT_EQ(model->TimeToPixel(990000, true), -2);
    EXPECT_EQ(model->PixelToTime(10, false), 50000);
    for (LONGLONG scale : {10LL, 500LL, 10000LL, 3000000LL}) {
        model->SetScale(scale);
        for (int x : {0, 1, 599, 1200, -40}) {
            const LONGLONG t = model->PixelToTime(x, true);
            EXPECT_EQ(t, 1000000 + x * 10 * scale);
            EXPECT_EQ(model->TimeToPixel(t, true), x) << scale;
            EXPECT_EQ(model->TimeToPixel(t + 10 * scale - 1, true), x >= 0 ? x : x + 1) << scale;
        }
    }
    // Far right in a long file at the closest zoom still fits.
    model->SetScale(10);
    model->SetPosition(0);
    EXPECT_EQ(model->TimeToPixel(3600LL * 1000000, true), 36000000);
    // The times of a damaged project stay far off the view, on their side,
    // never wrapped into it.
    model->SetPosition(-20);
    EXPECT_GT(model->TimeToPixel(LLONG_MAX, true), 60000000);
    EXPECT_LT(model->TimeToPixel(LLONG_MIN, true), -60000000);
    EXPECT_GT(model->TimeToPixel(LLONG_MAX / 2, false), 60000000);
}

TEST_F(TimeContainerTest, ScaleAndPositionNotifyOnlyWhenTheyChange)
{
    Forget();
    EXPECT_TRUE(model->SetScale(0));
    EXPECT_EQ(model->GetScale(), 10) << "kept at ten or more";
    EXPECT_FALSE(model->SetScale(-5));
    EXPECT_FALSE(model->SetScale(10));
    EXPECT_EQ(log, (std::vector<int>{1, 2})) << "in the order the views were added";
    model->SetPosition(7);
    model->SetPosition(7);
    model->SetPosition(-20);
    EXPECT_EQ(model->GetPosition(), -20) << "not clamped";
    EXPECT_EQ(a->m_calls, "III");
    EXPECT_EQ(b->m_calls, "III");
    // However far it is zoomed out, every column's time fits.
    model->SetScale(LLONG_MAX);
    EXPECT_EQ(model->GetScale(), kMaxScale);
    EXPECT_GT(model->PixelToTime(INT_MAX, false), 0);
}

TEST_F(TimeContainerTest, SelectionIsOrderedAndBothEndsCount)
{
    Forget();
    model->SetSelection(900, 100);
    EXPECT_EQ(model->GetSelStart(), 100);
    EXPECT_EQ(model->GetSelEnd(), 900);
    for (LONGLONG t : {100, 900})
        EXPECT_TRUE(model->IsInSelection(t));
    for (LONGLONG t : {99, 901})
        EXPECT_FALSE(model->IsInSelection(t));
    model->SetSelection(5, 5);
    EXPECT_FALSE(model->HasSelection());
    EXPECT_FALSE(model->IsInSelection(5));
    model->SetSelection(5, 5);
    EXPECT_EQ(a->m_calls, "SSS") << "told on every call, changed or not";
}

TEST_F(TimeContainerTest, PlayCursorAndPlayPositionStayWithinTheFile)
{
    CIPtr<ITimeContainer> m = MakeModel(2000);
    CIPtr<CCountingDisplay> d(new CCountingDisplay);
    m->AddDisplay(d);
    ASSERT_EQ(m->GetLength(), 2000000);

    m->SetPlayCursor(2000001);
    EXPECT_EQ(m->GetPlayCursor(), -1);
    EXPECT_EQ(d->m_calls, "") << "a time past the end is ignored";
    m->SetPlayCursor(500);
    m->SetPlayCursor(500);
    EXPECT_EQ(m->GetPrevPlayCursor(), 500);
    m->SetPlayCursor(-1);
    m->SetPlayCursor(-1);
    EXPECT_EQ(m->GetPlayCursor(), -1);
    EXPECT_EQ(m->GetPrevPlayCursor(), -1);
    EXPECT_EQ(d->m_calls, "CCCC");

    d->m_calls.clear();
    m->SetPlayPosition(-7);
    EXPECT_EQ(m->GetPlayPosition(false), 0);
    EXPECT_EQ(d->m_calls, "") << "0 was stored already";
    m->SetPlayPosition(2000000);
    EXPECT_EQ(m->GetPlayPosition(true), 1999999);
    EXPECT_EQ(m->GetPlayPosition(false), -1) << "taken";
    EXPECT_EQ(d->m_calls, "P");
    m->Clear();
}

TEST_F(TimeContainerTest, LengthWithoutAReaderResetsTheView)
{
    CIPtr<ITimeContainer> m = MakeModel(3000, 900, 12345);
    CIPtr<CCountingDisplay> d(new CCountingDisplay);
    m->AddDisplay(d);
    m->SetSelection(10, 20);
    m->SetPlayCursor(100);
    m->SetPlayCursor(200);
    m->SetReader(nullptr);
    EXPECT_EQ(m->GetLength(), 3000000) << "a null reader is ignored";
    m->AddDisplay(nullptr);

    m->Clear();
    d->m_calls.clear();
    m->AddDisplay(d);
    m->UpdateLength();
    EXPECT_EQ((std::vector<LONGLONG>{0, 0, 0, 0, -1, -1, 900}),
              (std::vector<LONGLONG>{m->GetLength(), m->GetPosition(), m->GetSelStart(), m->GetSelEnd(),
                                     m->GetPlayCursor(), m->GetPrevPlayCursor(), m->GetScale()}))
        << "all reset but the zoom";
    EXPECT_EQ(d->m_calls, "I");
    m->Clear();
}

TEST_F(TimeContainerTest, ClearLetsGoOfEveryView)
{
    const LONG before = a->Refs();
    model->Clear();
    EXPECT_EQ(a->Refs(), before - 1);
    Forget();
    model->SetScale(777);
    EXPECT_EQ(a->m_calls, "");
}

// The playback thread moves the cursor while the interface thread changes
// the view: every notification runs inside the model's lock, so the views
// are never told by two threads at once.
struct CExclusiveDisplay : CCountingDisplay
{
    std::atomic<int> inside{0};
    std::atomic<int> overlaps{0};
    std::atomic<int> calls{0};
    void Enter()
    {
        if (inside.fetch_add(1) != 0)
            ++overlaps;
        ::Sleep(0);
        --inside;
        ++calls;
    }
    void Invalidate() override { Enter(); }
    void OnPlayCursorChanged() override { Enter(); }
    void OnSelectionChanged() override { Enter(); }
};

TEST_F(TimeContainerTest, NotificationsFromTwoThreadsNeverOverlap)
{
    CIPtr<ITimeContainer> m = MakeModel(2000);
    CIPtr<CExclusiveDisplay> d(new CExclusiveDisplay);
    m->AddDisplay(d);
    std::thread player([&] {
        for (int i = 0; i < 3000; ++i)
            m->SetPlayCursor(i);
    });
    for (int i = 1; i <= 3000; ++i) {
        m->SetPosition(i);
        m->SetSelection(i, i + 5);
    }
    player.join();
    EXPECT_EQ(d->overlaps, 0);
    EXPECT_EQ(d->calls, 9000);
    m->Clear();
}

} // namespace
