#include <gtest/gtest.h>
#include <set>
#include "common/PtrArrays.h"
#include "common/CritSecLock.h"
#include "platform/mfc/afx.h"

namespace {

// Records its id in the deleted set when destroyed.
struct SNoted
{
    SNoted(std::set<int>* deleted, int id) : deleted(deleted), id(id) {}
    ~SNoted() { deleted->insert(id); }
    std::set<int>* deleted;
    int id;
};

TEST(OwningArray, DeletesOnRemoveAtSetAtAndDestruction)
{
    std::set<int> deleted;
    SNoted* keep = new SNoted(&deleted, 99);
    {
        CGCPtrArray<SNoted> arr(true);
        for (int i = 0; i < 5; ++i)
            arr.Add(new SNoted(&deleted, i));
        arr.Add(nullptr); // null slots are skipped
        arr.RemoveAt(1, 2);
        EXPECT_EQ((std::set<int>{1, 2}), deleted);
        EXPECT_EQ(4, arr.GetSize());
        arr.SetAt(0, new SNoted(&deleted, 10));
        EXPECT_EQ((std::set<int>{0, 1, 2}), deleted);
        arr.SetAt(0, arr[0]); // storing the held element again keeps it
        EXPECT_EQ(3u, deleted.size());
        EXPECT_THROW(arr.RemoveAt(3, 2), CInvalidArgException*);
        EXPECT_EQ(3u, deleted.size()); // a bad range deletes nothing

        arr.SetAtGrow(0, new SNoted(&deleted, 11)); // replaces (and deletes) 10
        EXPECT_EQ(1u, deleted.count(10));
        arr.SetAtGrow(5, nullptr); // grows: nothing deleted
        EXPECT_EQ(6, arr.GetSize());
        arr.RemoveAt(4, 2);
        EXPECT_EQ(4u, deleted.size());

        SNoted* three = arr[1];
        EXPECT_TRUE(arr.Remove(three));
        EXPECT_EQ(1u, deleted.count(3));
        EXPECT_FALSE(arr.Remove(three));
        EXPECT_FALSE(arr.Remove(keep));
        EXPECT_EQ(1, arr.Find(static_cast<SNoted*>(arr[1])));
        EXPECT_EQ(-1, arr.Find(keep));
    }
    EXPECT_EQ((std::set<int>{0, 1, 2, 3, 4, 10, 11}), deleted);
    EXPECT_EQ(0u, deleted.count(99));
    delete keep;
}

TEST(OwningArray, SwitchedOffItLeavesElementsAlive)
{
    std::set<int> deleted;
    SNoted* a = new SNoted(&deleted, 1);
    SNoted* b = new SNoted(&deleted, 2);
    SNoted* c = new SNoted(&deleted, 3);
    {
        CGCPtrArray<SNoted> arr(true);
        arr.Add(a);
        arr.Add(b);
        arr.SetOwns(false); // hand the elements over
        arr.RemoveAll();
        EXPECT_TRUE(deleted.empty());
        arr.Add(a);
        arr.SetAt(0, b);
        arr.RemoveAt(0);
        EXPECT_TRUE(deleted.empty());
        arr.Add(a);
        arr.SetOwns(true); // owning again from here on
        arr.Add(c);
    }
    EXPECT_EQ((std::set<int>{1, 3}), deleted);
    delete b;

    CGCPtrArray<SNoted>* notOwning = new CGCPtrArray<SNoted>(false);
    SNoted* d = new SNoted(&deleted, 4);
    notOwning->Add(d);
    delete notOwning;
    EXPECT_EQ(0u, deleted.count(4));
    delete d;
}

TEST(OwningArray, ShrinkingSetSizeDeletesWhatItDropsAndInsertAtTakesOneOwner)
{
    std::set<int> deleted;
    {
        CGCPtrArray<SNoted> arr(true);
        for (int i = 0; i < 4; ++i)
            arr.Add(new SNoted(&deleted, i));
        arr.SetSize(6); // grows: two null slots
        EXPECT_EQ(nullptr, arr.GetAt(5));
        EXPECT_TRUE(deleted.empty());
        arr.SetSize(2); // drops 2, 3 and the nulls
        EXPECT_EQ((std::set<int>{2, 3}), deleted);
        EXPECT_THROW(arr.SetSize(-1), CInvalidArgException*);
        EXPECT_EQ(2, arr.GetSize());

        arr.InsertAt(1, new SNoted(&deleted, 7)); // 0 7 1
        arr.InsertAt(4, new SNoted(&deleted, 8)); // 0 7 1 null 8
        ASSERT_EQ(5, arr.GetSize());
        EXPECT_EQ(7, arr[1]->id);
        EXPECT_EQ(nullptr, arr.GetAt(3));
        arr.SetOwns(false);
        SNoted* kept = arr[4];
        arr.SetSize(4); // not owning: 8 stays alive
        EXPECT_EQ(0u, deleted.count(8));
        delete kept;
        arr.SetOwns(true);
        arr.SetSize(0);
        EXPECT_EQ((std::set<int>{0, 1, 2, 3, 7, 8}), deleted);
    }
}

TEST(PlainPointerArray, NeverDeletes)
{
    std::set<int> deleted;
    SNoted a(&deleted, 1);
    {
        CovPtrArray<SNoted> arr;
        arr.Add(&a);
        arr.SetAt(0, &a);
        EXPECT_EQ(0, arr.Find(&a));
        EXPECT_FALSE(arr.IsValidIndex(1));
        EXPECT_FALSE(arr.IsValidIndex(-1));
        EXPECT_THROW(arr.GetAt(1), CInvalidArgException*);
        arr.RemoveAt(0);
        arr.Add(&a);
        // Remove takes the slot away, never the object.
        EXPECT_TRUE(arr.Remove(&a));
        EXPECT_FALSE(arr.Remove(&a));
        EXPECT_EQ(0, arr.GetSize());
        arr.Add(&a);
    }
    EXPECT_TRUE(deleted.empty());
}

struct SShared
{
    CCriticalSection lock;
    long counter = 0; // guarded by lock
};

UINT AddUnderLock(LPVOID p)
{
    SShared* s = static_cast<SShared*>(p);
    for (int i = 0; i < 100000; ++i) {
        CCritSecLock lock(&s->lock);
        long v = s->counter;
        if ((i & 1023) == 0)
            Sleep(0); // widen the window for a lost update
        s->counter = v + 1;
    }
    return 0;
}

TEST(ScopedLock, GuardsAndLeavesOnException)
{
    SShared shared;
    CWinThread* t1 = AfxBeginThread(AddUnderLock, &shared, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    CWinThread* t2 = AfxBeginThread(AddUnderLock, &shared, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
    ASSERT_TRUE(t1 && t2);
    t1->m_bAutoDelete = FALSE;
    t2->m_bAutoDelete = FALSE;
    t1->ResumeThread();
    t2->ResumeThread();
    HANDLE both[2] = {t1->m_hThread, t2->m_hThread};
    EXPECT_EQ(WAIT_OBJECT_0, WaitForMultipleObjects(2, both, TRUE, 30000));
    delete t1;
    delete t2;
    EXPECT_EQ(200000, shared.counter);

    // An exception leaving the scope leaves the critical section.
    try {
        CCritSecLock lock(&shared.lock);
        AfxThrowInvalidArgException();
    } catch (CException* e) {
        e->Delete();
    }
    struct SProbe
    {
        static DWORD WINAPI Run(LPVOID p)
        {
            CRITICAL_SECTION* cs = static_cast<CRITICAL_SECTION*>(p);
            if (!TryEnterCriticalSection(cs))
                return 1;
            LeaveCriticalSection(cs);
            return 0;
        }
    };
    HANDLE probe = CreateThread(nullptr, 0, &SProbe::Run, &shared.lock.m_sect, 0, nullptr);
    ASSERT_NE(nullptr, probe);
    WaitForSingleObject(probe, 10000);
    DWORD code = 99;
    GetExitCodeThread(probe, &code);
    CloseHandle(probe);
    EXPECT_EQ(0u, code) << "the critical section was still held";
}

} // namespace
