// The real program started with its installer switches, as the setup
// package and the uninstall entry start it: "/OVInst" installs a staged copy
// of the program through the wizard and runs it; the installed program's
// "/OVUninst" takes it away again. The wizard runs in the other process and
// is worked through its windows only.
#include <gtest/gtest.h>
#include <string>
#include "SetupTestSupport.h"
#include "WizardDriver.h"
#include "installer/InstallCopy.h"
#include "installer/InstallerIds.h"
#include "installer/SelfDelete.h"
#include "tests/support/TestSupport.h"

using namespace setuptest;

namespace {

const wchar_t kTarget[] = L"C:\\Program Files\\Switch Test Folder";
const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// A started process, ended (by force, when it will not end) on the way out.
struct SProcess
{
    PROCESS_INFORMATION info{};
    bool started = false;

    explicit SProcess(std::wstring commandLine)
    {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        started = ::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &info);
    }
    ~SProcess()
    {
        if (!started)
            return;
        if (::WaitForSingleObject(info.hProcess, 0) != WAIT_OBJECT_0)
            ::TerminateProcess(info.hProcess, 99);
        ::CloseHandle(info.hThread);
        ::CloseHandle(info.hProcess);
    }
    bool Ended(DWORD ms) const { return ::WaitForSingleObject(info.hProcess, ms) == WAIT_OBJECT_0; }
};

// Whether any uninstall entry names the installed program.
bool EntryNames(const std::wstring& program)
{
    HKEY root = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_READ, &root) != ERROR_SUCCESS)
        return false;
    bool found = false;
    wchar_t name[256];
    for (DWORD i = 0; !found; ++i) {
        DWORD length = 256;
        if (::RegEnumKeyExW(root, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        wchar_t command[1024] = {};
        DWORD size = sizeof command;
        if (::RegGetValueW(root, name, L"UninstallString", RRF_RT_REG_SZ, nullptr, command, &size) == ERROR_SUCCESS)
            found = std::wstring(command) == L"\"" + program + L"\" /OVUninst";
    }
    ::RegCloseKey(root);
    return found;
}

// The batch that removes the program after it has ended, in this world's
// temporary folder (the uninstaller runs as the same user).
std::wstring SelfDeleteBatch()
{
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    return std::wstring(temp) + kSelfDeleteBatchName;
}

// Waits, as a person reading the log would, until the batch the uninstall
// worker started is running: the command processor keeps its batch open
// while it runs, so an exclusive open is refused. Gives up after `ms`.
void WaitWhileTheWorkersBatchStarts(DWORD ms)
{
    CDriver::WaitFor(
        [] {
            HANDLE probe =
                ::CreateFileW(SelfDeleteBatch().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            if (probe == INVALID_HANDLE_VALUE)
                return ::GetLastError() == ERROR_SHARING_VIOLATION;
            ::CloseHandle(probe);
            return false;
        },
        ms);
}

} // namespace

// The uninstaller that `driver` drives: its question answered yes, and its
// dialog once the work is done and Finish can be pressed; null when that
// does not come.
HWND UninstallDoneAndWaiting(CDriver& driver)
{
    EXPECT_NE(std::wstring::npos, driver.Answer(IDYES, 20000).find(L"uninstall"));
    HWND dialog = driver.WaitForDialog(L"UnInstall", 20000);
    if (!dialog || !CDriver::WaitFor([&] { return ::IsWindowEnabled(::GetDlgItem(dialog, IDOK)) != FALSE; }, 20000))
        return nullptr;
    return dialog;
}

TEST(ProgramSwitches, InstallRunsTheInstalledProgramAndItsUninstallerTakesItAway)
{
    // The package: the program and its language file in a folder of their own.
    const STree staged = FreshFolder(L"staged package");
    const std::wstring built = testsupport::WindowsPath(RAVELIN_EXE);
    const std::wstring builtFolder = built.substr(0, built.find_last_of(L'\\'));
    ASSERT_TRUE(::CopyFileW(built.c_str(), staged.Path(L"ravelin.exe").c_str(), FALSE));
    ASSERT_TRUE(::CreateDirectoryW(staged.Path(L"nls").c_str(), nullptr));
    ASSERT_TRUE(
        ::CopyFileW((builtFolder + L"\\nls\\English.txt").c_str(), staged.Path(L"nls\\English.txt").c_str(), FALSE));

    const std::wstring program = std::wstring(kTarget) + L"\\ravelin.exe";
    {
        SProcess setup(L"\"" + staged.Path(L"ravelin.exe") + L"\" /OVInst");
        ASSERT_TRUE(setup.started);
        CDriver driver(setup.info.dwThreadId);
        HWND wizard = driver.WaitForDialog(L"Install", 20000);
        ASSERT_TRUE(wizard) << "the wizard did not show";
        auto nextReads = [&](const wchar_t* text) {
            return CDriver::WaitFor([&] { return CDriver::ItemText(wizard, IDC_WIZARD_NEXT) == text; });
        };
        CDriver::Click(wizard, IDC_WIZARD_NEXT);
        ASSERT_TRUE(nextReads(L"I agree"));
        CDriver::Click(wizard, IDC_WIZARD_NEXT);
        // The folder page: its edit shows; the folder is typed over.
        HWND folderEdit = nullptr;
        ASSERT_TRUE(CDriver::WaitFor([&] {
            EnumChildWindows(
                wizard,
                [](HWND child, LPARAM out) {
                    if (::GetDlgCtrlID(child) == IDC_FOLDER_EDIT && ::IsWindowVisible(child)) {
                        *reinterpret_cast<HWND*>(out) = child;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&folderEdit));
            return folderEdit != nullptr;
        }));
        ::SendMessageW(folderEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(kTarget));
        CDriver::Click(wizard, IDC_WIZARD_NEXT);
        EXPECT_NE(std::wstring::npos, driver.Answer(IDYES).find(L"doesn't exist"));
        ASSERT_TRUE(nextReads(L"Install"));
        CDriver::Click(wizard, IDC_WIZARD_NEXT);
        ASSERT_TRUE(CDriver::WaitFor([&] { return CDriver::ItemText(wizard, IDC_WIZARD_NEXT) == L"Finish"; }, 60000));
        // Finish with "Run" left on: the installed program starts.
        CDriver::Click(wizard, IDC_WIZARD_NEXT);
        EXPECT_TRUE(setup.Ended(20000));
    }
    EXPECT_TRUE(SameBytes(staged.Path(L"ravelin.exe"), program));
    EXPECT_TRUE(SameBytes(staged.Path(L"nls\\English.txt"), std::wstring(kTarget) + L"\\nls\\English.txt"));
    EXPECT_TRUE(EntryNames(program));

    // The program that "Run" started, from its installed place.
    HWND running = nullptr;
    EXPECT_TRUE(
        CDriver::WaitFor([&] { return (running = ::FindWindowW(nullptr, L"Velmora Ravelin")) != nullptr; }, 20000));
    if (running) {
        DWORD pid = 0;
        ::GetWindowThreadProcessId(running, &pid);
        HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
        wchar_t image[MAX_PATH] = {};
        DWORD size = MAX_PATH;
        if (process)
            ::QueryFullProcessImageNameW(process, 0, image, &size);
        EXPECT_EQ(0, _wcsicmp(program.c_str(), image)) << image;
        ::PostMessageW(running, WM_CLOSE, 0, 0);
        if (process) {
            EXPECT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(process, 20000));
            ::CloseHandle(process);
        }
    }

    // The uninstall entry's command: asked, then everything of the
    // installation goes, the program itself after it has ended.
    testsupport::WriteFileBytes(std::wstring(kTarget) + L"\\my notes.txt", "mine", 4);
    {
        SProcess uninstall(L"\"" + program + L"\" /OVUninst");
        ASSERT_TRUE(uninstall.started);
        CDriver driver(uninstall.info.dwThreadId);
        HWND dialog = UninstallDoneAndWaiting(driver);
        ASSERT_TRUE(dialog);
        CDriver::Click(dialog, IDOK);
        EXPECT_TRUE(uninstall.Ended(20000));
    }
    EXPECT_FALSE(EntryNames(program));
    EXPECT_FALSE(Exists(std::wstring(kTarget) + L"\\nls"));
    EXPECT_TRUE(CDriver::WaitFor([&] { return !Exists(program); }, 30000)) << "the program removes itself";
    EXPECT_TRUE(Exists(std::wstring(kTarget) + L"\\my notes.txt"));
    ::DeleteFileW((std::wstring(kTarget) + L"\\my notes.txt").c_str());
    ::RemoveDirectoryW(kTarget);
}

TEST(ProgramSwitches, AnUninstallFinishedAtAPersonsPaceLeavesNoFolderBehind)
{
    // An installation as the copy leaves it: the program, its language
    // file and the record of both.
    const std::wstring folder = L"C:\\Program Files\\Switch Test Paced";
    const std::wstring program = folder + L"\\ravelin.exe";
    const std::wstring built = testsupport::WindowsPath(RAVELIN_EXE);
    const std::wstring builtFolder = built.substr(0, built.find_last_of(L'\\'));
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(::CopyFileW(built.c_str(), program.c_str(), FALSE));
    ASSERT_TRUE(::CreateDirectoryW((folder + L"\\nls").c_str(), nullptr));
    ASSERT_TRUE(
        ::CopyFileW((builtFolder + L"\\nls\\English.txt").c_str(), (folder + L"\\nls\\English.txt").c_str(), FALSE));
    CStringArray installed;
    for (const std::wstring& path : {folder + L"\\", program, folder + L"\\nls\\", folder + L"\\nls\\English.txt"})
        installed.Add(path.c_str());
    ASSERT_TRUE(WriteInstallRecord(folder.c_str(), installed));
    ::DeleteFileW(SelfDeleteBatch().c_str());

    std::wstring box;
    {
        SProcess uninstall(L"\"" + program + L"\" /OVUninst");
        ASSERT_TRUE(uninstall.started);
        CDriver driver(uninstall.info.dwThreadId);
        HWND dialog = UninstallDoneAndWaiting(driver);
        ASSERT_TRUE(dialog);
        // Finish while the batch the worker left is still waiting for the
        // program to end, as it is when a person reads the log first.
        WaitWhileTheWorkersBatchStarts(10000);
        CDriver::Click(dialog, IDOK);
        ASSERT_TRUE(CDriver::WaitFor([&] { return uninstall.Ended(0) || driver.BoxShows(); }, 20000));
        if (driver.BoxShows())
            box = driver.Answer(IDOK);
        EXPECT_TRUE(uninstall.Ended(20000));
    }
    EXPECT_EQ(L"", box) << "Finish says nothing more after a complete uninstall";
    EXPECT_TRUE(CDriver::WaitFor([&] { return !Exists(folder); }, 5000))
        << "the folder is gone a few seconds after the uninstaller has ended";
    // Whatever is left goes, so that a failure leaves no folder to the next run.
    ::DeleteFileW(program.c_str());
    ::DeleteFileW((folder + L"\\nls\\English.txt").c_str());
    ::RemoveDirectoryW((folder + L"\\nls").c_str());
    ::DeleteFileW((folder + L"\\" + kInstallRecordName).c_str());
    ::RemoveDirectoryW(folder.c_str());
}
