#pragma once
// CWinApp, the one application object, and the process-wide helpers.
//
// The program defines one global object of a CWinApp subclass. The entry
// point (AfxWinMain, called by wWinMain) fills m_hInstance, m_lpCmdLine and
// m_nCmdShow, calls InitInstance, then Run (the message loop of CWinThread)
// when it returned TRUE, else ExitInstance; the result is the exit code.
#include <windows.h>
#include "platform/mfc/afxthread.h"
#include "platform/mfc/afxstr.h"

class CWnd;

class CWinApp : public CWinThread
{
    DECLARE_DYNAMIC(CWinApp)
public:
    // Registers the object as the application of the process (and as the
    // thread object of the constructing thread).
    explicit CWinApp(LPCWSTR lpszAppName = nullptr);
    ~CWinApp() override;

    HINSTANCE m_hInstance = nullptr;
    LPWSTR m_lpCmdLine = nullptr;
    int m_nCmdShow = SW_SHOWNORMAL;
    // The caption of AfxMessageBox: the constructor's name, else the module
    // file name without its extension.
    LPCWSTR m_pszAppName = nullptr;

    [[nodiscard]] BOOL InitInstance() override;
    // The WM_QUIT code of the message loop (0 when it did not run).
    int ExitInstance() override;

    // Cursors and icons of the resource module; the standard ones (IDC_*,
    // IDI_*) from the system.
    HCURSOR LoadCursor(LPCWSTR lpszResourceName) const;
    HCURSOR LoadCursor(UINT nIDResource) const { return LoadCursor(MAKEINTRESOURCEW(nIDResource)); }
    HCURSOR LoadStandardCursor(LPCWSTR lpszCursorName) const { return ::LoadCursorW(nullptr, lpszCursorName); }
    HCURSOR LoadOEMCursor(UINT nIDCursor) const { return ::LoadCursorW(nullptr, MAKEINTRESOURCEW(nIDCursor)); }
    HICON LoadIcon(LPCWSTR lpszResourceName) const;
    HICON LoadIcon(UINT nIDResource) const { return LoadIcon(MAKEINTRESOURCEW(nIDResource)); }
    HICON LoadStandardIcon(LPCWSTR lpszIconName) const { return ::LoadIconW(nullptr, lpszIconName); }

    // Shows a message box owned by the main window (else the active window)
    // with the application's name as caption.
    virtual int DoMessageBox(LPCWSTR lpszPrompt, UINT nType, UINT nIDPrompt);

private:
    CString m_strAppName;
};

// The entry point's work (see wWinMain in afxwinmain.cpp).
int AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine, int nCmdShow);

CWinApp* AfxGetApp();
// The calling thread's main window (its thread object's GetMainWnd); null
// on threads without a thread object.
CWnd* AfxGetMainWnd();
// The module of the application (the program's module before AfxWinMain).
HINSTANCE AfxGetInstanceHandle();

int AfxMessageBox(LPCWSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
// String nIDPrompt of the string table; -1 when it does not exist.
int AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = static_cast<UINT>(-1));

// Kept for the start-up sequence; controls are hosted without it.
inline void AfxEnableControlContainer()
{
}

// One step of the calling thread's message pump (its thread object's
// PumpMessage, or the same walk without one). FALSE on WM_QUIT.
[[nodiscard]] BOOL AfxPumpMessage();
// The message AfxPumpMessage took last on this thread.
const MSG* AfxGetCurrentPumpMessage();
[[nodiscard]] BOOL AfxIsIdleMessage(MSG* pMsg);
void AfxPostQuitMessage(int nExitCode);
