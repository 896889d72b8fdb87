#include "platform/mfc/afxmt.h"

IMPLEMENT_DYNAMIC(CSyncObject, CObject)
IMPLEMENT_DYNAMIC(CCriticalSection, CSyncObject)
IMPLEMENT_DYNAMIC(CEvent, CSyncObject)
IMPLEMENT_DYNAMIC(CMutex, CSyncObject)

CSyncObject::~CSyncObject()
{
    if (m_hObject)
        ::CloseHandle(m_hObject);
}

BOOL CSyncObject::Lock(DWORD dwTimeout)
{
    // An abandoned mutex is owned by the waiter all the same: it must be
    // reported as taken so that it gets released.
    const DWORD r = ::WaitForSingleObject(m_hObject, dwTimeout);
    return r == WAIT_OBJECT_0 || r == WAIT_ABANDONED;
}

CCriticalSection::CCriticalSection()
{
    ::InitializeCriticalSection(&m_sect);
}

CCriticalSection::~CCriticalSection()
{
    ::DeleteCriticalSection(&m_sect);
}

CEvent::CEvent(BOOL bInitiallyOwn, BOOL bManualReset, LPCWSTR lpszName, LPSECURITY_ATTRIBUTES lpsaAttribute)
{
    m_hObject = ::CreateEventW(lpsaAttribute, bManualReset, bInitiallyOwn, lpszName);
    if (!m_hObject)
        AfxThrowNotSupportedException();
}

CMutex::CMutex(BOOL bInitiallyOwn, LPCWSTR lpszName, LPSECURITY_ATTRIBUTES lpsaAttribute)
{
    m_hObject = ::CreateMutexW(lpsaAttribute, bInitiallyOwn, lpszName);
    if (!m_hObject)
        AfxThrowNotSupportedException();
}

CSingleLock::CSingleLock(CSyncObject* pObject, BOOL bInitialLock) : m_pObject(pObject)
{
    if (!pObject)
        AfxThrowInvalidArgException();
    if (bInitialLock)
        (void)Lock(); // without a time limit: IsLocked tells the rare failure
}

BOOL CSingleLock::Lock(DWORD dwTimeout)
{
    if (!m_bAcquired)
        m_bAcquired = m_pObject->Lock(dwTimeout);
    return m_bAcquired;
}

BOOL CSingleLock::Unlock()
{
    if (m_bAcquired)
        m_bAcquired = !m_pObject->Unlock();
    return !m_bAcquired;
}
