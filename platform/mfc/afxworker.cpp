#include "platform/mfc/afxworker.h"

#include <utility>

CWorkerThread::~CWorkerThread()
{
    Stop();
}

CWorkerThread::CWorkerThread(CWorkerThread&& other) noexcept
    : m_handle(std::exchange(other.m_handle, nullptr)), m_id(std::exchange(other.m_id, 0)), m_stop(other.m_stop.load())
{
}

CWorkerThread& CWorkerThread::operator=(CWorkerThread&& other) noexcept
{
    if (this != &other) {
        Join();
        m_handle = std::exchange(other.m_handle, nullptr);
        m_id = std::exchange(other.m_id, 0);
        m_stop = other.m_stop.load();
    }
    return *this;
}

bool CWorkerThread::Start(AFX_THREADPROC proc, LPVOID param, int priority)
{
    if (m_handle || !proc)
        return false;
    m_stop = false;
    CWinThread* thread = AfxBeginThread(proc, param, priority, 0, CREATE_SUSPENDED);
    if (!thread)
        return false;
    HANDLE own = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), thread->m_hThread, GetCurrentProcess(), &own,
                         SYNCHRONIZE | THREAD_QUERY_LIMITED_INFORMATION, FALSE, 0)) {
        // Never ran: end it before it touches its argument.
        TerminateThread(thread->m_hThread, 1);
        WaitForSingleObject(thread->m_hThread, INFINITE);
        thread->m_bAutoDelete = FALSE;
        delete thread;
        return false;
    }
    m_handle = own;
    m_id = thread->m_nThreadID;
    thread->ResumeThread();
    return true;
}

void CWorkerThread::Stop()
{
    RequestStop();
    Join();
}

void CWorkerThread::Join()
{
    if (!m_handle)
        return;
    if (GetCurrentThreadId() != m_id)
        WaitForSingleObject(m_handle, INFINITE);
    Forget();
}

void CWorkerThread::Forget()
{
    if (m_handle)
        CloseHandle(m_handle);
    m_handle = nullptr;
    m_id = 0;
}
