// Popup dialogs keep their owner looking active, restore the owner chain's
// window procedures when closed, and give the activation back.
#include <gtest/gtest.h>

#include "common/ActiveDlg.h"
#include "platform/mfc/afxwin.h"
#include "tests/common/TestWindows.h"
#include "tests/support/TestSupport.h"

namespace {

using wintest::CTestWindow;
using wintest::ProcOf;

const UINT kPopupTemplate = 61040;
const UINT kBarePopupTemplate = 61048;

// Counts its OnClosing calls and its deletion.
struct SCounters
{
    int closing = 0;
    int deleted = 0;
};

class CTestPopup : public CActiveDlg
{
public:
    CTestPopup(CWnd* owner, SCounters* counters, UINT templateId = kPopupTemplate)
        : CActiveDlg(templateId, owner, true), m_counters(counters)
    {
    }
    ~CTestPopup() override { ++m_counters->deleted; }

protected:
    void OnClosing() override { ++m_counters->closing; }

private:
    SCounters* m_counters;
};

// A visible top-level window, wrapped as the popups' owner.
class ActiveDlgTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(owner.Attach(top.Handle())); }
    void TearDown() override { owner.Detach(); }

    CTestWindow top{WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 50, 50, 400, 300};
    CWnd owner;
    SCounters counters;
};

TEST_F(ActiveDlgTest, ModelessPopupKeepsOwnerActiveAndRestoresOnClose)
{
    CTestWindow child(WS_CHILD | WS_VISIBLE, top.Handle(), 10, 10, 100, 50);
    SetActiveWindow(top.Handle());
    SetFocus(child.Handle());
    testsupport::PumpMessages(50);
    ASSERT_EQ(top.Handle(), GetActiveWindow());
    WNDPROC topProc = ProcOf(top.Handle());
    WNDPROC childProc = ProcOf(child.Handle());

    CWnd childOwner;
    ASSERT_TRUE(childOwner.Attach(child.Handle()));
    auto* popup = new CTestPopup(&childOwner, &counters);
    top.Forget();
    ASSERT_TRUE(popup->Create(kPopupTemplate, &childOwner));
    // The owner and its ancestors are subclassed.
    EXPECT_TRUE(CActiveDlg::IsSubclassed(child.Handle()));
    EXPECT_TRUE(CActiveDlg::IsSubclassed(top.Handle()));
    EXPECT_NE(topProc, ProcOf(top.Handle()));

    // Activating the popup deactivates the owner window: the owner's own
    // procedure never sees it.
    popup->ShowWindow(SW_SHOW);
    popup->SetActiveWindow();
    testsupport::PumpMessages(50);
    EXPECT_EQ(popup->GetSafeHwnd(), GetActiveWindow());
    EXPECT_EQ(0, top.Seen(WM_NCACTIVATE));
    EXPECT_EQ(0, top.Seen(WM_ACTIVATE));
    EXPECT_EQ(1, SendMessageW(top.Handle(), WM_NCACTIVATE, FALSE, 0));
    EXPECT_EQ(0, top.Seen(WM_NCACTIVATE));
    SendMessageW(top.Handle(), WM_NCACTIVATE, TRUE, 0);
    EXPECT_EQ(1, top.Seen(WM_NCACTIVATE)); // other messages pass

    HWND popupHwnd = popup->GetSafeHwnd();
    popup->Close(); // modeless: destroys and deletes itself
    EXPECT_EQ(1, counters.closing);
    EXPECT_EQ(1, counters.deleted);
    EXPECT_FALSE(IsWindow(popupHwnd));
    EXPECT_EQ(topProc, ProcOf(top.Handle()));
    EXPECT_EQ(childProc, ProcOf(child.Handle()));
    EXPECT_FALSE(CActiveDlg::IsSubclassed(top.Handle()));
    testsupport::PumpMessages(30);
    EXPECT_EQ(top.Handle(), GetActiveWindow());
    EXPECT_EQ(child.Handle(), GetFocus());
    childOwner.Detach();
}

TEST_F(ActiveDlgTest, ModalPopupEndsWithZeroAndSecondCloseDoesNothing)
{
    SetActiveWindow(top.Handle());
    testsupport::PumpMessages(30);

    struct CModalPopup : CTestPopup
    {
        using CTestPopup::CTestPopup;
        BOOL OnInitDialog() override
        {
            CTestPopup::OnInitDialog();
            PostMessage(WM_APP + 3);
            return TRUE;
        }
        LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
        {
            if (message == WM_APP + 3) {
                ownerEnabled = ::IsWindowEnabled(ownerHwnd) != FALSE;
                subclassed = CActiveDlg::IsSubclassed(ownerHwnd);
                Close();
                Close(); // reached once only
                return 0;
            }
            return CTestPopup::WindowProc(message, wParam, lParam);
        }
        HWND ownerHwnd = nullptr;
        bool ownerEnabled = false;
        bool subclassed = false;
    };
    {
        CModalPopup popup(&owner, &counters);
        popup.ownerHwnd = top.Handle();
        EXPECT_EQ(0, popup.DoModal());
        EXPECT_TRUE(popup.ownerEnabled); // the owner is never disabled
        EXPECT_TRUE(popup.subclassed);
        EXPECT_EQ(1, counters.closing);
        EXPECT_EQ(0, counters.deleted); // the caller deletes a modal popup
    }
    EXPECT_EQ(1, counters.deleted);
    EXPECT_FALSE(CActiveDlg::IsSubclassed(top.Handle()));
    EXPECT_TRUE(IsWindowEnabled(top.Handle()));
}

TEST_F(ActiveDlgTest, SecondPopupSharesTheRegistry)
{
    WNDPROC topProc = ProcOf(top.Handle());
    auto* first = new CTestPopup(&owner, &counters);
    ASSERT_TRUE(first->Create(kPopupTemplate, &owner));
    // The second popup drops from the first: only the first is new.
    auto* second = new CTestPopup(first, &counters);
    ASSERT_TRUE(second->Create(kPopupTemplate, first));
    EXPECT_TRUE(CActiveDlg::IsSubclassed(first->GetSafeHwnd()));
    EXPECT_TRUE(CActiveDlg::IsSubclassed(top.Handle()));
    second->Close(); // empties the registry for both
    EXPECT_FALSE(CActiveDlg::IsSubclassed(top.Handle()));
    EXPECT_EQ(topProc, ProcOf(top.Handle()));
    first->Close();
    EXPECT_EQ(2, counters.deleted);
}

// Another subclassing of the owner, made while a popup is open.
WNDPROC g_outerSaved = nullptr;

LRESULT CALLBACK OuterProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    return CallWindowProcW(g_outerSaved, hwnd, message, wParam, lParam);
}

TEST_F(ActiveDlgTest, OwnerSubclassedByOthersServesLaterPopups)
{
    HWND hwnd = top.Handle();
    WNDPROC topProc = ProcOf(hwnd);

    auto* first = new CTestPopup(&owner, &counters);
    ASSERT_TRUE(first->Create(kPopupTemplate, &owner));
    g_outerSaved =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(OuterProc)));
    first->Close(); // its subclassing is no longer on top: it stays as a pass-through
    EXPECT_EQ(42, SendMessageW(hwnd, WM_APP + 7, 0, 0));

    // A popup opened while the other subclassing is still in place.
    auto* second = new CTestPopup(&owner, &counters);
    ASSERT_TRUE(second->Create(kPopupTemplate, &owner));
    EXPECT_TRUE(CActiveDlg::IsSubclassed(hwnd));
    EXPECT_EQ(42, SendMessageW(hwnd, WM_APP + 7, 0, 0));
    top.Forget();
    EXPECT_EQ(1, SendMessageW(hwnd, WM_NCACTIVATE, FALSE, 0));
    EXPECT_EQ(0, top.Seen(WM_NCACTIVATE));
    second->Close();
    EXPECT_EQ(42, SendMessageW(hwnd, WM_APP + 7, 0, 0));

    // The other subclassing goes; the next popup still works, and closing it
    // gives the window its own procedure back.
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_outerSaved));
    auto* third = new CTestPopup(&owner, &counters);
    ASSERT_TRUE(third->Create(kPopupTemplate, &owner));
    EXPECT_EQ(42, SendMessageW(hwnd, WM_APP + 7, 0, 0));
    EXPECT_EQ(1, SendMessageW(hwnd, WM_NCACTIVATE, FALSE, 0));
    third->Close();
    EXPECT_EQ(topProc, ProcOf(hwnd));
    EXPECT_EQ(42, SendMessageW(hwnd, WM_APP + 7, 0, 0));
    EXPECT_EQ(3, counters.deleted);
}

TEST_F(ActiveDlgTest, ABarePopupShowsBeforeItTakesTheActivationAndGoesAtOnce)
{
    // Hidden, it is not active, though its dialog would focus its button.
    SetActiveWindow(top.Handle());
    testsupport::PumpMessages(30);
    auto* popup = new CTestPopup(&owner, &counters, kBarePopupTemplate);
    ASSERT_TRUE(popup->Create(kBarePopupTemplate, &owner));
    EXPECT_EQ(top.Handle(), GetActiveWindow());
    // Shown as the combo shows its list, by a show that activates: on the
    // screen, and active once shown.
    popup->SetWindowPos(nullptr, 120, 120, 160, 90, SWP_NOZORDER | SWP_SHOWWINDOW);
    EXPECT_EQ(popup->GetSafeHwnd(), GetActiveWindow());
    EXPECT_TRUE(popup->IsWindowVisible());
    testsupport::PumpMessages(50);
    // A popup made active when it showed is taken down at once (shown while
    // active, Wine hands it to a window manager and waits two seconds for
    // one to withdraw it).
    const HWND hwnd = popup->GetSafeHwnd();
    const DWORD start = GetTickCount();
    popup->Close();
    EXPECT_LT(GetTickCount() - start, 1000u);
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_EQ(top.Handle(), GetActiveWindow());
    EXPECT_EQ(1, counters.deleted);

    // Shown by a plain ShowWindow, the same.
    popup = new CTestPopup(&owner, &counters, kBarePopupTemplate);
    ASSERT_TRUE(popup->Create(kBarePopupTemplate, &owner));
    popup->ShowWindow(SW_SHOWNORMAL);
    EXPECT_EQ(popup->GetSafeHwnd(), GetActiveWindow());
    testsupport::PumpMessages(50);
    const DWORD again = GetTickCount();
    popup->Close();
    EXPECT_LT(GetTickCount() - again, 1000u);
    EXPECT_EQ(2, counters.deleted);
}

TEST_F(ActiveDlgTest, BorderIsDrawnRaised)
{
    auto* popup = new CTestPopup(&owner, &counters);
    ASSERT_TRUE(popup->Create(kPopupTemplate, &owner));
    popup->ShowWindow(SW_SHOW);
    popup->UpdateWindow();
    testsupport::PumpMessages(50);
    CRect client;
    popup->GetClientRect(&client);
    HDC dc = GetDC(popup->GetSafeHwnd());
    EXPECT_EQ(RGB(0xFF, 0xFF, 0xFF), GetPixel(dc, 0, 0));
    EXPECT_EQ(RGB(0xFF, 0xFF, 0xFF), GetPixel(dc, client.right / 2, 0));
    EXPECT_EQ(RGB(0xA3, 0xA3, 0xA3), GetPixel(dc, client.right - 1, client.bottom - 1));
    EXPECT_EQ(RGB(0xA3, 0xA3, 0xA3), GetPixel(dc, client.right - 1, client.bottom / 2));
    ReleaseDC(popup->GetSafeHwnd(), dc);
    popup->Close();
}

} // namespace
