// Path splitting and joining, time texts and file-name masks.
#include <gtest/gtest.h>

#include "common/PathUtils.h"
#include "common/TimeUtils.h"
#include "common/Wildcard.h"

namespace {

TEST(Paths, Splitting)
{
    EXPECT_EQ(CString(L"C:\\Music\\"), GetDirectoryOfPath(L"C:\\Music\\song.mp3"));
    EXPECT_EQ(CString(L"b.txt"), GetFileNameOfPath(L"C:\\a\\b.txt", true));
    EXPECT_EQ(CString(L"b"), GetFileNameOfPath(L"C:\\a\\b.txt", false));
    EXPECT_EQ(CString(L"txt"), GetFileExtension(L"C:\\a\\b.txt"));

    // The extension is the last dot of the file name, never of a folder.
    EXPECT_EQ(CString(L""), GetFileExtension(L"C:\\v1.2\\readme"));
    EXPECT_EQ(CString(L"readme"), GetFileNameOfPath(L"C:\\v1.2\\readme", false));
    EXPECT_EQ(CString(L"gz"), GetFileExtension(L"a.tar.gz"));
    EXPECT_EQ(CString(L"a.tar"), GetFileNameOfPath(L"a.tar.gz", false));
    EXPECT_EQ(CString(L""), GetFileExtension(L"name."));
    EXPECT_EQ(CString(L"name."), GetFileNameOfPath(L"name.", true));

    EXPECT_EQ(CString(L"C:"), GetDirectoryOfPath(L"C:file.txt"));
    EXPECT_EQ(CString(L"file.txt"), GetFileNameOfPath(L"C:file.txt"));
    EXPECT_EQ(CString(L"\\\\server\\share\\"), GetDirectoryOfPath(L"\\\\server\\share\\x.wav"));
    EXPECT_EQ(CString(L""), GetDirectoryOfPath(L"x.wav"));
    EXPECT_EQ(CString(L""), GetDirectoryOfPath(nullptr));
    EXPECT_EQ(CString(L""), GetFileNameOfPath(L"C:\\Music\\"));

    // Longer than the C run time's fixed buffers: still split whole.
    CString deep = L"C:";
    for (int i = 0; i < 40; ++i)
        deep += L"\\folder_with_a_long_name";
    EXPECT_EQ(deep + L"\\", GetDirectoryOfPath(deep + L"\\x.wav"));
}

TEST(Paths, JoiningNeverDoublesABackslash)
{
    EXPECT_EQ(CString(L"C:\\a\\b.txt"), JoinPath(L"C:\\a", L"b.txt"));
    EXPECT_EQ(CString(L"C:\\a\\b.txt"), JoinPath(L"C:\\a\\", L"b.txt"));
    EXPECT_EQ(CString(L"C:\\a\\b.txt"), JoinPath(L"C:\\a\\", L"\\b.txt"));
    EXPECT_EQ(CString(L"C:\\a/b.txt"), JoinPath(L"C:\\a/", L"b.txt"));
    EXPECT_EQ(CString(L"b.txt"), JoinPath(L"", L"b.txt"));
    EXPECT_EQ(CString(L"C:\\a\\"), JoinPath(L"C:\\a", L""));
}

TEST(Paths, ModulePath)
{
    const CString file = GetModuleFilePath();
    EXPECT_EQ(CString(L"test_common.exe"), GetFileNameOfPath(file).MakeLower());
    const CString dir = GetModuleDirectory();
    ASSERT_FALSE(dir.IsEmpty());
    EXPECT_EQ(L'\\', dir[dir.GetLength() - 1]);
    EXPECT_EQ(file, dir + GetFileNameOfPath(file));
}

TEST(TimeTexts, MinutesSecondsMilliseconds)
{
    EXPECT_EQ(CString(L"01:01.234"), FormatTimeMinSecMs(61234567));
    EXPECT_EQ(CString(L"-00:01.500"), FormatTimeMinSecMs(-1500000));
    EXPECT_EQ(CString(L"100:00.000"), FormatTimeMinSecMs(6000000000LL));
    EXPECT_EQ(CString(L"00:59.999"), FormatTimeMinSecMs(59999999));
    // The most negative time has no positive counterpart in 64 bits.
    EXPECT_EQ(CString(L"-153722867280:54.775"), FormatTimeMinSecMs(LLONG_MIN));
}

TEST(TimeTexts, Durations)
{
    EXPECT_EQ(CString(L"1 sec"), FormatDurationMs(1000));
    EXPECT_EQ(CString(L"1 min 1 ms"), FormatDurationMs(60001));
    EXPECT_EQ(CString(L"1 hour 2 min 3 sec 4 ms"), FormatDurationMs(3723004));
    EXPECT_EQ(CString(L"0 ms"), FormatDurationMs(0));
    EXPECT_EQ(CString(L"-5 ms"), FormatDurationMs(-5));
    EXPECT_EQ(CString(L"25 hour"), FormatDurationMs(25LL * 3600000));
    EXPECT_EQ(CString(L"2 min 5 sec"), FormatDurationSec(125));
}

TEST(TimeTexts, MonthsAndComparison)
{
    EXPECT_EQ(CString(L"January"), GetMonthName(0));
    EXPECT_EQ(CString(L"December"), GetMonthName(11));
    EXPECT_TRUE(GetMonthName(12).IsEmpty());
    EXPECT_TRUE(GetMonthName(-1).IsEmpty());
    EXPECT_EQ(0, CompareText(L"Song.MP3", L"song.mp3"));
    EXPECT_LT(CompareText(L"a", L"B"), 0);
    EXPECT_GT(CompareText(L"b", L"A"), 0);
}

TEST(Masks, WildcardRulesStand)
{
    EXPECT_TRUE(WildcardMatch(L"song.mcp", L"*.mcp"));
    EXPECT_TRUE(WildcardMatch(L"song.mcpx", L"*.mcp")) << "matching ends with the pattern";
    EXPECT_TRUE(WildcardMatch(L"SONG.MCP", L"*.mcp"));
    EXPECT_FALSE(WildcardMatch(L"song.mp3", L"*.mcp"));
    EXPECT_TRUE(WildcardMatch(L"abc", L"a?c"));
    EXPECT_FALSE(WildcardMatch(L"ab", L"ab?")) << "'?' needs a character";
    EXPECT_TRUE(WildcardMatch(L"ab", L"ab*"));
    EXPECT_TRUE(WildcardMatch(L"abxyzc", L"a*?c")) << "'*?' counts as one '*'";
    EXPECT_TRUE(WildcardMatch(L"ac", L"a*?c"));
    EXPECT_TRUE(WildcardMatch(L"aaab", L"*aab")) << "backtracks past a false start";
    EXPECT_FALSE(WildcardMatch(L"", L"*"));
    EXPECT_FALSE(WildcardMatch(L"a", L""));
    EXPECT_FALSE(WildcardMatch(nullptr, L"*"));
    EXPECT_FALSE(WildcardMatch(L"a", nullptr));

    // A hostile pattern stays fast.
    const CString text(L'a', 2000);
    EXPECT_FALSE(WildcardMatch(text, L"*a*a*a*a*a*a*a*a*a*b"));
}

TEST(Masks, MaskLists)
{
    EXPECT_TRUE(MatchMaskList(L"A.WAV", L"*.wav; *.mp3"));
    EXPECT_TRUE(MatchMaskList(L"x.mp3.bak", L"*.wav; *.mp3"));
    EXPECT_FALSE(MatchMaskList(L"x.ogg", L"*.wav; *.mp3"));
    EXPECT_TRUE(MatchMaskList(L"x.ogg", L"*.wav,,*.ogg"));
    EXPECT_FALSE(MatchMaskList(L"x.ogg", L" ; , "));
    EXPECT_FALSE(MatchMaskList(L"x.ogg", nullptr));
}

} // namespace
