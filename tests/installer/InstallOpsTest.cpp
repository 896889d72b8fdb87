#include <gtest/gtest.h>
#include <shlobj.h>
#include <thread>
#include "SetupTestSupport.h"
#include "tests/support/TestSupport.h"
#include "common/FileUtils.h"
#include "common/OVRegKey.h"
#include "common/ProductInfo.h"
#include "installer/InstallRecord.h"
#include "installer/SelfDelete.h"
#include "installer/SetupWorkers.h"
#include "installer/Shortcuts.h"
#include "installer/UninstallEntry.h"

using namespace setuptest;

namespace {

// Runs the copy worker on its own thread, as the process page does.
bool RunCopy(SInstallWork& work)
{
    std::thread worker([&work] { InstallCopyThreadProc(&work); });
    worker.join();
    return work.succeeded;
}

} // namespace

TEST(InstallCopy, CopiesTheTreeIntoAFolderWithABlankAndRecordsIt)
{
    STree src = FreshFolder(L"src");
    MakeSourceSet(src.root);
    STree dst = FreshFolder(L"dst");
    SInstallWork work;
    work.source = src.root.c_str();
    work.folder = dst.Path(L"Program Files\\My App").c_str();
    ::CreateDirectoryW(dst.Path(L"Program Files").c_str(), nullptr);
    ASSERT_TRUE(RunCopy(work));
    const std::wstring to = dst.Path(L"Program Files\\My App");
    for (const wchar_t* name : kSourceFiles)
        EXPECT_TRUE(SameBytes(src.Path(name), to + L"\\" + name)) << name;
    EXPECT_TRUE(Exists(to + L"\\empty"));
    EXPECT_EQ(250007u + 4u, work.copied.load());

    CStringArray record;
    ASSERT_TRUE(ReadInstallRecord(to.c_str(), record));
    // Three files, four folders (the destination itself, nls, empty) and the record.
    EXPECT_EQ(7, record.GetSize());

    // Copying again into the existing folder replaces the files.
    testsupport::WriteFileBytes(to + L"\\prog.exe", "old", 3);
    SInstallWork again;
    again.source = src.root.c_str();
    again.folder = to.c_str();
    ASSERT_TRUE(RunCopy(again));
    EXPECT_TRUE(SameBytes(src.Path(L"prog.exe"), to + L"\\prog.exe"));
}

TEST(InstallCopy, AFolderInsideTheSourceIsNotCopiedIntoItself)
{
    STree src = FreshFolder(L"nested");
    MakeSourceSet(src.root);
    SInstallWork work;
    work.source = src.root.c_str();
    work.folder = src.Path(L"inner target").c_str();
    ASSERT_TRUE(RunCopy(work));
    EXPECT_TRUE(SameBytes(src.Path(L"big data.bin"), src.Path(L"inner target\\big data.bin")));
    EXPECT_FALSE(Exists(src.Path(L"inner target\\inner target")));
    // The folder onto itself is refused outright.
    SInstallWork same;
    same.source = src.root.c_str();
    same.folder = (src.root + L"\\").c_str();
    EXPECT_FALSE(RunCopy(same));
    EXPECT_TRUE(Exists(src.Path(L"big data.bin")));
}

TEST(InstallCopy, FailureAndAbortLeaveNothingHalfCopied)
{
    STree src = FreshFolder(L"src2");
    MakeSourceSet(src.root);
    STree dst = FreshFolder(L"dst2");
    const std::wstring to = dst.Path(L"App Dir");

    // A file of the same name that cannot be replaced (held open without
    // sharing) stops the copy.
    ::CreateDirectoryW(to.c_str(), nullptr);
    testsupport::WriteFileBytes(to + L"\\prog.exe", "keep", 4);
    HANDLE held = ::CreateFileW((to + L"\\prog.exe").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    SInstallWork locked;
    locked.source = src.root.c_str();
    locked.folder = to.c_str();
    EXPECT_FALSE(RunCopy(locked));
    ::CloseHandle(held);
    EXPECT_EQ(1, CountEntries(to)) << "only the file that was there before";
    ::DeleteFileW((to + L"\\prog.exe").c_str());
    ::RemoveDirectoryW(to.c_str());

    // Abort while the gate holds the worker inside the big file's blocks.
    SInstallWork work;
    work.source = src.root.c_str();
    work.folder = to.c_str();
    ::ResetEvent(work.running.Get());
    std::thread worker([&work] { InstallCopyThreadProc(&work); });
    ::Sleep(300);
    work.abort = true;
    ::SetEvent(work.running.Get());
    worker.join();
    EXPECT_FALSE(work.succeeded);
    EXPECT_FALSE(Exists(to)) << "the folder the copy made is gone again";
    EXPECT_LT(work.copied.load(), 250007u);
}

TEST(InstallRecord, RemovesOnlyRecordedPathsInsideTheFolder)
{
    STree src = FreshFolder(L"src3");
    MakeSourceSet(src.root);
    STree dst = FreshFolder(L"dst3");
    const std::wstring to = dst.Path(L"With Blank");
    SInstallWork work;
    work.source = src.root.c_str();
    work.folder = to.c_str();
    ASSERT_TRUE(RunCopy(work));
    testsupport::WriteFileBytes(to + L"\\my notes.txt", "mine", 4);
    testsupport::WriteFileBytes(to + L"\\nls\\mine.txt", "mine", 4);

    CStringArray record;
    ASSERT_TRUE(ReadInstallRecord(to.c_str(), record));
    // Entries outside the folder, and a root, are never touched.
    record.Add(src.Path(L"prog.exe").c_str());
    record.Add(L"C:\\");
    EXPECT_EQ(2, RemoveInstalledPaths(record, to.c_str())) << "the folders that hold the user's files";
    EXPECT_TRUE(Exists(src.Path(L"prog.exe")));
    EXPECT_TRUE(Exists(to + L"\\my notes.txt"));
    EXPECT_TRUE(Exists(to + L"\\nls\\mine.txt"));
    EXPECT_FALSE(Exists(to + L"\\prog.exe"));
    EXPECT_FALSE(Exists(to + L"\\empty"));
    EXPECT_EQ(3, CountEntries(to));
    EXPECT_FALSE(ReadInstallRecord(src.root.c_str(), record)) << "no record, nothing to remove";
}

TEST(UninstallEntry, IsWrittenQuotedAndReadBack)
{
    UseTestProduct();
    const wchar_t* program = L"C:\\Program Files\\Setup Test\\prog.exe";
    ASSERT_TRUE(WriteUninstallEntry(program));
    COVRegKey key;
    ASSERT_TRUE(key.OpenRead(HKEY_LOCAL_MACHINE, SProductInfo::GetUninstallKey()));
    CString text;
    ASSERT_TRUE(key.GetString(L"UninstallString", text, false));
    EXPECT_STREQ(L"\"C:\\Program Files\\Setup Test\\prog.exe\" /OVUninst", text);
    ASSERT_TRUE(key.GetString(L"DisplayName", text, false));
    EXPECT_STREQ(L"Setup Test", text);
    key.Close();
    CString back;
    ASSERT_TRUE(ReadUninstallProgram(back));
    EXPECT_STREQ(program, back);
    DeleteRegKeyTree(HKEY_LOCAL_MACHINE, SProductInfo::GetUninstallKey());
    EXPECT_FALSE(ReadUninstallProgram(back));
}

TEST(Shortcuts, MadeFoundWhateverTheCaseAndDeletedOneAtATime)
{
    testsupport::CComScope com;
    const CString target = L"C:\\Program Files\\Setup Test\\prog.exe";
    CString desktop;
    ASSERT_TRUE(SUCCEEDED(SHGetFolderPathDynamic(nullptr, CSIDL_DESKTOP, nullptr, 0, desktop)));
    wchar_t before[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, before);
    CreateShortcut(target, nullptr, L"Setup Test", CSIDL_DESKTOP);
    EXPECT_FALSE(Exists(std::wstring(desktop) + L"\\Setup Test.lnk")) << "no description, no link";

    CreateShortcut(target, L"Setup Test", L"Setup Test", CSIDL_DESKTOP);
    CreateShortcut(target, L"Setup Test", L"Setup Test 2", CSIDL_DESKTOP);
    wchar_t after[MAX_PATH];
    ::GetCurrentDirectoryW(MAX_PATH, after);
    EXPECT_STREQ(before, after);
    EXPECT_STREQ(target, GetShortcutTarget((std::wstring(desktop) + L"\\Setup Test.lnk").c_str()));

    CString found;
    EXPECT_TRUE(FindShortcut(L"c:\\PROGRAM FILES\\setup test\\PROG.EXE", CSIDL_DESKTOP, found));
    DeleteShortcut(target, CSIDL_DESKTOP);
    EXPECT_TRUE(FindShortcut(target, CSIDL_DESKTOP, found)) << "only the first link goes";
    DeleteShortcut(target, CSIDL_DESKTOP);
    EXPECT_FALSE(FindShortcut(target, CSIDL_DESKTOP, found));
}

TEST(SelfDelete, TheBatchDeletesTheProgramAndFolderAndAlwaysEnds)
{
    const CString script = FormatSelfDeleteScript(L"C:\\A B\\p.exe", L"C:\\A B\\", L"C:\\T\\DeleteMe.bat");
    EXPECT_NE(-1, script.Find(L"del \"C:\\A B\\p.exe\"\r\n"));
    EXPECT_NE(-1, script.Find(L"rmdir \"C:\\A B\"\r\n"));
    EXPECT_EQ(-1, FormatSelfDeleteScript(L"C:\\p.exe", L"C:\\", L"C:\\T\\d.bat").Find(L"rmdir"))
        << "a drive root is never removed";

    STree tree = FreshFolder(L"selfdelete");
    const std::wstring folder = tree.Path(L"Prog Dir");
    ::CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring program = folder + L"\\p.exe";
    testsupport::WriteFileBytes(program, "x", 1);
    const std::wstring batch = tree.Path(L"del one.bat");
    ASSERT_TRUE(StartSelfDelete(program.c_str(), folder.c_str(), batch.c_str()));
    for (int i = 0; i < 200 && Exists(batch); ++i)
        ::Sleep(100);
    EXPECT_FALSE(Exists(batch));
    EXPECT_FALSE(Exists(program));
    EXPECT_FALSE(Exists(folder));

    // A program that cannot be deleted: the batch gives up and ends.
    ::CreateDirectoryW(folder.c_str(), nullptr);
    testsupport::WriteFileBytes(program, "x", 1);
    HANDLE held = ::CreateFileW(program.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    const std::wstring batch2 = tree.Path(L"del two.bat");
    ASSERT_TRUE(StartSelfDelete(program.c_str(), folder.c_str(), batch2.c_str(), 3));
    for (int i = 0; i < 300 && Exists(batch2); ++i)
        ::Sleep(100);
    EXPECT_FALSE(Exists(batch2)) << "the batch ended by itself";
    EXPECT_TRUE(Exists(program));
    ::CloseHandle(held);
}
