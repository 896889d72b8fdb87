// Files as users have them, through the real program: names and folders in
// other scripts, a name near MAX_PATH, a wrong or upper-case extension, a
// very low rate, a file shorter than one stretch sequence. One program
// serves every row: each file opens, plays to its end (heard through the
// captured sound device), and closes without a word, its project saved.
// A file that cannot be played is told; a file deleted while open keeps its
// project.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AppTestKit.h"
#include "CaptureKit.h"
#include "DialogAnswerer.h"
#include "app/AppIds.h"
#include "app/AuxFiles.h"
#include "app/MainController.h"
#include "app/MainFrame.h"
#include "app/ViewInterfaces.h"
#include "app/ViririziruPane.h"
#include "common/TextTree.h"
#include "tests/audio/ReaderKit.h"
#include "tests/support/TestSupport.h"
#include "xf/xfFrame.h"
#include "xf/xfMessages.h"

using namespace apptest;
using xftest::CDialogAnswerer;

namespace {

// A WAV of noise (never silent) built byte by byte.
readerkit::Bytes NoiseWav(uint32_t rate, uint16_t channels, size_t frames)
{
    readerkit::Format format;
    format.rate = rate;
    format.channels = channels;
    const readerkit::Bytes data = readerkit::Noise(frames * channels * 2);
    return readerkit::Riff({readerkit::Fmt(format), readerkit::Chunk("data", data)});
}

using HostileFiles = OneProgramTest;

TEST_F(HostileFiles, RealWorldFilesOpenPlayToTheEndAndKeepTheirProject)
{
    const std::wstring dir = testsupport::ScratchDir(L"hostile");
    const std::wstring script = dir + L"\\Caf\u00e9 \u03a9 \u65e5\u672c";
    ::CreateDirectoryW(script.c_str(), nullptr);
    const readerkit::Bytes mono = testsupport::ReadFileBytes(testsupport::TestData(L"tone440_1s_mono.wav"));
    // Beside the scratch folder in the prefix's temporary folder, about 220
    // characters fit below MAX_PATH; the project folder's path comes on top.
    const std::wstring longName = std::wstring(200, L'n') + L" \u65e5\u672c.wav";
    const struct
    {
        std::wstring path;
        readerkit::Bytes bytes;
        LONGLONG frames;
        int align;
    } rows[] = {
        {script + L"\\Caf\u00e9 \u03a9 \u65e5\u672c.wav", mono, 44100, 2},
        {script + L"\\Caf\u00e9 \u03a9 \u65e5\u672c.ogg",
         testsupport::ReadFileBytes(testsupport::TestData(L"tone440_1s_mono.ogg")), 44100, 2},
        {script + L"\\CAF\u00c9 \u03a9 \u65e5\u672c. .MP3",
         testsupport::ReadFileBytes(testsupport::TestData(L"tone440_1s_mono.mp3")), 44100, 2},
        {dir + L"\\a wave named.mp3", mono, 44100, 2},
        {dir + L"\\" + longName, mono, 44100, 2},
        // A block of the output lasts longer than its fill mark.
        {dir + L"\\rate1000.wav", NoiseWav(1000, 1, 1500), 1500, 2},
        // 5 ms: shorter than one stretch sequence.
        {dir + L"\\short.wav", NoiseWav(44100, 2, 220), 220, 4},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.path));
        ASSERT_TRUE(testsupport::WriteFileBytes(row.path, row.bytes.data(), row.bytes.size()));
        const std::wstring project = ProjectOf(row.path);
        ::DeleteFileW(project.c_str());
        ASSERT_TRUE(Open(row.path));
        EXPECT_EQ(row.frames, Pane()->GetReader()->GetFrameCount());

        // Neither a fragment nor a selection: the whole file once.
        auto settled = [] { return captest::SettledSize([](unsigned ms) { PumpFor(ms); }); };
        const uint64_t from = settled();
        Command(ID_CMD_PLAY);
        EXPECT_TRUE(PumpUntil([this] { return !Pane()->IsPlaying(); }, 20000)) << "playback did not end";
        const uint64_t played = settled() - from;
        EXPECT_GE(played, static_cast<uint64_t>(row.frames * row.align));
        EXPECT_LE(played, static_cast<uint64_t>(row.frames * row.align + 65536));

        Pane()->GetFragmentDisplay()->AddFragment(0, Pane()->GetTimeContainer()->GetLength(), L"\u03a9");
        PumpFor(60);
        EXPECT_EQ(std::vector<std::wstring>{}, CloseAll()) << "no message on closing";
        CTextTree tree(L"Viririziru_Root");
        ASSERT_TRUE(tree.LoadTextTree(project.c_str())) << "the project was saved";
        CString comment;
        EXPECT_TRUE(tree.EnterGroup(L"Selections") && tree.EnterGroup(L"Sel0") && tree.GetString(L"Comment", comment));
        EXPECT_EQ(CString(L"\u03a9"), comment);
        ::DeleteFileW(project.c_str());
    }
}

TEST_F(HostileFiles, AFileThatCannotBePlayedIsToldAndStaysOpen)
{
    // 32 channels: more than the time-stretch stage takes.
    const std::wstring path = testsupport::ScratchDir(L"hostile-channels") + L"\\chan32.ogg";
    ASSERT_TRUE(::CopyFileW(testsupport::TestData(L"chan32.ogg").c_str(), path.c_str(), FALSE));
    ASSERT_TRUE(Open(path));
    {
        CDialogAnswerer answerer({{IDOK, L""}}, MainFrame()->GetSafeHwnd());
        Command(ID_CMD_PLAY);
        EXPECT_TRUE(PumpUntil([&answerer] { return !answerer.Seen().empty(); }, 10000));
        PumpFor(100);
        ASSERT_EQ(1u, answerer.Seen().size());
        EXPECT_NE(std::wstring::npos, answerer.Seen()[0].find(L"Could not play the file")) << answerer.Seen()[0];
    }
    EXPECT_FALSE(Pane()->IsPlaying());
    EXPECT_EQ(std::vector<std::wstring>{}, CloseAll());
}

TEST_F(HostileFiles, AFileDeletedWhileOpenKeepsItsProjectName)
{
    // The decoder lets another program delete the file; its size is then
    // unknown, yet the fragments go where reopening a restored copy finds them.
    const std::wstring path = testsupport::ScratchDir(L"hostile-deleted") + L"\\deleted.mp3";
    ASSERT_TRUE(::CopyFileW(testsupport::TestData(L"tone440_1s_mono.mp3").c_str(), path.c_str(), FALSE));
    const std::wstring project = ProjectOf(path);
    ::DeleteFileW(project.c_str());
    ASSERT_TRUE(Open(path));
    Pane()->GetFragmentDisplay()->AddFragment(0, 500000, nullptr);
    if (!::DeleteFileW(path.c_str()))
        GTEST_SKIP() << "the decoder holds the file against deletion";
    EXPECT_EQ(std::vector<std::wstring>{}, CloseAll());
    CTextTree tree(L"Viririziru_Root");
    ASSERT_TRUE(tree.LoadTextTree(project.c_str()));
    int count = 0;
    EXPECT_TRUE(tree.EnterGroup(L"Selections") && tree.GetInt(L"SelCount", count));
    EXPECT_EQ(1, count);
    ::DeleteFileW(project.c_str());
}

} // namespace
