// The text-tree document: building, the exact file form, reading back,
// getters, parsing and progress.
#include <gtest/gtest.h>

#include "common/TextTree.h"
#include "tests/common/TextTreeTestFiles.h"

#include <clocale>
#include <string>
#include <vector>

namespace {

using texttreetest::SameTree;
using texttreetest::Utf16;
using texttreetest::ValueOf;

const wchar_t kRoot[] = L"Viririziru_Root";

class TextTreeTest : public texttreetest::CTextTreeTest
{
protected:
    TextTreeTest() : CTextTreeTest(kRoot) {}
};

TEST_F(TextTreeTest, EveryValueTypeWrittenExactlyAndReadBack)
{
    CTextTree tree(kRoot);
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
    const CString path = Path(L"song.mcfi");
    ASSERT_TRUE(tree.SaveTextTree(path));
    EXPECT_EQ(Utf16(L"Viririziru_Root\r\n{\r\nsize:|123456789012345|\r\nneg:|-12|\r\nbig:|4000000000|\r\n"
                    L"tempo:|0.800000|\r\ncomment:|$7ba$7cb$7d$24 \x00e9t\x00e9 \x266b|\r\nsecret:|X8f1b8c8c|\r\n"
                    L"Fragments\r\n{\r\nF0\r\n{\r\nstart:|0|\r\n}\r\nEmpty\r\n{\r\n}\r\n}\r\n}\r\n"),
              Bytes(path));

    CTextTree back(kRoot);
    ASSERT_TRUE(back.LoadTextTree(path));
    EXPECT_TRUE(SameTree(tree.GetRoot(), back.GetRoot()));
    UINT big = 0;
    float tempo = 0;
    CString secret;
    EXPECT_TRUE(back.GetUInt(L"big", big));
    EXPECT_EQ(4000000000u, big);
    EXPECT_TRUE(back.GetFloat(L"tempo", tempo));
    EXPECT_EQ(0.8f, tempo);
    EXPECT_STREQ(L"{a|b}$ \x00e9t\x00e9 \x266b", ValueOf(back, L"comment"));
    EXPECT_TRUE(back.GetString(L"secret", secret, 1));
    EXPECT_STREQ(L"p\x00e4ss", secret);
    ASSERT_TRUE(back.EnterGroup(L"Fragments"));
    ASSERT_TRUE(back.EnterGroup(L"F0"));
    EXPECT_STREQ(L"0", ValueOf(back, L"start"));

    // Saved again, the document is the same file.
    const CString again = Path(L"again.mcfi");
    ASSERT_TRUE(back.SaveTextTree(again));
    EXPECT_EQ(Bytes(path), Bytes(again));

    // The text form is not escaped and is appended.
    CTextTree small(L"R");
    EXPECT_TRUE(small.SetString(L"k", L"v{"));
    CString text = L">";
    EXPECT_TRUE(small.ToString(text));
    EXPECT_STREQ(L">R\r\n{\r\nk:|v{|\r\n}\r\n", text);
}

TEST_F(TextTreeTest, FloatsUseAPointWhateverTheLocale)
{
    const char* previous = setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!setlocale(LC_NUMERIC, "German_Germany.1252") && !setlocale(LC_NUMERIC, "de-DE") &&
        !setlocale(LC_NUMERIC, "French"))
        GTEST_SKIP() << "no comma locale here";
    CTextTree tree(kRoot);
    EXPECT_TRUE(tree.SetFloat(L"tempo", 0.5f));
    EXPECT_TRUE(tree.SetFloat(L"big", 1234.25f));
    float a = 0, b = 0;
    const bool got = tree.GetFloat(L"tempo", a) && tree.GetFloat(L"big", b);
    CString text;
    EXPECT_TRUE(tree.ToString(text));
    setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_NE(-1, text.Find(L"tempo:|0.500000|"));
    EXPECT_NE(-1, text.Find(L"big:|1234.250000|"));
    EXPECT_TRUE(got);
    EXPECT_EQ(0.5f, a);
    EXPECT_EQ(1234.25f, b);
}

TEST_F(TextTreeTest, GettersRefuseIllFormedValues)
{
    CTextTree tree(kRoot);
    ASSERT_TRUE(tree.Parse(L"Viririziru_Root{ neg:|-12| half:|0.5| exp:|1e3| empty:|| "
                           L"two:|1| two:|2| bad:|12a| scr:|Xzz0| }"));
    int i = 7;
    float f = 7;
    CString s = L"kept";
    EXPECT_TRUE(tree.GetInt(L"neg", i));
    EXPECT_EQ(-12, i);
    EXPECT_TRUE(tree.GetFloat(L"half", f));
    EXPECT_EQ(0.5f, f);
    f = 7;
    EXPECT_FALSE(tree.GetFloat(L"exp", f));
    for (LPCWSTR name : {L"empty", L"bad", L"missing"})
        EXPECT_FALSE(tree.GetInt(name, i)) << name;
    EXPECT_FALSE(tree.GetString(L"missing", s));
    EXPECT_FALSE(tree.GetString(L"scr", s, 1));
    EXPECT_EQ(7.0f, f);
    EXPECT_EQ(-12, i);
    EXPECT_STREQ(L"kept", s);
    EXPECT_TRUE(tree.GetInt(L"two", i));
    EXPECT_EQ(1, i) << "the first of two equal names";

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
    EXPECT_STREQ(L"v", ValueOf(tree, L"SomeKey"));
    EXPECT_STREQ(L"{a$b$", ValueOf(tree, L"k2")) << "a bad escape keeps the dollar; one at the end stays";

    // A closing brace inside a value ends the group; the leaf is dropped.
    ASSERT_TRUE(tree.Parse(L"Viririziru_Root{k:|v|x:|abc}"));
    EXPECT_STREQ(L"v", ValueOf(tree, L"k"));
    EXPECT_EQ(nullptr, tree.FindChild(L"x"));

    // Parsing again starts from the root: entered groups are left.
    ASSERT_TRUE(tree.Parse(L"Viririziru_Root{g{a:|1|}}"));
    ASSERT_TRUE(tree.EnterGroup(L"g"));
    ASSERT_TRUE(tree.Parse(L"Viririziru_Root{b:|2|}"));
    EXPECT_EQ(&tree.GetRoot(), tree.GetCurrentGroup());
    EXPECT_STREQ(L"2", ValueOf(tree, L"b"));

    // ANSI files are read through the code page, and the text is kept.
    const std::string ansi = "Viririziru_Root\r\n{\r\nname:|caf\xe9 \x80|\r\n}\r\n";
    ASSERT_TRUE(tree.LoadTextTree(Make(L"ansi.mcfi", std::vector<uint8_t>(ansi.begin(), ansi.end()))));
    wchar_t expected[16] = {};
    ASSERT_EQ(6, MultiByteToWideChar(CP_ACP, 0, "caf\xe9 \x80", 6, expected, 16));
    EXPECT_STREQ(expected, ValueOf(tree, L"name"));
    EXPECT_NE(-1, tree.GetText().Find(L"Viririziru_Root"));
}

struct SProgress : ILoadProgress
{
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

TEST_F(TextTreeTest, ProgressBeginsForBigFilesOnlyAndAlwaysEnds)
{
    const std::string head = "Viririziru_Root\r\n{\r\nk:|";
    const std::string tail = "|\r\n}\r\n";
    for (size_t length : {size_t(30720), size_t(30721)}) {
        const std::string text = head + std::string(length - head.size() - tail.size(), 'v') + tail;
        SProgress progress;
        CTextTree tree(kRoot);
        ASSERT_TRUE(tree.LoadTextTree(Make(L"big.mcfi", std::vector<uint8_t>(text.begin(), text.end())), &progress));
        const bool big = length == 30721;
        EXPECT_EQ(big ? 1 : 0, progress.begins) << length;
        EXPECT_EQ(big ? 10083u : 0u, progress.id);
        EXPECT_EQ(big ? 30721 : 0, progress.total);
        EXPECT_EQ(static_cast<LONGLONG>(length), progress.steps) << length << ": one per character";
        EXPECT_EQ(1, progress.ends) << length << ": a given receiver is always ended";
    }

    // A small file that fails to parse ends the receiver too.
    const std::string damaged = "{\r\nk:|v|\r\n}\r\n";
    SProgress progress;
    CTextTree tree(kRoot);
    EXPECT_FALSE(
        tree.LoadTextTree(Make(L"damaged.mcfi", std::vector<uint8_t>(damaged.begin(), damaged.end())), &progress));
    EXPECT_EQ(0, progress.begins);
    EXPECT_EQ(1, progress.ends);
}

TEST_F(TextTreeTest, GroupStackAndScopeGuard)
{
    CTextTree tree(kRoot);
    EXPECT_TRUE(tree.SetInt(L"leaf", 1));
    {
        CTextTreeKeyContext group(&tree);
        EXPECT_TRUE(group.Create(L"Outer"));
        EXPECT_TRUE(tree.SetInt(L"inner", 2));
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
