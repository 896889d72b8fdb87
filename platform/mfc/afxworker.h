#pragma once
// The one owner of a worker thread. Every worker of the program starts
// through it: started suspended through the class library's thread start,
// told to stop by the owner's flag (or a flag of its own context), joined by
// waiting on a handle of its own, and never outliving its owner (the
// destructor raises the flag and joins). The class library's thread object
// deletes itself when the worker ends; the owner keeps a handle of its own, so
// joining works whenever it happens, and a join from the worker itself (the
// last reference to its owner dropped on the worker) does not wait for itself.
// Workers speak to windows only by posted messages: a worker that sends could
// wait on a window whose thread is waiting for the worker.
#include <windows.h>
#include <atomic>

#include "platform/mfc/afxthread.h"

class CWorkerThread
{
public:
    CWorkerThread() = default;
    // Raises the stop flag and joins a worker that is still known.
    ~CWorkerThread();

    CWorkerThread(const CWorkerThread&) = delete;
    CWorkerThread& operator=(const CWorkerThread&) = delete;
    CWorkerThread(CWorkerThread&& other) noexcept;
    CWorkerThread& operator=(CWorkerThread&& other) noexcept;

    // Lowers the stop flag and starts proc(param). False when a worker is
    // already known or the thread cannot be made (then proc never runs).
    [[nodiscard]] bool Start(AFX_THREADPROC proc, LPVOID param, int priority = THREAD_PRIORITY_NORMAL);
    // Raises the stop flag; a worker that looks at it ends at its next look.
    void RequestStop() { m_stop = true; }
    // The flag a worker given the owner reads.
    [[nodiscard]] bool IsStopRequested() const { return m_stop.load(); }
    // RequestStop, then Join.
    void Stop();
    // Waits for the worker to end (without a time limit), then forgets it.
    // Called on the worker itself, it only forgets it.
    void Join();
    // Forgets the worker without waiting (for a worker that ends on its own
    // and holds nothing of the owner's).
    void Forget();
    [[nodiscard]] bool IsStarted() const { return m_handle != nullptr; }
    // Whether a known worker has ended (true when none is known).
    [[nodiscard]] bool HasEnded() const { return !m_handle || WaitForSingleObject(m_handle, 0) != WAIT_TIMEOUT; }
    // The exit code of a known worker (STILL_ACTIVE while it runs); false when
    // none is known.
    [[nodiscard]] bool GetExitCode(DWORD& code) const { return m_handle && GetExitCodeThread(m_handle, &code); }
    // The owner's handle of a known worker (null when none), to wait on or
    // to read its times; it stays the owner's.
    [[nodiscard]] HANDLE GetHandle() const { return m_handle; }
    [[nodiscard]] bool IsCurrentThread() const { return m_handle && GetCurrentThreadId() == m_id; }

private:
    HANDLE m_handle = nullptr;
    DWORD m_id = 0;
    std::atomic<bool> m_stop{false};
};
