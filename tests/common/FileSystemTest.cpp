// File, folder and drive queries and the folder walks, on generated folders.
#include <gtest/gtest.h>

#include "common/DirChanger.h"
#include "common/FileUtils.h"
#include "common/FolderWalk.h"
#include "common/PathUtils.h"
#include "common/Pickers.h"
#include "tests/common/TestWindows.h"
#include "tests/support/TestSupport.h"

#include <shlobj.h>

#include <atomic>
#include <string>

namespace {

CString CurrentDir()
{
    wchar_t buffer[MAX_PATH + 1] = {};
    GetCurrentDirectoryW(MAX_PATH + 1, buffer);
    return buffer;
}

void WriteBytes(const CString& path, size_t n)
{
    std::string data(n, 'x');
    ASSERT_TRUE(testsupport::WriteFileBytes(path.GetString(), data.data(), data.size())) << path.GetString();
}

// A fresh scratch folder, emptied of subfolders an earlier run left.
CString FreshDir(const wchar_t* name)
{
    const CString dir = testsupport::ScratchDir(name).c_str();
    CFindDataArray entries;
    EXPECT_TRUE(entries.Fill(dir));
    for (int i = 0; i < entries.GetCount(); ++i) {
        const WIN32_FIND_DATAW& e = entries.GetAt(i);
        if ((e.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && e.cFileName[0] != L'.') {
            EXPECT_TRUE(DeleteFolderTree(JoinPath(dir, e.cFileName)));
        }
    }
    return dir;
}

// dir\a.wav (10), dir\b.MP3 (20), dir\c.txt (30), dir\sub\d.wav (40),
// dir\sub\deeper\e.bin (50).
void MakeTree(const CString& dir)
{
    WriteBytes(JoinPath(dir, L"a.wav"), 10);
    WriteBytes(JoinPath(dir, L"b.MP3"), 20);
    WriteBytes(JoinPath(dir, L"c.txt"), 30);
    ASSERT_TRUE(CreateDirectoryW(JoinPath(dir, L"sub"), nullptr));
    WriteBytes(JoinPath(dir, L"sub\\d.wav"), 40);
    ASSERT_TRUE(CreateDirectoryW(JoinPath(dir, L"sub\\deeper"), nullptr));
    WriteBytes(JoinPath(dir, L"sub\\deeper\\e.bin"), 50);
}

bool IsLinkedFolder(const CString& path)
{
    const DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Makes `link` a linked folder to `target`; false when the system can't
// (Wine cannot, and Windows only with the right to make links).
bool MakeLink(const CString& link, const CString& target)
{
    return CreateSymbolicLinkW(link, target, SYMBOLIC_LINK_FLAG_DIRECTORY) && IsLinkedFolder(link);
}

TEST(FileQueries, ExistenceSizeAndTruncation)
{
    const CString dir = FreshDir(L"common-files");
    const CString file = JoinPath(dir, L"f.bin");
    WriteBytes(file, 1234);
    EXPECT_TRUE(FileExists(file));
    EXPECT_FALSE(FileExists(JoinPath(dir, L"missing.bin")));
    EXPECT_FALSE(FileExists(dir)) << "a folder is not a file";
    EXPECT_FALSE(FileExists(nullptr));
    EXPECT_EQ(1234u, GetFileSizeByName(file));
    EXPECT_EQ(0u, GetFileSizeByName(JoinPath(dir, L"missing.bin")));

    HANDLE h = CreateFileW(file, GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    EXPECT_TRUE(TruncateFileAt(h, 100));
    CloseHandle(h);
    EXPECT_EQ(100u, GetFileSizeByName(file));
    EXPECT_FALSE(TruncateFileAt(INVALID_HANDLE_VALUE, 0));

    EXPECT_TRUE(CanLoadLibrary(L"kernel32.dll"));
    EXPECT_FALSE(CanLoadLibrary(JoinPath(dir, L"f.bin")));
    EXPECT_FALSE(CanLoadLibrary(nullptr));
}

TEST(FileQueries, DrivesAndSpecialFolders)
{
    EXPECT_GE(GetDriveTotalSize(L'C'), GetDriveFreeSpace(L'C'));
    EXPECT_EQ(0u, GetDriveFreeSpace(0));
    CString volume, system = L"unset", path;
    EXPECT_TRUE(GetVolumeInfo(L'C', volume, system));
    EXPECT_NE(CString(L"unset"), system);
    EXPECT_EQ(S_OK, SHGetFolderPathDynamic(nullptr, CSIDL_APPDATA, nullptr, 0, path));
    EXPECT_TRUE(DirectoryExists(path)) << path.GetString();
}

TEST(DirChanger, ChangesBackAndForgetsFailures)
{
    const CString start = CurrentDir();
    const CString dir = FreshDir(L"common-dirchanger");
    {
        CDirChanger changer;
        EXPECT_FALSE(changer.ChangeTo(nullptr));
        EXPECT_FALSE(changer.ChangeTo(JoinPath(dir, L"missing")));
        EXPECT_EQ(start, CurrentDir());
        ASSERT_TRUE(changer.ChangeTo(dir));
        EXPECT_EQ(0, CurrentDir().CompareNoCase(dir));
        ASSERT_TRUE(changer.ChangeTo(L"C:\\"));
    }
    EXPECT_EQ(start, CurrentDir()) << "back to where the first change started";
    EXPECT_TRUE(DirectoryExists(dir));
    EXPECT_FALSE(DirectoryExists(JoinPath(dir, L"missing")));
    EXPECT_FALSE(DirectoryExists(nullptr));
    EXPECT_EQ(start, CurrentDir());
}

TEST(FolderWalks, SizeListingAndFindRecords)
{
    const CString start = CurrentDir();
    const CString dir = FreshDir(L"common-walk");
    MakeTree(dir);
    EXPECT_EQ(150u, GetFolderSize(dir));
    EXPECT_EQ(0u, GetFolderSize(JoinPath(dir, L"missing")));
    EXPECT_EQ(start, CurrentDir());

    CStringArray files, folders;
    CDWordArray sizes;
    CArray<LONGLONG, LONGLONG> times;
    const LONGLONG now = static_cast<LONGLONG>(time(nullptr));
    ASSERT_TRUE(ListFolderEntries(dir, L"*.wav; *.mp3", &files, &folders, &sizes, &times, nullptr));
    ASSERT_EQ(2, files.GetSize());
    ASSERT_EQ(2, sizes.GetSize());
    ASSERT_EQ(2, times.GetSize());
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(files.GetAt(i) == L"a.wav" ? 10u : 20u, sizes.GetAt(i)) << "lists stay aligned";
        EXPECT_LE(std::abs(times.GetAt(i) - now), 120) << "seconds since 1970";
    }
    ASSERT_EQ(1, folders.GetSize());
    EXPECT_EQ(CString(L"sub"), folders.GetAt(0));
    EXPECT_EQ(start, CurrentDir());

    // Only some outputs; relative folder names resolve against the current one.
    {
        CDirChanger changer;
        ASSERT_TRUE(changer.ChangeTo(dir));
        CStringArray onlyFiles;
        EXPECT_TRUE(ListFolderEntries(L"sub", L"*.*", &onlyFiles, nullptr, nullptr, nullptr, nullptr));
        ASSERT_EQ(1, onlyFiles.GetSize());
        EXPECT_EQ(CString(L"d.wav"), onlyFiles.GetAt(0));
        EXPECT_EQ(0, CurrentDir().CompareNoCase(dir));
    }

    files.Add(L"stale");
    EXPECT_FALSE(ListFolderEntries(JoinPath(dir, L"missing"), L"*", &files, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(0, files.GetSize()) << "outputs are emptied first";

    std::atomic<bool> cancel(true);
    EXPECT_TRUE(ListFolderEntries(dir, L"*", &files, &folders, nullptr, nullptr, &cancel));
    EXPECT_EQ(0, files.GetSize() + folders.GetSize());

    CFindDataArray found;
    ASSERT_TRUE(found.Fill(dir));
    EXPECT_EQ(6, found.GetCount()) << "three files, sub, \".\" and \"..\"";
    CFindDataArray masked;
    ASSERT_TRUE(masked.Fill(dir, L"*.txt"));
    ASSERT_EQ(1, masked.GetCount());
    EXPECT_STREQ(L"c.txt", masked.GetAt(0).cFileName);
    EXPECT_FALSE(masked.Fill(nullptr));
    EXPECT_FALSE(masked.Fill(JoinPath(dir, L"missing")));
    EXPECT_EQ(start, CurrentDir());
}

TEST(FolderWalks, DeleteFolderTree)
{
    const CString start = CurrentDir();
    const CString dir = FreshDir(L"common-delete");
    const CString tree = JoinPath(dir, L"tree");
    ASSERT_TRUE(CreateDirectoryW(tree, nullptr));
    MakeTree(tree);
    WriteBytes(JoinPath(dir, L"beside.txt"), 5);

    EXPECT_FALSE(DeleteFolderTree(JoinPath(dir, L"missing")));
    EXPECT_FALSE(DeleteFolderTree(nullptr));
    EXPECT_TRUE(DeleteFolderTree(tree));
    EXPECT_FALSE(DirectoryExists(tree));
    EXPECT_TRUE(FileExists(JoinPath(dir, L"beside.txt")));
    EXPECT_EQ(start, CurrentDir());

    // A file that can't be deleted stays, and so does its folder.
    ASSERT_TRUE(CreateDirectoryW(tree, nullptr));
    MakeTree(tree);
    const CString locked = JoinPath(tree, L"sub\\d.wav");
    HANDLE h = CreateFileW(locked, GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    EXPECT_FALSE(DeleteFolderTree(tree));
    CloseHandle(h);
    EXPECT_TRUE(FileExists(locked));
    EXPECT_FALSE(FileExists(JoinPath(tree, L"a.wav")));
    EXPECT_FALSE(DirectoryExists(JoinPath(tree, L"sub\\deeper")));
    EXPECT_TRUE(DeleteFolderTree(tree));
}

TEST(FolderWalks, LinkedFoldersAreNotEntered)
{
    const CString dir = FreshDir(L"common-links");
    const CString target = JoinPath(dir, L"target");
    const CString tree = JoinPath(dir, L"tree");
    ASSERT_TRUE(CreateDirectoryW(target, nullptr));
    ASSERT_TRUE(CreateDirectoryW(tree, nullptr));
    WriteBytes(JoinPath(target, L"precious.txt"), 1000);
    WriteBytes(JoinPath(tree, L"own.txt"), 7);
    if (!MakeLink(JoinPath(tree, L"link"), target))
        GTEST_SKIP() << "this system cannot make a linked folder";

    EXPECT_EQ(7u, GetFolderSize(tree));
    EXPECT_TRUE(DeleteFolderTree(tree));
    EXPECT_FALSE(DirectoryExists(tree));
    EXPECT_TRUE(FileExists(JoinPath(target, L"precious.txt"))) << "the link's target is untouched";

    // A linked folder handed over itself is unlinked, not emptied.
    ASSERT_TRUE(MakeLink(JoinPath(dir, L"link2"), target));
    EXPECT_TRUE(DeleteFolderTree(JoinPath(dir, L"link2")));
    EXPECT_TRUE(FileExists(JoinPath(target, L"precious.txt")));
}

TEST(Pickers, NullFilterAndCancelledDialogs)
{
    EXPECT_TRUE(BrowseForFile(nullptr, true, nullptr, nullptr).IsEmpty());

    wintest::CDialogCloser cancel(false);
    EXPECT_TRUE(BrowseForFile(L"Text files|*.txt|All files|*.*|", true, nullptr, L"txt").IsEmpty());
    EXPECT_TRUE(BrowseForFile(L"Text files|*.txt|", false, nullptr, L"txt").IsEmpty());
}

} // namespace
