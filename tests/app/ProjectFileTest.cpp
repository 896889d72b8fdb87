// Project files: their place and name, what they hold (a comment's special
// characters escaped), and that a damaged or unwritable one never costs the
// user the file as it was.
#include <gtest/gtest.h>

#include <string>

#include "common/FileUtils.h"
#include "common/FolderWalk.h"
#include "common/PathUtils.h"
#include "app/AuxFiles.h"
#include "app/FragmentDisplay.h"
#include "app/ProjectFile.h"
#include "tests/app/ViewTestKit.h"
#include "tests/support/TestSupport.h"

namespace {

std::string ReadText(const std::wstring& path)
{
    const std::vector<uint8_t> b = testsupport::ReadFileBytes(path);
    std::string text; // UTF-16LE after the mark; the keys are ASCII
    for (size_t i = 2; i + 1 < b.size(); i += 2)
        text += static_cast<char>(b[i]);
    return text;
}

const wchar_t kSaveLoopVariable[] = L"RAVELIN_SAVE_LOOP";
const int kLargeCount = 400;

struct SDocument
{
    explicit SDocument(const std::wstring& audio)
        : time(viewtest::MakeModel(audio)), fragments(new CFragmentDisplay(time))
    {
    }
    ~SDocument() { time->Clear(); }
    CIPtr<ITimeContainer> time;
    CIPtr<CFragmentDisplay> fragments;
};

TEST(ProjectFile, NamedByTheAudioFilesNameAndSizeBesideTheProgram)
{
    const std::wstring audio = viewtest::SilentWav(1000);
    const CString path = MakeAuxFilePath(audio.c_str(), L"mcfi");
    CString want;
    want.Format(L"%sAuxFiles\\%s_%d.mcfi", static_cast<LPCWSTR>(GetModuleDirectory()),
                static_cast<LPCWSTR>(GetFileNameOfPath(audio.c_str(), true)),
                static_cast<int>(GetFileSizeByName(audio.c_str())));
    EXPECT_EQ(want, path);
    EXPECT_TRUE(DirectoryExists(GetAuxFolder()));
    // A copy under another name has a project file of its own.
    const std::wstring copy = testsupport::ScratchDir(L"project_copy") + L"\\other.wav";
    ASSERT_TRUE(CopyFileW(audio.c_str(), copy.c_str(), FALSE));
    EXPECT_NE(path, MakeAuxFilePath(copy.c_str(), L"mcfi"));
    EXPECT_TRUE(MakeAuxFilePath(nullptr, L"mcfi").IsEmpty());
    EXPECT_TRUE(MakeAuxFilePath(audio.c_str(), nullptr).IsEmpty());

    // A long name is cut so that the project and its ".tmp" and ".bak"
    // stay within MAX_PATH; its hash keeps names with one beginning apart,
    // and the same name in other letter case is the same file.
    const std::wstring dir = testsupport::ScratchDir(L"project_long");
    const std::wstring longName = dir + L"\\" + std::wstring(200, L'n') + L" \u65e5\u672c";
    const CString a = MakeAuxFilePath((longName + L"a.wav").c_str(), L"mcfi");
    const CString b = MakeAuxFilePath((longName + L"b.wav").c_str(), L"mcfi");
    std::wstring upper = longName + L"A.WAV";
    EXPECT_LE(a.GetLength(), MAX_PATH - 5);
    EXPECT_EQ(0, a.Find(GetAuxFolder() + L"\\nnnnnnnnnnnnnnnn")) << static_cast<LPCWSTR>(a);
    EXPECT_EQ(a.GetLength() - 7, a.Find(L"_0.mcfi"));
    EXPECT_NE(a, b);
    // Where the cut falls depends on the program's folder; the file system
    // takes both spellings for one file.
    EXPECT_EQ(0, a.CompareNoCase(MakeAuxFilePath(upper.c_str(), L"mcfi"))) << static_cast<LPCWSTR>(a);
    SDocument doc(audio);
    doc.fragments->AddFragment(0, 500000, nullptr);
    ASSERT_TRUE(SaveProjectFile(a, doc.fragments, doc.time));
    SDocument back(audio);
    ASSERT_TRUE(LoadProjectFile(a, back.fragments, back.time));
    EXPECT_EQ(1, back.fragments->GetCount());
    EXPECT_TRUE(DeleteFileW(a));
}

TEST(ProjectFile, HoldsTheFragmentsAndTheViewAndGivesThemBack)
{
    const std::wstring audio = viewtest::SilentWav(10000);
    const std::wstring path = testsupport::ScratchDir(L"project_round") + L"\\a.mcfi";
    {
        SDocument doc(audio);
        doc.fragments->AddFragment(1500000, 4000000, L"intro {bar 1|2} $5");
        doc.fragments->SetActiveIndex(0);
        doc.fragments->SetActiveTempo(0.8f);
        doc.fragments->ToggleActiveLoop();
        doc.fragments->SetActivePreDelay(2);
        doc.time->SetScale(2000);
        doc.time->SetPosition(1234567);
        ASSERT_TRUE(SaveProjectFile(path.c_str(), doc.fragments, doc.time));
    }
    EXPECT_EQ(
        "Viririziru_Root\r\n{\r\nSelections\r\n{\r\nSelCount:|1|\r\nSel0\r\n{\r\n"
        "StartTime:|1500000|\r\nEndTime:|4000000|\r\nTempo:|0.800000|\r\nLooped:|1|\r\n"
        "Comment:|intro $7bbar 1$7c2$7d $245|\r\nPreDelaySec:|2|\r\n}\r\n}\r\nSettings\r\n{\r\nScrollPos:|1234567|\r\n"
        "Zoom:|2000|\r\n}\r\n}\r\n",
        ReadText(path));

    SDocument back(audio);
    ASSERT_TRUE(LoadProjectFile(path.c_str(), back.fragments, back.time));
    SFragmentInfo f;
    ASSERT_EQ(1, back.fragments->GetCount());
    ASSERT_TRUE(back.fragments->GetAt(0, f));
    EXPECT_EQ((std::vector<LONGLONG>{1500000, 4000000, 1, 2, 2000, 1234567}),
              (std::vector<LONGLONG>{f.StartTime, f.EndTime, f.Looped, f.PreDelaySec, back.time->GetScale(),
                                     back.time->GetPosition()}));
    EXPECT_EQ(0.8f, f.Tempo);
    EXPECT_EQ(CString(L"intro {bar 1|2} $5"), f.Comment);
    EXPECT_FALSE(back.fragments->HasActive()) << "nothing is active after a load";

    // Without "Settings" the fragments load and the view stays; a negative
    // position is not taken.
    const char settings[] = "Viririziru_Root\r\n{\r\nSettings\r\n{\r\nScrollPos:|-5|\r\nZoom:|3|\r\n}\r\n}\r\n";
    ASSERT_TRUE(testsupport::WriteFileBytes(path, settings, sizeof settings - 1));
    ASSERT_TRUE(LoadProjectFile(path.c_str(), back.fragments, back.time));
    EXPECT_EQ(1234567, back.time->GetPosition());
    EXPECT_EQ(10, back.time->GetScale()) << "a zoom below 10 becomes 10";

    // Nor a position beyond the end of the file; a zoom beyond the widest
    // becomes the widest.
    const char distant[] = "Viririziru_Root\r\n{\r\nSettings\r\n{\r\nScrollPos:|9223372036854775807|\r\n"
                           "Zoom:|9223372036854775807|\r\n}\r\n}\r\n";
    ASSERT_TRUE(testsupport::WriteFileBytes(path, distant, sizeof distant - 1));
    ASSERT_TRUE(LoadProjectFile(path.c_str(), back.fragments, back.time));
    EXPECT_EQ(1234567, back.time->GetPosition());
    EXPECT_EQ(kMaxScale, back.time->GetScale());
}

TEST(ProjectFile, ADamagedFileIsKeptAsideAndAFailedSaveKeepsTheOldFile)
{
    const std::wstring audio = viewtest::SilentWav(10000);
    const std::wstring dir = testsupport::ScratchDir(L"project_damaged");
    const std::wstring path = dir + L"\\a.mcfi";
    SDocument doc(audio);
    doc.fragments->AddFragment(0, 1000000, nullptr);

    const char damaged[] = "Viririziru_Root\r\n{\r\nSelections\r\n{\r\nSelCount:|1|";
    ASSERT_TRUE(testsupport::WriteFileBytes(path, damaged, sizeof damaged - 1));
    EXPECT_FALSE(LoadProjectFile(path.c_str(), doc.fragments, doc.time));
    EXPECT_EQ(1, doc.fragments->GetCount()) << "a file that did not load changes nothing";
    EXPECT_FALSE(FileExists(path.c_str()));
    EXPECT_EQ(sizeof damaged - 1, testsupport::ReadFileBytes(path + L".bak").size());
    // No file at all is the plain case of a new audio file.
    EXPECT_FALSE(LoadProjectFile(path.c_str(), doc.fragments, doc.time));

    // A file that loads with a fragment left out stays, and a copy of it is
    // kept: the next save would lose that fragment.
    const char partly[] = "Viririziru_Root\r\n{\r\nSelections\r\n{\r\nSelCount:|2|\r\n"
                          "Sel0\r\n{\r\nStartTime:|0|\r\nEndTime:|1000000|\r\nTempo:|1.0|\r\n}\r\n"
                          "Sel1\r\n{\r\nStartTime:|0|\r\nEndTime:|1000000|\r\nTempo:|nan|\r\n}\r\n}\r\n}\r\n";
    const std::vector<uint8_t> partlyBytes(partly, partly + sizeof partly - 1);
    ASSERT_TRUE(testsupport::WriteFileBytes(path, partly, sizeof partly - 1));
    ASSERT_TRUE(DeleteFileW((path + L".bak").c_str()));
    {
        SDocument other(audio);
        EXPECT_TRUE(LoadProjectFile(path.c_str(), other.fragments, other.time));
        EXPECT_EQ(1, other.fragments->GetCount());
    }
    EXPECT_EQ(partlyBytes, testsupport::ReadFileBytes(path));
    EXPECT_EQ(partlyBytes, testsupport::ReadFileBytes(path + L".bak"));
    ASSERT_TRUE(DeleteFileW(path.c_str()));

    ASSERT_TRUE(SaveProjectFile(path.c_str(), doc.fragments, doc.time));
    const std::vector<uint8_t> before = testsupport::ReadFileBytes(path);
    doc.fragments->AddFragment(2000000, 3000000, nullptr);
    {
        // Held open without sharing: the save cannot replace it.
        HANDLE held = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, held);
        EXPECT_FALSE(SaveProjectFile(path.c_str(), doc.fragments, doc.time));
        CloseHandle(held);
    }
    EXPECT_EQ(before, testsupport::ReadFileBytes(path));
    EXPECT_FALSE(SaveProjectFile((dir + L"\\missing\\a.mcfi").c_str(), doc.fragments, doc.time));

    // When no copy can be kept aside (a folder holds its name), the file
    // stays where it is and the caller learns that it must not save over it.
    ASSERT_TRUE(DeleteFileW((path + L".bak").c_str()));
    ASSERT_TRUE(CreateDirectoryW((path + L".bak").c_str(), nullptr));
    bool mustNotSave = false;
    ASSERT_TRUE(testsupport::WriteFileBytes(path, damaged, sizeof damaged - 1));
    EXPECT_FALSE(LoadProjectFile(path.c_str(), doc.fragments, doc.time, &mustNotSave));
    EXPECT_TRUE(mustNotSave);
    EXPECT_EQ(sizeof damaged - 1, testsupport::ReadFileBytes(path).size());
    ASSERT_TRUE(testsupport::WriteFileBytes(path, partly, sizeof partly - 1));
    {
        SDocument other(audio);
        mustNotSave = false;
        EXPECT_TRUE(LoadProjectFile(path.c_str(), other.fragments, other.time, &mustNotSave));
        EXPECT_TRUE(mustNotSave);
    }
    EXPECT_TRUE(LoadProjectFile(path.c_str(), doc.fragments, doc.time)) << "the flag is optional";
    ASSERT_TRUE(DeleteFileW(path.c_str()));
    ASSERT_TRUE(SaveProjectFile(path.c_str(), doc.fragments, doc.time));
    EXPECT_TRUE(LoadProjectFile(path.c_str(), doc.fragments, doc.time, &mustNotSave));
    EXPECT_FALSE(mustNotSave) << "a whole file needs no copy";
    ::RemoveDirectoryW((path + L".bak").c_str());
}

// The child of the case below: saves a small and a large project in turn
// until it is killed.
TEST(ProjectFile, SavesOverAndOverUntilKilled)
{
    wchar_t target[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(kSaveLoopVariable, target, MAX_PATH))
        GTEST_SKIP() << "runs only as the child that is killed";
    const std::wstring audio = viewtest::SilentWav(10000);
    SDocument small(audio), large(audio);
    small.fragments->AddFragment(0, 1000000, L"small");
    for (int i = 0; i < kLargeCount; ++i)
        large.fragments->AddFragment(i * 1000, i * 1000 + 500, L"a comment long enough to take a while to write");
    for (;;) {
        (void)SaveProjectFile(target, small.fragments, small.time);
        (void)SaveProjectFile(target, large.fragments, large.time);
    }
}

TEST(ProjectFile, AKilledSaveLeavesTheOldOrTheNewFileWhole)
{
    const std::wstring path = testsupport::ScratchDir(L"project_killed") + L"\\a.mcfi";
    const std::wstring audio = viewtest::SilentWav(10000);
    wchar_t self[MAX_PATH] = {};
    ASSERT_TRUE(GetModuleFileNameW(nullptr, self, MAX_PATH));
    SetEnvironmentVariableW(kSaveLoopVariable, path.c_str());
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE nul = CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr);
    for (DWORD round = 0; round < 4; ++round) {
        std::wstring line = L"\"" + std::wstring(self) + L"\" --gtest_filter=ProjectFile.SavesOverAndOverUntilKilled";
        STARTUPINFOW si = {};
        si.cb = sizeof si;
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = si.hStdError = nul;
        PROCESS_INFORMATION child = {};
        ASSERT_TRUE(CreateProcessW(nullptr, &line[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &child));
        // Killed at a different moment of the loop each round, once it saves.
        const DWORD start = GetTickCount();
        while (!FileExists(path.c_str()) && GetTickCount() - start < 20000)
            Sleep(5);
        Sleep(40 + round * 70);
        TerminateProcess(child.hProcess, 9);
        WaitForSingleObject(child.hProcess, 10000);
        CloseHandle(child.hThread);
        CloseHandle(child.hProcess);

        SDocument doc(audio);
        ASSERT_TRUE(LoadProjectFile(path.c_str(), doc.fragments, doc.time)) << "round " << round;
        const int count = doc.fragments->GetCount();
        EXPECT_TRUE(count == 1 || count == kLargeCount) << "round " << round << ": " << count << " fragments";
    }
    CloseHandle(nul);
    SetEnvironmentVariableW(kSaveLoopVariable, nullptr);
}

} // namespace
