// Edit and combo contents in a real control under Xvfb: keys posted into
// the queue (they reach the control only through pre-translation), the
// context menu dismissed from a timer, the drop-down list opened, driven and
// closed, dialogs fitted to their control, and a modal loop of ours that
// hands keys to a control inside it.
#include <gtest/gtest.h>
#include "HybridTestKit.h"
#include "common/ActiveDlg.h"
#include "hybrid/CellBuilder.h"
#include "hybrid/ComboContent.h"
#include "hybrid/ComboList.h"
#include "hybrid/ComboUtils.h"
#include "hybrid/EditContent.h"
#include "hybrid/IHybridCombo.h"
#include "hybrid/IHybridEdit.h"
#include "hybrid/MenuCatcher.h"

using namespace hybridtest;

namespace {

LPARAM KeyData(UINT key)
{
    return static_cast<LPARAM>(::MapVirtualKeyW(key, 0)) << 16 | 1;
}

void Key(CTestHost& host, UINT key, UINT message = WM_KEYDOWN)
{
    host.Post(message, key, KeyData(key) | (message == WM_SYSKEYDOWN ? 0x20000000 : 0));
    host.Pump();
}

void HoldAlt(bool held)
{
    BYTE state[256];
    ::GetKeyboardState(state);
    state[VK_MENU] = state[VK_LMENU] = held ? 0x80 : 0;
    ::SetKeyboardState(state);
}

void Focus(CTestHost& host, IHybridCell* cell)
{
    host.Ctrl().SetFocus();
    host.Ctrl().SetActiveCell(cell, true, false);
    host.Pump();
}

// Runs with a temporary "CursorBlinkRate" and puts the old value back.
class CBlinkRate
{
public:
    explicit CBlinkRate(LPCWSTR value)
    {
        ::RegCreateKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key,
                          nullptr);
        DWORD size = sizeof(m_old);
        m_had = ::RegQueryValueExW(m_key, L"CursorBlinkRate", nullptr, nullptr, reinterpret_cast<BYTE*>(m_old),
                                   &size) == ERROR_SUCCESS;
        Set(value);
    }
    ~CBlinkRate()
    {
        if (m_had)
            Set(m_old);
        else
            ::RegDeleteValueW(m_key, L"CursorBlinkRate");
        ::RegCloseKey(m_key);
    }

private:
    void Set(LPCWSTR value)
    {
        ::RegSetValueExW(m_key, L"CursorBlinkRate", 0, REG_SZ, reinterpret_cast<const BYTE*>(value),
                         static_cast<DWORD>((wcslen(value) + 1) * sizeof(WCHAR)));
    }
    HKEY m_key = nullptr;
    WCHAR m_old[64] = {};
    bool m_had = false;
};

// What the menu timer saw while the context menu was open.
struct SMenuVisit
{
    HWND ctrl = nullptr;
    UINT command = 0; // posted to the catcher before the menu ends
    bool sawMenu = false;
    bool enabled[5] = {};
    bool menuEditSet = false;
};
SMenuVisit g_visit;

void CALLBACK DismissMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND menuWnd = ::FindWindowW(L"#32768", nullptr);
    if (!menuWnd || !::IsWindowVisible(menuWnd))
        return;
    ::KillTimer(nullptr, id);
    g_visit.sawMenu = true;
    g_visit.menuEditSet = CEditContent::GetMenuEdit() != nullptr;
    HMENU menu = reinterpret_cast<HMENU>(::SendMessageW(menuWnd, MN_GETHMENU, 0, 0));
    for (int i = 0; i < 5; ++i)
        g_visit.enabled[i] = !(::GetMenuState(menu, ID_HYBRID_EDIT_CUT + i, MF_BYCOMMAND) & MF_GRAYED);
    if (HWND catcher = ::FindWindowExW(g_visit.ctrl, nullptr, L"#32770", nullptr))
        if (g_visit.command)
            ::PostMessageW(catcher, WM_COMMAND, g_visit.command, 0);
    ::EndMenu();
}

// Right click on the cell, the menu dismissed by the timer.
void RunContextMenu(CTestHost& host, IHybridCell* cell, UINT command)
{
    g_visit = SMenuVisit();
    g_visit.ctrl = host.Ctrl().GetSafeHwnd();
    g_visit.command = command;
    const CPoint p = CTestHost::RectOf(cell).CenterPoint();
    ::SetTimer(nullptr, 0, 20, DismissMenu);
    host.Post(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(p.x, p.y));
    host.Post(WM_RBUTTONUP, 0, MAKELPARAM(p.x, p.y));
    host.Pump(100);
}

CComboContent* ComboOf(IHybridCombo* combo)
{
    return static_cast<CComboContent*>(combo);
}

} // namespace

TEST(HybridEdit, KeysNotify27AndEnter28ThroughPreTranslation)
{
    CTestHost host;
    CCellBuilder builder(&host.Ctrl());
    CIPtr<IHybridCell> cell, readOnlyCell;
    CIPtr<IHybridEdit> edit, readOnly;
    builder.SetText(L"ab").ReturnCell(&cell).ReturnEdit(&edit).AddEdit();
    builder.SetText(L"fixed").SetStyleBits(0, HEB_READONLY).ReturnCell(&readOnlyCell).ReturnEdit(&readOnly).AddEdit();
    host.Pump();
    ASSERT_TRUE(edit && readOnly);
    Focus(host, cell);
    EXPECT_TRUE(edit->HasCaret());

    Key(host, 'X');
    EXPECT_STREQ(L"abx", edit->GetText());
    Key(host, VK_RETURN);
    Key(host, VK_HOME);
    EXPECT_EQ((std::vector<UINT>{HN_EDIT_CHANGED, HN_EDIT_ENTER, HN_EDIT_CHANGED}), host.ContentCodes());
    host.TakeNotifications();
    // Left at the start is not the edit's: the control's navigation gets it.
    Key(host, VK_LEFT);
    EXPECT_TRUE(host.ContentCodes().empty());

    // A read-only edit: Enter still notifies, typing changes nothing.
    Focus(host, readOnlyCell);
    EXPECT_FALSE(edit->HasCaret()) << "the caret went with the focus";
    Key(host, 'Q');
    Key(host, VK_RETURN);
    EXPECT_STREQ(L"fixed", readOnly->GetText());
    EXPECT_EQ((std::vector<UINT>{HN_EDIT_ENTER}), host.ContentCodes());

    // SetText notifies nothing and drops a selection beyond the new text.
    host.TakeNotifications();
    edit->DoEditCommand(EDIT_CMD_SELECTALL);
    edit->SetText(L"a");
    auto* content = static_cast<CEditContent*>(edit.Get());
    EXPECT_EQ(-1, content->GetSelStart());
    EXPECT_EQ(1, content->GetCaret());
    EXPECT_TRUE(host.ContentCodes().empty());
}

TEST(HybridEdit, ABlinkRateOfZeroOrLessGivesASteadyCaret)
{
    // Whether the caret was ever hidden over 200 ms of a focused edit; a
    // blinking one is waited for as long as a busy machine may hold its
    // timer back.
    for (LPCWSTR rate : {L"0", L"-1", L"x", L"30"}) {
        CBlinkRate blink(rate);
        CTestHost host;
        CCellBuilder builder(&host.Ctrl());
        CIPtr<IHybridCell> cell;
        CIPtr<IHybridEdit> edit;
        builder.SetText(L"caret").ReturnCell(&cell).ReturnEdit(&edit).AddEdit();
        Focus(host, cell);
        EXPECT_TRUE(edit->HasCaret()) << "rate " << CStringA(rate).GetString();
        const bool blinks = wcscmp(rate, L"30") == 0;
        const bool sawHidden = host.PumpUntil(
            [&edit] { return !static_cast<CEditContent*>(edit.Get())->IsCaretShown(); }, blinks ? 10000 : 200);
        EXPECT_EQ(blinks, sawHidden) << "rate " << CStringA(rate).GetString();
    }
}

TEST(HybridEdit, TheContextMenuEnablesByStateAndItsCommandReachesTheEdit)
{
    CTestHost host;
    CCellBuilder builder(&host.Ctrl());
    CIPtr<IHybridCell> cell, readOnlyCell;
    CIPtr<IHybridEdit> edit, readOnly;
    builder.SetText(L"menu text").ReturnCell(&cell).ReturnEdit(&edit).AddEdit();
    builder.SetText(L"locked").SetStyleBits(0, HEB_READONLY).ReturnCell(&readOnlyCell).ReturnEdit(&readOnly).AddEdit();
    host.Pump();

    RunContextMenu(host, cell, ID_HYBRID_EDIT_SELECTALL);
    ASSERT_TRUE(g_visit.sawMenu);
    EXPECT_TRUE(g_visit.menuEditSet);
    // No selection: Cut, Copy and Delete greyed; Paste and Select All not.
    EXPECT_EQ((std::vector<bool>{false, false, true, false, true}),
              std::vector<bool>(g_visit.enabled, g_visit.enabled + 5));
    auto* content = static_cast<CEditContent*>(edit.Get());
    EXPECT_EQ(0, content->GetSelStart()) << "Select All arrived through the catcher";
    EXPECT_EQ(9, content->GetSelEnd());
    EXPECT_EQ(nullptr, CEditContent::GetMenuEdit());
    EXPECT_EQ(nullptr, ::FindWindowExW(host.Ctrl().GetSafeHwnd(), nullptr, L"#32770", nullptr))
        << "the catcher is gone";
    EXPECT_TRUE(host.ContentCodes().empty()) << "menu commands notify nothing";

    // Read-only with a selection: only Copy and Select All.
    readOnly->DoEditCommand(EDIT_CMD_SELECTALL);
    RunContextMenu(host, readOnlyCell, 0);
    ASSERT_TRUE(g_visit.sawMenu);
    EXPECT_EQ((std::vector<bool>{false, true, false, false, true}),
              std::vector<bool>(g_visit.enabled, g_visit.enabled + 5));
}

TEST(HybridCombo, KeyboardStepsThroughTheItems)
{
    CTestHost host;
    CCellBuilder builder(&host.Ctrl());
    CIPtr<IHybridCell> cell;
    CIPtr<IHybridCombo> combo;
    builder.ReturnCell(&cell).ReturnCombo(&combo).AddCombo();
    ASSERT_TRUE(combo);
    for (LPCWSTR text : {L"one", L"two", L"three"})
        combo->AddString(text);
    Focus(host, cell);
    Key(host, VK_UP);
    EXPECT_EQ(-1, combo->GetCurSel()) << "Up from no item does nothing";
    Key(host, VK_DOWN);
    EXPECT_EQ(0, combo->GetCurSel());
    Key(host, VK_DOWN);
    Key(host, VK_DOWN);
    Key(host, VK_DOWN);
    EXPECT_EQ(2, combo->GetCurSel()) << "Down on the last item is consumed, nothing more";
    Key(host, VK_UP);
    EXPECT_EQ(1, combo->GetCurSel());
    EXPECT_EQ((std::vector<UINT>{21, 21, 21, 21}), host.ContentCodes());

    // Invalid indices are ignored, never raised.
    combo->SetItemData(7, 5);
    EXPECT_EQ(0u, combo->GetItemData(-2));
    EXPECT_STREQ(L"", combo->GetString(3));
    host.TakeNotifications();
    EXPECT_EQ(-1, combo->SelectItemData(99)) << "no item with that data clears the current one";
    EXPECT_EQ(-1, combo->GetCurSel());
    EXPECT_EQ((std::vector<UINT>{21}), host.ContentCodes());
}

TEST(HybridCombo, TheListOpensCommitsAndClosesWithOneCloseCode)
{
    CTestHost host;
    CCellBuilder builder(&host.Ctrl());
    CIPtr<IHybridCell> cell;
    CIPtr<IHybridCombo> combo;
    builder.SetStyleBits(HCB_ITEM).ReturnCell(&cell).ReturnCombo(&combo).AddCombo();
    for (LPCWSTR text : {L"red", L"green", L"blue"})
        combo->AddString(text);
    combo->SetCurSel(0, false);
    Focus(host, cell);

    // Alt+Down opens on the current row; Down and Enter commit "green".
    HoldAlt(true);
    Key(host, VK_DOWN, WM_SYSKEYDOWN);
    HoldAlt(false);
    CComboList* list = ComboOf(combo)->GetOpenList();
    ASSERT_NE(nullptr, list);
    EXPECT_EQ((std::vector<UINT>{HN_COMBO_OPENED}), host.ContentCodes());
    CRect listRect, cellRect = CTestHost::RectOf(cell);
    ::GetWindowRect(list->GetSafeHwnd(), &listRect);
    host.Ctrl().ClientToScreen(&cellRect);
    EXPECT_EQ(cellRect.bottom, listRect.top) << "below the combo";
    EXPECT_EQ(cellRect.Width(), listRect.Width());
    const HWND listCtrl = list->GetListCtrl().GetSafeHwnd();
    ::PostMessageW(listCtrl, WM_KEYDOWN, VK_DOWN, KeyData(VK_DOWN));
    ::PostMessageW(listCtrl, WM_KEYDOWN, VK_RETURN, KeyData(VK_RETURN));
    host.Pump(60);
    EXPECT_EQ(nullptr, ComboOf(combo)->GetOpenList());
    EXPECT_EQ(1, combo->GetCurSel());
    EXPECT_EQ((std::vector<UINT>{HN_COMBO_OPENED, HN_COMBO_CHANGED, HN_COMBO_CLOSED}), host.ContentCodes());
    EXPECT_EQ(host.Ctrl().GetSafeHwnd(), ::GetFocus()) << "the control has the focus back";
    host.TakeNotifications();

    // Escape closes without a change.
    combo->ShowDropDown(true, false);
    list = ComboOf(combo)->GetOpenList();
    ASSERT_NE(nullptr, list);
    ::PostMessageW(list->GetListCtrl().GetSafeHwnd(), WM_KEYDOWN, VK_ESCAPE, KeyData(VK_ESCAPE));
    host.Pump(60);
    EXPECT_EQ(1, combo->GetCurSel());
    EXPECT_EQ((std::vector<UINT>{HN_COMBO_OPENED, HN_COMBO_CLOSED}), host.ContentCodes());
    host.TakeNotifications();

    // A released click on a row commits it; the list goes out of its own
    // control's notification.
    combo->ShowDropDown(true, false);
    list = ComboOf(combo)->GetOpenList();
    ASSERT_NE(nullptr, list);
    CCellArray rows;
    CCellCollector collector(rows);
    list->GetListCtrl().EnumCells(collector, HCE_ITEMS);
    ASSERT_EQ(3, rows.GetSize());
    const CPoint row = CTestHost::RectOf(rows.GetAt(2)).CenterPoint();
    ::PostMessageW(list->GetListCtrl().GetSafeHwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(row.x, row.y));
    ::PostMessageW(list->GetListCtrl().GetSafeHwnd(), WM_LBUTTONUP, 0, MAKELPARAM(row.x, row.y));
    host.Pump(60);
    EXPECT_EQ(2, combo->GetCurSel());
    EXPECT_EQ(nullptr, ComboOf(combo)->GetOpenList());
    EXPECT_EQ((std::vector<UINT>{HN_COMBO_OPENED, HN_COMBO_CHANGED, HN_COMBO_CLOSED}), host.ContentCodes());
    host.TakeNotifications();

    // Losing the activation closes it, with one close code.
    combo->ShowDropDown(true, false);
    ASSERT_NE(nullptr, ComboOf(combo)->GetOpenList());
    ::SetActiveWindow(host.Parent());
    host.Pump(60);
    EXPECT_EQ(nullptr, ComboOf(combo)->GetOpenList());
    EXPECT_EQ((std::vector<UINT>{HN_COMBO_OPENED, HN_COMBO_CLOSED}), host.ContentCodes());
}

TEST(HybridCombo, TheListOpensAboveWithoutRoomBelowAndShowsAtMost15Rows)
{
    CTestHost host;
    CRect work;
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    ::SetWindowPos(host.Parent(), nullptr, 10, work.bottom - 150, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    CCellBuilder builder(&host.Ctrl());
    CIPtr<IHybridCell> cell;
    CIPtr<IHybridCombo> combo;
    builder.ReturnCell(&cell).ReturnCombo(&combo).AddCombo();
    for (int i = 0; i < 40; ++i) {
        CString text;
        text.Format(L"item %d", i);
        combo->AddString(text);
    }
    host.Pump();
    combo->ShowDropDown(true, false);
    CComboList* list = ComboOf(combo)->GetOpenList();
    ASSERT_NE(nullptr, list);
    CRect listRect, cellRect = CTestHost::RectOf(cell);
    ::GetWindowRect(list->GetSafeHwnd(), &listRect);
    host.Ctrl().ClientToScreen(&cellRect);
    EXPECT_EQ(cellRect.top, listRect.bottom) << "above the combo";
    const int rowHeight = list->GetRowHeight();
    EXPECT_GT(rowHeight, 0);
    EXPECT_EQ(rowHeight * 15 + 2, listRect.Height());
    host.Pump(60);
    EXPECT_TRUE(list->GetListCtrl().IsScrollBarShown());
    combo->ShowDropDown(false, false);
    EXPECT_EQ(nullptr, ComboOf(combo)->GetOpenList());
}

TEST(HybridCombo, TheEditableComboKeepsItsChildrensNotificationsInside)
{
    CTestHost host;
    CCellBuilder builder(&host.Ctrl());
    CIPtr<IHybridCell> cell;
    CIPtr<IHybridCombo> combo;
    builder.SetText(L"start").SetStyleBits(0, HCMB_EDITABLE).ReturnCell(&cell).ReturnCombo(&combo).AddCombo();
    ASSERT_TRUE(combo);
    host.Pump();
    EXPECT_STREQ(L"start", combo->GetEditText());
    combo->AddString(L"first");
    combo->AddString(L"second");
    combo->SetCurSel(1, true);
    EXPECT_STREQ(L"second", combo->GetEditText());
    EXPECT_EQ((std::vector<UINT>{HN_COMBO_CHANGED}), host.ContentCodes());
    host.TakeNotifications();

    // Typing in the edit and Enter: nothing beyond the combo.
    CCellArray focusable;
    CCellCollector collector(focusable);
    host.Ctrl().EnumCells(collector, HCE_FOCUSABLE);
    IHybridCell* editCell = nullptr;
    for (int i = 0; i < focusable.GetSize(); ++i)
        if (focusable.GetAt(i)->GetContentType() == L'E')
            editCell = focusable.GetAt(i);
    ASSERT_NE(nullptr, editCell);
    Focus(host, editCell);
    Key(host, 'Z');
    Key(host, VK_RETURN);
    EXPECT_STREQ(L"secondz", combo->GetEditText());
    EXPECT_TRUE(host.ContentCodes().empty());

    combo->ResetContent();
    EXPECT_STREQ(L"", combo->GetEditText());
    EXPECT_EQ(0, combo->GetCount());
    EXPECT_TRUE(host.ContentCodes().empty()) << "an editable combo's reset notifies nothing";
    combo->SetLength(10);
    EXPECT_EQ(25, combo->GetPreferredWidth());
}

TEST(HybridDialogs, FitDialogToHybridCtrl)
{
    const HINSTANCE module = ::GetModuleHandleW(nullptr);
    for (int rows : {5, 40}) {
        for (bool buttons : {true, false}) {
            HWND dialog = ::CreateWindowExW(0, L"STATIC", L"fit", WS_POPUP | WS_CAPTION, 50, 50, 320, 100, nullptr,
                                            nullptr, module, nullptr);
            if (buttons) {
                ::CreateWindowExW(0, L"BUTTON", L"OK", WS_CHILD | WS_VISIBLE, 0, 0, 75, 23, dialog,
                                  reinterpret_cast<HMENU>(IDOK), module, nullptr);
                ::CreateWindowExW(0, L"BUTTON", L"Cancel", WS_CHILD | WS_VISIBLE, 0, 0, 75, 23, dialog,
                                  reinterpret_cast<HMENU>(IDCANCEL), module, nullptr);
            }
            CHybridCtrl ctrl;
            EXPECT_TRUE(ctrl.Create(CWnd::FromHandle(dialog), 100));
            CCellBuilder builder(&ctrl);
            for (int i = 0; i < rows; ++i)
                builder.SetText(L"row").AddText();
            FitDialogToHybridCtrl(CWnd::FromHandle(dialog), &ctrl);
            CRect client, ctrlRect;
            ::GetClientRect(dialog, &client);
            ::GetWindowRect(ctrl.GetSafeHwnd(), &ctrlRect);
            const int h = std::min(ctrl.GetContentHeight(), 300);
            EXPECT_EQ(h, ctrlRect.Height());
            EXPECT_EQ(rows == 40, h == 300) << "taller content is cut to 300 pixels";
            EXPECT_EQ(client.Width(), ctrlRect.Width());
            if (buttons) {
                EXPECT_EQ(h + 6 + 23 + 6, client.Height());
                CRect ok, cancel;
                ::GetWindowRect(::GetDlgItem(dialog, IDOK), &ok);
                ::GetWindowRect(::GetDlgItem(dialog, IDCANCEL), &cancel);
                ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&ok), 2);
                ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&cancel), 2);
                EXPECT_EQ(CRect(client.Width() - 81, h + 6, client.Width() - 6, h + 29), cancel);
                EXPECT_EQ(CRect(client.Width() - 162, h + 6, client.Width() - 87, h + 29), ok);
            } else {
                EXPECT_EQ(h + 6, client.Height());
            }
            ctrl.DestroyWindow();
            ::DestroyWindow(dialog);
        }
    }
}

namespace {

// A popup run modally by our own loop, holding a control with one edit:
// Enter in the edit (code 28) ends the run.
class CModalEditDlg : public CActiveDlg
{
public:
    explicit CModalEditDlg(CWnd* owner) : CActiveDlg(IDD_HYBRID_COMBO_LIST, owner, true) {}
    BOOL OnInitDialog() override
    {
        CActiveDlg::OnInitDialog();
        EXPECT_TRUE(m_ctrl.Create(this, 100));
        m_ctrl.MoveWindow(0, 0, 120, 40, TRUE);
        CCellBuilder builder(&m_ctrl);
        CIPtr<IHybridCell> cell;
        builder.SetText(L"m").ReturnCell(&cell).ReturnEdit(&m_edit).AddEdit();
        ShowWindow(SW_SHOW);
        m_ctrl.SetFocus();
        m_ctrl.SetActiveCell(cell, true, false);
        for (UINT key : {static_cast<UINT>('O'), static_cast<UINT>('K'), static_cast<UINT>(VK_RETURN)})
            ::PostMessageW(m_ctrl.GetSafeHwnd(), WM_KEYDOWN, key, KeyData(key));
        return FALSE;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_HYBRID_NOTIFY && wParam == HN_EDIT_ENTER) {
            m_text = m_edit->GetText();
            Close();
            return 0;
        }
        return CActiveDlg::WindowProc(message, wParam, lParam);
    }
    CString m_text;

private:
    CHybridCtrl m_ctrl;
    CIPtr<IHybridEdit> m_edit;
};

} // namespace

TEST(HybridDialogs, OurModalLoopHandsKeysToTheControlThroughPreTranslation)
{
    CTestHost host;
    CModalEditDlg dialog(CWnd::FromHandle(host.Parent()));
    EXPECT_EQ(0, dialog.DoModal());
    EXPECT_EQ(CString(L"mok"), dialog.m_text);
}
