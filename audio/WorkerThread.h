#pragma once
// A worker of the audio engine, started through the class library's thread
// start and joined by waiting on its handle. The class library's thread object
// deletes itself when the worker ends; this keeps a handle of its own, so
// joining works whenever it happens, and a join from the worker itself (the
// last reference to its owner dropped on the worker) does not wait for itself.
#include <windows.h>

#include "platform/mfc/afxthread.h"

class CWorkerThread
{
public:
    CWorkerThread() = default;
    // Joins a worker that is still known.
    ~CWorkerThread();

    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;
    CWorkerThread(CWorkerThread&& other) noexcept;
    CWorkerThread& operator=(CWorkerThread&& other) noexcept;

    // False when a worker is already known or the thread cannot be made.
    [[nodiscard]] bool Start(AFX_THREADPROC proc, LPVOID param, int priority = THREAD_PRIORITY_NORMAL);
    // Waits for the worker to end (without a time limit), then forgets it.
    // Called on the worker itself, it only forgets it.
    void Join();
    // Forgets the worker without waiting.
    void Forget();
    bool IsStarted() const { return m_handle != nullptr; }
    bool IsCurrentThread() const { return m_handle && GetCurrentThreadId() == m_id; }

private:
    HANDLE m_handle = nullptr;
    DWORD m_id = 0;
};
