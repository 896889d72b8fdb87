// The application object and the host agent: the top-level frame list and
// the quit after the last one, the idle update, message pre-translation,
// the deferred showing of a dialog host, and a root frame without window.
#include <gtest/gtest.h>
#include "XfTestIds.h"
#include "XfTestKit.h"
#include "xf/xfControlBar.h"
#include "xf/xfMessages.h"

using namespace xftest;

namespace {

const int kKind = 71;

class AppAgent : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Log().Clear();
        DrainQuits();
    }
    void TearDown() override
    {
        DrainQuits();
        Central().layouts.clear();
        EXPECT_EQ(0, Log().panesAlive);
        EXPECT_EQ(0, TestApp().GetFrameCount());
    }
};

// A dialog host: shown only after its initialisation (WS_VISIBLE is not in
// its template).
class CDialogHost : public CDialog
{
public:
    CDialogHost() : m_agent(this, CxfAgent::FlagBuildLayout, kKind) {}
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_INITDIALOG)
            shownAtInit = IsWindowVisible() != FALSE;
        const LRESULT result = CDialog::WindowProc(message, wParam, lParam);
        m_agent.OnHostMessage(message, wParam, lParam);
        return result;
    }
    CxfAgent m_agent;
    bool shownAtInit = false;
};

} // namespace

TEST_F(AppAgent, OneQuitAfterTheLastTopLevelFrame)
{
    CTestHost first(0, 0), second(0, 0);
    ASSERT_TRUE(first.Open(200, 100, false));
    ASSERT_TRUE(second.Open(200, 100, false));
    ASSERT_EQ(2, TestApp().GetFrameCount());
    EXPECT_EQ(first.Root(), TestApp().GetFrameAt(0));
    EXPECT_EQ(second.Root(), TestApp().GetFrameAt(1));

    TestApp().UnregisterFrame(nullptr);
    CxfFrame stranger;
    TestApp().UnregisterFrame(&stranger); // not in the list: nothing posted
    first.Close();
    EXPECT_EQ(0, DrainQuits());
    EXPECT_EQ(1, TestApp().GetFrameCount());
    second.Close();
    EXPECT_EQ(1, DrainQuits());
    EXPECT_EQ(0, TestApp().GetFrameCount());
}

TEST_F(AppAgent, ExitCommandClosesEveryHost)
{
    CTestHost first(0, 0), second(0, 0);
    ASSERT_TRUE(first.Open(200, 100, false));
    ASSERT_TRUE(second.Open(200, 100, false));
    // The hosts' default WM_CLOSE handling destroys them; their agents then
    // stop their trees.
    EXPECT_TRUE(TestApp().OnCmdMsg(ID_APP_EXIT, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(PumpUntil([&] { return !first.m_hWnd && !second.m_hWnd; }));
    EXPECT_EQ(1, DrainQuits());
}

TEST_F(AppAgent, IdleUpdateOncePerIdlePeriodToDescendantsOnly)
{
    Central().layouts[kKind] = L"C(top){P(id=41)}F(ver){F{P(id=1)}F(hor){F{P(id=2)}F{P(id=3)}}}";
    CTestHost host(CxfAgent::FlagBuildLayout, kKind);
    ASSERT_TRUE(host.Open(600, 400, false));
    PumpLayout();
    std::vector<CTestPane*> panes;
    for (int id : {41, 1, 2, 3}) {
        CxfPane* p = id == 41 ? host.Root()->GetBar(0)->GetPane() : host.Root()->FindPane(id);
        ASSERT_NE(nullptr, p) << id;
        panes.push_back(static_cast<CTestPane*>(p));
    }
    // Each idle pass records the message counts of every pane; the test
    // ends the first idle period with a posted message, lets the second
    // run to its second pass, then quits.
    struct SPass
    {
        LONG count;
        std::vector<int> messages, updates;
    };
    std::vector<SPass> passes;
    int stage = 0;
    TestApp().onIdle = [&](LONG count, BOOL more) -> BOOL {
        SPass pass{count, {}, {}};
        for (CTestPane* p : panes) {
            pass.messages.push_back(p->m_idleMessages);
            pass.updates.push_back(p->m_idleUpdates);
        }
        passes.push_back(pass);
        if (stage == 0) {
            stage = 1;
            host.PostMessage(WM_NULL);
        } else if (stage == 1 && count >= 1) {
            stage = 2;
            ::PostQuitMessage(0);
        }
        return more;
    };
    TestApp().Run();
    TestApp().onIdle = nullptr;
    ASSERT_GE(passes.size(), 3u);
    int periods = 0;
    for (size_t i = 0; i < passes.size(); ++i) {
        if (passes[i].count == 0)
            ++periods;
        // Exactly one message per pane window and one update of each pane
        // through its frame (not the bar's pane: bars are no plain frames),
        // for every period begun so far.
        EXPECT_EQ((std::vector<int>{periods, periods, periods, periods}), passes[i].messages) << i;
        EXPECT_EQ((std::vector<int>{0, periods, periods, periods}), passes[i].updates) << i;
    }
    EXPECT_GE(periods, 2);
    EXPECT_EQ(0, host.m_idleMessages);
    host.Close();
    DrainQuits();
}

TEST_F(AppAgent, DialogHostIsShownAfterItsInitialisation)
{
    Central().layouts[kKind] = L"F{P(id=1)}";
    CDialogHost dlg;
    ASSERT_TRUE(dlg.Create(IDD_XF_TEST_DIALOG_HOST, nullptr));
    EXPECT_FALSE(dlg.shownAtInit);
    EXPECT_FALSE(dlg.IsWindowVisible()); // the show request is still queued
    EXPECT_TRUE(PumpUntil([&] { return dlg.IsWindowVisible() != FALSE; }));
    ASSERT_NE(nullptr, dlg.m_agent.GetRootFrame());
    EXPECT_NE(nullptr, dlg.m_agent.GetRootFrame()->GetPane());
    dlg.m_agent.Destroy();
    dlg.DestroyWindow();
    EXPECT_EQ(1, DrainQuits());
}

TEST_F(AppAgent, RootWithoutWindowBuildsNothing)
{
    Central().layouts[kKind] = L"F{P(id=1)}";
    CWnd noWindow; // a child frame cannot be made inside it
    CxfAgent agent(&noWindow, CxfAgent::FlagBuildLayout, kKind);
    const int asked = Central().layoutRequests;
    agent.OnHostMessage(WM_CREATE, 0, 0);
    EXPECT_EQ(nullptr, agent.GetRootFrame());
    EXPECT_EQ(asked, Central().layoutRequests);
    agent.OnHostMessage(WM_SIZE, 0, MAKELPARAM(100, 100));
    agent.Destroy();

    CxfAgent none(nullptr, CxfAgent::FlagBuildLayout, kKind);
    none.OnHostMessage(WM_CREATE, 0, 0);
    EXPECT_EQ(nullptr, none.GetRootFrame());
}

TEST_F(AppAgent, EmptyLayoutLeavesAnEmptyRootFittedToTheHost)
{
    CTestHost host(CxfAgent::FlagBuildLayout, 999);
    ASSERT_TRUE(host.Open(300, 200, false));
    ASSERT_NE(nullptr, host.Root());
    EXPECT_EQ(L"F", Describe(host.Root()));
    host.MoveWindow(0, 0, 320, 210);
    EXPECT_EQ(CRect(0, 0, 320, 210), RectInParent(host.Root()->m_hWnd));
    host.Close();
}

TEST_F(AppAgent, PreTranslationRetargetsPlaceholderKeysAndTheWheel)
{
    CTestHost host(0, 0);
    ASSERT_TRUE(host.Open(300, 200, false));
    CWnd placeholder;
    ASSERT_TRUE(
        placeholder.CreateEx(0, L"STATIC", L"", WS_CHILD, CRect(0, 0, 10, 10), host.Root(), ID_XF_FOCUS_PLACEHOLDER));
    MSG key{placeholder.m_hWnd, WM_KEYDOWN, 'A', 0, 0, {0, 0}};
    TestApp().PreTranslateMessage(&key);
    EXPECT_EQ(host.Root()->m_hWnd, key.hwnd);

    CTestHost under(0, 0);
    ASSERT_TRUE(under.Open(100, 100, true));
    under.SetWindowPos(&CWnd::wndTopMost, 0, 0, 100, 100, SWP_SHOWWINDOW);
    ::SetCursorPos(50, 50);
    MSG wheel{placeholder.m_hWnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(50, 50), 0, {50, 50}};
    TestApp().PreTranslateMessage(&wheel);
    EXPECT_TRUE(wheel.hwnd == under.m_hWnd || ::IsChild(under.m_hWnd, wheel.hwnd));
    placeholder.DestroyWindow();
    under.Close();
    host.Close();
    DrainQuits();
}
