#pragma once
// CWinThread and the class library's thread start. The program's workers
// start only through CWorkerThread (afxworker.h), which is built on this.
//
// A worker: AfxBeginThread(proc, param, priority, stack, CREATE_SUSPENDED)
// gives a suspended thread; the starter may clear m_bAutoDelete (so the
// object and m_hThread outlive the thread and can be waited on), then calls
// ResumeThread. The worker stops on a flag; the owner joins it with
// WaitForSingleObject(m_hThread) and deletes the object.
//
// With m_bAutoDelete TRUE (the default) the object deletes itself, and
// closes m_hThread, when the thread function returns.
#include <windows.h>
#include "platform/mfc/afxcmdtarget.h"

class CWnd;

typedef UINT (*AFX_THREADPROC)(LPVOID);

class CWinThread : public CCmdTarget
{
    DECLARE_DYNAMIC(CWinThread)
public:
    // A worker running pfnThreadProc(pParam); started by CreateThread.
    CWinThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam);
    ~CWinThread() override;

    // Starts the thread (dwCreateFlags may hold CREATE_SUSPENDED). FALSE
    // when the system refuses.
    [[nodiscard]] BOOL CreateThread(DWORD dwCreateFlags = 0, UINT nStackSize = 0,
                                    LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);

    DWORD ResumeThread() { return ::ResumeThread(m_hThread); }
    DWORD SuspendThread() { return ::SuspendThread(m_hThread); }
    int GetThreadPriority() const { return ::GetThreadPriority(m_hThread); }
    BOOL SetThreadPriority(int nPriority) { return ::SetThreadPriority(m_hThread, nPriority); }
    operator HANDLE() const { return m_hThread; }

    // Thread-object overridables for threads made from a CWinThread class.
    // InitInstance TRUE runs Run; Run's result is the exit code.
    [[nodiscard]] virtual BOOL InitInstance();
    // The message loop: while the queue is empty OnIdle(0), OnIdle(1)...
    // until it answers FALSE; then PumpMessage until the queue is empty
    // again. WM_QUIT ends it with ExitInstance().
    virtual int Run();
    virtual int ExitInstance();

    // Message pump (afxpump.cpp). PumpMessage takes one message (waiting for
    // it), offers it to PreTranslateMessage and otherwise translates and
    // dispatches it; FALSE on WM_QUIT. PreTranslateMessage offers it to the
    // window objects from its target window up through the parents, then to
    // the main window when the target lies outside it. OnIdle(count): TRUE
    // asks for another idle pass; the base version deletes the thread's
    // temporary wrappers at count 1. IsIdleMessage: FALSE for messages that
    // don't end an idle period (repeated mouse moves, paint, caret timer).
    [[nodiscard]] virtual BOOL PumpMessage();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL OnIdle(LONG lCount);
    [[nodiscard]] virtual BOOL IsIdleMessage(MSG* pMsg);
    // m_pActiveWnd when set, else m_pMainWnd.
    virtual CWnd* GetMainWnd();
    MSG m_msgCur{}; // the message being pumped
    // Called when the thread ends: deletes the object when m_bAutoDelete.
    virtual void Delete();

    HANDLE m_hThread = nullptr;
    DWORD m_nThreadID = 0;
    BOOL m_bAutoDelete = TRUE;
    CWnd* m_pMainWnd = nullptr; // the thread's main window, when it has one
    CWnd* m_pActiveWnd = nullptr;

    AFX_THREADPROC m_pfnThreadProc = nullptr;
    LPVOID m_pThreadParams = nullptr;

protected:
    CWinThread();

private:
    static unsigned __stdcall ThreadEntry(void* pThis);
};

// The CWinThread of the calling thread, when it was started through this
// layer (or registered itself, as an application object does); else null.
CWinThread* AfxGetThread();
void AfxSetThread(CWinThread* pThread);

// Starts pfnThreadProc(pParam) on a new thread. Returns null on failure.
CWinThread* AfxBeginThread(AFX_THREADPROC pfnThreadProc, LPVOID pParam, int nPriority = THREAD_PRIORITY_NORMAL,
                           UINT nStackSize = 0, DWORD dwCreateFlags = 0,
                           LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);

// Creates an object of a DYNCREATE CWinThread class and starts it.
CWinThread* AfxBeginThread(CRuntimeClass* pThreadClass, int nPriority = THREAD_PRIORITY_NORMAL, UINT nStackSize = 0,
                           DWORD dwCreateFlags = 0, LPSECURITY_ATTRIBUTES lpSecurityAttrs = nullptr);
