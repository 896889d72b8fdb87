// The About box (product and version read from the program file, sized to
// its picture), the export dialog's folder, the fragment properties dialog,
// and the hand-over to a running instance.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/AboutDlg.h"
#include "app/AppSettings.h"
#include "app/ExportSelDlg.h"
#include "app/FragmentDisplay.h"
#include "app/FragmentPropDlg.h"
#include "app/InstanceHandOver.h"
#include "common/DrawRoutines.h"
#include "common/OVRegKey.h"
#include "common/ProductInfo.h"
#include "hybrid/IHybridCheckBox.h"
#include "tests/app/DialogTestKit.h"
#include "tests/app/ViewTestKit.h"
#include "tests/support/TestSupport.h"
#include "tests/support/ToolTipText.h"

namespace {

using dlgtest::TextOf;

class Dialogs : public ::testing::Test
{
protected:
    void SetUp() override { dlgtest::SetUpProductInfo(); }
    void TearDown() override { DeleteRegKeyTree(HKEY_CURRENT_USER, SProductInfo::GetRegistryKey()); }
};

TEST_F(Dialogs, AboutShowsProductAndVersionFromTheProgramFile)
{
    CAboutDlg about(nullptr);
    ASSERT_TRUE(about.Create(10013, nullptr));
    testsupport::PumpMessages(50);
    const std::vector<std::wstring> texts = dlgtest::CellTexts(about.GetContent());
    EXPECT_EQ((std::vector<std::wstring>{L"Velmora Ravelin", L"Version: 1.0.0.5",
                                         L"Copyright \u00A9 Velmora. All rights reserved.",
                                         L"https://velmora.example/ravelin"}),
              texts);

    // The picture is wider than high: the text stands below it and the
    // dialog is as wide as the picture; OK sits inside, at the bottom right.
    const SIZE picture = GetBitmapResourceSize(1068);
    ASSERT_GT(picture.cx, picture.cy);
    CRect client, ok, content;
    about.GetClientRect(&client);
    EXPECT_EQ(picture.cx, client.Width());
    ::GetWindowRect(about.GetDlgItem(IDOK)->GetSafeHwnd(), &ok);
    about.ScreenToClient(&ok);
    EXPECT_EQ(client.right - 5, ok.right);
    EXPECT_EQ(client.bottom - 5, ok.bottom);
    about.GetContent().GetClientRect(&content);
    EXPECT_GT(content.Height(), picture.cy) << "picture and text";
    EXPECT_EQ(ok.top - 5, content.Height());
    about.DestroyWindow();
}

TEST_F(Dialogs, ExportDialogKeepsAnExistingFolder)
{
    CIPtr<ITimeContainer> model = viewtest::MakeModel(10000, 1000);
    CIPtr<CFragmentDisplay> fragments(new CFragmentDisplay(model));
    fragments->AddFragment(1000000, 3500000, nullptr);
    fragments->AddFragment(62000000, 65250000, nullptr);
    const std::wstring folder = testsupport::ScratchDir(L"export");
    SetLastExportDestination(folder.c_str());
    SetLastExportDestination(nullptr);
    EXPECT_STREQ(folder.c_str(), GetLastExportDestination()) << "null is ignored";

    struct SCase
    {
        std::wstring typed;
        std::wstring stored;
    } cases[] = {
        {folder + L"\\missing", folder}, // a folder that does not exist is not kept
        {testsupport::ScratchDir(L"export2"), testsupport::ScratchDir(L"export2")},
    };
    for (const SCase& c : cases) {
        CExportSelDlg dlg(nullptr, fragments);
        ASSERT_TRUE(dlg.Create(1047, nullptr));
        HWND edit = GetDlgItem(dlg.GetSafeHwnd(), 1071);
        EXPECT_EQ(std::wstring(GetLastExportDestination()), TextOf(edit)) << "the folder last used";
        ASSERT_EQ(2, dlg.GetRowCount());
        EXPECT_EQ(
            (std::vector<std::wstring>{L"00:01.000", L"00:03.500", L"1.00 x", L"01:02.000", L"01:05.250", L"1.00 x"}),
            dlgtest::CellTexts(
                *dynamic_cast<CHybridCtrl*>(CWnd::FromHandlePermanent(GetDlgItem(dlg.GetSafeHwnd(), 6028)))));
        SendMessageW(dlg.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(1072, BN_CLICKED), 0);
        EXPECT_EQ(1, dlg.GetCheckBox(0)->GetCheck());
        EXPECT_EQ(1, dlg.GetCheckBox(1)->GetCheck());
        SendMessageW(dlg.GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(1090, BN_CLICKED), 0);
        EXPECT_EQ(0, dlg.GetCheckBox(1)->GetCheck());

        SendMessageW(dlg.GetSafeHwnd(), WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(IsWindow(dlg.GetSafeHwnd())) << "OK does nothing";
        SetWindowTextW(edit, c.typed.c_str());
        SendMessageW(dlg.GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
        EXPECT_STREQ(c.stored.c_str(), GetLastExportDestination());
        dlg.DestroyWindow();
    }
    model->Clear();
}

TEST_F(Dialogs, ExportDestinationButtonSaysWhatItBrowses)
{
    CIPtr<ITimeContainer> model = viewtest::MakeModel(10000, 1000);
    CIPtr<CFragmentDisplay> fragments(new CFragmentDisplay(model));
    CExportSelDlg dlg(nullptr, fragments);
    ASSERT_TRUE(dlg.Create(1047, nullptr));
    testsupport::PumpMessages(50);
    EXPECT_EQ(L"Browse destination folder", testsupport::ButtonToolTip(GetDlgItem(dlg.GetSafeHwnd(), 1071)));
    dlg.DestroyWindow();
    model->Clear();
}

TEST_F(Dialogs, FragmentPropertiesEndWithOKAndCancel)
{
    for (UINT button : {IDOK, IDCANCEL}) {
        CFragmentPropDlg dlg(nullptr);
        ASSERT_TRUE(dlg.Create(1061, nullptr));
        dlg.ShowWindow(SW_SHOW);
        ::SendMessageW(dlg.GetSafeHwnd(), WM_COMMAND, button, 0);
        EXPECT_FALSE(IsWindowVisible(dlg.GetSafeHwnd())) << "OK and Cancel end the dialog";
        dlg.DestroyWindow();
    }
}

TEST_F(Dialogs, HandOverFindsTheWindowByTitle)
{
    EXPECT_FALSE(HandOverToRunningInstance()) << "any number of instances may run";
    HWND window = CreateWindowW(L"Static", L"Velmora Ravelin - song.wav", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300,
                                200, nullptr, nullptr, nullptr, nullptr);
    ShowWindow(window, SW_MINIMIZE);
    EXPECT_EQ(window, ActivateWindowByTitlePrefix(L"Velmora Ravelin"));
    EXPECT_FALSE(IsIconic(window)) << "restored";
    EXPECT_EQ(nullptr, ActivateWindowByTitlePrefix(L"No Such Program"));
    DestroyWindow(window);
}

} // namespace
