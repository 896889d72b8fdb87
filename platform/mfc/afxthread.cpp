#include "platform/mfc/afxthread.h"
#include <process.h>

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)

namespace {

thread_local CWinThread* t_currentThread = nullptr;

// Starts a new thread object suspended, sets its priority and lets it run
// unless the caller asked for it suspended. A thread that cannot start is
// deleted: null.
CWinThread* StartThread(CWinThread* thread, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
                        LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (!thread->CreateThread(dwCreateFlags | CREATE_SUSPENDED, nStackSize, lpSecurityAttrs)) {
        delete thread;
        return nullptr;
    }
    thread->SetThreadPriority(nPriority);
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        thread->ResumeThread();
    return thread;
}

} // namespace

CWinThread* AfxGetThread()
{
    return t_currentThread;
}

void AfxSetThread(CWinThread* pThread)
{
    t_currentThread = pThread;
}

CWinThread::CWinThread() = default;

CWinThread::CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam)
    : m_pfnThreadProc(pfnThreadProc), m_pThreadParams(pParam)
{
}

CWinThread::~CWinThread()
{
    if (m_hThread)
        ::CloseHandle(m_hThread);
    if (t_currentThread == this)
        t_currentThread = nullptr;
}

BOOL CWinThread::CreateThread(DWORD dwCreateFlags, UINT nStackSize, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (m_hThread)
        return FALSE; // one thread per object
    // Always start suspended: m_hThread and m_nThreadID are set before the
    // thread can run (and possibly delete this object).
    unsigned id = 0;
    uintptr_t h = _beginthreadex(lpSecurityAttrs, nStackSize, &CWinThread::ThreadEntry, this, CREATE_SUSPENDED, &id);
    if (!h)
        return FALSE;
    m_hThread = reinterpret_cast<HANDLE>(h);
    m_nThreadID = id;
    if (!(dwCreateFlags & CREATE_SUSPENDED))
        ::ResumeThread(m_hThread);
    return TRUE;
}

unsigned __stdcall CWinThread::ThreadEntry(void* p)
{
    CWinThread* self = static_cast<CWinThread*>(p);
    t_currentThread = self;
    unsigned exitCode;
    if (self->m_pfnThreadProc) {
        exitCode = self->m_pfnThreadProc(self->m_pThreadParams);
    } else if (self->InitInstance()) {
        exitCode = static_cast<unsigned>(self->Run());
    } else {
        exitCode = static_cast<unsigned>(self->ExitInstance());
    }
    t_currentThread = nullptr;
    self->Delete();
    return exitCode;
}

BOOL CWinThread::InitInstance()
{
    return FALSE;
}

int CWinThread::ExitInstance()
{
    return 0;
}

void CWinThread::Delete()
{
    if (m_bAutoDelete)
        delete this;
}

CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority, UINT nStackSize,
                           DWORD dwCreateFlags, LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (!pfnThreadProc)
        AfxThrowInvalidArgException();
    CWinThread* thread = new CWinThread(pfnThreadProc, pParam);
    return StartThread(thread, nPriority, nStackSize, dwCreateFlags, lpSecurityAttrs);
}

CWinThread* AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority, UINT nStackSize, DWORD dwCreateFlags,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs)
{
    if (!pThreadClass || !pThreadClass->IsDerivedFrom(RUNTIME_CLASS(CWinThread)))
        AfxThrowInvalidArgException();
    CWinThread* thread = static_cast<CWinThread*>(pThreadClass->CreateObject());
    if (!thread)
        AfxThrowMemoryException();
    return StartThread(thread, nPriority, nStackSize, dwCreateFlags, lpSecurityAttrs);
}
