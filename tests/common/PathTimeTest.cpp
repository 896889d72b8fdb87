// Path splitting and joining, the program's folders, time texts and
// file-name masks.
#include <gtest/gtest.h>

#include "common/AppFolder.h"
#include "common/PathUtils.h"
#include "common/TimeUtils.h"
#include "common/Wildcard.h"

namespace {

TEST(Paths, Splitting)
{
    // path, folder, name with extension, name without, extension
    const struct
    {
        LPCWSTR path, folder, name, bare, ext;
    } rows[] = {
        {L"C:\\Music\\song.mp3", L"C:\\Music\\", L"song.mp3", L"song", L"mp3"},
        // The extension is the last dot of the file name, never of a folder.
        {L"C:\\v1.2\\readme", L"C:\\v1.2\\", L"readme", L"readme", L""},
        {L"a.tar.gz", L"", L"a.tar.gz", L"a.tar", L"gz"},
        {L"name.", L"", L"name.", L"name", L""},
        {L"C:file.txt", L"C:", L"file.txt", L"file", L"txt"},
        {L"\\\\server\\share\\x.wav", L"\\\\server\\share\\", L"x.wav", L"x", L"wav"},
        {L"C:\\Music\\", L"C:\\Music\\", L"", L"", L""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.path);
        EXPECT_STREQ(r.folder, GetDirectoryOfPath(r.path));
        EXPECT_STREQ(r.name, GetFileNameOfPath(r.path, true));
        EXPECT_STREQ(r.bare, GetFileNameOfPath(r.path, false));
        EXPECT_STREQ(r.ext, GetFileExtension(r.path));
    }
    EXPECT_STREQ(L"", GetDirectoryOfPath(nullptr));

    // Longer than the C run time's fixed buffers: still split whole.
    CString deep = L"C:";
    for (int i = 0; i < 40; ++i)
        deep += L"\\folder_with_a_long_name";
    EXPECT_EQ(deep + L"\\", GetDirectoryOfPath(deep + L"\\x.wav"));
}

TEST(Paths, JoiningNeverDoublesABackslash)
{
    const LPCWSTR rows[][3] = {{L"C:\\a", L"b.txt", L"C:\\a\\b.txt"},
                               {L"C:\\a\\", L"b.txt", L"C:\\a\\b.txt"},
                               {L"C:\\a\\", L"\\b.txt", L"C:\\a\\b.txt"},
                               {L"C:\\a/", L"b.txt", L"C:\\a/b.txt"},
                               {L"", L"b.txt", L"b.txt"},
                               {L"C:\\a", L"", L"C:\\a\\"}};
    for (const auto& r : rows)
        EXPECT_STREQ(r[2], JoinPath(r[0], r[1])) << r[0] << " + " << r[1];
}

TEST(Paths, TheProgramsFolders)
{
    const CString file = GetModuleFilePath();
    EXPECT_EQ(CString(L"test_common.exe"), GetFileNameOfPath(file).MakeLower());
    const CString dir = GetModuleDirectory();
    EXPECT_EQ(file, dir + GetFileNameOfPath(file)) << "the folder ends with its backslash";
    EXPECT_EQ(dir, GetAppFolder());
    EXPECT_EQ(dir + L"AuxFiles", GetAuxFolder());
}

TEST(TimeTexts, PositionsDurationsMonthsAndComparison)
{
    const struct
    {
        long long time;
        LPCWSTR text;
    } positions[] = {{61234567, L"01:01.234"},
                     {-1500000, L"-00:01.500"},
                     {6000000000LL, L"100:00.000"},
                     {59999999, L"00:59.999"},
                     {LLONG_MIN, L"-153722867280:54.775"}}, // no positive counterpart
        durations[] = {{1000, L"1 sec"}, {60001, L"1 min 1 ms"}, {3723004, L"1 hour 2 min 3 sec 4 ms"},
                       {0, L"0 ms"},     {-5, L"-5 ms"},         {25LL * 3600000, L"25 hour"}};
    for (const auto& p : positions)
        EXPECT_STREQ(p.text, FormatTimeMinSecMs(p.time));
    for (const auto& d : durations)
        EXPECT_STREQ(d.text, FormatDurationMs(d.time));
    EXPECT_STREQ(L"2 min 5 sec", FormatDurationSec(125));

    EXPECT_STREQ(L"December", GetMonthName(11));
    EXPECT_TRUE(GetMonthName(12).IsEmpty());
    EXPECT_TRUE(GetMonthName(-1).IsEmpty());
    EXPECT_EQ(0, CompareText(L"Song.MP3", L"song.mp3"));
    EXPECT_LT(CompareText(L"a", L"B"), 0);
    EXPECT_GT(CompareText(L"b", L"A"), 0);
}

TEST(Masks, WildcardsAndMaskLists)
{
    const struct
    {
        LPCWSTR text, pattern;
        bool match;
    } rows[] = {
        {L"song.mcp", L"*.mcp", true},
        {L"SONG.MCP", L"*.mcp", true},
        {L"song.mp3", L"*.mcp", false},
        {L"song.mcpx", L"*.mcp", true}, // matching ends with the pattern
        {L"abc", L"a?c", true},
        {L"ab", L"ab*", true},
        {L"ab", L"ab?", false}, // '?' needs one
        {L"abxyzc", L"a*?c", true},
        {L"ac", L"a*?c", true},   // '*?' counts as one '*'
        {L"aaab", L"*aab", true}, // backtracks past a false start
        {L"", L"*", false},
        {L"a", L"", false},
        {nullptr, L"*", false},
        {L"a", nullptr, false},
    };
    for (const auto& r : rows)
        EXPECT_EQ(r.match, WildcardMatch(r.text, r.pattern)) << r.text << " ~ " << r.pattern;
    // A hostile pattern stays fast.
    EXPECT_FALSE(WildcardMatch(CString(L'a', 2000), L"*a*a*a*a*a*a*a*a*a*b"));

    EXPECT_TRUE(MatchMaskList(L"A.WAV", L"*.wav; *.mp3"));
    EXPECT_TRUE(MatchMaskList(L"x.mp3.bak", L"*.wav; *.mp3"));
    EXPECT_FALSE(MatchMaskList(L"x.ogg", L"*.wav; *.mp3"));
    EXPECT_TRUE(MatchMaskList(L"x.ogg", L"*.wav,,*.ogg"));
    EXPECT_FALSE(MatchMaskList(L"x.ogg", L" ; , "));
    EXPECT_FALSE(MatchMaskList(L"x.ogg", nullptr));
}

} // namespace
