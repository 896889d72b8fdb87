// Text trees: what loads as true is exactly what the file holds and can be
// saved back; hostile and damaged documents load as false and keep what
// parsed; numbers of every sign come back; a failed or interrupted save
// never costs the previous file.
#include <gtest/gtest.h>

#include "common/TextTree.h"
#include "tests/common/TextTreeTestFiles.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <string>

namespace {

using texttreetest::FilesIn;
using texttreetest::Utf16;
using texttreetest::ValueOf;

const wchar_t kRoot[] = L"Ravelin_Doc";

class TextTreeDamageTest : public texttreetest::CTextTreeTest
{
protected:
    TextTreeDamageTest() : CTextTreeTest(kRoot) {}
};

TEST_F(TextTreeDamageTest, HostileTextsAreRefused)
{
    CTextTree tree(kRoot);
    const std::wstring refused[] = {
        L"",
        L"k:|v|",
        L"{k:|v|}",
        L"Ravelin_Doc{:|v|}",
        L"}", // no root, no name, no key
        L"Ravelin_Doc{a:|1|}b:|2|",
        L"Ravelin_Doc{a:|1|}}",
        L"Ravelin_Doc{a:|1|}x", // text after the root
        L"k:|v|\r\nRavelin_Doc\r\n{\r\na:|1|\r\n}\r\n",
        L"g{}\r\nRavelin_Doc\r\n{\r\na:|1|\r\n}\r\n", // before it
        L"Ravelin_Doc{a:|1|Ravelin_Doc{b:|2|}}",
        L"Ravelin_Doc{a:|1|Ravelin_Doc{b:|2|}",                   // a group named
        L"Ravelin_Doc{Ravelin_Doc{}}",                            // like the root
        L"Ravelin_Doc{k:|" + std::wstring(3 << 20, L'x') + L"|}", // a huge value
        L"Ravelin_Doc{" + std::wstring(5000, L'n') + L":|v|}",    // a huge name
    };
    for (const std::wstring& text : refused)
        EXPECT_FALSE(tree.Parse(text.c_str())) << text.substr(0, 60);
    EXPECT_FALSE(tree.Parse(nullptr));
    std::wstring deep = L"Ravelin_Doc{";
    for (int i = 0; i < 100000; ++i)
        deep += L"g{";
    EXPECT_FALSE(tree.Parse(deep.c_str())) << "deep nesting";
    EXPECT_TRUE(tree.Parse(L" \t\r\nRavelin_Doc\r\n{\r\na:|1|\r\n}\r\n \t\r\n\r\n")) << "blanks only";

    // What parsed before the fault stays.
    EXPECT_FALSE(tree.Parse(L"Other_Root\r\n{\r\nk:|v|\r\n}\r\n")) << "another document's root";
    ASSERT_TRUE(tree.EnterGroup(L"Other_Root"));
    EXPECT_STREQ(L"v", ValueOf(tree, L"k"));
    EXPECT_FALSE(tree.Parse(L"Ravelin_Doc\r\n{\r\nk:|v|\r\nbad:|unterminated"));
    EXPECT_STREQ(L"v", ValueOf(tree, L"k"));
    EXPECT_EQ(nullptr, tree.FindChild(L"bad"));
    EXPECT_FALSE(tree.Parse(L"Ravelin_Doc{A{x:|1|}}B{y:|2|}}"));
    ASSERT_TRUE(tree.EnterGroup(L"A"));
    EXPECT_STREQ(L"1", ValueOf(tree, L"x"));
    EXPECT_FALSE(tree.Parse(L"Ravelin_Doc{A{x:|1|Ravelin_Doc{y:|2|}z:|3|}}"));
    ASSERT_EQ(1, tree.GetRoot().children.GetSize());
    EXPECT_STREQ(L"A", tree.GetRoot().children.GetAt(0)->name) << "the parent keeps its name";
}

TEST_F(TextTreeDamageTest, HostileAndDamagedFilesAreRefused)
{
    CTextTree tree(kRoot);
    EXPECT_FALSE(tree.LoadTextTree(Path(L"missing.mcfi")));
    EXPECT_FALSE(tree.LoadTextTree(nullptr));
    EXPECT_FALSE(tree.LoadTextTree(Make(L"empty.mcfi", {})));
    EXPECT_FALSE(tree.LoadTextTree(Make(L"mark.mcfi", {0xFF, 0xFE})));
    EXPECT_FALSE(tree.LoadTextTree(Make(L"one.mcfi", {0xFF})));
    // A zero code unit ends the text.
    EXPECT_FALSE(tree.LoadTextTree(Make(L"zero.mcfi", Utf16(std::wstring(L"Ravelin_Doc{k:|v\0|}", 19)))));
    // Random bytes with and without a mark: no crash, no success.
    std::vector<uint8_t> noise(5000);
    uint32_t seed = 12345;
    for (auto& b : noise)
        b = static_cast<uint8_t>((seed = seed * 1103515245u + 12345u) >> 16);
    EXPECT_FALSE(tree.LoadTextTree(Make(L"noise.mcfi", noise)));
    noise[0] = 0xFF;
    noise[1] = 0xFE;
    EXPECT_FALSE(tree.LoadTextTree(Make(L"noise2.mcfi", noise)));

    // A saved document with one duplicated closing line: the leaf after the
    // extra line is not in the tree.
    CTextTree doc(kRoot);
    EXPECT_TRUE(doc.BeginGroup(L"Fragments"));
    EXPECT_TRUE(doc.SetInt(L"a", 1));
    EXPECT_TRUE(doc.EndGroup());
    EXPECT_TRUE(doc.SetInt(L"b", 2));
    const CString path = Path(L"saved.txt");
    ASSERT_TRUE(doc.SaveTextTree(path));
    const std::vector<uint8_t> good = Bytes(path);
    ASSERT_EQ(Utf16(L"Ravelin_Doc\r\n{\r\nFragments\r\n{\r\na:|1|\r\n}\r\nb:|2|\r\n}\r\n"), good);
    EXPECT_FALSE(tree.LoadTextTree(
        Make(L"dup.txt", Utf16(L"Ravelin_Doc\r\n{\r\nFragments\r\n{\r\na:|1|\r\n}\r\n}\r\nb:|2|\r\n}\r\n"))));
    EXPECT_EQ(nullptr, tree.FindChild(L"b"));
    // A zero unit is no part of any written document, even after the root.
    std::vector<uint8_t> zero = good;
    zero.insert(zero.end(), {0, 0});
    EXPECT_FALSE(tree.LoadTextTree(Make(L"zero.txt", zero)));
    // Odd length: the complete part is parsed, the file refused.
    std::vector<uint8_t> odd = good;
    odd.push_back('Z');
    EXPECT_FALSE(tree.LoadTextTree(Make(L"odd.txt", odd)));
    EXPECT_STREQ(L"2", ValueOf(tree, L"b"));
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
        EXPECT_TRUE(built.BeginGroup(L"g"));
    EXPECT_TRUE(built.SetInt(L"k", 1));
    EXPECT_FALSE(built.SaveTextTree(Path(L"deep.txt")));
}

TEST_F(TextTreeDamageTest, NumbersOfEverySignComeBack)
{
    const LONGLONG longs[] = {-1, INT64_MIN, INT64_MAX, 0, -9000000000LL};
    const float floats[] = {-1.5f, -0.25f, FLT_MAX, -FLT_MAX, 1234.5f, -0.0f};
    auto name = [](LPCWSTR kind, size_t i) {
        CString n;
        n.Format(L"%s%d", kind, static_cast<int>(i));
        return n;
    };
    CTextTree tree(kRoot);
    for (size_t i = 0; i < std::size(longs); ++i)
        ASSERT_TRUE(tree.SetInt64(name(L"l", i), longs[i]));
    for (size_t i = 0; i < std::size(floats); ++i)
        ASSERT_TRUE(tree.SetFloat(name(L"f", i), floats[i]));
    // Nothing is written that cannot be read.
    EXPECT_FALSE(tree.SetFloat(L"inf", INFINITY));
    EXPECT_FALSE(tree.SetFloat(L"ninf", -INFINITY));
    EXPECT_FALSE(tree.SetFloat(L"nan", NAN));
    EXPECT_EQ(nullptr, tree.FindChild(L"nan"));

    const CString path = Path(L"numbers.txt");
    ASSERT_TRUE(tree.SaveTextTree(path));
    CTextTree back(kRoot);
    ASSERT_TRUE(back.LoadTextTree(path));
    for (size_t i = 0; i < std::size(longs); ++i) {
        LONGLONG v = 7;
        EXPECT_TRUE(back.GetInt64(name(L"l", i), v)) << i;
        EXPECT_EQ(longs[i], v);
    }
    for (size_t i = 0; i < std::size(floats); ++i) {
        float v = 7;
        EXPECT_TRUE(back.GetFloat(name(L"f", i), v)) << i;
        EXPECT_EQ(floats[i], v);
    }

    // Still refused: signs out of place, no digits, out of range.
    ASSERT_TRUE(back.Parse(L"Ravelin_Doc{a:|1-2|b:|-|c:|--1|d:|-.|e:|1.-5|"
                           L"f:|9223372036854775808|g:|-9223372036854775809|}"));
    LONGLONG l = 7;
    float f = 7;
    for (LPCWSTR n : {L"a", L"b", L"c", L"d", L"f", L"g"})
        EXPECT_FALSE(back.GetInt64(n, l)) << n;
    for (LPCWSTR n : {L"a", L"b", L"c", L"e"})
        EXPECT_FALSE(back.GetFloat(n, f)) << n;
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

TEST_F(TextTreeDamageTest, FailedSavesLeaveThePreviousFileIntact)
{
    const CString path = Path(L"project.mcfi");
    CTextTree first(kRoot);
    EXPECT_TRUE(first.SetString(L"version", L"one"));
    ASSERT_TRUE(first.SaveTextTree(path));
    const std::vector<uint8_t> before = Bytes(path);

    // A name the format cannot hold stops the writing halfway.
    CTextTree badName(kRoot);
    EXPECT_TRUE(badName.SetString(L"version", L"two"));
    EXPECT_TRUE(badName.BeginGroup(L"bad name"));
    EXPECT_TRUE(badName.SetInt(L"x", 1));
    EXPECT_TRUE(badName.EndGroup());
    // A group below the root named like the root would read back merged
    // into the root, and what follows it would be lost.
    CTextTree clash(kRoot);
    EXPECT_TRUE(clash.BeginGroup(kRoot));
    EXPECT_TRUE(clash.SetInt(L"x", 1));
    EXPECT_TRUE(clash.EndGroup());
    EXPECT_TRUE(clash.SetInt(L"y", 2));
    // Values set under an entered leaf have no written form.
    CTextTree underLeaf(kRoot);
    EXPECT_TRUE(underLeaf.SetString(L"version", L"two"));
    ASSERT_TRUE(underLeaf.EnterGroup(L"version"));
    EXPECT_TRUE(underLeaf.SetInt(L"lost", 1));
    EXPECT_TRUE(underLeaf.EndGroup());
    for (const CTextTree* tree : {&badName, &clash, &underLeaf}) {
        EXPECT_FALSE(tree->SaveTextTree(path));
        ExpectOnlyFile(L"project.mcfi", before);
    }

    // A read-only target is not replaced; a missing folder gets nothing.
    ASSERT_TRUE(SetFileAttributesW(path, FILE_ATTRIBUTE_READONLY));
    CTextTree second(kRoot);
    EXPECT_TRUE(second.SetString(L"version", L"two"));
    EXPECT_FALSE(second.SaveTextTree(path));
    SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL);
    ExpectOnlyFile(L"project.mcfi", before);
    EXPECT_FALSE(second.SaveTextTree(Path(L"no\\such\\folder\\p.mcfi")));
    EXPECT_FALSE(second.SaveTextTree(L""));

    // A save that fails after writing (the target cannot be replaced while
    // another program holds it unshared) keeps the old file and cleans up.
    {
        CFileHandle held(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_FALSE(second.SaveTextTree(path));
    }
    ExpectOnlyFile(L"project.mcfi", before);
}

// The state a save killed between writing and replacing leaves: the old file,
// and beside it the temporary file, cut anywhere, even read-only.
TEST_F(TextTreeDamageTest, SaveKilledBeforeTheReplaceCostsNothing)
{
    const CString path = Path(L"project.mcfi");
    CTextTree old(kRoot);
    EXPECT_TRUE(old.SetString(L"version", L"one"));
    ASSERT_TRUE(old.SaveTextTree(path));
    CString current = L"one";
    for (bool readOnly : {false, true}) {
        const CString temp = Make(L"project.mcfi.tmp", Utf16(L"Ravelin_Doc\r\n{\r\nversion:|tw"));
        if (readOnly) {
            ASSERT_TRUE(SetFileAttributesW(temp, FILE_ATTRIBUTE_READONLY));
        }
        CTextTree loaded(kRoot);
        ASSERT_TRUE(loaded.LoadTextTree(path)) << "the old file is whole";
        EXPECT_STREQ(current, ValueOf(loaded, L"version"));

        current = readOnly ? L"three" : L"two";
        CTextTree next(kRoot);
        EXPECT_TRUE(next.SetString(L"version", current));
        ASSERT_TRUE(next.SaveTextTree(path));
        EXPECT_EQ(std::vector<std::wstring>{L"project.mcfi"}, FilesIn(m_dir.GetString()))
            << "the stale temporary file is gone";
        ASSERT_TRUE(loaded.LoadTextTree(path));
        EXPECT_STREQ(current, ValueOf(loaded, L"version"));
    }
}

} // namespace
