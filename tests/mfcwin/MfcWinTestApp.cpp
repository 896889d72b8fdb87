#include "MfcWinTest.h"

namespace {
CTestApp theApp;
}

CTestApp& TestApp()
{
    return theApp;
}

BOOL CTestApp::OnIdle(LONG lCount)
{
    ++idleCalls;
    BOOL more = CWinApp::OnIdle(lCount);
    return onIdle ? onIdle(lCount) : more;
}

BOOL CTestApp::PreTranslateMessage(MSG* pMsg)
{
    if (onPreTranslate && onPreTranslate(pMsg))
        return TRUE;
    return CWinApp::PreTranslateMessage(pMsg);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs)
            return false;
        MSG peek;
        if (PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
            if (!AfxPumpMessage())
                return false; // WM_QUIT
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }
    return true;
}

void PumpFor(DWORD ms)
{
    PumpUntil([] { return false; }, ms);
}
