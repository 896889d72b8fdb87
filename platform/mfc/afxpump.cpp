// The message pump of CWinThread (and of threads without a thread object).
#include "platform/mfc/afxapp.h"
#include "platform/mfc/afxwnd.h"
#include "platform/mfc/afxstate.h"

namespace {

// The pump's last message on threads without a thread object.
thread_local MSG t_msgCur{};
thread_local POINT t_lastMouse{-1, -1};

BOOL PreTranslateWalk(CWnd* pMain, MSG* pMsg)
{
    if (!pMsg->hwnd)
        return FALSE; // thread messages go to no window object
    HWND hMain = pMain ? pMain->m_hWnd : nullptr;
    if (CWnd::WalkPreTranslateTree(hMain, pMsg))
        return TRUE;
    // A window outside the main window (a modeless popup): the main window
    // still gets its say (accelerators).
    if (hMain && pMsg->hwnd != hMain && !::IsChild(hMain, pMsg->hwnd) && ::IsWindow(pMsg->hwnd))
        return pMain->PreTranslateMessage(pMsg);
    return FALSE;
}

BOOL PumpOne(MSG& msg, CWinThread* pThread)
{
    if (!::GetMessageW(&msg, nullptr, 0, 0))
        return FALSE;
    BOOL taken = pThread ? pThread->PreTranslateMessage(&msg) : PreTranslateWalk(nullptr, &msg);
    if (!taken) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return TRUE;
}

BOOL IsIdle(const MSG* pMsg, POINT& lastMouse)
{
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
        // Only a move to a new place ends an idle period.
        if (pMsg->pt.x == lastMouse.x && pMsg->pt.y == lastMouse.y)
            return FALSE;
        lastMouse = pMsg->pt;
        return TRUE;
    }
    return pMsg->message != WM_PAINT && pMsg->message != 0x0118 /* caret blink timer */;
}

} // namespace

BOOL CWinThread::PumpMessage()
{
    return PumpOne(m_msgCur, this);
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    return PreTranslateWalk(GetMainWnd(), pMsg);
}

BOOL CWinThread::OnIdle(LONG lCount)
{
    if (lCount <= 0)
        return TRUE; // one more pass for the clean-up
    if (lCount == 1) {
        AfxLockTempMaps();
        AfxUnlockTempMaps(); // deletes the temporaries unless a dispatch runs
    }
    return FALSE;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg)
{
    AFX_THREAD_STATE& st = AfxGetThreadState();
    return IsIdle(pMsg, st.ptLastMouseMove);
}

CWnd* CWinThread::GetMainWnd()
{
    return m_pActiveWnd ? m_pActiveWnd : m_pMainWnd;
}

int CWinThread::Run()
{
    bool idle = true;
    LONG idleCount = 0;
    MSG peek;
    for (;;) {
        while (idle && !::PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++))
                idle = false;
        }
        do {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(&m_msgCur)) {
                idle = true;
                idleCount = 0;
            }
        } while (::PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE));
    }
}

BOOL AfxPumpMessage()
{
    CWinThread* pThread = AfxGetThread();
    return pThread ? pThread->PumpMessage() : PumpOne(t_msgCur, nullptr);
}

const MSG* AfxGetCurrentPumpMessage()
{
    CWinThread* pThread = AfxGetThread();
    return pThread ? &pThread->m_msgCur : &t_msgCur;
}

BOOL AfxIsIdleMessage(MSG* pMsg)
{
    CWinThread* pThread = AfxGetThread();
    return pThread ? pThread->IsIdleMessage(pMsg) : IsIdle(pMsg, t_lastMouse);
}

void AfxPostQuitMessage(int nExitCode)
{
    ::PostQuitMessage(nExitCode);
}
