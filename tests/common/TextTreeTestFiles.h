#pragma once
// Helpers of the text-tree tests: node-by-node comparison of two documents,
// and a fixture that saves, reloads and checks files in a scratch folder.
#include <gtest/gtest.h>
#include <windows.h>

#include "common/PathUtils.h"
#include "common/TextTree.h"
#include "tests/common/TestFiles.h"

#include <string>
#include <vector>

namespace texttreetest {

using testfiles::FilesIn;
using testfiles::Utf16;

inline std::string Narrow(const CString& text)
{
    return CStringA(text).GetString();
}

// Same names, values, kinds and child order all the way down.
inline ::testing::AssertionResult SameTree(const SNode& a, const SNode& b)
{
    if (a.name != b.name || a.value != b.value || a.isGroup != b.isGroup || a.value.GetLength() != b.value.GetLength())
        return ::testing::AssertionFailure() << "node " << Narrow(a.name) << " differs from " << Narrow(b.name);
    if (a.children.GetSize() != b.children.GetSize())
        return ::testing::AssertionFailure()
               << "children of " << Narrow(a.name) << ": " << a.children.GetSize() << " vs " << b.children.GetSize();
    for (INT_PTR i = 0; i < a.children.GetSize(); ++i) {
        ::testing::AssertionResult same = SameTree(*a.children.GetAt(i), *b.children.GetAt(i));
        if (!same)
            return same;
    }
    return ::testing::AssertionSuccess();
}

// The text value of `name`, "<missing>" when there is none.
inline CString ValueOf(const CTextTree& tree, LPCWSTR name)
{
    CString v = L"<missing>";
    EXPECT_TRUE(tree.GetString(name, v));
    return v;
}

class CTextTreeTest : public testfiles::CScratchTest
{
protected:
    explicit CTextTreeTest(LPCWSTR root) : m_root(root) {}

    // Saves `tree`, loads the file into a new document and compares.
    void ExpectSavesAndReloads(CTextTree& tree)
    {
        const CString path = Path(L"roundtrip.txt");
        ASSERT_TRUE(tree.SaveTextTree(path));
        CTextTree back(m_root);
        ASSERT_TRUE(back.LoadTextTree(path));
        EXPECT_TRUE(SameTree(tree.GetRoot(), back.GetRoot()));
    }

    // The file `name` holds `bytes` and nothing else is in the folder.
    void ExpectOnlyFile(LPCWSTR name, const std::vector<uint8_t>& bytes)
    {
        EXPECT_EQ(bytes, Bytes(Path(name)));
        EXPECT_EQ(std::vector<std::wstring>{name}, FilesIn(m_dir.GetString())) << "no other file left behind";
    }

    LPCWSTR m_root;
};

} // namespace texttreetest
