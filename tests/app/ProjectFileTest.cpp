// Project files: their place and name, what they hold, and that a damaged
// or unwritable one never costs the user the file as it was.
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

struct SDocument
{
    explicit SDocument(const std::wstring& audio) : time(viewtest::MakeModel(audio)), fragments(new CFragmentDisplay(time)) {}
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
}

TEST(ProjectFile, HoldsTheFragmentsAndTheViewAndGivesThemBack)
{
    const std::wstring audio = viewtest::SilentWav(10000);
    const std::wstring path = testsupport::ScratchDir(L"project_round") + L"\\a.mcfi";
    {
        SDocument doc(audio);
        doc.fragments->AddFragment(1500000, 4000000, L"intro");
        doc.fragments->SetActiveIndex(0);
        doc.fragments->SetActiveTempo(0.8f);
        doc.fragments->ToggleActiveLoop();
        doc.fragments->SetActivePreDelay(2);
        doc.time->SetScale(2000);
        doc.time->SetPosition(1234567);
        ASSERT_TRUE(SaveProjectFile(path.c_str(), doc.fragments, doc.time));
    }
    EXPECT_EQ("Viririziru_Root\r\n{\r\nSelections\r\n{\r\nSelCount:|1|\r\nSel0\r\n{\r\n"
              "StartTime:|1500000|\r\nEndTime:|4000000|\r\nTempo:|0.800000|\r\nLooped:|1|\r\n"
              "Comment:|intro|\r\nPreDelaySec:|2|\r\n}\r\n}\r\nSettings\r\n{\r\nScrollPos:|1234567|\r\n"
              "Zoom:|2000|\r\n}\r\n}\r\n",
              ReadText(path));

    SDocument back(audio);
    ASSERT_TRUE(LoadProjectFile(path.c_str(), back.fragments, back.time));
    SFragmentInfo f;
    ASSERT_EQ(1, back.fragments->GetCount());
    ASSERT_TRUE(back.fragments->GetAt(0, f));
    EXPECT_EQ(1500000, f.StartTime);
    EXPECT_EQ(4000000, f.EndTime);
    EXPECT_EQ(0.8f, f.Tempo);
    EXPECT_EQ(1, f.Looped);
    EXPECT_EQ(2, f.PreDelaySec);
    EXPECT_EQ(CString(L"intro"), f.Comment);
    EXPECT_EQ(2000, back.time->GetScale());
    EXPECT_EQ(1234567, back.time->GetPosition());

    // Without "Settings" the fragments load and the view stays; a negative
    // position is not taken.
    const char settings[] = "Viririziru_Root\r\n{\r\nSettings\r\n{\r\nScrollPos:|-5|\r\nZoom:|3|\r\n}\r\n}\r\n";
    ASSERT_TRUE(testsupport::WriteFileBytes(path, settings, sizeof settings - 1));
    ASSERT_TRUE(LoadProjectFile(path.c_str(), back.fragments, back.time));
    EXPECT_EQ(1234567, back.time->GetPosition());
    EXPECT_EQ(10, back.time->GetScale()) << "a zoom below 10 becomes 10";
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
}

} // namespace
