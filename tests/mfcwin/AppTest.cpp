// The application object: its message loop, idle passes, message boxes and
// resources.
#include "MfcWinTest.h"
#include "MfcWinTestIds.h"
#include <gtest/gtest.h>
#include <vector>

namespace {

class CCountWnd : public CWnd
{
public:
    int hits = 0;

protected:
    LRESULT OnHit(WPARAM, LPARAM)
    {
        ++hits;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCountWnd, CWnd)
    ON_MESSAGE(WM_APP + 1, &CCountWnd::OnHit)
END_MESSAGE_MAP()

} // namespace

TEST(MfcApp, OnIdleRunsWhenTheQueueEmptiesAndRunEndsOnQuit)
{
    CTestApp& app = TestApp();
    EXPECT_EQ(&app, AfxGetApp());
    CCountWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"Idle", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    // Drain what creation queued, so the first idle pass starts clean.
    PumpFor(50);

    std::vector<std::pair<LONG, int>> passes; // (count, hits seen)
    int stage = 0;
    app.onIdle = [&](LONG count) -> BOOL {
        passes.emplace_back(count, wnd.hits);
        if (count == 0 && stage == 0) {
            stage = 1;
            wnd.PostMessage(WM_APP + 1); // ends this idle period
            return TRUE;
        }
        if (count == 0 && stage == 1) {
            stage = 2;
            return TRUE; // asks for one more pass
        }
        if (stage == 2) {
            stage = 3;
            ::PostQuitMessage(7);
        }
        return FALSE;
    };
    int code = app.Run();
    app.onIdle = nullptr;
    EXPECT_EQ(7, code); // ExitInstance answers the quit code
    ASSERT_EQ(3u, passes.size());
    EXPECT_EQ(std::make_pair(0L, 0), passes[0]);
    EXPECT_EQ(std::make_pair(0L, 1), passes[1]); // after the message: count starts again at 0
    EXPECT_EQ(std::make_pair(1L, 1), passes[2]);
    wnd.DestroyWindow();
}

TEST(MfcApp, MainLoopPreTranslatesThroughTheThreadObject)
{
    CTestApp& app = TestApp();
    CCountWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"Pre", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    int seen = 0;
    app.onPreTranslate = [&](MSG* m) -> BOOL {
        if (m->message != WM_APP + 1)
            return FALSE;
        ++seen;
        return m->wParam == 1; // takes the first one
    };
    app.onIdle = [&](LONG) -> BOOL {
        if (wnd.hits == 1)
            ::PostQuitMessage(0);
        return FALSE;
    };
    wnd.PostMessage(WM_APP + 1, 1);
    wnd.PostMessage(WM_APP + 1, 2);
    app.Run();
    app.onIdle = nullptr;
    app.onPreTranslate = nullptr;
    EXPECT_EQ(2, seen);
    EXPECT_EQ(1, wnd.hits);
    wnd.DestroyWindow();
}

TEST(MfcApp, MainWindowAndResources)
{
    CTestApp& app = TestApp();
    EXPECT_EQ(nullptr, AfxGetMainWnd());
    CWnd main;
    ASSERT_TRUE(main.CreateEx(0, nullptr, L"Main", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    app.m_pMainWnd = &main;
    EXPECT_EQ(&main, AfxGetMainWnd());
    main.DestroyWindow();
    EXPECT_EQ(nullptr, app.m_pMainWnd); // no dangling main window

    EXPECT_EQ(::GetModuleHandleW(nullptr), AfxGetInstanceHandle());
    EXPECT_EQ(::GetModuleHandleW(nullptr), AfxGetResourceHandle());
    EXPECT_NE(nullptr, app.LoadStandardCursor(IDC_ARROW));
    EXPECT_NE(nullptr, app.LoadStandardIcon(IDI_APPLICATION));
    EXPECT_EQ(nullptr, app.LoadCursor(62098u));
    EXPECT_STREQ(L"MfcWinTest", app.m_pszAppName);
}

namespace {
// Closes the first message box of this thread with IDOK and remembers its caption.
wchar_t g_caption[64];
void CALLBACK CloseMessageBox(HWND, UINT, UINT_PTR id, DWORD)
{
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND h, LPARAM) -> BOOL {
            wchar_t cls[16] = {};
            GetClassNameW(h, cls, 16);
            if (lstrcmpW(cls, L"#32770") != 0 || !IsWindowVisible(h))
                return TRUE;
            GetWindowTextW(h, g_caption, 64);
            PostMessageW(h, WM_COMMAND, IDOK, 0);
            return FALSE;
        },
        0);
    KillTimer(nullptr, id);
}
} // namespace

TEST(MfcApp, AfxMessageBoxUsesTheStringTableAndTheAppName)
{
    g_caption[0] = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 200, CloseMessageBox);
    EXPECT_EQ(IDOK, AfxMessageBox(IDS_TEST_PROMPT, MB_OK));
    KillTimer(nullptr, timer);
    EXPECT_STREQ(L"MfcWinTest", g_caption);
    EXPECT_EQ(-1, AfxMessageBox(62097u)); // no such string: nothing shown
}

namespace {

class CThrowingWnd : public CWnd
{
protected:
    int OnCreate(LPCREATESTRUCT) { AfxThrowInvalidArgException(); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CThrowingWnd, CWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

} // namespace

TEST(MfcApp, ExceptionInAHandlerIsReportedAndFailsTheCreation)
{
    g_caption[0] = 0;
    UINT_PTR timer = SetTimer(nullptr, 0, 200, CloseMessageBox);
    CThrowingWnd wnd;
    EXPECT_FALSE(wnd.CreateEx(0, nullptr, L"Throw", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    KillTimer(nullptr, timer);
    EXPECT_NE(0, g_caption[0]); // the report was shown
    EXPECT_EQ(nullptr, wnd.m_hWnd);
}

TEST(MfcApp, WinMainDrivesTheApplicationObject)
{
    CTestApp& app = TestApp();
    wchar_t cmd[] = L"/switch";
    int inits = 0;
    app.onInit = [&]() -> BOOL {
        ++inits;
        ::PostQuitMessage(3);
        return TRUE;
    };
    EXPECT_EQ(3, AfxWinMain(::GetModuleHandleW(nullptr), nullptr, cmd, SW_SHOW));
    EXPECT_EQ(1, inits);
    EXPECT_STREQ(L"/switch", app.m_lpCmdLine);
    EXPECT_EQ(SW_SHOW, app.m_nCmdShow);

    // A refused start never enters the loop: the quit posted here stays queued.
    app.onInit = []() -> BOOL {
        ::PostQuitMessage(5);
        return FALSE;
    };
    EXPECT_EQ(0, AfxWinMain(::GetModuleHandleW(nullptr), nullptr, cmd, SW_SHOW));
    app.onInit = nullptr;
    MSG m;
    EXPECT_TRUE(::PeekMessageW(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}
