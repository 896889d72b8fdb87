#include "platform/mfc/afxapp.h"
#include "platform/mfc/afxwnd.h"
#include <atomic>

IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {
std::atomic<CWinApp*> g_app{nullptr};
std::atomic<HINSTANCE> g_instance{nullptr};
} // namespace

CWinApp::CWinApp(LPCWSTR lpszAppName)
{
    CWinApp* expected = nullptr;
    g_app.compare_exchange_strong(expected, this);
    m_bAutoDelete = FALSE; // a global: never deleted by the thread machinery
    m_nThreadID = ::GetCurrentThreadId();
    AfxSetThread(this);
    if (lpszAppName) {
        m_strAppName = lpszAppName;
    } else {
        wchar_t path[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, path, MAX_PATH);
        LPCWSTR name = path;
        for (LPCWSTR p = path; *p; ++p)
            if (*p == L'\\' || *p == L'/')
                name = p + 1;
        m_strAppName = name;
        int dot = m_strAppName.ReverseFind(L'.');
        if (dot > 0)
            m_strAppName = m_strAppName.Left(dot);
    }
    m_pszAppName = m_strAppName;
}

CWinApp::~CWinApp()
{
    CWinApp* expected = this;
    g_app.compare_exchange_strong(expected, nullptr);
    if (AfxGetThread() == this)
        AfxSetThread(nullptr);
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return static_cast<int>(m_msgCur.message == WM_QUIT ? m_msgCur.wParam : 0);
}

HCURSOR CWinApp::LoadCursor(LPCWSTR lpszResourceName) const
{
    return ::LoadCursorW(AfxGetResourceHandle(), lpszResourceName);
}

HICON CWinApp::LoadIcon(LPCWSTR lpszResourceName) const
{
    return ::LoadIconW(AfxGetResourceHandle(), lpszResourceName);
}

int CWinApp::DoMessageBox(LPCWSTR lpszPrompt, UINT nType, UINT)
{
    CWnd* pMain = AfxGetMainWnd();
    HWND hOwner = pMain ? pMain->m_hWnd : ::GetActiveWindow();
    return ::MessageBoxW(hOwner, lpszPrompt, m_pszAppName, nType);
}

CWinApp* AfxGetApp()
{
    return g_app.load();
}

CWnd* AfxGetMainWnd()
{
    CWinThread* pThread = AfxGetThread();
    return pThread ? pThread->GetMainWnd() : nullptr;
}

HINSTANCE AfxGetInstanceHandle()
{
    HINSTANCE h = g_instance.load();
    return h ? h : ::GetModuleHandleW(nullptr);
}

int AfxMessageBox(LPCWSTR lpszText, UINT nType, UINT nIDHelp)
{
    if (CWinApp* app = AfxGetApp())
        return app->DoMessageBox(lpszText, nType, nIDHelp);
    return ::MessageBoxW(::GetActiveWindow(), lpszText, L"", nType);
}

int AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString text;
    if (!text.LoadString(nIDPrompt))
        return -1;
    return AfxMessageBox(text, nType, nIDHelp == static_cast<UINT>(-1) ? nIDPrompt : nIDHelp);
}

int AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR lpCmdLine, int nCmdShow)
{
    g_instance.store(hInstance);
    CWinApp* app = AfxGetApp();
    if (!app)
        return -1; // no application object
    app->m_hInstance = hInstance;
    app->m_lpCmdLine = lpCmdLine;
    app->m_nCmdShow = nCmdShow;
    app->m_msgCur = MSG{}; // ExitInstance reads the quit code from here
    AfxSetThread(app);
    if (!app->InitInstance()) {
        // A main window made before the failure goes first.
        if (app->m_pMainWnd && app->m_pMainWnd->m_hWnd)
            app->m_pMainWnd->DestroyWindow();
        return app->ExitInstance();
    }
    return app->Run();
}
