// A dialog from a test template translated when it is initialised: caption,
// button with '&', static, unsorted and sorted combo boxes, nested children
// and the depth limit, full-length texts, and translating twice.
#include <gtest/gtest.h>

#include "common/Languages.h"
#include "common/LocalizedDlg.h"
#include "platform/mfc/afxwin.h"
#include "tests/common/LanguageTestFiles.h"

namespace {

const UINT kTemplate = 61040;
const int kButton = 61041, kStatic = 61042, kUnsorted = 61043, kSorted = 61044, kUntranslated = 61045, kFrame = 61046;

CString ComboItem(HWND combo, int i)
{
    wchar_t buf[128] = {};
    ::SendMessageW(combo, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(buf));
    return buf;
}

// Fills its combo boxes and nests static windows three levels deep inside
// the frame before the base class translates.
class CTestDlg : public CLocalizedDlg
{
public:
    CTestDlg() : CLocalizedDlg(kTemplate, nullptr) {}
    BOOL OnInitDialog() override
    {
        CLocalizedDlg::OnInitDialog();
        for (HWND combo : {GetDlgItem(kUnsorted)->GetSafeHwnd(), GetDlgItem(kSorted)->GetSafeHwnd()}) {
            const wchar_t* items[] = {L"Stop", L"Play", L"Unknown"};
            for (int i = 0; i < 3; ++i) {
                LRESULT at = ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(items[i]));
                ::SendMessageW(combo, CB_SETITEMDATA, at, 100 + i);
            }
        }
        ::SendMessageW(GetDlgItem(kUnsorted)->GetSafeHwnd(), CB_SETCURSEL, 1, 0); // "Play"
        HWND frame = GetDlgItem(kFrame)->GetSafeHwnd();
        child =
            CreateWindowW(L"Static", L"Stop", WS_CHILD | WS_VISIBLE, 0, 0, 100, 30, frame, nullptr, nullptr, nullptr);
        grandChild =
            CreateWindowW(L"Static", L"Play", WS_CHILD | WS_VISIBLE, 0, 0, 90, 20, child, nullptr, nullptr, nullptr);
        std::wstring longText(1500, L'x');
        deepest = CreateWindowW(L"Static", longText.c_str(), WS_CHILD | WS_VISIBLE, 0, 0, 80, 10, grandChild, nullptr,
                                nullptr, nullptr);
        return TRUE;
    }
    HWND child = nullptr, grandChild = nullptr, deepest = nullptr;
};

class LocalizedDialog : public langtest::CGermanLanguageTest
{
protected:
    LocalizedDialog()
        : CGermanLanguageTest(L"Language\r\nSprache\r\n"
                              L"&Open...\r\n\u00d6&ffnen...\r\n"
                              L"Scroll\r\nRollen\r\n"
                              L"Stop\r\nHalt\r\n"
                              L"Play\r\nSpielen\r\n" +
                              std::wstring(1500, L'x') + L"\r\nlang\r\n")
    {
    }
};

TEST_F(LocalizedDialog, TranslatesOnInitDialog)
{
    SelectLanguageByName(L"German");
    CTestDlg dlg;
    ASSERT_TRUE(dlg.Create(kTemplate, nullptr));
    HWND h = dlg.GetSafeHwnd();
    EXPECT_STREQ(L"Sprache", ReadWindowText(h));
    EXPECT_STREQ(L"\u00d6&ffnen...", ReadWindowText(GetDlgItem(h, kButton)));
    EXPECT_STREQ(L"Rollen", ReadWindowText(GetDlgItem(h, kStatic)));
    EXPECT_STREQ(L"Untranslated", ReadWindowText(GetDlgItem(h, kUntranslated)));

    // Unsorted combo: items translated in place, data and selection kept.
    HWND unsorted = GetDlgItem(h, kUnsorted);
    EXPECT_STREQ(L"Halt", ComboItem(unsorted, 0));
    EXPECT_STREQ(L"Spielen", ComboItem(unsorted, 1));
    EXPECT_STREQ(L"Unknown", ComboItem(unsorted, 2));
    EXPECT_EQ(100, SendMessageW(unsorted, CB_GETITEMDATA, 0, 0));
    EXPECT_EQ(101, SendMessageW(unsorted, CB_GETITEMDATA, 1, 0));
    EXPECT_EQ(102, SendMessageW(unsorted, CB_GETITEMDATA, 2, 0));
    EXPECT_EQ(1, SendMessageW(unsorted, CB_GETCURSEL, 0, 0));
    // A sorted combo keeps its English items.
    HWND sorted = GetDlgItem(h, kSorted);
    EXPECT_STREQ(L"Play", ComboItem(sorted, 0));
    EXPECT_STREQ(L"Stop", ComboItem(sorted, 1));

    // Nested windows without a depth limit; a text longer than 999
    // characters is read whole and so finds its translation.
    EXPECT_STREQ(L"Halt", ReadWindowText(dlg.child));
    EXPECT_STREQ(L"Spielen", ReadWindowText(dlg.grandChild));
    EXPECT_STREQ(L"lang", ReadWindowText(dlg.deepest));

    // Translating again restores first: one record per window, no stacking.
    int records = dlg.GetTranslationCount();
    EXPECT_EQ(10, records); // the dialog, its 6 controls, 3 nested windows
    dlg.TranslateControls();
    EXPECT_EQ(records, dlg.GetTranslationCount());
    EXPECT_STREQ(L"Sprache", ReadWindowText(h));
    EXPECT_STREQ(L"\u00d6&ffnen...", ReadWindowText(GetDlgItem(h, kButton)));
    dlg.DestroyWindow();
}

TEST_F(LocalizedDialog, WithoutLanguageTextsStayEnglishAndTheDepthLimitStopsBelowGrandchildren)
{
    {
        CTestDlg dlg;
        ASSERT_TRUE(dlg.Create(kTemplate, nullptr));
        EXPECT_STREQ(L"Language", ReadWindowText(dlg.GetSafeHwnd()));
        EXPECT_STREQ(L"&Open...", ReadWindowText(GetDlgItem(dlg.GetSafeHwnd(), kButton)));
        EXPECT_STREQ(L"Stop", ComboItem(GetDlgItem(dlg.GetSafeHwnd(), kUnsorted), 0));
        dlg.DestroyWindow();
    }
    SelectLanguageByName(L"German");
    CTestDlg dlg;
    dlg.SetLimitDepth(true);
    ASSERT_TRUE(dlg.Create(kTemplate, nullptr));
    EXPECT_STREQ(L"Sprache", ReadWindowText(dlg.GetSafeHwnd()));
    EXPECT_STREQ(L"Halt", ReadWindowText(dlg.child));      // grandchild of the dialog
    EXPECT_STREQ(L"Play", ReadWindowText(dlg.grandChild)); // one level deeper: left alone
    dlg.DestroyWindow();
}

} // namespace
