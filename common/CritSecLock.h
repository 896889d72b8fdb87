#pragma once
// Scoped lock: enters the critical section in the constructor and leaves
// it in the destructor, also when an exception leaves the scope.
#include "platform/mfc/afxmt.h"

class CCritSecLock
{
public:
    explicit CCritSecLock(CCriticalSection* cs) : m_cs(cs) { m_cs->Lock(); }
    ~CCritSecLock() { m_cs->Unlock(); }
    CCritSecLock(const CCritSecLock&) = delete;
    CCritSecLock& operator=(const CCritSecLock&) = delete;

private:
    CCriticalSection* m_cs;
};

// Scoped attempt: enters the critical section only when no other thread holds
// it (Held), and then leaves it in the destructor.
class CCritSecTryLock
{
public:
    explicit CCritSecTryLock(CCriticalSection* cs) : m_cs(cs), m_held(TryEnterCriticalSection(*cs) != FALSE) {}
    ~CCritSecTryLock()
    {
        if (m_held)
            m_cs->Unlock();
    }
    CCritSecTryLock(const CCritSecTryLock&) = delete;
    CCritSecTryLock& operator=(const CCritSecTryLock&) = delete;
    bool Held() const { return m_held; }

private:
    CCriticalSection* m_cs;
    bool m_held;
};
