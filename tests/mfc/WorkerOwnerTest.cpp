#include <gtest/gtest.h>
#include <atomic>
#include "platform/mfc/afx.h"
#include "platform/mfc/afxworker.h"

namespace {

// A worker that runs until its owner's flag is up, then notes that it ended.
struct SOwnedWork
{
    CWorkerThread* owner = nullptr;
    std::atomic<int> passes{0};
    std::atomic<bool> ended{false};
};

UINT OwnedWorker(LPVOID p)
{
    auto* work = static_cast<SOwnedWork*>(p);
    while (!work->owner->IsStopRequested()) {
        work->passes.fetch_add(1);
        Sleep(1);
    }
    Sleep(50); // a slow way out: the join must still wait for it
    work->ended = true;
    return 5;
}

// Drops the last owner on the worker itself: the join must not wait for
// the thread it runs on.
UINT SelfJoiningWorker(LPVOID p)
{
    auto* owner = static_cast<CWorkerThread*>(p);
    owner->Join();
    return 0;
}

TEST(ThreadOwner, StopsByItsFlagJoinsByWaitingAndNeverLetsTheThreadOutliveIt)
{
    SOwnedWork work;
    {
        CWorkerThread owner;
        work.owner = &owner;
        ASSERT_TRUE(owner.Start(OwnedWorker, &work));
        EXPECT_TRUE(owner.IsStarted());
        EXPECT_FALSE(owner.Start(OwnedWorker, &work)) << "one worker per owner";
        while (work.passes.load() < 3)
            Sleep(1);
        EXPECT_FALSE(owner.HasEnded());
        DWORD code = 0;
        EXPECT_TRUE(owner.GetExitCode(code));
        EXPECT_EQ(STILL_ACTIVE, code);
    } // the owner goes: flag up, joined
    EXPECT_TRUE(work.ended.load());

    // Stop and a fresh start on the same owner: the flag is down again.
    CWorkerThread owner;
    SOwnedWork again;
    again.owner = &owner;
    ASSERT_TRUE(owner.Start(OwnedWorker, &again));
    owner.RequestStop();
    owner.Join();
    EXPECT_TRUE(again.ended.load());
    EXPECT_FALSE(owner.IsStarted());
    EXPECT_TRUE(owner.HasEnded());
    DWORD code = 0;
    EXPECT_FALSE(owner.GetExitCode(code)) << "a joined worker is forgotten";
    again.ended = false;
    ASSERT_TRUE(owner.Start(OwnedWorker, &again));
    EXPECT_FALSE(owner.IsStopRequested());
    owner.Stop();
    EXPECT_TRUE(again.ended.load());

    // Moving hands the worker over; the old owner joins nothing.
    CWorkerThread first;
    again.owner = &first;
    again.ended = false;
    ASSERT_TRUE(first.Start(OwnedWorker, &again));
    CWorkerThread second(std::move(first));
    EXPECT_FALSE(first.IsStarted());
    EXPECT_TRUE(second.IsStarted());
    first.RequestStop(); // the worker still reads the first owner's flag
    second.Join();
    EXPECT_TRUE(again.ended.load());

    EXPECT_FALSE(owner.Start(nullptr, nullptr));
    EXPECT_FALSE(owner.IsStarted());
}

TEST(ThreadOwner, AJoinOnTheWorkerItselfOnlyForgetsIt)
{
    CWorkerThread owner;
    ASSERT_TRUE(owner.Start(SelfJoiningWorker, &owner));
    for (int i = 0; i < 10000 && owner.IsStarted(); ++i)
        Sleep(1);
    EXPECT_FALSE(owner.IsStarted());
}

} // namespace
