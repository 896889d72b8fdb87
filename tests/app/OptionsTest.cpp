// The options dialog and its pages: the language list on its own, one
// dialog at a time, a language picked and applied (the main window and the
// open dialogs change language at once, the choice is stored under "nls"),
// the general page, and About and System Information opened from the main
// window.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "app/FragmentPropDlg.h"
#include "app/MainFrame.h"
#include "hybrid/LanguageListFill.h"
#include "app/OptGeneralPage.h"
#include "app/OptLanguagePage.h"
#include "app/OptionsDlg.h"
#include "audio/AudioSettings.h"
#include "common/AppFolder.h"
#include "common/OVRegKey.h"
#include "common/ProductInfo.h"
#include "app/AppIds.h"
#include "app/StartPagePane.h"
#include "tests/app/AppTestKit.h"
#include "tests/app/DialogTestKit.h"
#include "xf/xfFrame.h"
#include "xf/xfHorMenuElement.h"
#include "xf/xfToolBar.h"
#include "tests/app/ViewTestKit.h"
#include "tests/common/LanguageTestFiles.h"

namespace {

using dlgtest::TextOf;

// A language folder of the test's own holding English and a German with a
// few translations.
std::unique_ptr<dlgtest::CNlsFolderOfOwn> InstallEnglishAndGerman()
{
    auto nls = std::make_unique<dlgtest::CNlsFolderOfOwn>();
    EXPECT_TRUE(langtest::WriteUtf16(nls->Folder() + L"\\English.txt",
                                     langtest::LanguageText(L"English", L"English", true, L"")));
    EXPECT_TRUE(langtest::WriteUtf16(
        nls->Folder() + L"\\German.txt",
        langtest::LanguageText(L"German", L"Deutsch", false,
                               L"&File\r\n&Datei\r\nStart Page\r\nStartseite\r\n"
                               L"Fragment Properties\r\nFragmenteigenschaften\r\nLooped\r\nWiederholt\r\n")));
    return nls;
}

class Options : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dlgtest::SetUpProductInfo();
        ClearLanguages();
        m_nls = InstallEnglishAndGerman();
        ASSERT_TRUE(ScanLanguageFiles());
        SelectLanguageByName(L"English");
    }
    void TearDown() override
    {
        if (IsOptionsDialogOpen())
            GetOptionsDialog()->DestroyWindow();
        ClearLanguages();
        m_nls.reset();
        DeleteRegKeyTree(HKEY_CURRENT_USER, SProductInfo::GetRegistryKey());
    }

    std::unique_ptr<dlgtest::CNlsFolderOfOwn> m_nls;

public:
    // The row cells of the language list.
    static std::vector<IHybridCell*> Rows(CHybridCtrl& list)
    {
        CCellArray cells;
        CCellCollector collector(cells);
        list.EnumCells(collector, HCE_ALL);
        std::vector<IHybridCell*> rows;
        for (INT_PTR i = 0; i < cells.GetSize(); ++i)
            if (cells.GetAt(i)->GetStyleBits() & 0x200)
                rows.push_back(cells.GetAt(i));
        return rows;
    }
};

TEST_F(Options, LanguageListStandsOnItsOwn)
{
    struct SCase
    {
        const wchar_t* current; // null: the current language is not installed any more
        int selected;
    } cases[] = {{L"German", 1}, {L"English", 0}, {nullptr, 0}};
    for (const SCase& c : cases) {
        if (c.current) {
            SelectLanguageByName(c.current);
        } else {
            ClearLanguages();
            ASSERT_TRUE(ScanLanguageFiles());
        }
        viewtest::CViewHost host;
        FillLanguageList(host.Ctrl());
        host.Settle();
        const std::vector<IHybridCell*> rows = Rows(host.Ctrl());
        ASSERT_EQ(2u, rows.size());
        EXPECT_EQ((std::vector<std::wstring>{L"English", L"English", L"German", L"Deutsch"}),
                  dlgtest::CellTexts(host.Ctrl()));
        EXPECT_TRUE(rows[c.selected]->IsSelected());
        EXPECT_FALSE(rows[1 - c.selected]->IsSelected());
        EXPECT_EQ(rows[c.selected], host.Ctrl().GetSelectedCell());
    }
}

// The program running with its own main window, English and German
// installed.
class OptionsInTheProgram : public apptest::AppTest
{
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_nls = InstallEnglishAndGerman();
        ASSERT_TRUE(Start());
    }
    void TearDown() override
    {
        if (IsOptionsDialogOpen())
            GetOptionsDialog()->DestroyWindow();
        AppTest::TearDown();
        ClearLanguages();
        m_nls.reset();
    }

    // The text of the menu band's first entry.
    std::wstring FirstMenuEntry()
    {
        auto* band = dynamic_cast<CxfToolBar*>(Root()->GetBar(0));
        if (!band)
            return L"";
        const CCellArray& cells = band->GetItemCells();
        for (INT_PTR i = 0; i < cells.GetSize(); ++i) {
            CIPtr<IxfHorMenuElement> element;
            if (SUCCEEDED(element.QueryFrom(cells.GetAt(i)->GetContentPtr(), IID_IxfHorMenuElement)) && element)
                return static_cast<CxfHorMenuElement*>(element.Get())->GetText();
        }
        return L"";
    }

    std::unique_ptr<dlgtest::CNlsFolderOfOwn> m_nls;
};

TEST_F(OptionsInTheProgram, PickingALanguageRetranslatesOpenWindowsAndStoresIt)
{
    CFragmentPropDlg props(nullptr);
    ASSERT_TRUE(props.Create(1061, nullptr));
    props.ShowWindow(SW_SHOW);
    HWND startFrame = StartPage()->GetParent()->GetSafeHwnd();
    EXPECT_EQ(L"&File", FirstMenuEntry());

    Command(ID_CMD_OPTIONS);
    ASSERT_TRUE(IsOptionsDialogOpen());
    COptionsDlg* dlg = GetOptionsDialog();
    Command(ID_CMD_OPTIONS);
    EXPECT_EQ(dlg, GetOptionsDialog()) << "a second Options command opens no second dialog";
    HWND apply = GetDlgItem(dlg->GetSafeHwnd(), 10055);
    auto* page = dynamic_cast<COptLanguagePage*>(dlg->GetCurrentPage());
    ASSERT_NE(nullptr, page);
    dlgtest::PumpUntil([&] { return page->IsInitialised(); });
    EXPECT_FALSE(IsWindowEnabled(apply)) << "nothing picked yet";

    const std::vector<IHybridCell*> rows = Options::Rows(page->GetList());
    ASSERT_EQ(2u, rows.size());
    dlgtest::ClickCell(page->GetList(), rows[1]);
    ASSERT_TRUE(dlgtest::PumpUntil([&] { return IsWindowEnabled(apply) != FALSE; }));
    {
        dlgtest::CBoxAnswerer answerer;
        SendMessageW(dlg->GetSafeHwnd(), WM_COMMAND, MAKEWPARAM(10055, BN_CLICKED), 0);
        dlgtest::PumpUntil([&] { return !IsWindowEnabled(apply); });
        ASSERT_EQ(1u, answerer.Texts().size());
        EXPECT_NE(std::wstring::npos, answerer.Texts()[0].find(L"Please restart the program"));
    }
    EXPECT_TRUE(IsOptionsDialogOpen()) << "Apply leaves the dialog open";
    EXPECT_FALSE(IsWindowEnabled(apply));
    EXPECT_STREQ(L"German", GetCurrentLanguageName());
    EXPECT_EQ(L"&Datei", FirstMenuEntry());
    EXPECT_EQ(L"Startseite", TextOf(startFrame));
    EXPECT_EQ(L"Fragmenteigenschaften", TextOf(props.GetSafeHwnd()));
    EXPECT_NE(std::wstring::npos, dlgtest::ChildTexts(props.GetSafeHwnd()).find(L"Wiederholt"));

    COVRegKey key;
    ASSERT_TRUE(key.OpenRead(HKEY_CURRENT_USER, (std::wstring(SProductInfo::GetRegistryKey()) + L"\\nls").c_str()));
    CString stored;
    ASSERT_TRUE(key.GetString(L"strLang", stored, false));
    EXPECT_STREQ(L"German", stored);

    // Back to English with OK: the English texts come back, no translation
    // stacks, and the dialog closes.
    dlgtest::ClickCell(page->GetList(), rows[0]);
    ASSERT_TRUE(dlgtest::PumpUntil([&] { return IsWindowEnabled(apply) != FALSE; }));
    {
        dlgtest::CBoxAnswerer answerer;
        SendMessageW(dlg->GetSafeHwnd(), WM_COMMAND, IDOK, 0);
        dlgtest::PumpUntil([&] { return !IsOptionsDialogOpen(); });
    }
    EXPECT_FALSE(IsOptionsDialogOpen()) << "OK after a successful apply closes the dialog";
    EXPECT_EQ(L"&File", FirstMenuEntry());
    EXPECT_EQ(L"Start Page", TextOf(startFrame));
    EXPECT_EQ(L"Fragment Properties", TextOf(props.GetSafeHwnd()));
    props.DestroyWindow();
}

TEST_F(OptionsInTheProgram, TheDialogShowsOnTheDesktopsCentreOwnedByTheMainWindowAndComesBackToTheTop)
{
    // The main window away from the desktop's centre: the dialog does not
    // follow it.
    MainFrame()->MoveWindow(0, 0, 700, 500);
    Command(ID_CMD_OPTIONS);
    ASSERT_TRUE(IsOptionsDialogOpen());
    HWND dlg = GetOptionsDialog()->GetSafeHwnd();
    EXPECT_TRUE(apptest::PumpUntil([dlg] { return IsWindowVisible(dlg) != FALSE; })) << "the command shows it";
    EXPECT_EQ(MainFrame()->GetSafeHwnd(), GetWindow(dlg, GW_OWNER)) << "made without a parent";
    CRect dialog, desktop;
    GetWindowRect(dlg, &dialog);
    GetWindowRect(GetDesktopWindow(), &desktop);
    EXPECT_NEAR(desktop.CenterPoint().x, dialog.CenterPoint().x, 1);
    EXPECT_NEAR(desktop.CenterPoint().y, dialog.CenterPoint().y, 1);

    // The main window taken to the front: choosing the command again brings
    // the same dialog back to the top.
    MainFrame()->SetActiveWindow();
    apptest::PumpFor(100);
    ASSERT_NE(dlg, GetActiveWindow());
    Command(ID_CMD_OPTIONS);
    EXPECT_TRUE(apptest::PumpUntil([dlg] { return GetActiveWindow() == dlg; }));
    EXPECT_TRUE(IsWindowVisible(dlg));
    EXPECT_EQ(dlg, GetOptionsDialog()->GetSafeHwnd());
}

TEST_F(OptionsInTheProgram, AboutAndSystemInformationOpenFromTheMainWindow)
{
    // Both run modally: the watcher closes each once it shows.
    std::vector<std::wstring> seen;
    {
        dlgtest::CBoxAnswerer answerer(IDOK, [&seen](HWND w) {
            const std::wstring title = TextOf(w);
            if (title == L"About" || title.find(L"System Information") == 0) {
                seen.push_back(title.substr(0, 18));
                PostMessageW(w, WM_COMMAND, IDCANCEL, 0);
                Sleep(100);
            }
        });
        Command(ID_CMD_ABOUT);
        Command(ID_CMD_SYSINFO);
    }
    EXPECT_EQ((std::vector<std::wstring>{L"About", L"System Information"}), seen);
}

TEST_F(Options, GeneralPageLimitAndErase)
{
    // Two peak files in the aux folder before the page lists them.
    const std::wstring aux = static_cast<LPCWSTR>(GetAuxFolder());
    CreateDirectoryW(aux.c_str(), nullptr);
    const std::string block(3000, 'p');
    for (const wchar_t* name : {L"\\a.mcp", L"\\b.mcp"})
        ASSERT_TRUE(testsupport::WriteFileBytes(aux + name, block.data(), block.size()));

    ShowOptionsDialog(0);
    COptionsDlg* dlg = GetOptionsDialog();
    ASSERT_NE(nullptr, dlg);
    auto* page = new COptGeneralPage(dlg);
    ASSERT_TRUE(page->Create(IDD_OPT_GENERAL, dlg));
    const int before = GetMaxPeakFileSize();
    EXPECT_EQ(std::to_wstring(before), TextOf(GetDlgItem(page->GetSafeHwnd(), 1075)));
    EXPECT_NE(std::wstring::npos,
              TextOf(GetDlgItem(page->GetSafeHwnd(), 1074)).find(L"Current peak file size: 5.86 KB"));

    struct SCase
    {
        const wchar_t* text;
        bool accepted;
    } cases[] = {{L"9", false}, {L"10001", false}, {L"abc", false}, {L"10", true}, {L"10000", true}, {L"250", true}};
    for (const SCase& c : cases) {
        SetDlgItemTextW(page->GetSafeHwnd(), 1075, c.text);
        dlgtest::CBoxAnswerer answerer;
        EXPECT_EQ(c.accepted, page->Apply()) << std::wstring(c.text).size();
        EXPECT_EQ(c.accepted ? 0u : 1u, answerer.Texts().size());
        if (!c.accepted) {
            EXPECT_NE(std::wstring::npos, answerer.Texts()[0].find(L"Peak file size must be in range 10 - 10000 MB."));
        }
    }
    EXPECT_EQ(250, GetMaxPeakFileSize());
    SetMaxPeakFileSize(before);

    {
        dlgtest::CBoxAnswerer answerer(IDYES);
        page->ErasePeakFiles();
    }
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((aux + L"\\a.mcp").c_str()));
    EXPECT_NE(std::wstring::npos, TextOf(GetDlgItem(page->GetSafeHwnd(), 1074)).find(L"0 byte"));
    page->DestroyWindow();
    delete page;

    CloseOptionsDialog();
    EXPECT_TRUE(dlgtest::PumpUntil([] { return !IsOptionsDialogOpen(); }));
}

} // namespace
