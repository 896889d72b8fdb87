#include <gtest/gtest.h>
#include <shlobj.h>
#include <thread>
#include "SetupTestSupport.h"
#include "tests/support/TestSupport.h"
#include "tests/support/ToolTipText.h"
#include "WizardDriver.h"
#include "common/FileUtils.h"
#include "common/FolderWalk.h"
#include "common/OVRegKey.h"
#include "common/PathUtils.h"
#include "common/ProductInfo.h"
#include "hybrid/HybridCtrl.h"
#include "hybrid/IHybridText.h"
#include "hybrid/TextContent.h"
#include "installer/InstallDlg.h"
#include "installer/InstallPages.h"
#include "installer/InstallerIds.h"
#include "installer/Shortcuts.h"
#include "installer/UninstallDlg.h"
#include "installer/UninstallEntry.h"
#include <commctrl.h>

using namespace setuptest;

namespace {

const wchar_t* const kDefaultFolder = L"C:\\Program Files\\Setup Test";

bool EntryExists()
{
    COVRegKey key;
    return key.OpenRead(HKEY_LOCAL_MACHINE, SProductInfo::GetUninstallKey());
}

CString LinkIn(int csidl)
{
    CString link;
    // None found: an empty path, which some cases expect.
    (void)FindShortcut(JoinPath(kDefaultFolder, GetFileNameOfPath(GetModuleFilePath(), true)), csidl, link);
    return link;
}

// The letters of the drive list's rows that show, in order.
std::wstring ListedDrives(CInstallDlg& wizard)
{
    auto* page = static_cast<CFolderInstallPage*>(wizard.GetPage(CInstallDlg::kFolder));
    CCellArray cells;
    CCellCollector collector(cells);
    page->GetDriveList().EnumCells(collector, HCE_ALL);
    std::wstring letters;
    for (INT_PTR i = 0; i < cells.GetSize(); ++i)
        if (const DWORD_PTR data = cells.GetAt(i)->GetData()) {
            RECT row;
            cells.GetAt(i)->GetRect(&row);
            // A row that shows: it has a height.
            if (row.bottom - row.top > 8)
                letters += static_cast<wchar_t>(data);
        }
    return letters;
}

// The wizard running modally on this thread while `drive` works it from
// another; returns the wizard's result.
INT_PTR RunWizard(CInstallDlg& wizard, const std::function<void(CDriver&, HWND)>& drive)
{
    CDriver driver(::GetCurrentThreadId());
    std::thread person([&] {
        HWND window = driver.WaitForDialog(L"Install");
        if (window)
            drive(driver, window);
        else
            ADD_FAILURE() << "the wizard did not show";
    });
    const INT_PTR result = wizard.DoModal();
    person.join();
    return result;
}

// Next, then waits until the wizard shows page `index`.
void NextTo(CInstallDlg& wizard, HWND window, int index)
{
    CDriver::Click(window, IDC_WIZARD_NEXT);
    EXPECT_TRUE(CDriver::WaitFor([&] { return wizard.GetCurrentIndex() == index; })) << "page " << index;
}

class WizardTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        UseTestProduct();
        DeleteRegKeyTree(HKEY_LOCAL_MACHINE, SProductInfo::GetUninstallKey());
        (void)DeleteFolderTree(kDefaultFolder); // not there yet on the first run
        m_src = FreshFolder(L"wizard-src");
        MakeSourceSet(m_src.root);
        m_wizard.SetSourceFolder(m_src.root.c_str());
    }
    testsupport::CComScope m_com;
    STree m_src;
    CInstallDlg m_wizard;
};

} // namespace

TEST_F(WizardTest, InstallsIntoProgramFilesAndTheUninstallerRemovesOnlyItsOwnFiles)
{
    std::wstring nextTexts, licenceNext, folderShown, afterBack, finishedTitle, notStarted;
    bool backOnWelcome = true, runBox = false;
    const INT_PTR result = RunWizard(m_wizard, [&](CDriver& driver, HWND window) {
        backOnWelcome = CDriver::ItemVisible(window, IDC_WIZARD_BACK);
        nextTexts = CDriver::ItemText(window, IDC_WIZARD_NEXT);
        NextTo(m_wizard, window, CInstallDlg::kLicense);
        licenceNext = CDriver::ItemText(window, IDC_WIZARD_NEXT);
        NextTo(m_wizard, window, CInstallDlg::kFolder);
        HWND folderPage = m_wizard.GetPage(CInstallDlg::kFolder)->m_hWnd;
        folderShown = CDriver::ItemText(folderPage, IDC_FOLDER_EDIT);
        ::SendDlgItemMessageW(folderPage, IDC_FOLDER_EDIT, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kDefaultFolder));
        CDriver::Click(window, IDC_WIZARD_BACK);
        CDriver::WaitFor([&] { return m_wizard.GetCurrentIndex() == CInstallDlg::kLicense; });
        NextTo(m_wizard, window, CInstallDlg::kFolder);
        afterBack = CDriver::ItemText(folderPage, IDC_FOLDER_EDIT);
        CDriver::Click(window, IDC_WIZARD_NEXT);
        EXPECT_NE(std::wstring::npos, driver.Answer(IDYES).find(L"doesn't exist"));
        CDriver::WaitFor([&] { return m_wizard.GetCurrentIndex() == CInstallDlg::kShortcuts; });
        nextTexts += L"|" + CDriver::ItemText(window, IDC_WIZARD_NEXT);
        CDriver::Click(window, IDC_WIZARD_NEXT);
        CDriver::WaitFor([&] { return m_wizard.GetCurrentIndex() == m_wizard.GetFinishedIndex(); });
        finishedTitle = CDriver::ItemText(window, IDC_WIZARD_NEXT);
        auto* finished = static_cast<CFinishedInstallPage*>(m_wizard.GetPage(m_wizard.GetFinishedIndex()));
        runBox = finished->GetRunBox() != nullptr;
        CDriver::Click(window, IDC_WIZARD_NEXT);
        // The staged files hold no program to start: the user is told.
        notStarted = driver.Answer(IDOK);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_NE(std::wstring::npos, notStarted.find(L"could not be started"));
    EXPECT_FALSE(backOnWelcome);
    EXPECT_EQ(L"Next >|Install", nextTexts);
    EXPECT_EQ(L"I agree", licenceNext);
    EXPECT_EQ(kDefaultFolder, folderShown) << "the program-files folder and the product's folder name";
    EXPECT_EQ(kDefaultFolder, afterBack) << "the typed folder survives going back";
    EXPECT_EQ(L"Finish", finishedTitle);
    EXPECT_TRUE(runBox);

    // Files, the quoted uninstall entry and both shortcuts are there.
    const std::wstring folder = kDefaultFolder;
    for (const wchar_t* name : kSourceFiles)
        EXPECT_TRUE(SameBytes(m_src.Path(name), folder + L"\\" + name)) << name;
    const CString program = m_wizard.GetInstalledExePath();
    COVRegKey key;
    CString command;
    ASSERT_TRUE(key.OpenRead(HKEY_LOCAL_MACHINE, SProductInfo::GetUninstallKey()));
    ASSERT_TRUE(key.GetString(L"UninstallString", command, false));
    key.Close();
    EXPECT_EQ(L"\"" + program + L"\" /OVUninst", command);
    EXPECT_FALSE(LinkIn(CSIDL_DESKTOP).IsEmpty());
    EXPECT_FALSE(LinkIn(CSIDL_PROGRAMS).IsEmpty());
    EXPECT_EQ(CString(program), GetShortcutTarget(LinkIn(CSIDL_DESKTOP)));

    // Files the copy did not put there: the program file and the user's notes.
    testsupport::WriteFileBytes(static_cast<LPCWSTR>(program), "MZ", 2);
    testsupport::WriteFileBytes(folder + L"\\my notes.txt", "mine", 4);

    // The uninstaller: its log, then only the installed files are gone.
    CUninstallDlg uninstaller;
    uninstaller.SetFolder(kDefaultFolder);
    CDriver driver(::GetCurrentThreadId());
    std::wstring question;
    std::thread person([&] {
        question = driver.Answer(IDYES);
        HWND window = driver.WaitForDialog(L"UnInstall");
        ASSERT_TRUE(window);
        EXPECT_TRUE(CDriver::WaitFor([&] { return ::IsWindowEnabled(::GetDlgItem(window, IDOK)); }));
        CDriver::Click(window, IDOK);
    });
    const DWORD start = ::GetTickCount();
    EXPECT_EQ(IDOK, uninstaller.DoModal());
    person.join();
    EXPECT_GE(::GetTickCount() - start, 1500u);
    EXPECT_EQ(L"Do you really want to uninstall Setup Test?", question);
    EXPECT_STREQ(L"Unregistering components\r\nCleaning registry\r\nRemoving program files\r\n"
                 L"Uninstallation is complete",
                 uninstaller.GetLog());
    EXPECT_FALSE(EntryExists());
    EXPECT_TRUE(LinkIn(CSIDL_DESKTOP).IsEmpty());
    EXPECT_TRUE(LinkIn(CSIDL_PROGRAMS).IsEmpty());
    EXPECT_FALSE(Exists(folder + L"\\big data.bin"));
    EXPECT_FALSE(Exists(folder + L"\\nls"));
    EXPECT_TRUE(Exists(folder + L"\\my notes.txt"));
    EXPECT_TRUE(Exists(static_cast<LPCWSTR>(program))) << "not installed by the copy";
    ::DeleteFileW(program);
    ::DeleteFileW((folder + L"\\my notes.txt").c_str());
    ::RemoveDirectoryW(kDefaultFolder);
}

TEST_F(WizardTest, AnAbortedCopyRegistersNothingAndLeavesNothing)
{
    // Enough to copy that the abort comes while blocks are still going.
    std::vector<uint8_t> big(96u << 20, 0x5A);
    testsupport::WriteFileBytes(m_src.Path(L"huge.bin"), big.data(), big.size());
    STree dst = FreshFolder(L"wizard-dst");
    const std::wstring folder = dst.Path(L"Abort Here");
    std::wstring question, title;
    bool runBox = true;
    const INT_PTR result = RunWizard(m_wizard, [&](CDriver& driver, HWND window) {
        NextTo(m_wizard, window, CInstallDlg::kLicense);
        NextTo(m_wizard, window, CInstallDlg::kFolder);
        HWND folderPage = m_wizard.GetPage(CInstallDlg::kFolder)->m_hWnd;
        ::SendDlgItemMessageW(folderPage, IDC_FOLDER_EDIT, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(folder.c_str()));
        CDriver::Click(window, IDC_WIZARD_NEXT);
        driver.Answer(IDYES);
        CDriver::WaitFor([&] { return m_wizard.GetCurrentIndex() == CInstallDlg::kShortcuts; });
        CDriver::Click(window, IDC_WIZARD_NEXT);
        HWND progress = nullptr;
        CDriver::WaitFor([&] {
            CInstallPage* page = m_wizard.GetPage(m_wizard.GetProcessIndex());
            progress = page ? ::GetDlgItem(page->m_hWnd, IDC_COPY_PROGRESS) : nullptr;
            return progress && ::SendMessageW(progress, PBM_GETPOS, 0, 0) > 0;
        });
        // Esc on the copy asks about aborting, never about cancelling.
        CDriver::Click(window, IDCANCEL);
        question = driver.Answer(IDYES);
        CDriver::WaitFor([&] { return m_wizard.GetCurrentIndex() == m_wizard.GetFinishedIndex(); });
        auto* finished = static_cast<CFinishedInstallPage*>(m_wizard.GetPage(m_wizard.GetFinishedIndex()));
        runBox = finished->GetRunBox() != nullptr;
        title = finished->GetTitle().GetString();
        CDriver::Click(window, IDC_WIZARD_NEXT);
    });
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(L"Are you sure you want to abort the file copy process?", question);
    EXPECT_EQ(L"Installation is aborted.", title);
    EXPECT_FALSE(runBox);
    EXPECT_TRUE(m_wizard.IsAborted());
    EXPECT_FALSE(EntryExists());
    EXPECT_TRUE(LinkIn(CSIDL_DESKTOP).IsEmpty());
    EXPECT_FALSE(Exists(folder)) << "nothing half-copied, not even the folder the wizard made";
}

TEST_F(WizardTest, FolderPageFindsAnInstallationRefusesTooLittleSpaceAndCancelAsks)
{
    // An earlier installation whose program still exists, in a folder with a blank.
    STree old = FreshFolder(L"Old Install");
    testsupport::WriteFileBytes(old.Path(L"prog.exe"), "MZ", 2);
    ASSERT_TRUE(WriteUninstallEntry(old.Path(L"prog.exe").c_str()));
    std::wstring drives, found, refused, clicked, unchanged, cancelQuestion, browseTip;
    bool noteShown = false;
    int pageAfterRefusal = -1, pageAfterNo = -1;
    const INT_PTR result = RunWizard(m_wizard, [&](CDriver& driver, HWND window) {
        NextTo(m_wizard, window, CInstallDlg::kLicense);
        NextTo(m_wizard, window, CInstallDlg::kFolder);
        HWND page = m_wizard.GetPage(CInstallDlg::kFolder)->m_hWnd;
        found = CDriver::ItemText(page, IDC_FOLDER_EDIT);
        drives = ListedDrives(m_wizard);
        noteShown = CDriver::ItemVisible(page, IDC_EXISTING_NOTE);
        // The button makes its tool from a message it posts to itself.
        const HWND folderEdit = ::GetDlgItem(page, IDC_FOLDER_EDIT);
        CDriver::WaitFor([&] { return testsupport::ButtonToolTip(folderEdit) != L"(none)"; }, 5000);
        browseTip = testsupport::ButtonToolTip(folderEdit);
        auto setFolder = [page](const wchar_t* text) {
            ::SendDlgItemMessageW(page, IDC_FOLDER_EDIT, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        };
        // A drive that is not there has no free space.
        setFolder(L"Q:\\Apps");
        CDriver::Click(window, IDC_WIZARD_NEXT);
        refused = driver.Answer(IDOK);
        pageAfterRefusal = m_wizard.GetCurrentIndex();
        // A drive row click changes the folder's drive letter only.
        ::PostMessageW(page, 0x8039, L'C', 0);
        CDriver::WaitFor([&] { return CDriver::ItemText(page, IDC_FOLDER_EDIT) == L"C:\\Apps"; });
        clicked = CDriver::ItemText(page, IDC_FOLDER_EDIT);
        setFolder(L"\\\\server\\share");
        ::PostMessageW(page, 0x8039, L'C', 0);
        ::Sleep(200);
        unchanged = CDriver::ItemText(page, IDC_FOLDER_EDIT);
        // Cancel answered No stays; Yes ends the wizard.
        CDriver::Click(window, IDCANCEL);
        cancelQuestion = driver.Answer(IDNO);
        pageAfterNo = m_wizard.GetCurrentIndex();
        CDriver::Click(window, IDCANCEL);
        driver.Answer(IDYES);
    });
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(old.root, found);
    EXPECT_NE(std::wstring::npos, drives.find(L'C')) << "the fixed drive C is listed: " << drives.size();
    EXPECT_TRUE(noteShown);
    EXPECT_EQ(L"Browse installation folder", browseTip);
    EXPECT_EQ(L"The drive selected doesn't have enough space.", refused);
    EXPECT_EQ(CInstallDlg::kFolder, pageAfterRefusal);
    EXPECT_EQ(L"C:\\Apps", clicked);
    EXPECT_EQ(L"\\\\server\\share", unchanged);
    EXPECT_EQ(L"Are you sure you want to cancel the installation?", cancelQuestion);
    EXPECT_EQ(CInstallDlg::kFolder, pageAfterNo);
    DeleteRegKeyTree(HKEY_LOCAL_MACHINE, SProductInfo::GetUninstallKey());
}

TEST_F(WizardTest, HeadersShowTheProgramsPicturesAndWholeTitles)
{
    // The wizard's header: the product's picture (bitmap 1101) at its left,
    // drawn, not left white; the licence page's long title wraps into its
    // column instead of ending in "...".
    g_productInfo.installerPictureId = IDB_INSTALL_HEADER;
    int drawnPixels = 0;
    bool titleWhole = false;
    RunWizard(m_wizard, [&](CDriver& driver, HWND window) {
        NextTo(m_wizard, window, CInstallDlg::kLicense);
        ::Sleep(300);
        HWND header = ::GetDlgItem(window, IDC_HYBRID_VIEW);
        HDC dc = ::GetDC(header);
        for (int y = 0; y < 60; y += 2)
            for (int x = 0; x < 100; x += 2)
                drawnPixels += ::GetPixel(dc, x, y) != RGB(255, 255, 255);
        ::ReleaseDC(header, dc);
        auto* ctrl = static_cast<CHybridCtrl*>(CWnd::FromHandlePermanent(header));
        CCellArray cells;
        CCellCollector collector(cells);
        ctrl->EnumCells(collector, HCE_ALL);
        for (INT_PTR i = 0; i < cells.GetSize(); ++i) {
            IHybridCell* cell = cells.GetAt(i);
            CIPtr<IHybridText> text;
            if (FAILED(text.QueryFrom(cell->GetContentPtr(), IID_IHybridText)) || !text ||
                CString(text->GetText()).IsEmpty())
                continue;
            CRect rect;
            cell->GetRect(&rect);
            const bool wraps = (cell->GetStyleBits() >> 32) & HTB_MULTILINE;
            titleWhole = wraps ? cell->GetPreferredHeight(rect.Width(), false) <= rect.Height()
                               : cell->GetContentPtr()->GetPreferredWidth() <= rect.Width();
        }
        CDriver::Click(window, IDCANCEL);
        driver.Answer(IDYES);
    });
    g_productInfo.installerPictureId = 0;
    EXPECT_GT(drawnPixels, 200) << "of 1500 sampled";
    EXPECT_TRUE(titleWhole);

    // The uninstaller's header icon (20065) shows at its top left.
    CUninstallDlg uninstaller;
    CDriver driver(::GetCurrentThreadId());
    HICON shown = nullptr;
    std::thread person([&] {
        CDriver::WaitFor([&] { return driver.BoxShows(); });
        if (HWND window = ::FindWindowW(L"#32770", L"UnInstall"))
            shown = reinterpret_cast<HICON>(::SendDlgItemMessageW(window, IDC_UNINSTALL_ICON, STM_GETICON, 0, 0));
        driver.Answer(IDNO);
    });
    EXPECT_EQ(IDCANCEL, uninstaller.DoModal());
    person.join();
    EXPECT_NE(nullptr, shown);
}
