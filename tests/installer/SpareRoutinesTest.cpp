// The installer's routines that the setup itself does not call, each
// checked once on real files, a real link, a real library and a real
// process.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <string>
#include "SetupTestSupport.h"
#include "tests/support/TestSupport.h"
#include "common/PathUtils.h"
#include "installer/InstallDlg.h"
#include "installer/Shortcuts.h"
#include "installer/SpareRoutines.h"

using namespace setuptest;

namespace {

std::string ReadText(const std::wstring& path)
{
    const std::vector<uint8_t> bytes = testsupport::ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

std::wstring ReadWideText(const std::wstring& path)
{
    const std::vector<uint8_t> bytes = testsupport::ReadFileBytes(path);
    return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t));
}

} // namespace

TEST(SpareRoutines, TempFileStartupLinkRegistrationEntriesAndSwitches)
{
    testsupport::CComScope com;

    // A new empty file in the temporary folder, named with the prefix.
    const CString temp = GetTempFilePath(L"rvt");
    ASSERT_FALSE(temp.IsEmpty());
    EXPECT_TRUE(Exists(temp.GetString()));
    EXPECT_TRUE(testsupport::ReadFileBytes(temp.GetString()).empty());
    EXPECT_EQ(0, GetFileNameOfPath(temp, true).Left(3).CompareNoCase(L"rvt")) << temp.GetString();
    const CString second = GetTempFilePath(L"rvt");
    EXPECT_NE(temp, second) << "each call makes a file of its own";
    ::DeleteFileW(temp);
    ::DeleteFileW(second);

    // A link to the running program in the startup folder is found.
    DeleteShortcut(nullptr, CSIDL_STARTUP);
    EXPECT_FALSE(FindStartupShortcut());
    CreateShortcut(nullptr, L"Spare Test", L"Spare Test", CSIDL_STARTUP);
    EXPECT_TRUE(FindStartupShortcut());
    DeleteShortcut(nullptr, CSIDL_STARTUP);
    EXPECT_FALSE(FindStartupShortcut());

    // The library's own entries, by the flag; a missing library does nothing.
    const std::wstring library = testsupport::WindowsPath(RAVELIN_REG_RECORDER);
    const std::wstring libraryLog = library + L".log";
    ::DeleteFileW(libraryLog.c_str());
    CallDllRegistration(library.c_str(), true);
    CallDllRegistration(library.c_str(), false);
    CallDllRegistration((library + L".missing").c_str(), true);
    EXPECT_EQ("DllRegisterServer\nDllUnregisterServer\n", ReadText(libraryLog));
    ::DeleteFileW(libraryLog.c_str());

    // The program gets the switch and is waited for (it takes half a second
    // before it writes).
    const std::wstring program = testsupport::WindowsPath(RAVELIN_SWITCH_RECORDER);
    const std::wstring programLog = program + L".log";
    ::DeleteFileW(programLog.c_str());
    EXPECT_TRUE(RunSelfRegistration(program.c_str(), true));
    const std::wstring afterRegister = ReadWideText(programLog);
    EXPECT_TRUE(RunSelfRegistration(program.c_str(), false));
    const std::wstring lines = ReadWideText(programLog);
    EXPECT_NE(std::wstring::npos, afterRegister.find(L" /RegServer\n")) << afterRegister;
    const size_t split = lines.find(L'\n');
    ASSERT_NE(std::wstring::npos, split) << lines;
    EXPECT_NE(std::wstring::npos, lines.find(L" /UnregServer\n", split)) << lines;
    ::DeleteFileW(programLog.c_str());

    // A wizard that never ran has no application page.
    CInstallDlg wizard;
    EXPECT_EQ(nullptr, wizard.GetAppPage(0));
}
