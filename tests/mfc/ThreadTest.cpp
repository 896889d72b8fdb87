#include <gtest/gtest.h>
#include <atomic>
#include "platform/mfc/afx.h"

namespace {

struct SWorkerContext
{
    std::atomic<bool> stop{false};
    std::atomic<int> passes{0};
    CEvent started{FALSE, TRUE}; // manual reset
};

UINT Worker(LPVOID p)
{
    SWorkerContext* ctx = static_cast<SWorkerContext*>(p);
    ctx->started.SetEvent();
    while (!ctx->stop.load()) {
        ctx->passes.fetch_add(1);
        Sleep(1);
    }
    return 42;
}

TEST(WorkerThread, StartedSuspendedResumedStoppedByFlagAndJoined)
{
    SWorkerContext ctx;
    CWinThread* thread = AfxBeginThread(Worker, &ctx, THREAD_PRIORITY_BELOW_NORMAL, 64 * 1024, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, thread);
    thread->m_bAutoDelete = FALSE; // the owner joins and deletes it
    EXPECT_NE(nullptr, thread->m_hThread);
    EXPECT_NE(0u, thread->m_nThreadID);
    EXPECT_EQ(THREAD_PRIORITY_BELOW_NORMAL, thread->GetThreadPriority());

    // Suspended: it does not run.
    EXPECT_FALSE(ctx.started.Lock(200));
    EXPECT_EQ(0, ctx.passes.load());

    EXPECT_EQ(1u, thread->ResumeThread()); // previous suspend count
    ASSERT_TRUE(ctx.started.Lock(10000));
    while (ctx.passes.load() < 3)
        Sleep(1);

    ctx.stop = true;
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(thread->m_hThread, 10000));
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeThread(thread->m_hThread, &code));
    EXPECT_EQ(42u, code);
    delete thread; // closes the handle
}

// Signals its event from its destructor.
class CNotingThread : public CWinThread
{
    DECLARE_DYNCREATE(CNotingThread)
public:
    CNotingThread() = default;
    ~CNotingThread() override
    {
        if (s_gone)
            s_gone->SetEvent();
    }
    BOOL InitInstance() override
    {
        s_seenSelf = (AfxGetThread() == this);
        return FALSE;
    }
    int ExitInstance() override { return 7; }

    static CEvent* s_gone;
    static bool s_seenSelf;
};
IMPLEMENT_DYNCREATE(CNotingThread, CWinThread)
CEvent* CNotingThread::s_gone = nullptr;
bool CNotingThread::s_seenSelf = false;

TEST(WorkerThread, AutoDeleteObjectEndsItself)
{
    CEvent gone(FALSE, TRUE);
    CNotingThread::s_gone = &gone;
    CWinThread* t = AfxBeginThread(RUNTIME_CLASS(CNotingThread));
    ASSERT_NE(nullptr, t);
    EXPECT_TRUE(gone.Lock(10000)); // deleted itself when it ended
    EXPECT_TRUE(CNotingThread::s_seenSelf);

    // The same class kept by its owner: the exit code is ExitInstance's.
    gone.ResetEvent();
    CWinThread* kept = AfxBeginThread(RUNTIME_CLASS(CNotingThread), THREAD_PRIORITY_HIGHEST, 0, CREATE_SUSPENDED);
    ASSERT_NE(nullptr, kept);
    kept->m_bAutoDelete = FALSE;
    EXPECT_EQ(THREAD_PRIORITY_HIGHEST, kept->GetThreadPriority());
    kept->ResumeThread();
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(kept->m_hThread, 10000));
    DWORD code = 0;
    GetExitCodeThread(*kept, &code);
    EXPECT_EQ(7u, code);
    EXPECT_FALSE(gone.Lock(0));
    delete kept;
    EXPECT_TRUE(gone.Lock(0));
    CNotingThread::s_gone = nullptr;

    EXPECT_THROW(AfxBeginThread(RUNTIME_CLASS(CObject)), CInvalidArgException*);
}

// What a wait of another thread on the mutex gives (it releases what it
// took): WAIT_OBJECT_0 when nobody holds it.
DWORD WaitFromAnotherThread(HANDLE mutex)
{
    struct SProbe
    {
        static DWORD WINAPI Run(LPVOID h)
        {
            DWORD r = WaitForSingleObject(static_cast<HANDLE>(h), 0);
            if (r == WAIT_OBJECT_0)
                ReleaseMutex(static_cast<HANDLE>(h));
            return r;
        }
    };
    HANDLE probe = CreateThread(nullptr, 0, &SProbe::Run, mutex, 0, nullptr);
    WaitForSingleObject(probe, 10000);
    DWORD code = 99;
    GetExitCodeThread(probe, &code);
    CloseHandle(probe);
    return code;
}

TEST(SyncObjects, EventsAndSingleLock)
{
    CEvent autoReset;
    EXPECT_FALSE(autoReset.Lock(0));
    autoReset.SetEvent();
    EXPECT_TRUE(autoReset.Lock(0));
    EXPECT_FALSE(autoReset.Lock(0)); // auto reset

    CEvent manual(TRUE, TRUE);
    EXPECT_TRUE(manual.Lock(0));
    EXPECT_TRUE(manual.Lock(0));
    manual.ResetEvent();
    EXPECT_FALSE(manual.Lock(0));

    CMutex mutex;
    {
        CSingleLock lock(&mutex, TRUE);
        EXPECT_TRUE(lock.IsLocked());
    }
    // Released by the lock's destructor: another thread can take it.
    EXPECT_EQ(WAIT_OBJECT_0, WaitFromAnotherThread(mutex));
}

TEST(SyncObjects, AbandonedMutexIsAcquiredAndReleased)
{
    // A thread that ends while owning a mutex abandons it; the next wait
    // gets the ownership, so the lock must count as taken and be given back.
    CMutex mutex;
    struct SOwner
    {
        static DWORD WINAPI Run(LPVOID h)
        {
            return WaitForSingleObject(static_cast<HANDLE>(h), 0); // ends owning it
        }
    };
    HANDLE owner = CreateThread(nullptr, 0, &SOwner::Run, static_cast<HANDLE>(mutex), 0, nullptr);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(owner, 10000));
    CloseHandle(owner);
    {
        CSingleLock lock(&mutex);
        EXPECT_TRUE(lock.Lock(1000));
        EXPECT_TRUE(lock.IsLocked());
    }
    EXPECT_EQ(WAIT_OBJECT_0, WaitFromAnotherThread(mutex)); // released by the lock, not kept for ever
}

} // namespace
