// Command routing through a chain of targets, and command-UI updates.
#include "MfcWinTest.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<std::string> g_calls;

// A target that offers a command to its own map, then to the next target.
class CChainTarget : public CCmdTarget
{
public:
    CCmdTarget* m_pNext = nullptr;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo) override
    {
        if (CCmdTarget::OnCmdMsg(nID, nCode, pExtra, pInfo))
            return TRUE;
        return m_pNext ? m_pNext->OnCmdMsg(nID, nCode, pExtra, pInfo) : FALSE;
    }
};

class CFirst : public CChainTarget
{
protected:
    BOOL OnDecline(UINT nID)
    {
        g_calls.push_back("first-declines " + std::to_string(nID));
        return FALSE; // let the chain go on
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFirst, CChainTarget)
    ON_COMMAND_EX(300, &CFirst::OnDecline)
END_MESSAGE_MAP()

class CSecond : public CChainTarget
{
public:
    BOOL enable300 = TRUE;

protected:
    void On100() { g_calls.push_back("second 100"); }
    void On300() { g_calls.push_back("second 300"); }
    void OnUpdate100(CCmdUI* pCmdUI) { pCmdUI->Enable(FALSE); }
    void OnUpdate300(CCmdUI* pCmdUI)
    {
        pCmdUI->Enable(enable300);
        pCmdUI->SetCheck(1);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSecond, CChainTarget)
    ON_COMMAND(100, &CSecond::On100)
    ON_COMMAND(300, &CSecond::On300)
    ON_UPDATE_COMMAND_UI(100, &CSecond::OnUpdate100)
    ON_UPDATE_COMMAND_UI(300, &CSecond::OnUpdate300)
END_MESSAGE_MAP()

class CThird : public CChainTarget
{
protected:
    void On100() { g_calls.push_back("third 100"); }
    void On101() { g_calls.push_back("third 101"); }
    void OnRange(UINT nID) { g_calls.push_back("third range " + std::to_string(nID)); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CThird, CChainTarget)
    ON_COMMAND(100, &CThird::On100)
    ON_COMMAND(101, &CThird::On101)
    ON_COMMAND_RANGE(200, 210, &CThird::OnRange)
END_MESSAGE_MAP()

struct Chain
{
    CFirst first;
    CSecond second;
    CThird third;
    Chain()
    {
        first.m_pNext = &second;
        second.m_pNext = &third;
    }
};

} // namespace

TEST(MfcCommand, CommandReachesTheFirstTargetThatHandlesIt)
{
    g_calls.clear();
    Chain c;
    EXPECT_TRUE(c.first.OnCmdMsg(100, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(c.first.OnCmdMsg(101, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(c.first.OnCmdMsg(205, CN_COMMAND, nullptr, nullptr));
    EXPECT_TRUE(c.first.OnCmdMsg(300, CN_COMMAND, nullptr, nullptr));
    EXPECT_FALSE(c.first.OnCmdMsg(211, CN_COMMAND, nullptr, nullptr));
    std::vector<std::string> expected = {"second 100", "third 101", "third range 205", "first-declines 300",
                                         "second 300"};
    EXPECT_EQ(expected, g_calls);

    // Asking whether a handler exists runs nothing and names the target.
    g_calls.clear();
    AFX_CMDHANDLERINFO info{};
    EXPECT_TRUE(c.first.OnCmdMsg(101, CN_COMMAND, nullptr, &info));
    EXPECT_EQ(&c.third, info.pTarget);
    EXPECT_TRUE(g_calls.empty());
    // A control notification code is not a command.
    EXPECT_FALSE(c.first.OnCmdMsg(101, EN_CHANGE, nullptr, nullptr));
}

TEST(MfcCommand, CommandUiUpdateDisablesAndChecksTheElement)
{
    Chain c;
    CWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, nullptr, L"P", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 0));
    CButton button;
    ASSERT_TRUE(button.Create(L"B", WS_CHILD | WS_VISIBLE | BS_AUTOCHECKBOX, CRect(5, 5, 100, 25), &parent, 100));

    CCmdUI ui;
    ui.m_pOther = &button;
    ui.m_nID = 100; // update handler disables
    EXPECT_TRUE(ui.DoUpdate(&c.first, TRUE));
    EXPECT_FALSE(button.IsWindowEnabled());

    ui.m_nID = 101; // no update handler, a command handler further down: enabled
    EXPECT_FALSE(ui.DoUpdate(&c.first, TRUE));
    EXPECT_TRUE(button.IsWindowEnabled());

    ui.m_nID = 102; // nobody: disabled
    EXPECT_FALSE(ui.DoUpdate(&c.first, TRUE));
    EXPECT_FALSE(button.IsWindowEnabled());

    ui.m_nID = 300; // enable and check
    EXPECT_TRUE(ui.DoUpdate(&c.first, TRUE));
    EXPECT_TRUE(button.IsWindowEnabled());
    EXPECT_EQ(BST_CHECKED, button.GetCheck());

    // The same for a menu item.
    CMenu menu;
    ASSERT_TRUE(menu.CreatePopupMenu());
    menu.AppendMenu(MF_STRING, 100, L"Hundred");
    menu.AppendMenu(MF_STRING, 300, L"Three hundred");
    CCmdUI item;
    item.m_pMenu = &menu;
    item.m_nIndex = 0;
    item.m_nID = 100;
    item.DoUpdate(&c.first, TRUE);
    EXPECT_TRUE(menu.GetMenuState(0, MF_BYPOSITION) & MF_GRAYED);
    item.m_nIndex = 1;
    item.m_nID = 300;
    item.DoUpdate(&c.first, TRUE);
    EXPECT_FALSE(menu.GetMenuState(1, MF_BYPOSITION) & MF_GRAYED);
    EXPECT_TRUE(menu.GetMenuState(1, MF_BYPOSITION) & MF_CHECKED);
    item.SetText(L"Renamed");
    CString text;
    menu.GetMenuString(1, text, MF_BYPOSITION);
    EXPECT_EQ(CString(L"Renamed"), text);
    EXPECT_EQ(300u, menu.GetMenuItemID(1));
    parent.DestroyWindow();
}

namespace {

// A window whose commands go to its own map, then to a chain of targets.
class CRoutingWnd : public CWnd
{
public:
    CCmdTarget* m_pRoute = nullptr;
    int own = 0;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pInfo) override
    {
        if (CWnd::OnCmdMsg(nID, nCode, pExtra, pInfo))
            return TRUE;
        return m_pRoute ? m_pRoute->OnCmdMsg(nID, nCode, pExtra, pInfo) : FALSE;
    }

protected:
    void OnOwn() { ++own; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CRoutingWnd, CWnd)
    ON_COMMAND(400, &CRoutingWnd::OnOwn)
END_MESSAGE_MAP()

} // namespace

TEST(MfcCommand, WmCommandOfAWindowIsRoutedThroughItsOnCmdMsg)
{
    g_calls.clear();
    Chain c;
    CRoutingWnd wnd;
    wnd.m_pRoute = &c.first;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"R", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    wnd.PostMessage(WM_COMMAND, 400);                // menu command
    wnd.PostMessage(WM_COMMAND, MAKEWPARAM(101, 1)); // accelerator
    EXPECT_TRUE(PumpUntil([&] { return wnd.own == 1 && g_calls.size() == 1; }));
    EXPECT_EQ("third 101", g_calls.front());
    wnd.DestroyWindow();
}

namespace {

// Command 500 runs only while its update handler enables it.
class CGuardedWnd : public CWnd
{
public:
    BOOL enabled = FALSE;
    int runs = 0;
    int updates = 0;

protected:
    void On500() { ++runs; }
    void OnUpdate500(CCmdUI* pCmdUI)
    {
        ++updates;
        pCmdUI->Enable(enabled);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CGuardedWnd, CWnd)
    ON_COMMAND(500, &CGuardedWnd::On500)
    ON_UPDATE_COMMAND_UI(500, &CGuardedWnd::OnUpdate500)
END_MESSAGE_MAP()

} // namespace

TEST(MfcCommand, ACommandItsUpdateHandlerDisablesIsNotRun)
{
    CGuardedWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, nullptr, L"G", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    // Menu and accelerator forms are both checked first, and answered as
    // handled so that nobody else runs them either.
    EXPECT_EQ(1, wnd.SendMessage(WM_COMMAND, 500));
    EXPECT_EQ(1, wnd.SendMessage(WM_COMMAND, MAKEWPARAM(500, 1)));
    EXPECT_EQ(0, wnd.runs);
    EXPECT_EQ(2, wnd.updates);
    wnd.enabled = TRUE;
    wnd.SendMessage(WM_COMMAND, 500);
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(500, 1));
    EXPECT_EQ(2, wnd.runs);
    // A control's own notification is not a command: no update first.
    CButton button;
    ASSERT_TRUE(button.Create(L"B", WS_CHILD, CRect(0, 0, 20, 20), &wnd, 500));
    wnd.enabled = FALSE;
    const int updates = wnd.updates;
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(500, BN_CLICKED), reinterpret_cast<LPARAM>(button.m_hWnd));
    EXPECT_EQ(3, wnd.runs);
    EXPECT_EQ(updates, wnd.updates);
    wnd.DestroyWindow();
}
