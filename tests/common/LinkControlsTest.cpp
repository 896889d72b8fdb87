// The picture button, the button and browse edits, the hyperlink static and
// the file-and-icon record, on real windows: set-up after subclassing, the
// looks drawn for each state, what reaches the parent, the pickers driven
// to a choice, the click actions of each link kind (nothing is launched:
// the test link records the actions of kinds 1 to 3), and the registry form.
#include <gtest/gtest.h>
#include <vector>
#include "common/BrowseEdit.h"
#include "common/FileIcon.h"
#include "common/Languages.h"
#include "common/OVRegKey.h"
#include "common/PathUtils.h"
#include "common/PictureButton.h"
#include "common/RegSettings.h"
#include "common/StaticHyperLink.h"
#include "tests/common/LanguageTestFiles.h"
#include "tests/common/TestWindows.h"
#include "tests/support/DibCanvas.h"
#include "tests/support/MessagePump.h"
#include "tests/support/TestSupport.h"
#include "tests/support/ToolTipText.h"

namespace {

// A hidden window object as the controls' parent (hidden: a shown one
// takes seconds to close under Wine): it records the WM_APP messages
// and the button clicks that reach it.
class CHostWnd : public CWnd
{
public:
    CHostWnd() { EXPECT_TRUE(CreateEx(0, nullptr, L"Host", WS_OVERLAPPEDWINDOW, 50, 50, 420, 300, nullptr, nullptr)); }
    ~CHostWnd() override { DestroyWindow(); }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message >= WM_APP && message < WM_APP + 0x100)
            posted.push_back({message, wParam});
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED)
            ++clicks;
        return CWnd::WindowProc(message, wParam, lParam);
    }
    HWND Child(LPCWSTR cls, LPCWSTR text, DWORD style, int id, int width = 40, int height = 30)
    {
        return ::CreateWindowW(cls, text, WS_CHILD | WS_VISIBLE | style, 10, 10, width, height, m_hWnd,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
    }
    std::vector<std::pair<UINT, WPARAM>> posted;
    int clicks = 0;
};

using wintest::CDialogCloser;

const UINT kPicture = 10021; // 14 x 12, black 2 x 2 dots at rows 5-6, columns 2-3, 6-7, 10-11

// Black pixels of the middle dot of the picture drawn into 40 x 30.
int DrawnDotPixels(CPictureButton& button, UINT state, int shift = 0)
{
    testsupport::CDibCanvas canvas(40, 30);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.hDC = canvas.Hdc();
    item.rcItem = {0, 0, 40, 30};
    item.itemState = state;
    button.DrawItem(&item);
    int black = 0;
    const int left = (40 - 14) / 2 + 6 + shift, top = (30 - 12) / 2 + 5 + shift;
    for (int y = top; y < top + 2; ++y)
        for (int x = left; x < left + 2; ++x)
            black += canvas.At(x, y) == RGB(0, 0, 0) ? 1 : 0;
    return black;
}

} // namespace

TEST(PictureButton, SetsItselfUpDrawsEachStateAndCountsDoubleClicks)
{
    CHostWnd host;
    CPictureButton button(kPicture, 0xFFFFFF, L"Browse");
    ASSERT_TRUE(button.SubclassWindow(host.Child(L"BUTTON", L"", BS_PUSHBUTTON, 1001)));
    EXPECT_FALSE(button.HasToolTip()); // finished by the message it posts itself
    testsupport::PumpMessages(50);
    ASSERT_TRUE(button.HasToolTip());
    EXPECT_EQ(static_cast<UINT>(BS_OWNERDRAW), button.GetButtonStyle());

    // The block one pixel right and down overlaps the dot in one corner.
    EXPECT_EQ(4, DrawnDotPixels(button, 0));
    EXPECT_EQ(1, DrawnDotPixels(button, 0, 1));
    EXPECT_EQ(4, DrawnDotPixels(button, ODS_SELECTED, 1)); // pressed: one pixel right and down
    EXPECT_EQ(1, DrawnDotPixels(button, ODS_SELECTED));
    EXPECT_EQ(2, DrawnDotPixels(button, ODS_DISABLED)); // every second diagonal hatched

    // A double click counts as two clicks.
    const LPARAM point = MAKELPARAM(5, 5);
    button.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, point);
    button.SendMessage(WM_LBUTTONUP, 0, point);
    button.SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, point);
    testsupport::PumpMessages(50); // the press it posts
    button.SendMessage(WM_LBUTTONUP, 0, point);
    testsupport::PumpMessages(50);
    EXPECT_EQ(2, host.clicks);
}

namespace {

class CCountingEdit : public CButtonEdit
{
public:
    CCountingEdit() : CButtonEdit(kPicture, 0xFFFFFF, L"Pick", WM_APP + 0x50) {}
    int pressed = 0;

protected:
    void OnButton() override { ++pressed; }
};

CRect ButtonRect(CButtonEdit& edit)
{
    CRect rect;
    ::GetWindowRect(edit.GetButton().GetSafeHwnd(), &rect);
    edit.ScreenToClient(&rect);
    return rect;
}

} // namespace

TEST(ButtonEdit, ButtonSitsAtTheRightEdgeAndReportsClicks)
{
    CHostWnd host;
    CCountingEdit edit;
    ASSERT_TRUE(edit.SubclassWindow(host.Child(L"EDIT", L"text", 0, 1002, 200, 24)));
    testsupport::PumpMessages(50);
    ASSERT_TRUE(edit.GetButton().GetSafeHwnd());
    EXPECT_EQ(static_cast<int>(IDC_EDIT_BUTTON), edit.GetButton().GetDlgCtrlID());
    CRect client;
    edit.GetClientRect(&client);
    CRect button = ButtonRect(edit);
    EXPECT_EQ(client.right, button.right);
    EXPECT_EQ(client.Height(), button.Width());
    EXPECT_EQ(client.Height(), button.Height());
    EXPECT_EQ(client.Height(), HIWORD(edit.SendMessage(EM_GETMARGINS)));

    edit.MoveWindow(10, 10, 150, 40);
    edit.GetClientRect(&client);
    button = ButtonRect(edit);
    EXPECT_EQ(client.right, button.right);
    EXPECT_EQ(client.Height(), button.Width());

    edit.EnableWindow(FALSE);
    EXPECT_FALSE(edit.GetButton().IsWindowEnabled());
    edit.EnableWindow(TRUE);
    EXPECT_TRUE(edit.GetButton().IsWindowEnabled());

    edit.GetButton().SendMessage(BM_CLICK);
    testsupport::PumpMessages(50);
    EXPECT_EQ(1, edit.pressed);
    ASSERT_EQ(1u, host.posted.size());
    EXPECT_EQ(WM_APP + 0x50, host.posted[0].first);
}

namespace {

CString TextOf(CWnd& wnd)
{
    CString text;
    wnd.GetWindowText(text);
    return text;
}

} // namespace

TEST(BrowseEdit, PickersWriteTheChoiceAndTellTheParent)
{
    CHostWnd host;
    const CString folder = testsupport::ScratchDir(L"common-browse-edit").c_str();
    const CString file = folder + L"\\take.wav";
    ASSERT_TRUE(testsupport::WriteFileBytes(file.GetString(), "", 0));

    CBrowseEdit edit(BROWSE_NONE);
    ASSERT_TRUE(edit.SubclassWindow(host.Child(L"EDIT", L"unchanged", ES_AUTOHSCROLL, 1004, 300, 24)));
    testsupport::PumpMessages(50);
    edit.GetButton().SendMessage(BM_CLICK); // kind 3: the button does nothing
    testsupport::PumpMessages(50);
    EXPECT_TRUE(host.posted.empty());
    EXPECT_STREQ(L"unchanged", TextOf(edit));

    edit.SetKind(BROWSE_OPEN_FILE);
    edit.SetWindowText(file);
    {
        CDialogCloser cancel(false);
        edit.GetButton().SendMessage(BM_CLICK);
    }
    testsupport::PumpMessages(50);
    EXPECT_TRUE(host.posted.empty());
    {
        CDialogCloser ok(true);
        edit.GetButton().SendMessage(BM_CLICK);
    }
    testsupport::PumpMessages(50);
    ASSERT_EQ(1u, host.posted.size());
    EXPECT_EQ(WM_BROWSE_FILE, host.posted[0].first);
    EXPECT_EQ(0, TextOf(edit).CompareNoCase(file));

    edit.SetKind(BROWSE_FOLDER);
    {
        CDialogCloser ok(true, folder);
        edit.GetButton().SendMessage(BM_CLICK);
    }
    testsupport::PumpMessages(50);
    ASSERT_EQ(2u, host.posted.size());
    EXPECT_EQ(WM_BROWSE_FOLDER, host.posted[1].first);
    EXPECT_EQ(0, TextOf(edit).CompareNoCase(folder));
}

TEST(BrowseEdit, TheButtonShowsTheToolTipItWasMadeWithOrNone)
{
    CHostWnd host;
    host.ShowWindow(SW_SHOWNORMAL);
    CBrowseEdit plain(BROWSE_FOLDER);
    CBrowseEdit tipped(BROWSE_FOLDER, L"Browse somewhere");
    ASSERT_TRUE(plain.SubclassWindow(host.Child(L"EDIT", L"", ES_AUTOHSCROLL, 1005, 300, 24)));
    ASSERT_TRUE(tipped.SubclassWindow(host.Child(L"EDIT", L"", ES_AUTOHSCROLL, 1006, 300, 24)));
    tipped.MoveWindow(10, 80, 300, 24);
    testsupport::PumpFor(host.m_hWnd, 100);
    EXPECT_EQ(L"(none)", testsupport::ButtonToolTip(plain.m_hWnd));
    EXPECT_EQ(L"Browse somewhere", testsupport::ButtonToolTip(tipped.m_hWnd));

    // The pointer resting on the button brings the tip up.
    CRect button;
    tipped.GetButton().GetWindowRect(&button);
    ::SetCursorPos(button.CenterPoint().x - 1, button.CenterPoint().y);
    testsupport::PumpFor(host.m_hWnd, 50);
    ::SetCursorPos(button.CenterPoint().x, button.CenterPoint().y);
    HWND tip = tipped.GetButton().GetToolTipWnd();
    bool shown = false;
    for (int i = 0; i < 60 && !shown; ++i) {
        testsupport::PumpFor(host.m_hWnd, 50);
        shown = ::IsWindowVisible(tip) != FALSE;
    }
    EXPECT_TRUE(shown);
    ::SetCursorPos(0, 0);
}

namespace {

// Records the actions of kinds 1 to 3 instead of launching anything; kind
// 0 is carried out (it only posts to the parent).
class CTestLink : public CStaticHyperLink
{
public:
    std::vector<SHyperLinkAction> actions;

protected:
    bool Perform(const SHyperLinkAction& action) override
    {
        if (action.kind == LINK_NOTIFY)
            return CStaticHyperLink::Perform(action);
        actions.push_back(action);
        return true;
    }
};

void ClickLink(CWnd& link)
{
    link.SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    link.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    testsupport::PumpMessages(20);
}

} // namespace

TEST(HyperLink, KindsOfClickAndTheLookOfALink)
{
    CHostWnd host;
    CTestLink link;
    ASSERT_TRUE(link.SubclassWindow(host.Child(L"STATIC", L"www.example.org", SS_LEFT, 1003, 150, 20)));
    EXPECT_TRUE(link.GetStyle() & SS_NOTIFY);
    EXPECT_TRUE(link.HasToolTip());
    EXPECT_EQ(LINK_HELP, link.GetKind());

    // The colours reach the static through its parent.
    HDC dc = ::GetDC(link.GetSafeHwnd());
    const LRESULT brush =
        host.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(link.GetSafeHwnd()));
    EXPECT_EQ(reinterpret_cast<LRESULT>(::GetStockObject(NULL_BRUSH)), brush);
    EXPECT_EQ(0xFF0000u, ::GetTextColor(dc));
    EXPECT_EQ(TRANSPARENT, ::GetBkMode(dc));
    LOGFONTW font{};
    ::GetObjectW(::GetCurrentObject(dc, OBJ_FONT), sizeof(font), &font);
    EXPECT_TRUE(font.lfUnderline);

    // Kind 1: a help page of the program's folder.
    link.SetLink(L"guide.chm");
    EXPECT_STREQ(L"guide.chm", link.GetToolTipText());
    ClickLink(link);
    ASSERT_EQ(1u, link.actions.size());
    EXPECT_EQ(LINK_HELP, link.actions[0].kind);
    EXPECT_EQ(0, link.actions[0].target.CompareNoCase(GetModuleDirectory() + L"guide.chm"));
    wchar_t current[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, current);
    EXPECT_STREQ(current, link.actions[0].directory);
    EXPECT_TRUE(link.IsVisited());
    host.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(link.GetSafeHwnd()));
    EXPECT_EQ(0x800080u, ::GetTextColor(dc));
    ::ReleaseDC(link.GetSafeHwnd(), dc);

    // Kind 3 clicked twice writes to the same address both times.
    link.SetLink(LINK_MAIL, L"someone@example.org");
    ClickLink(link);
    ClickLink(link);
    ASSERT_EQ(3u, link.actions.size());
    EXPECT_STREQ(L"mailto:someone@example.org", link.actions[1].target);
    EXPECT_STREQ(L"mailto:someone@example.org", link.actions[2].target);
    EXPECT_STREQ(L"someone@example.org", link.GetTarget());

    // Without a target the text serves, for that click only.
    link.SetLink(LINK_OPEN, nullptr, L"-x", L"C:\\");
    ClickLink(link);
    link.SetWindowText(L"www.example.com");
    ClickLink(link);
    ASSERT_EQ(5u, link.actions.size());
    EXPECT_STREQ(L"www.example.org", link.actions[3].target);
    EXPECT_STREQ(L"-x", link.actions[3].parameters);
    EXPECT_STREQ(L"C:\\", link.actions[3].directory);
    EXPECT_STREQ(L"www.example.com", link.actions[4].target);
    EXPECT_TRUE(link.GetTarget().IsEmpty());

    // Kind 0 tells the parent, with the control id.
    link.SetLink(LINK_NOTIFY, L"anything");
    ClickLink(link);
    EXPECT_EQ(5u, link.actions.size());
    ASSERT_EQ(1u, host.posted.size());
    EXPECT_EQ(WM_HYPERLINK_CLICKED, host.posted[0].first);
    EXPECT_EQ(1003u, host.posted[0].second);
}

namespace {

class HyperLinkFailure : public langtest::CGermanLanguageTest
{
protected:
    HyperLinkFailure() : CGermanLanguageTest(L"Can't open file\r\nDatei kann nicht ge\u00f6ffnet werden\r\n") {}
};

} // namespace

TEST_F(HyperLinkFailure, TheMessageNamesTheTargetInTheCurrentLanguage)
{
    // A target nothing can open: the real launch fails and says so.
    const std::wstring target = testsupport::ScratchDir(L"link_failure") + L"\\missing.nosuchkind";
    CHostWnd host;
    CStaticHyperLink link;
    ASSERT_TRUE(link.SubclassWindow(host.Child(L"STATIC", L"missing", SS_LEFT, 1004, 150, 20)));
    link.SetLink(LINK_OPEN, target.c_str());
    // No language chosen yet: the string table's English, then German.
    for (const std::wstring first : {L"Can't open file", L"Datei kann nicht ge\u00f6ffnet werden"}) {
        CDialogCloser closer(true);
        ClickLink(link);
        const std::vector<std::wstring> seen = closer.Seen();
        ASSERT_EQ(1u, seen.size()) << "one message per failed click";
        EXPECT_EQ(first + L"\n" + target, seen[0]);
        ASSERT_STREQ(L"German", SelectLanguageByName(L"German"));
    }
}

namespace {
const wchar_t kIconKey[] = L"Software\\Velmora\\Ravelin\\CommonFileIconTest";
} // namespace

TEST(FileIcon, RegistryFormAndIcon)
{
    DeleteRegKeyTree(HKEY_CURRENT_USER, kIconKey);
    COVRegKey key;
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, kIconKey));
    SFileIcon missing;
    missing.file = L"kept";
    EXPECT_FALSE(missing.Exchange(key.GetHandle(), true, 0));
    EXPECT_STREQ(L"kept", missing.file);
    EXPECT_EQ(-1, missing.index);

    wchar_t system[MAX_PATH] = {};
    ::GetSystemDirectoryW(system, MAX_PATH);
    SFileIcon saved;
    saved.file = CString(system) + L"\\shell32.dll";
    saved.index = 3;
    EXPECT_TRUE(saved.Exchange(key.GetHandle(), false, 0));
    DWORD index = 0, size = sizeof(index);
    EXPECT_EQ(ERROR_SUCCESS,
              ::RegGetValueW(key.GetHandle(), L"FileIcon", L"iIndex", RRF_RT_REG_DWORD, nullptr, &index, &size));
    EXPECT_EQ(3u, index);
    wchar_t text[MAX_PATH] = {};
    size = sizeof(text);
    EXPECT_EQ(ERROR_SUCCESS,
              ::RegGetValueW(key.GetHandle(), L"FileIcon", L"csFile", RRF_RT_REG_SZ, nullptr, text, &size));
    EXPECT_STREQ(saved.file, text);

    SFileIcon loaded;
    EXPECT_TRUE(loaded.Exchange(key.GetHandle(), true, 0));
    EXPECT_STREQ(saved.file, loaded.file);
    EXPECT_EQ(3, loaded.index);
    HICON icon = loaded.ExtractIcon();
    EXPECT_NE(nullptr, icon);
    if (icon)
        ::DestroyIcon(icon);
    loaded.index = -1;
    EXPECT_EQ(nullptr, loaded.ExtractIcon());
    key.Close();
    DeleteRegKeyTree(HKEY_CURRENT_USER, kIconKey);
}
