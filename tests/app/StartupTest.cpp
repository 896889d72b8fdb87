// Start-up and shutdown of the application object: the services it brings
// up and takes down, the language files it needs, the settings it keeps, the
// installer switches; and the real program started as a process.
#include <functional>
#include "AppTestKit.h"
#include "app/AppHooks.h"
#include "app/AppIds.h"
#include "app/AppSettings.h"
#include "app/MainFrame.h"
#include "common/Languages.h"
#include "common/OVRegKey.h"
#include "common/ProductInfo.h"
#include "tests/app/DialogTestKit.h"
#include "tests/support/TestSupport.h"
#include "xf/xfFrame.h"
#include "xf/xfMDIClient.h"

using namespace apptest;

namespace {

using Startup = AppTest;

// Whether COM is running on this thread (a probe that leaves it as it was).
bool ComRunning()
{
    const HRESULT hr = ::CoInitialize(nullptr);
    if (SUCCEEDED(hr))
        ::CoUninitialize();
    return hr == S_FALSE;
}

// Runs the program with the arguments; its exit code, or -1 when it did not
// end by itself within the time (it is then closed through its window).
DWORD RunProgram(const std::wstring& arguments, DWORD waitMs, HWND* mainWindow = nullptr)
{
    std::wstring commandLine = L"\"" + testsupport::WindowsPath(RAVELIN_EXE) + L"\" " + arguments;
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return static_cast<DWORD>(-2);
    DWORD code = static_cast<DWORD>(-1);
    if (::WaitForSingleObject(pi.hProcess, waitMs) == WAIT_OBJECT_0) {
        ::GetExitCodeProcess(pi.hProcess, &code);
    } else if (mainWindow) {
        *mainWindow = ::FindWindowW(nullptr, L"Velmora Ravelin");
        if (*mainWindow)
            ::PostMessageW(*mainWindow, WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(pi.hProcess, 20000) != WAIT_OBJECT_0)
            ::TerminateProcess(pi.hProcess, 99);
    } else {
        ::TerminateProcess(pi.hProcess, 99);
    }
    ::CloseHandle(pi.hThread);
    ::CloseHandle(pi.hProcess);
    return code;
}

// Refuses, on this thread, the first window creation that the filter picks
// (every one with `every`), as a system without a usable display does.
class CWindowRefuser
{
public:
    CWindowRefuser(std::function<bool(const CREATESTRUCTW&)> pick, bool every)
    {
        s_pick = std::move(pick);
        s_every = every;
        s_refused = false;
        m_hook = ::SetWindowsHookExW(WH_CBT, Hook, nullptr, ::GetCurrentThreadId());
    }
    ~CWindowRefuser()
    {
        ::UnhookWindowsHookEx(m_hook);
        s_pick = nullptr;
    }
    CWindowRefuser(const CWindowRefuser&) = delete;
    CWindowRefuser& operator=(const CWindowRefuser&) = delete;
    bool Ready() const { return m_hook != nullptr; }
    bool Refused() const { return s_refused; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (code == HCBT_CREATEWND && s_pick && (s_every || !s_refused) &&
            s_pick(*reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs)) {
            s_refused = true;
            return 1;
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    inline static std::function<bool(const CREATESTRUCTW&)> s_pick;
    inline static bool s_every = false;
    inline static bool s_refused = false;
    HHOOK m_hook = nullptr;
};

bool IsClass(const CREATESTRUCTW& cs, const wchar_t* name, WORD atom)
{
    return IS_INTRESOURCE(cs.lpszClass) ? LOWORD(reinterpret_cast<ULONG_PTR>(cs.lpszClass)) == atom
                                        : ::lstrcmpiW(cs.lpszClass, name) == 0;
}

} // namespace

TEST_F(Startup, WithoutItsMainWindowTheStartEndsWithAFailureCode)
{
    struct SCase
    {
        const wchar_t* what;
        std::function<bool(const CREATESTRUCTW&)> pick;
        bool every; // every window refused, message boxes too
    } cases[] = {
        {L"no window at all, as without a display", [](const CREATESTRUCTW&) { return true; }, true},
        {L"the main window",
         [](const CREATESTRUCTW& cs) {
             return IsClass(cs, L"#32770", 32770) && cs.lpszName && ::lstrcmpW(cs.lpszName, L"Velmora Ravelin") == 0;
         },
         false},
        {L"the main window's frame tree", [](const CREATESTRUCTW& cs) { return IsClass(cs, L"Orlek_xfFrame", 0); },
         false},
    };
    for (const SCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.what);
        std::vector<std::wstring> told;
        BOOL started = TRUE;
        {
            dlgtest::CBoxAnswerer answerer;
            CWindowRefuser refuser(c.pick, c.every);
            ASSERT_TRUE(refuser.Ready());
            m_started = true;
            started = App().InitInstance();
            EXPECT_TRUE(refuser.Refused());
            told = answerer.Texts();
        }
        EXPECT_FALSE(started);
        EXPECT_FALSE(MainFrame());
        EXPECT_FALSE(::FindWindowW(nullptr, L"Velmora Ravelin")) << "no window is left behind";
        if (!c.every) {
            ASSERT_EQ(1u, told.size());
            EXPECT_NE(std::wstring::npos, told[0].find(L"window")) << told[0];
        }
        EXPECT_NE(0, App().ExitInstance());
        m_started = false;
        DrainQuits();
    }
}

TEST_F(Startup, ServicesComeUpWithTheWindowAndGoDownAtExit)
{
    ASSERT_FALSE(ComRunning());
    ASSERT_TRUE(Start());
    EXPECT_EQ(S_OK, App().GetComStartResult());
    EXPECT_TRUE(ComRunning());
    EXPECT_TRUE(App().IsGdiplusStarted());
    EXPECT_TRUE(App().AreSettingsLoaded());
    EXPECT_GE(GetLanguageCount(), 1);
    // The web addresses: the help page and the page about language files.
    EXPECT_STREQ(L"https://velmora.example/Ravelin/help", SProductInfo::GetHelpUrl());
    EXPECT_STREQ(L"https://velmora.example/language.htm", SProductInfo::GetLanguagesUrl());

    // The main window: template 1037 with its caption and icon, shown.
    CMainFrame* frame = MainFrame();
    ASSERT_TRUE(frame);
    CString caption;
    frame->GetWindowText(caption);
    EXPECT_STREQ(L"Velmora Ravelin", caption);
    EXPECT_TRUE(frame->SendMessage(WM_GETICON, ICON_BIG, 0));
    EXPECT_TRUE(frame->SendMessage(WM_GETICON, ICON_SMALL, 0));
    EXPECT_FALSE(KeyExists(nullptr)); // nothing written before the exit

    Stop();
    EXPECT_FALSE(ComRunning());
    EXPECT_FALSE(App().IsGdiplusStarted());
    EXPECT_EQ(100u, StoredDword(L"iVolume"));
}

TEST_F(Startup, ComAlreadyRunningOnTheThreadIsLeftRunning)
{
    ASSERT_EQ(S_OK, ::CoInitialize(nullptr));
    ASSERT_TRUE(Start());
    EXPECT_EQ(S_FALSE, App().GetComStartResult());
    Stop();
    EXPECT_TRUE(ComRunning());
    ::CoUninitialize(); // the start's own S_FALSE count
    ::CoUninitialize(); // this case's
    EXPECT_FALSE(ComRunning());
}

TEST_F(Startup, WithoutALanguageFileNothingStartsAndNothingIsSaved)
{
    WriteDword(L"iVolume", 40);
    dlgtest::CNlsFolderOfOwn empty;
    m_started = true;
    EXPECT_FALSE(App().InitInstance());
    EXPECT_FALSE(MainFrame());
    EXPECT_FALSE(App().AreSettingsLoaded());
    EXPECT_EQ(100, GetVolume()); // the languages come before the settings
    App().ExitInstance();
    m_started = false;
    EXPECT_FALSE(KeyExists(L"RecentFiles"));
    EXPECT_FALSE(ComRunning());
}

TEST_F(Startup, ProgramWithTheInstallSwitchEndsWithoutWindowOrSettings)
{
    for (const wchar_t* arguments : {L"/OVInst", L"/OVUninst", L"x /OVUninst /OVInst"}) {
        DeleteRegKeyTree(HKEY_CURRENT_USER, kSettingsKey);
        // The installer's own dialog holds the program; it is ended here
        // (the wizard and the uninstaller have tests of their own).
        RunProgram(arguments, 5000);
        EXPECT_FALSE(KeyExists(nullptr)) << arguments;
    }
}

TEST_F(Startup, ProgramShowsItsWindowAndSavesItsSettingsWhenClosed)
{
    // A switch in lower case is no switch.
    HWND window = nullptr;
    EXPECT_EQ(static_cast<DWORD>(-1), RunProgram(L"/ovinst", 4000, &window));
    EXPECT_TRUE(window);
    EXPECT_TRUE(KeyExists(L"RecentFiles"));
    EXPECT_TRUE(KeyExists(L"VAF"));
    // The first start had no key: the export folder was not filled in.
    wchar_t folder[MAX_PATH] = L"unset";
    DWORD size = sizeof folder, type = 0;
    EXPECT_EQ(ERROR_SUCCESS, ::RegGetValueW(HKEY_CURRENT_USER, kSettingsKey, L"csLastExportDestination", RRF_RT_REG_SZ,
                                            &type, folder, &size));
    EXPECT_STREQ(L"", folder);
}

TEST_F(Startup, UninstallStepsCleanTheRegistry)
{
    WriteDword(L"iVolume", 30);
    ASSERT_TRUE(SaveAppSettings());
    ASSERT_TRUE(KeyExists(L"RecentFiles"));
    DoUninstallStep(0);
    EXPECT_TRUE(KeyExists(nullptr));
    DoUninstallStep(1);
    EXPECT_FALSE(KeyExists(nullptr));
}
