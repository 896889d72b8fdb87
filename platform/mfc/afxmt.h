#pragma once
// Synchronisation objects: CCriticalSection (re-entrant by the owning
// thread), CEvent, CMutex, and CSingleLock, which unlocks in its destructor.
#include <windows.h>
#include "platform/mfc/afxobj.h"

class CSyncObject : public CObject
{
    DECLARE_DYNAMIC(CSyncObject)
public:
    ~CSyncObject() override;
    // TRUE when acquired within dwTimeout milliseconds.
    [[nodiscard]] virtual BOOL Lock(DWORD dwTimeout = INFINITE);
    [[nodiscard]] virtual BOOL Unlock() = 0;
    operator HANDLE() const { return m_hObject; }

    HANDLE m_hObject = nullptr; // null for a critical section

protected:
    CSyncObject() = default;
};

class CCriticalSection : public CSyncObject
{
    DECLARE_DYNAMIC(CCriticalSection)
public:
    CCriticalSection();
    ~CCriticalSection() override;
    BOOL Lock()
    {
        ::EnterCriticalSection(&m_sect);
        return TRUE;
    }
    // A critical section has no timeout: any value waits until entered.
    BOOL Lock(DWORD dwTimeout) override
    {
        (void)dwTimeout;
        return Lock();
    }
    BOOL Unlock() override
    {
        ::LeaveCriticalSection(&m_sect);
        return TRUE;
    }
    operator CRITICAL_SECTION*() { return &m_sect; }

    CRITICAL_SECTION m_sect;
};

class CEvent : public CSyncObject
{
    DECLARE_DYNAMIC(CEvent)
public:
    // An auto-reset, initially non-signalled event by default. Throws
    // CNotSupportedException when the system refuses to create it.
    explicit CEvent(BOOL bInitiallyOwn = FALSE, BOOL bManualReset = FALSE, LPCWSTR lpszName = nullptr,
                    LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);
    BOOL SetEvent() { return ::SetEvent(m_hObject); }
    BOOL ResetEvent() { return ::ResetEvent(m_hObject); }
    BOOL PulseEvent() { return ::PulseEvent(m_hObject); }
    BOOL Unlock() override { return TRUE; }
};

class CMutex : public CSyncObject
{
    DECLARE_DYNAMIC(CMutex)
public:
    explicit CMutex(BOOL bInitiallyOwn = FALSE, LPCWSTR lpszName = nullptr,
                    LPSECURITY_ATTRIBUTES lpsaAttribute = nullptr);
    [[nodiscard]] BOOL Unlock() override { return ::ReleaseMutex(m_hObject); }
};

class CSingleLock
{
public:
    explicit CSingleLock(CSyncObject* pObject, BOOL bInitialLock = FALSE);
    ~CSingleLock() { (void)Unlock(); } // nothing held, or nothing left to do about it
    CSingleLock(const CSingleLock&) = delete;
    CSingleLock& operator=(const CSingleLock&) = delete;

    [[nodiscard]] BOOL Lock(DWORD dwTimeout = INFINITE);
    [[nodiscard]] BOOL Unlock();
    [[nodiscard]] BOOL IsLocked() const { return m_bAcquired; }

private:
    CSyncObject* m_pObject;
    BOOL m_bAcquired = FALSE;
};
