// Text trees: what loads as true is exactly what the file holds and can be
// saved back; damaged documents load as false; numbers of every sign come
// back; an interrupted save never costs the previous file.
#include <gtest/gtest.h>

#include "common/PathUtils.h"
#include "common/TextTree.h"
#include "tests/common/TextTreeTestFiles.h"
#include "tests/support/TestSupport.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <string>

namespace {

using texttreetest::FilesIn;
using texttreetest::SameTree;
using texttreetest::Utf16;

const wchar_t kRoot[] = L"Ravelin_Doc";

class TextTreeDamageTest : public ::testing::Test {
protected:
    void SetUp() override { m_dir = testsupport::ScratchDir(L"common-texttree-damage"); }

    CString Path(LPCWSTR name) const { return JoinPath(m_dir.c_str(), name); }

    CString Make(LPCWSTR name, const std::vector<uint8_t>& bytes) const
    {
        const CString path = Path(name);
        EXPECT_TRUE(testsupport::WriteFileBytes(path.GetString(), bytes.data(), bytes.size()));
        return path;
    }

    // Saves `tree`, loads the file into a new document and compares.
    void ExpectSavesAndReloads(const CTextTree& tree)
    {
        const CString path = Path(L"roundtrip.txt");
        ASSERT_TRUE(tree.SaveTextTree(path));
        CTextTree back(kRoot);
        ASSERT_TRUE(back.LoadTextTree(path));
        EXPECT_TRUE(SameTree(const_cast<CTextTree&>(tree).GetRoot(), back.GetRoot()));
    }

    std::wstring m_dir;
};

CString ValueOf(CTextTree& tree, LPCWSTR name)
{
    CString v = L"<missing>";
    tree.GetString(name, v);
    return v;
}

TEST_F(TextTreeDamageTest, TextAfterTheRootAndNodesBeforeItAreRefused)
{
    CTextTree tree(kRoot);
    EXPECT_FALSE(tree.Parse(L"Ravelin_Doc{A{x:|1|}}B{y:|2|}}"));
    ASSERT_TRUE(tree.EnterGroup(L"A")) << "what parsed stays";
    EXPECT_STREQ(L"1", ValueOf(tree, L"x"));

    EXPECT_FALSE(tree.Parse(L"Ravelin_Doc{a:|1|}b:|2|"));
    EXPECT_FALSE(tree.Parse(L"Ravelin_Doc{a:|1|}}"));
    EXPECT_FALSE(tree.Parse(L"Ravelin_Doc{a:|1|}x"));
    EXPECT_FALSE(tree.Parse(L"k:|v|\r\nRavelin_Doc\r\n{\r\na:|1|\r\n}\r\n")) << "leaf before the root";
    EXPECT_FALSE(tree.Parse(L"g{}\r\nRavelin_Doc\r\n{\r\na:|1|\r\n}\r\n")) << "group before the root";
    EXPECT_TRUE(tree.Parse(L" \t\r\nRavelin_Doc\r\n{\r\na:|1|\r\n}\r\n \t\r\n\r\n")) << "blanks only";
    EXPECT_STREQ(L"1", ValueOf(tree, L"a"));

    // One duplicated closing line in a saved document.
    CTextTree doc(kRoot);
    doc.BeginGroup(L"Fragments");
    doc.SetInt(L"a", 1);
    doc.EndGroup();
    doc.SetInt(L"b", 2);
    const CString path = Path(L"saved.txt");
    ASSERT_TRUE(doc.SaveTextTree(path));
    const std::vector<uint8_t> good = testsupport::ReadFileBytes(path.GetString());
    ASSERT_EQ(Utf16(L"Ravelin_Doc\r\n{\r\nFragments\r\n{\r\na:|1|\r\n}\r\nb:|2|\r\n}\r\n"), good);
    EXPECT_FALSE(tree.LoadTextTree(Make(L"dup.txt", Utf16(L"Ravelin_Doc\r\n{\r\nFragments\r\n{\r\n"
                                                          L"a:|1|\r\n}\r\n}\r\nb:|2|\r\n}\r\n"))));
    EXPECT_EQ(nullptr, tree.FindChild(L"b")) << "the leaf after the extra line is not in the tree";

    // A zero unit is no part of any written document, even after the root.
    std::vector<uint8_t> zero = good;
    zero.push_back(0);
    zero.push_back(0);
    EXPECT_FALSE(tree.LoadTextTree(Make(L"zero.txt", zero)));
}

TEST_F(TextTreeDamageTest, GroupNamedLikeTheRootIsRefusedAtAnyDepth)
{
    CTextTree tree(kRoot);
    EXPECT_FALSE(tree.Parse(L"Ravelin_Doc{A{x:|1|Ravelin_Doc{y:|2|}z:|3|}}"));
    ASSERT_EQ(1, tree.GetRoot().children.GetSize());
    EXPECT_STREQ(L"A", tree.GetRoot().children.GetAt(0)->name) << "the parent keeps its name";

    EXPECT_FALSE(tree.Parse(L"Ravelin_Doc{a:|1|Ravelin_Doc{b:|2|}}"));
    EXPECT_FALSE(tree.Parse(L"Ravelin_Doc{a:|1|Ravelin_Doc{b:|2|}"));
    EXPECT_FALSE(tree.Parse(L"Ravelin_Doc{Ravelin_Doc{}}"));
}

TEST_F(TextTreeDamageTest, LoadingAndSavingShareOneDepthLimit)
{
    // Groups nested `groups` deep below the root, the innermost holding `inner`.
    auto nested = [](int groups, const std::wstring& inner) {
        std::wstring text = L"Ravelin_Doc{";
        for (int i = 0; i < groups; ++i)
            text += L"g{";
        return text + inner + std::wstring(groups + 1, L'}');
    };
    CTextTree tree(kRoot);
    ASSERT_TRUE(tree.Parse(nested(199, L"k:|v|").c_str())) << "a leaf 200 levels down";
    ExpectSavesAndReloads(tree);
    EXPECT_FALSE(tree.Parse(nested(200, L"k:|v|").c_str())) << "a leaf 201 levels down";
    ASSERT_TRUE(tree.Parse(nested(200, L"").c_str())) << "an empty group 200 levels down";
    ExpectSavesAndReloads(tree);
    EXPECT_FALSE(tree.Parse(nested(201, L"").c_str()));

    // Built deeper than a file may be: the save refuses instead of writing
    // what could not be read back.
    CTextTree built(kRoot);
    for (int i = 0; i < 200; ++i)
        built.BeginGroup(L"g");
    built.SetInt(L"k", 1);
    EXPECT_FALSE(built.SaveTextTree(Path(L"deep.txt")));
}

TEST_F(TextTreeDamageTest, NumbersOfEverySignComeBack)
{
    const LONGLONG longs[] = {-1, INT64_MIN, INT64_MAX, 0, -9000000000LL};
    const float floats[] = {-1.5f, -0.25f, FLT_MAX, -FLT_MAX, 1234.5f, -0.0f};
    CTextTree tree(kRoot);
    for (size_t i = 0; i < sizeof longs / sizeof longs[0]; ++i) {
        CString name;
        name.Format(L"l%d", static_cast<int>(i));
        ASSERT_TRUE(tree.SetInt64(name, longs[i]));
    }
    for (size_t i = 0; i < sizeof floats / sizeof floats[0]; ++i) {
        CString name;
        name.Format(L"f%d", static_cast<int>(i));
        ASSERT_TRUE(tree.SetFloat(name, floats[i]));
    }
    // Nothing is written that cannot be read.
    EXPECT_FALSE(tree.SetFloat(L"inf", INFINITY));
    EXPECT_FALSE(tree.SetFloat(L"ninf", -INFINITY));
    EXPECT_FALSE(tree.SetFloat(L"nan", NAN));
    EXPECT_EQ(nullptr, tree.FindChild(L"nan"));

    const CString path = Path(L"numbers.txt");
    ASSERT_TRUE(tree.SaveTextTree(path));
    CTextTree back(kRoot);
    ASSERT_TRUE(back.LoadTextTree(path));
    for (size_t i = 0; i < sizeof longs / sizeof longs[0]; ++i) {
        CString name;
        name.Format(L"l%d", static_cast<int>(i));
        LONGLONG v = 7;
        EXPECT_TRUE(back.GetInt64(name, v)) << i;
        EXPECT_EQ(longs[i], v);
    }
    for (size_t i = 0; i < sizeof floats / sizeof floats[0]; ++i) {
        CString name;
        name.Format(L"f%d", static_cast<int>(i));
        float v = 7;
        EXPECT_TRUE(back.GetFloat(name, v)) << i;
        EXPECT_EQ(floats[i], v);
    }

    // Still refused: signs out of place, no digits, out of range.
    ASSERT_TRUE(back.Parse(L"Ravelin_Doc{a:|1-2|b:|-|c:|--1|d:|-.|e:|1.-5|"
                           L"f:|9223372036854775808|g:|-9223372036854775809|}"));
    LONGLONG l = 7;
    float f = 7;
    for (LPCWSTR name : {L"a", L"b", L"c", L"d", L"f", L"g"})
        EXPECT_FALSE(back.GetInt64(name, l)) << CString(name).GetString();
    for (LPCWSTR name : {L"a", L"b", L"c", L"e"})
        EXPECT_FALSE(back.GetFloat(name, f)) << CString(name).GetString();
    EXPECT_EQ(7, l);
    EXPECT_EQ(7.0f, f);
}

TEST_F(TextTreeDamageTest, ZeroUnitsInValuesAreRefused)
{
    CTextTree tree(kRoot);
    EXPECT_FALSE(tree.Parse(L"Ravelin_Doc{a:|1|k:|ab$00cd|}"));
    EXPECT_STREQ(L"1", ValueOf(tree, L"a"));
    EXPECT_EQ(nullptr, tree.FindChild(L"k")) << "no value cut short";
    EXPECT_FALSE(tree.Parse(L"Ravelin_Doc{k:|$0g|}")) << "one hexadecimal digit of zero";
    ASSERT_TRUE(tree.Parse(L"Ravelin_Doc{k:|$01$7c|}"));
    EXPECT_STREQ(L"\x01|", ValueOf(tree, L"k"));
}

// The state a save killed between writing and replacing leaves: the old file,
// and beside it the temporary file, whole or cut anywhere.
TEST_F(TextTreeDamageTest, SaveKilledBeforeTheReplaceCostsNothing)
{
    const CString path = Path(L"project.mcfi");
    CTextTree old(kRoot);
    old.SetString(L"version", L"one");
    ASSERT_TRUE(old.SaveTextTree(path));
    ASSERT_EQ(std::vector<std::wstring>{L"project.mcfi"}, FilesIn(m_dir))
        << "nothing but the target after a save";
    const std::vector<uint8_t> before = testsupport::ReadFileBytes(path.GetString());

    const CString temp = Path(L"project.mcfi.tmp");
    const std::vector<uint8_t> cut = Utf16(L"Ravelin_Doc\r\n{\r\nversion:|tw");
    CString current = L"one";
    for (bool readOnly : {false, true}) {
        Make(L"project.mcfi.tmp", cut);
        if (readOnly) {
            ASSERT_TRUE(SetFileAttributesW(temp, FILE_ATTRIBUTE_READONLY));
        }
        CTextTree loaded(kRoot);
        ASSERT_TRUE(loaded.LoadTextTree(path)) << "the old file is whole";
        EXPECT_STREQ(current, ValueOf(loaded, L"version"));

        current = readOnly ? L"three" : L"two";
        CTextTree next(kRoot);
        next.SetString(L"version", current);
        ASSERT_TRUE(next.SaveTextTree(path));
        EXPECT_EQ(std::vector<std::wstring>{L"project.mcfi"}, FilesIn(m_dir))
            << "the stale temporary file is gone";
        ASSERT_TRUE(loaded.LoadTextTree(path));
        EXPECT_STREQ(current, ValueOf(loaded, L"version"));
    }

    // A save that fails after writing (the target cannot be replaced while
    // another program holds it unshared) keeps the old file and cleans up.
    ASSERT_TRUE(old.SaveTextTree(path));
    HANDLE held = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    CTextTree blocked(kRoot);
    blocked.SetString(L"version", L"four");
    EXPECT_FALSE(blocked.SaveTextTree(path));
    CloseHandle(held);
    EXPECT_EQ(before, testsupport::ReadFileBytes(path.GetString()));
    EXPECT_EQ(std::vector<std::wstring>{L"project.mcfi"}, FilesIn(m_dir));
}

} // namespace
