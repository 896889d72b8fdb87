// The text-tree document: building, the exact file form, reading back, and
// hostile files.
#include <gtest/gtest.h>

#include "common/PathUtils.h"
#include "common/TextTree.h"
#include "tests/common/TextTreeTestFiles.h"
#include "tests/support/TestSupport.h"

#include <clocale>
#include <string>
#include <vector>

namespace {

const wchar_t kRoot[] = L"Viririziru_Root";

using texttreetest::Utf16;

class TextTreeTest : public ::testing::Test {
protected:
    void SetUp() override { m_dir = testsupport::ScratchDir(L"common-texttree").c_str(); }

    CString Path(LPCWSTR name) const { return JoinPath(m_dir, name); }

    CString Make(LPCWSTR name, const std::vector<uint8_t>& bytes) const
    {
        const CString path = Path(name);
        EXPECT_TRUE(testsupport::WriteFileBytes(path.GetString(), bytes.data(), bytes.size()));
        return path;
    }

    // Files in the scratch folder, to see that no temporary file stays.
    int FileCount() const
    {
        int n = 0;
        WIN32_FIND_DATAW data;
        HANDLE h = FindFirstFileW(Path(L"*"), &data);
        if (h == INVALID_HANDLE_VALUE)
            return 0;
        do
            n += (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : 1;
        while (FindNextFileW(h, &data));
        FindClose(h);
        return n;
    }

    CString m_dir;
};

// A document with every value type, nested and empty groups.
void Fill(CTextTree& tree)
{
    EXPECT_TRUE(tree.SetInt64(L"size", 123456789012345LL));
    EXPECT_TRUE(tree.SetInt(L"neg", -12));
    EXPECT_TRUE(tree.SetUInt(L"big", 4000000000u));
    EXPECT_TRUE(tree.SetFloat(L"tempo", 0.8f));
    EXPECT_TRUE(tree.SetString(L"comment", L"{a|b}$ \x00e9t\x00e9 \x266b", 0));
    EXPECT_TRUE(tree.SetString(L"secret", L"p\x00e4ss", 1));
    EXPECT_TRUE(tree.BeginGroup(L"Fragments"));
    EXPECT_TRUE(tree.BeginGroup(L"F0"));
    EXPECT_TRUE(tree.SetInt64(L"start", 0));
    EXPECT_TRUE(tree.EndGroup());
    EXPECT_TRUE(tree.BeginGroup(L"Empty"));
    EXPECT_TRUE(tree.EndGroup());
    EXPECT_TRUE(tree.EndGroup());
}

const wchar_t kFilled[] =
    L"Viririziru_Root\r\n{\r\n"
    L"size:|123456789012345|\r\n"
    L"neg:|-12|\r\n"
    L"big:|4000000000|\r\n"
    L"tempo:|0.800000|\r\n"
    L"comment:|$7ba$7cb$7d$24 \x00e9t\x00e9 \x266b|\r\n"
    L"secret:|X8f1b8c8c|\r\n"
    L"Fragments\r\n{\r\nF0\r\n{\r\nstart:|0|\r\n}\r\nEmpty\r\n{\r\n}\r\n}\r\n"
    L"}\r\n";

TEST_F(TextTreeTest, EveryValueTypeWrittenExactlyAndReadBack)
{
    CTextTree tree(kRoot);
    Fill(tree);
    const CString path = Path(L"song.mcfi");
    ASSERT_TRUE(tree.SaveTextTree(path));
    EXPECT_EQ(Utf16(kFilled), testsupport::ReadFileBytes(path.GetString()));

    CTextTree back(kRoot);
    ASSERT_TRUE(back.LoadTextTree(path));
    LONGLONG size = 0;
    int neg = 0;
    UINT big = 0;
    float tempo = 0;
    CString comment, secret;
    EXPECT_TRUE(back.GetInt64(L"size", size));
    EXPECT_EQ(123456789012345LL, size);
    EXPECT_TRUE(back.GetInt(L"neg", neg));
    EXPECT_EQ(-12, neg);
    EXPECT_TRUE(back.GetUInt(L"big", big));
    EXPECT_EQ(4000000000u, big);
    EXPECT_TRUE(back.GetFloat(L"tempo", tempo));
    EXPECT_EQ(0.8f, tempo);
    EXPECT_TRUE(back.GetString(L"comment", comment));
    EXPECT_EQ(CString(L"{a|b}$ \x00e9t\x00e9 \x266b"), comment);
    EXPECT_TRUE(back.GetString(L"secret", secret, 1));
    EXPECT_EQ(CString(L"p\x00e4ss"), secret);
    ASSERT_TRUE(back.EnterGroup(L"Fragments"));
    ASSERT_TRUE(back.EnterGroup(L"F0"));
    LONGLONG start = -1;
    EXPECT_TRUE(back.GetInt64(L"start", start));
    EXPECT_EQ(0, start);
    EXPECT_TRUE(back.EndGroup());
    EXPECT_TRUE(back.EnterGroup(L"Empty"));
    EXPECT_EQ(0, back.GetCurrentGroup()->children.GetSize());

    // Saved again, the document is the same file.
    const CString again = Path(L"again.mcfi");
    ASSERT_TRUE(back.SaveTextTree(again));
    EXPECT_EQ(testsupport::ReadFileBytes(path.GetString()),
              testsupport::ReadFileBytes(again.GetString()));
}

TEST_F(TextTreeTest, WrittenFormOfTheSmallExample)
{
    CTextTree tree(L"R");
    tree.SetString(L"k", L"v{");
    tree.BeginGroup(L"g");
    tree.EndGroup();
    const CString path = Path(L"small.txt");
    ASSERT_TRUE(tree.SaveTextTree(path));
    EXPECT_EQ(Utf16(L"R\r\n{\r\nk:|v$7b|\r\ng\r\n{\r\n}\r\n}\r\n"),
              testsupport::ReadFileBytes(path.GetString()));

    CString text = L">";
    EXPECT_TRUE(tree.ToString(text));
    EXPECT_EQ(CString(L">R\r\n{\r\nk:|v{|\r\ng\r\n{\r\n}\r\n}\r\n"), text) << "no escaping";
}

TEST_F(TextTreeTest, FloatsUseAPointWhateverTheLocale)
{
    const char* previous = setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!setlocale(LC_NUMERIC, "German_Germany.1252") && !setlocale(LC_NUMERIC, "de-DE")
        && !setlocale(LC_NUMERIC, "French"))
        GTEST_SKIP() << "no comma locale here";
    CTextTree tree(kRoot);
    tree.SetFloat(L"tempo", 0.5f);
    tree.SetFloat(L"big", 1234.25f);
    float a = 0, b = 0;
    const bool gotA = tree.GetFloat(L"tempo", a);
    const bool gotB = tree.GetFloat(L"big", b);
    CString text;
    tree.ToString(text);
    setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_NE(-1, text.Find(L"tempo:|0.500000|"));
    EXPECT_NE(-1, text.Find(L"big:|1234.250000|"));
    EXPECT_TRUE(gotA && gotB);
    EXPECT_EQ(0.5f, a);
    EXPECT_EQ(1234.25f, b);
}

TEST_F(TextTreeTest, GettersRefuseIllFormedValues)
{
    CTextTree tree(kRoot);
    ASSERT_TRUE(tree.Parse(L"Viririziru_Root{ neg:|-12| half:|0.5| exp:|1e3| empty:|| "
                           L"two:|1| two:|2| bad:|12a| scr:|Xzz0| }"));
    int i = 7;
    LONGLONG l = 7;
    float f = 7;
    CString s = L"kept";
    EXPECT_TRUE(tree.GetInt(L"neg", i));
    EXPECT_EQ(-12, i);
    EXPECT_TRUE(tree.GetInt64(L"neg", l));
    EXPECT_EQ(-12, l);
    EXPECT_TRUE(tree.GetFloat(L"half", f));
    EXPECT_EQ(0.5f, f);
    f = 7;
    EXPECT_FALSE(tree.GetFloat(L"exp", f));
    EXPECT_FALSE(tree.GetInt(L"empty", i));
    EXPECT_FALSE(tree.GetInt(L"bad", i));
    EXPECT_FALSE(tree.GetInt(L"missing", i));
    EXPECT_FALSE(tree.GetString(L"missing", s));
    EXPECT_EQ(7.0f, f);
    EXPECT_EQ(-12, i);
    EXPECT_EQ(CString(L"kept"), s);
    EXPECT_TRUE(tree.GetInt(L"two", i));
    EXPECT_EQ(1, i) << "the first of two equal names";
    EXPECT_FALSE(tree.GetString(L"scr", s, 1));

    CStringArray names;
    tree.ListLeafNames(names);
    EXPECT_EQ(8, names.GetSize());
    EXPECT_FALSE(tree.SetInt(L"", 1));
    EXPECT_FALSE(tree.SetInt(nullptr, 1));
    EXPECT_FALSE(tree.SetString(L"x", nullptr));
}

TEST_F(TextTreeTest, ParsingTolerance)
{
    CTextTree tree(kRoot);
    ASSERT_TRUE(tree.Parse(L"  Viririziru_Root\r\n\t{\r\nSome Key:|v|\r\nk2:|$7ba$zzb$|\r\n}"));
    CString v;
    EXPECT_TRUE(tree.GetString(L"SomeKey", v));
    EXPECT_EQ(CString(L"v"), v);
    EXPECT_TRUE(tree.GetString(L"k2", v));
    EXPECT_EQ(CString(L"{a$b$"), v) << "a bad escape keeps the dollar; one at the end stays";

    // A closing brace inside a value ends the group; the leaf is dropped.
    ASSERT_TRUE(tree.Parse(L"Viririziru_Root{k:|v|x:|abc}"));
    EXPECT_TRUE(tree.GetString(L"k", v));
    EXPECT_FALSE(tree.GetString(L"x", v));

    // Parsing again starts from the root: entered groups are left.
    ASSERT_TRUE(tree.Parse(L"Viririziru_Root{g{a:|1|}}"));
    ASSERT_TRUE(tree.EnterGroup(L"g"));
    ASSERT_TRUE(tree.Parse(L"Viririziru_Root{b:|2|}"));
    EXPECT_EQ(&tree.GetRoot(), tree.GetCurrentGroup());
    EXPECT_TRUE(tree.GetString(L"b", v));
}

TEST_F(TextTreeTest, HostileTextsGiveFalseAndKeepWhatParsed)
{
    CTextTree tree(kRoot);
    CString v;
    EXPECT_FALSE(tree.Parse(nullptr));
    EXPECT_FALSE(tree.Parse(L""));
    EXPECT_FALSE(tree.Parse(L"k:|v|")) << "no root group";
    EXPECT_FALSE(tree.Parse(L"{k:|v|}")) << "a group without a name";
    EXPECT_FALSE(tree.Parse(L"Viririziru_Root{:|v|}")) << "a value without a key";
    EXPECT_FALSE(tree.Parse(L"}"));

    EXPECT_FALSE(tree.Parse(L"Other_Root\r\n{\r\nk:|v|\r\n}\r\n")) << "another document's root";
    ASSERT_TRUE(tree.EnterGroup(L"Other_Root"));
    EXPECT_TRUE(tree.GetString(L"k", v));
    tree.EndGroup();

    EXPECT_FALSE(tree.Parse(L"Viririziru_Root\r\n{\r\nk:|v|\r\nbad:|unterminated")) << "truncated";
    EXPECT_TRUE(tree.GetString(L"k", v));
    EXPECT_FALSE(tree.GetString(L"bad", v));

    std::wstring deep = L"Viririziru_Root{";
    for (int i = 0; i < 100000; ++i)
        deep += L"g{";
    EXPECT_FALSE(tree.Parse(deep.c_str())) << "deep nesting";

    std::wstring huge = L"Viririziru_Root{k:|" + std::wstring(3 << 20, L'x') + L"|}";
    EXPECT_FALSE(tree.Parse(huge.c_str())) << "huge value";
    std::wstring longName = L"Viririziru_Root{" + std::wstring(5000, L'n') + L":|v|}";
    EXPECT_FALSE(tree.Parse(longName.c_str())) << "huge name";
}

TEST_F(TextTreeTest, HostileFiles)
{
    CTextTree tree(kRoot);
    CString v;
    EXPECT_FALSE(tree.LoadTextTree(Path(L"missing.mcfi")));
    EXPECT_FALSE(tree.LoadTextTree(nullptr));
    EXPECT_FALSE(tree.LoadTextTree(Make(L"empty.mcfi", {})));
    EXPECT_FALSE(tree.LoadTextTree(Make(L"mark.mcfi", {0xFF, 0xFE})));
    EXPECT_FALSE(tree.LoadTextTree(Make(L"one.mcfi", {0xFF})));

    // Odd length: the complete part is parsed, the file refused.
    std::vector<uint8_t> odd = Utf16(L"Viririziru_Root\r\n{\r\nk:|v|\r\n}\r\n");
    odd.push_back('Z');
    EXPECT_FALSE(tree.LoadTextTree(Make(L"odd.mcfi", odd)));
    EXPECT_TRUE(tree.GetString(L"k", v));

    // A zero code unit ends the text.
    std::vector<uint8_t> zero = Utf16(std::wstring(L"Viririziru_Root{k:|v", 20) + L'\0' + L"|}");
    EXPECT_FALSE(tree.LoadTextTree(Make(L"zero.mcfi", zero)));

    // Random bytes with and without a mark: no crash, no success.
    std::vector<uint8_t> noise(5000);
    uint32_t seed = 12345;
    for (auto& b : noise) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<uint8_t>(seed >> 16);
    }
    EXPECT_FALSE(tree.LoadTextTree(Make(L"noise.mcfi", noise)));
    noise[0] = 0xFF;
    noise[1] = 0xFE;
    EXPECT_FALSE(tree.LoadTextTree(Make(L"noise2.mcfi", noise)));
}

TEST_F(TextTreeTest, AnsiFilesAreReadThroughTheCodePage)
{
    const std::string bytes = "Viririziru_Root\r\n{\r\nname:|caf\xe9 \x80|\r\n}\r\n";
    CTextTree tree(kRoot);
    ASSERT_TRUE(tree.LoadTextTree(Make(L"ansi.mcfi", std::vector<uint8_t>(bytes.begin(), bytes.end()))));
    wchar_t expected[16] = {};
    ASSERT_EQ(6, MultiByteToWideChar(CP_ACP, 0, "caf\xe9 \x80", 6, expected, 16));
    CString v;
    EXPECT_TRUE(tree.GetString(L"name", v));
    EXPECT_EQ(CString(expected), v);
    EXPECT_NE(-1, tree.GetText().Find(L"Viririziru_Root")) << "the loaded text is kept";
}

struct SProgress : ILoadProgress {
    int begins = 0, ends = 0;
    LONGLONG steps = 0, total = 0;
    UINT id = 0;
    void Begin(UINT stringId, LONGLONG t, DWORD) override
    {
        ++begins;
        id = stringId;
        total = t;
    }
    void Step(LONGLONG amount, DWORD) override { steps += amount; }
    void End(DWORD) override { ++ends; }
};

TEST_F(TextTreeTest, ProgressForBigFilesOnly)
{
    const std::string head = "Viririziru_Root\r\n{\r\nk:|";
    const std::string tail = "|\r\n}\r\n";
    for (size_t length : {size_t(30720), size_t(30721)}) {
        const std::string text = head + std::string(length - head.size() - tail.size(), 'v') + tail;
        SProgress progress;
        CTextTree tree(kRoot);
        ASSERT_TRUE(tree.LoadTextTree(Make(L"big.mcfi", std::vector<uint8_t>(text.begin(), text.end())),
                                      &progress));
        EXPECT_EQ(length == 30721 ? 1 : 0, progress.begins);
        EXPECT_EQ(1, progress.ends);
        if (length == 30721) {
            EXPECT_EQ(10083u, progress.id);
            EXPECT_EQ(30721, progress.total);
        }
        EXPECT_EQ(static_cast<LONGLONG>(length), progress.steps) << "one per character";
    }
}

TEST_F(TextTreeTest, FailedSavesLeaveThePreviousFileIntact)
{
    const CString path = Path(L"project.mcfi");
    CTextTree first(kRoot);
    first.SetString(L"version", L"one");
    ASSERT_TRUE(first.SaveTextTree(path));
    const std::vector<uint8_t> before = testsupport::ReadFileBytes(path.GetString());
    const int files = FileCount();

    // Failing halfway: a name the format cannot hold stops the writing.
    CTextTree broken(kRoot);
    broken.SetString(L"version", L"two");
    broken.BeginGroup(L"bad name");
    broken.SetInt(L"x", 1);
    broken.EndGroup();
    EXPECT_FALSE(broken.SaveTextTree(path));
    EXPECT_EQ(before, testsupport::ReadFileBytes(path.GetString()));
    EXPECT_EQ(files, FileCount()) << "no temporary file left behind";

    // A group below the root named like the root would read back merged
    // into the root, and what follows it would be lost: not written.
    CTextTree clash(kRoot);
    clash.BeginGroup(kRoot);
    clash.SetInt(L"x", 1);
    clash.EndGroup();
    clash.SetInt(L"y", 2);
    EXPECT_FALSE(clash.SaveTextTree(path));
    EXPECT_EQ(before, testsupport::ReadFileBytes(path.GetString()));
    EXPECT_EQ(files, FileCount());

    // Values set under an entered leaf have no written form: not a silent loss.
    CTextTree underLeaf(kRoot);
    underLeaf.SetString(L"version", L"two");
    ASSERT_TRUE(underLeaf.EnterGroup(L"version"));
    underLeaf.SetInt(L"lost", 1);
    underLeaf.EndGroup();
    EXPECT_FALSE(underLeaf.SaveTextTree(path));
    EXPECT_EQ(before, testsupport::ReadFileBytes(path.GetString()));
    EXPECT_EQ(files, FileCount());

    // A read-only target is not replaced.
    ASSERT_TRUE(SetFileAttributesW(path, FILE_ATTRIBUTE_READONLY));
    CTextTree second(kRoot);
    second.SetString(L"version", L"two");
    EXPECT_FALSE(second.SaveTextTree(path));
    SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(before, testsupport::ReadFileBytes(path.GetString()));
    EXPECT_EQ(files, FileCount());

    // A folder that does not exist: nothing is created.
    EXPECT_FALSE(second.SaveTextTree(Path(L"no\\such\\folder\\p.mcfi")));
    EXPECT_FALSE(second.SaveTextTree(L""));

    // A successful save replaces the file whole.
    ASSERT_TRUE(second.SaveTextTree(path));
    CTextTree back(kRoot);
    ASSERT_TRUE(back.LoadTextTree(path));
    CString v;
    EXPECT_TRUE(back.GetString(L"version", v));
    EXPECT_EQ(CString(L"two"), v);
    EXPECT_EQ(files, FileCount());
}

TEST_F(TextTreeTest, GroupStackAndScopeGuard)
{
    CTextTree tree(kRoot);
    tree.SetInt(L"leaf", 1);
    {
        CTextTreeKeyContext group(&tree);
        EXPECT_TRUE(group.Create(L"Outer"));
        tree.SetInt(L"inner", 2);
        CTextTreeKeyContext missing(&tree);
        EXPECT_FALSE(missing.Open(L"nothing"));
    } // only the opened guard ends its group
    EXPECT_EQ(&tree.GetRoot(), tree.GetCurrentGroup());

    EXPECT_TRUE(tree.EndGroup()) << "pops the root";
    EXPECT_EQ(nullptr, tree.GetCurrentGroup());
    EXPECT_FALSE(tree.EndGroup());
    EXPECT_FALSE(tree.SetInt(L"orphan", 1));
    EXPECT_FALSE(tree.BeginGroup(L"orphan"));
    EXPECT_TRUE(tree.PushGroup(&tree.GetRoot()));
    EXPECT_TRUE(tree.EnterGroup(L"leaf")) << "a leaf can be entered too";
}

} // namespace
