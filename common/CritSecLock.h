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
