// Dialogs from resource templates: modeless creation and initialisation,
// dialog keys, modal runs ended by posted commands.
#include "MfcWinTest.h"
#include "MfcWinTestIds.h"
#include <gtest/gtest.h>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

namespace {

class CModelessDlg : public CDialog
{
public:
    CModelessDlg() : CDialog(IDD_TEST_MODELESS) {}
    int inits = 0;
    CString m_text = L"Grüße";
    int m_check = 1;
    CListBox m_list;
    int pushes = 0;
    int cancels = 0;
    bool boundBeforeInit = false;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        DDX_Control(pDX, IDC_TEST_LIST, m_list);
        DDX_Text(pDX, IDC_TEST_EDIT, m_text);
        DDX_Check(pDX, IDC_TEST_CHECK, m_check);
    }
    BOOL OnInitDialog() override
    {
        boundBeforeInit = FromHandlePermanent(m_hWnd) == this;
        ++inits;
        CDialog::OnInitDialog();
        auto* combo = static_cast<CComboBox*>(GetDlgItem(IDC_TEST_COMBO));
        combo->AddString(L"one");
        combo->AddString(L"two");
        combo->SetCurSel(1);
        m_list.AddString(L"alpha");
        m_list.AddString(L"beta");
        return TRUE;
    }
    void OnPush() { ++pushes; }
    void OnCancel() override
    {
        ++cancels;
        DestroyWindow(); // modeless: closing destroys
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CModelessDlg, CDialog)
    ON_BN_CLICKED(IDC_TEST_BUTTON, &CModelessDlg::OnPush)
END_MESSAGE_MAP()

} // namespace

TEST(MfcDialog, ModelessDialogFromTemplateInitialisesItsControls)
{
    CModelessDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_MODELESS, nullptr));
    EXPECT_TRUE(dlg.boundBeforeInit);
    EXPECT_EQ(1, dlg.inits);
    EXPECT_FALSE(dlg.IsWindowVisible()); // the template has no WS_VISIBLE

    CString text;
    dlg.GetDlgItemText(IDC_TEST_EDIT, text);
    EXPECT_EQ(CString(L"Grüße"), text);
    EXPECT_EQ(BST_CHECKED, dlg.IsDlgButtonChecked(IDC_TEST_CHECK));
    CString checkText;
    dlg.GetDlgItemText(IDC_TEST_CHECK, checkText);
    EXPECT_EQ(CString(L"Größer"), checkText); // UTF-8 template text
    auto* combo = dynamic_cast<CComboBox*>(dlg.GetDlgItem(IDC_TEST_COMBO));
    ASSERT_NE(nullptr, combo);
    EXPECT_EQ(2, combo->GetCount());
    EXPECT_EQ(1, combo->GetCurSel());
    CString item;
    combo->GetLBText(1, item);
    EXPECT_EQ(CString(L"two"), item);
    ASSERT_NE(nullptr, dlg.m_list.m_hWnd);
    EXPECT_EQ(&dlg.m_list, CWnd::FromHandle(dlg.m_list.m_hWnd)); // bound by DDX_Control
    EXPECT_EQ(2, dlg.m_list.GetCount());

    // Controls' notifications reach the dialog's map.
    dlg.SendMessage(WM_COMMAND, MAKEWPARAM(IDC_TEST_BUTTON, BN_CLICKED),
                    reinterpret_cast<LPARAM>(dlg.GetDlgItem(IDC_TEST_BUTTON)->m_hWnd));
    EXPECT_EQ(1, dlg.pushes);

    // Members follow the controls on UpdateData(TRUE).
    dlg.SetDlgItemText(IDC_TEST_EDIT, L"changed");
    dlg.CheckDlgButton(IDC_TEST_CHECK, BST_UNCHECKED);
    EXPECT_TRUE(dlg.UpdateData(TRUE));
    EXPECT_EQ(CString(L"changed"), dlg.m_text);
    EXPECT_EQ(0, dlg.m_check);

    // Escape in a control goes through the thread's pre-translation to the
    // dialog's IsDialogMessage, which turns it into IDCANCEL.
    dlg.ShowWindow(SW_SHOW);
    HWND edit = dlg.GetDlgItem(IDC_TEST_EDIT)->m_hWnd;
    ::PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 1);
    EXPECT_TRUE(PumpUntil([&] { return dlg.cancels > 0; }));
    EXPECT_EQ(nullptr, dlg.m_hWnd);
    EXPECT_EQ(nullptr, dlg.m_list.m_hWnd); // the bound control went with its window
}

TEST(MfcDialog, ModelessDialogWithoutParentIsOwnedByTheMainWindow)
{
    CWnd main, other;
    ASSERT_TRUE(main.CreateEx(0, nullptr, L"Main", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    ASSERT_TRUE(other.CreateEx(0, nullptr, L"Other", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    CModelessDlg orphan;
    ASSERT_TRUE(orphan.Create(IDD_TEST_MODELESS, nullptr));
    EXPECT_EQ(nullptr, ::GetWindow(orphan.m_hWnd, GW_OWNER)); // no main window: no owner

    TestApp().m_pMainWnd = &main;
    CModelessDlg owned, given, indirect;
    ASSERT_TRUE(owned.Create(IDD_TEST_MODELESS, nullptr));
    ASSERT_TRUE(given.Create(IDD_TEST_MODELESS, &other));
    // A template in memory: the modeless one, taken from the resources.
    HRSRC resource = ::FindResourceW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDD_TEST_MODELESS), RT_DIALOG);
    ASSERT_TRUE(resource);
    ASSERT_TRUE(indirect.CreateIndirect(
        static_cast<LPCDLGTEMPLATEW>(::LockResource(::LoadResource(AfxGetResourceHandle(), resource)))));
    TestApp().m_pMainWnd = nullptr;
    EXPECT_EQ(main.m_hWnd, ::GetWindow(owned.m_hWnd, GW_OWNER));
    EXPECT_EQ(main.m_hWnd, ::GetWindow(indirect.m_hWnd, GW_OWNER));
    EXPECT_EQ(other.m_hWnd, ::GetWindow(given.m_hWnd, GW_OWNER)); // a given parent wins
    for (CWnd* w : {static_cast<CWnd*>(&orphan), static_cast<CWnd*>(&owned), static_cast<CWnd*>(&given),
                    static_cast<CWnd*>(&indirect), &main, &other})
        w->DestroyWindow();
}

TEST(MfcDialog, MissingTemplateFails)
{
    CDialog dlg(62099u);
    EXPECT_FALSE(dlg.Create(62099u));
    EXPECT_EQ(-1, dlg.DoModal());
}

namespace {

class CModalDlg : public CDialog
{
public:
    explicit CModalDlg(CWnd* pParent) : CDialog(IDD_TEST_MODAL, pParent) {}
    enum Mode { PostOk, EndInInit, PostCancel, EndOnIdle };
    Mode mode = PostOk;
    CString m_text;
    bool ownerDisabled = false;
    int oks = 0;
    int kicks = 0;
    std::vector<LPARAM> idleCounts;
    bool visibleWhenIdle = false;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_TEST_EDIT, m_text); }
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        ownerDisabled = m_pParentWnd && !m_pParentWnd->IsWindowEnabled();
        SetDlgItemText(IDC_TEST_EDIT, L"typed");
        if (mode == EndInInit)
            EndDialog(42);
        else if (mode != EndOnIdle)
            PostMessage(WM_COMMAND, mode == PostOk ? IDOK : IDCANCEL);
        return TRUE;
    }
    void OnOK() override
    {
        ++oks;
        CDialog::OnOK();
    }
    LRESULT OnKickIdle(WPARAM, LPARAM lCount)
    {
        ++kicks;
        idleCounts.push_back(lCount);
        visibleWhenIdle = IsWindowVisible() != FALSE;
        // Ends on the second call of one idle period: a message of the
        // system's own arriving in between restarts the count at 0.
        if (mode == EndOnIdle && lCount == 1)
            EndDialog(7);
        return TRUE; // more idle work wanted
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CModalDlg, CDialog)
    ON_MESSAGE(WM_KICKIDLE, &CModalDlg::OnKickIdle)
END_MESSAGE_MAP()

class CPlainOwner : public CWnd
{};

} // namespace

TEST(MfcDialog, ModalDialogEndsFromPostedCommandAndReenablesItsOwner)
{
    CPlainOwner owner;
    ASSERT_TRUE(owner.CreateEx(0, nullptr, L"Owner", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 200), nullptr, 0));

    int preTranslated = 0;
    TestApp().onPreTranslate = [&](MSG* m) {
        if (m->message == WM_COMMAND && m->wParam == IDOK)
            ++preTranslated;
        return FALSE;
    };
    CModalDlg dlg(&owner);
    EXPECT_EQ(IDOK, dlg.DoModal());
    TestApp().onPreTranslate = nullptr;
    EXPECT_TRUE(dlg.ownerDisabled);
    EXPECT_TRUE(owner.IsWindowEnabled());
    EXPECT_EQ(1, dlg.oks);
    EXPECT_EQ(CString(L"typed"), dlg.m_text); // OnOK ran UpdateData(TRUE)
    EXPECT_EQ(1, preTranslated);              // the modal loop pumps through the thread's pre-translation
    EXPECT_EQ(nullptr, dlg.m_hWnd);

    CModalDlg cancel(&owner);
    cancel.mode = CModalDlg::PostCancel;
    EXPECT_EQ(IDCANCEL, cancel.DoModal());
    EXPECT_EQ(0, cancel.oks);

    // Ended before the loop starts: no loop, the result stands.
    CModalDlg early(&owner);
    early.mode = CModalDlg::EndInInit;
    EXPECT_EQ(42, early.DoModal());
    EXPECT_EQ(0, early.kicks);
    EXPECT_TRUE(owner.IsWindowEnabled());
    owner.DestroyWindow();
}

TEST(MfcDialog, ModalLoopShowsTheDialogAndSendsKickIdleWhenItsQueueEmpties)
{
    CModalDlg dlg(nullptr);
    dlg.mode = CModalDlg::EndOnIdle;
    EXPECT_EQ(7, dlg.DoModal());
    // The count starts at 0 and counts up while the handler asks for more.
    ASSERT_GE(dlg.idleCounts.size(), 2u);
    EXPECT_EQ(0, dlg.idleCounts[0]);
    for (size_t i = 1; i < dlg.idleCounts.size(); ++i)
        EXPECT_TRUE(dlg.idleCounts[i] == 0 || dlg.idleCounts[i] == dlg.idleCounts[i - 1] + 1);
    EXPECT_EQ(1, dlg.idleCounts.back());
    EXPECT_TRUE(dlg.visibleWhenIdle);
}

TEST(MfcDialog, ModalRunThatCannotStartAnswersMinusOneAfterAnEarlierRun)
{
    CModalDlg dlg(nullptr);
    EXPECT_EQ(IDOK, dlg.DoModal());
    // The template is looked up again in the (now different) resource
    // module: without it the run fails, and says so, whatever came before.
    AfxSetResourceHandle(::GetModuleHandleW(L"kernel32.dll"));
    const INT_PTR second = dlg.DoModal();
    AfxSetResourceHandle(nullptr);
    EXPECT_EQ(-1, second);
    EXPECT_EQ(1, dlg.oks);
}

namespace {

// Ends the test program with a failure when the thread that made it is
// still inside a step after `limitMs`: a step that never returns cannot
// fail by itself.
class CStepDeadline
{
public:
    CStepDeadline(const char* step, DWORD limitMs)
        : m_done(::CreateEventW(nullptr, TRUE, FALSE, nullptr)), m_step(step), m_limit(limitMs)
    {
        m_thread = std::thread([this] {
            if (::WaitForSingleObject(m_done, m_limit) == WAIT_TIMEOUT) {
                std::fprintf(stderr, "FAILED: %s did not return within %lu ms; the test program ends here.\n", m_step,
                             static_cast<unsigned long>(m_limit));
                std::fflush(stderr);
                ::TerminateProcess(::GetCurrentProcess(), 3);
            }
        });
    }
    ~CStepDeadline()
    {
        ::SetEvent(m_done);
        m_thread.join();
        ::CloseHandle(m_done);
    }
    CStepDeadline(const CStepDeadline&) = delete;
    CStepDeadline& operator=(const CStepDeadline&) = delete;

private:
    HANDLE m_done;
    const char* m_step;
    DWORD m_limit;
    std::thread m_thread;
};

} // namespace

TEST(MfcDialog, KeysForAControlUnderAHiddenOrDisabledWindowOfTheDialogAreLeftToDispatch)
{
    CModelessDlg dlg;
    ASSERT_TRUE(dlg.Create(IDD_TEST_MODELESS, nullptr));
    dlg.ShowWindow(SW_SHOW);
    // A control that wants no characters, inside a container of the dialog.
    HWND container = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE, 0, 0, 80, 40, dlg.m_hWnd, nullptr,
                                       nullptr, nullptr);
    HWND inner = ::CreateWindowExW(0, L"STATIC", L"&Inner", WS_CHILD | WS_VISIBLE | SS_NOTIFY, 0, 0, 60, 20, container,
                                   nullptr, nullptr, nullptr);
    ASSERT_TRUE(container && inner);
    const struct
    {
        UINT message;
        WPARAM key;
        const char* name;
    } keys[] = {{WM_KEYDOWN, VK_SPACE, "Space down"},
                {WM_CHAR, L' ', "Space"},
                {WM_CHAR, L'k', "a letter"},
                {WM_KEYDOWN, VK_TAB, "Tab"},
                {WM_KEYDOWN, VK_RIGHT, "Right"}};
    for (int hidden = 1; hidden >= 0; --hidden) {
        ::ShowWindow(container, hidden ? SW_HIDE : SW_SHOW);
        ::EnableWindow(container, hidden ? TRUE : FALSE);
        for (const auto& k : keys) {
            const std::string step =
                std::string(k.name) + (hidden ? " under a hidden window" : " under a disabled one");
            MSG msg{inner, k.message, k.key, 1, 0, {0, 0}};
            CStepDeadline deadline(step.c_str(), 5000);
            EXPECT_FALSE(dlg.PreTranslateMessage(&msg)) << step;
        }
    }
    // Elsewhere the dialog manager still has the keys: Escape cancels, also
    // when it is sent to the dialog itself while its owner is disabled (as
    // a modal loop leaves it).
    ::ShowWindow(container, SW_SHOW);
    ::EnableWindow(container, TRUE);
    MSG escape{inner, WM_KEYDOWN, VK_ESCAPE, 1, 0, {0, 0}};
    EXPECT_TRUE(dlg.PreTranslateMessage(&escape));
    PumpUntil([&] { return dlg.cancels > 0; });
    EXPECT_EQ(1, dlg.cancels);

    CWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, L"STATIC", L"", WS_POPUP | WS_DISABLED, CRect(0, 0, 50, 50), nullptr, 0));
    CModelessDlg owned;
    ASSERT_TRUE(owned.Create(IDD_TEST_MODELESS, &owner));
    owned.ShowWindow(SW_SHOW);
    MSG toDialog{owned.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 1, 0, {0, 0}};
    EXPECT_TRUE(owned.PreTranslateMessage(&toDialog));
    PumpUntil([&] { return owned.cancels > 0; });
    EXPECT_EQ(1, owned.cancels);
    owner.DestroyWindow();
}
