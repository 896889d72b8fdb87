#pragma once
// Shared pieces of the window-layer tests: the application object and pumps.
#include "platform/mfc/afxwin.h"
#include <functional>

// The test program's one application object. Each hook is empty unless a
// test sets it (and clears it again).
class CTestApp : public CWinApp
{
public:
    CTestApp() : CWinApp(L"MfcWinTest") {}
    std::function<BOOL()> onInit;             // replaces InitInstance's answer
    std::function<BOOL(LONG)> onIdle;         // replaces the idle answer
    std::function<BOOL(MSG*)> onPreTranslate; // TRUE takes the message
    int idleCalls = 0;

    BOOL InitInstance() override { return onInit ? onInit() : CWinApp::InitInstance(); }
    BOOL OnIdle(LONG lCount) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
};

CTestApp& TestApp();

// Pumps this thread's messages through the class library's pump (so every
// message passes PreTranslateMessage) until done() or the timeout.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 3000);
// Pumps for a while.
void PumpFor(DWORD ms);
