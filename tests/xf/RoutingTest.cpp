// Command routing through the frame tree: the order of the receivers, the
// first handler ending the search, broadcasts, panes keeping commands to
// themselves, the handler probe, commands disabled by their update handler,
// and the focus coming back to a pane.
#include <gtest/gtest.h>
#include "XfTestKit.h"
#include "xf/xfControlBar.h"

using namespace xftest;

namespace {

using Route = std::vector<std::string>;

// A bar whose own map records the commands offered to it.
class CRecordingBar : public CxfControlBar
{
public:
    SRecorder rec{"bar", {}};
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* info) override
    {
        return CCmdTarget::OnCmdMsg(id, code, extra, info) || CxfControlBar::OnCmdMsg(id, code, extra, info);
    }

protected:
    BOOL OnRecorded(UINT id) { return rec.Offer(id); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRecordingBar, CxfControlBar)
    ON_COMMAND_EX_RANGE(kRecFirst, kRecLast, &CRecordingBar::OnRecorded)
END_MESSAGE_MAP()

class Routing : public HostTest
{
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        root = Build(L"R(controller=1){F(ver,controller=2){F(controller=3){P(id=1)}F(controller=4){P(id=2)}}}", 600,
                     400, visible);
        ASSERT_EQ(L"Fc1{F:vc2{Fc3P1,Fc4P2}}", Describe(root));
        bar = new CRecordingBar;
        ASSERT_TRUE(bar->Create(root));
        root->AddControlBar(bar);
        PumpLayout();
        first = root->GetChild(0)->GetChild(0);
        second = root->GetChild(0)->GetChild(1);
        p1 = static_cast<CTestPane*>(first->GetPane());
        p2 = static_cast<CTestPane*>(second->GetPane());
        c3 = static_cast<CTestController*>(first->GetController());
        c4 = static_cast<CTestController*>(second->GetController());
    }
    // Posts the command to the top-level frame, as menus and toolbars do.
    Route Post(UINT id)
    {
        Log().route.clear();
        root->PostMessage(WM_COMMAND, id);
        PumpFor(60);
        return Log().route;
    }
    bool visible = false; // a shown host is slow to come and go
    CxfFrame* root = nullptr;
    CRecordingBar* bar = nullptr;
    CxfFrame* first = nullptr;
    CxfFrame* second = nullptr;
    CTestPane* p1 = nullptr;
    CTestPane* p2 = nullptr;
    CTestController* c3 = nullptr;
    CTestController* c4 = nullptr;
};

// The focus needs a shown host.
class RoutingShown : public Routing
{
protected:
    void SetUp() override
    {
        visible = true;
        Routing::SetUp();
    }
};

} // namespace

TEST_F(Routing, EveryReceiverInOrderActiveChildrenFirst)
{
    // Nobody handles 41001: each receiver is offered it once, in order.
    EXPECT_EQ((Route{"app", "host", "c1", "bar", "c2", "c3", "p1", "c4", "p2"}), Post(41001));
    second->ActivateFrame();
    EXPECT_EQ((Route{"app", "host", "c1", "bar", "c2", "c4", "p2", "c3", "p1"}), Post(41001));
    // An active child that is hidden waits for the second pass.
    second->SetVisible(false);
    EXPECT_EQ((Route{"app", "host", "c1", "bar", "c2", "c3", "p1", "c4", "p2"}), Post(41001));
}

TEST_F(Routing, TheFirstHandlerEndsTheSearchUnlessTheCommandIsABroadcast)
{
    second->ActivateFrame();
    c4->rec.handles = {41002};
    p1->rec.handles = {41002};
    TestApp().rec.handles = {41005};
    EXPECT_EQ((Route{"app", "host", "c1", "bar", "c2", "c4*"}), Post(41002));
    EXPECT_EQ((Route{"app*"}), Post(41005));
    // A command handled only in the inactive child reaches it after all.
    p1->rec.handles = {41002, 41006};
    EXPECT_EQ((Route{"app", "host", "c1", "bar", "c2", "c4", "p2", "c3", "p1*"}), Post(41006));

    Central().broadcast = {41002};
    Log().route.clear();
    EXPECT_FALSE(root->OnCmdMsg(41002, CN_COMMAND, nullptr, nullptr));
    EXPECT_EQ((Route{"app", "host", "c1", "bar", "c2", "c4*", "p2", "c3", "p1*"}), Log().route);
}

TEST_F(Routing, APaneKeepsItsCommandsToItself)
{
    // c3, the controller of the pane's own frame, would handle 41003; a
    // command sent to the pane (a control's click, or a plain command) goes
    // to the pane's map only, and from there nowhere.
    c3->rec.handles = {41003};
    CWnd* edit = p1->GetDlgItem(1000);
    ASSERT_NE(nullptr, edit);
    Log().route.clear();
    p1->SendMessage(WM_COMMAND, MAKEWPARAM(41003, BN_CLICKED), reinterpret_cast<LPARAM>(edit->m_hWnd));
    p1->SendMessage(WM_COMMAND, 41003);
    EXPECT_EQ((Route{"p1", "p1"}), Log().route);
    p1->rec.handles = {41003};
    Log().route.clear();
    p1->SendMessage(WM_COMMAND, 41003);
    EXPECT_EQ((Route{"p1*"}), Log().route);

    // Enter, Escape and their commands never end a pane.
    HWND pane = p1->m_hWnd;
    edit->PostMessage(WM_KEYDOWN, VK_RETURN);
    edit->PostMessage(WM_KEYDOWN, VK_ESCAPE);
    PumpFor(50);
    p1->SendMessage(WM_COMMAND, IDOK);
    p1->SendMessage(WM_COMMAND, IDCANCEL);
    PumpFor(50);
    EXPECT_TRUE(::IsWindow(pane));
    EXPECT_TRUE(::GetWindowLongW(pane, GWL_STYLE) & WS_VISIBLE);
}

TEST_F(Routing, TheProbeFindsAHandlerWithoutRunningIt)
{
    AFX_CMDHANDLERINFO info{};
    EXPECT_TRUE(root->OnCmdMsg(kPaneCommand, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(p1, info.pTarget); // the active frame's pane comes first
    AFX_CMDHANDLERINFO none{};
    EXPECT_FALSE(root->OnCmdMsg(43000, CN_COMMAND, nullptr, &none));
    PumpFor(50);
    EXPECT_EQ(0, p1->m_paneCommands + p2->m_paneCommands);
    EXPECT_EQ(0, p1->m_focusReturns); // a probe is no handled command
}

TEST_F(Routing, ACommandDisabledByItsUpdateHandlerIsNotRun)
{
    p1->m_enable42000 = FALSE;
    Post(kPaneCommand);
    EXPECT_EQ(0, p1->m_paneCommands);
    EXPECT_EQ(0, p2->m_paneCommands); // swallowed, not passed on
    p1->m_enable42000 = TRUE;
    Post(kPaneCommand);
    EXPECT_EQ(1, p1->m_paneCommands);
    EXPECT_EQ(0, p2->m_paneCommands);
}

TEST_F(RoutingShown, APaneThatHandledACommandTakesTheFocusBackFromABar)
{
    bar->SetFocus();
    ASSERT_EQ(bar->m_hWnd, ::GetFocus());
    Post(kPaneCommand);
    EXPECT_EQ(1, p1->m_focusReturns);
    const HWND focus = ::GetFocus();
    EXPECT_TRUE(focus == p1->m_hWnd || ::IsChild(p1->m_hWnd, focus));

    // Handled by a controller: the pane hears nothing.
    c3->rec.handles = {41004};
    bar->SetFocus();
    Post(41004);
    EXPECT_EQ(1, p1->m_focusReturns);
    EXPECT_EQ(bar->m_hWnd, ::GetFocus());

    // The focus elsewhere than in a bar stays where it is.
    CWnd* otherEdit = p2->GetDlgItem(1000);
    otherEdit->SetFocus();
    Post(kPaneCommand);
    EXPECT_EQ(2, p1->m_focusReturns);
    EXPECT_EQ(otherEdit->m_hWnd, ::GetFocus());
}
