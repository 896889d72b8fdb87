// Version strings of the program's own resource, and the resource loaders.
#include <gtest/gtest.h>

#include "common/ResLoader.h"
#include "common/PathUtils.h"
#include "common/VersionInfo.h"
#include "tests/support/TestSupport.h"

namespace {

TEST(VersionInfo, ProgramsOwnVersionStrings)
{
    // The test program links the program's resources, version included; the
    // expected texts are read from the resource script by the build.
    CVersionInfo info;
    EXPECT_STREQ(L"" RC_PRODUCT_NAME, info.GetProductName());
    EXPECT_STREQ(L"" RC_PRODUCT_VERSION, info.GetProductVersion());
    EXPECT_STREQ(L"" RC_FILE_DESCRIPTION, info.GetFileDescription());
    EXPECT_STREQ(L"" RC_INTERNAL_NAME, info.GetInternalName());
    EXPECT_STREQ(L"" RC_FILE_VERSION, info.GetValue(L"FileVersion"));
    EXPECT_STREQ(L"", info.GetSpecialBuild());
    EXPECT_STREQ(L"", info.GetValue(L"NoSuchKey"));

    // Read from the program file itself, linked two levels above this one.
    const CString exe = GetModuleDirectory() + L"..\\..\\ravelin.exe";
    if (GetFileAttributesW(exe) == INVALID_FILE_ATTRIBUTES)
        GTEST_SKIP() << "the program is not built";
    CVersionInfo program(exe);
    EXPECT_STREQ(L"" RC_PRODUCT_NAME, program.GetProductName());
    EXPECT_STREQ(L"" RC_PRODUCT_VERSION, program.GetProductVersion());
}

TEST(VersionInfo, ModuleWithoutVersionAnswersEmpty)
{
    std::wstring path = testsupport::ScratchDir(L"version") + L"\\plain.dll";
    ASSERT_TRUE(testsupport::WriteFileBytes(path, "MZ not really", 13));
    CVersionInfo info(path.c_str());
    EXPECT_STREQ(L"", info.GetProductName());
    EXPECT_STREQ(L"", info.GetProductVersion());
    EXPECT_STREQ(L"", CVersionInfo(L"C:\\no\\such\\module.dll").GetCompanyName());
}

TEST(ResLoader, LoadsBytesOfAnyType)
{
    CResLoader loader;
    ASSERT_TRUE(loader.Load(L"BLOB", 61014));
    ASSERT_EQ(4u, loader.GetSize());
    const BYTE* data = static_cast<const BYTE*>(loader.GetData());
    EXPECT_EQ(0x01, data[0]);
    EXPECT_EQ(0x04, data[3]);

    CResHMemLoader handleOnly;
    EXPECT_TRUE(handleOnly.Load(L"TEXT", 61010));
    EXPECT_EQ(12u, handleOnly.GetSize());

    // A loader used again answers for the new resource only: a missing one
    // is a failure, not the bytes of the previous one.
    ASSERT_TRUE(loader.Load(L"TEXT", 61010));
    EXPECT_EQ(12u, loader.GetSize());
    EXPECT_FALSE(loader.Load(L"BLOB", 61099));
    EXPECT_EQ(nullptr, loader.GetData());
    EXPECT_EQ(0u, loader.GetSize());
    EXPECT_FALSE(handleOnly.Load(L"TEXT", 61099));
    EXPECT_EQ(nullptr, handleOnly.GetHandle());
    EXPECT_EQ(0u, handleOnly.GetSize());
}

TEST(ResLoader, TextResourceWithAndWithoutMark)
{
    EXPECT_STREQ(L"Licence text", LoadTextResource(61010));
    EXPECT_STREQ(L"Gr\u00fc\u00df Gott\r\nLine two", LoadTextResource(61011));
    EXPECT_STREQ(L"A", LoadTextResource(61012)); // one byte: ANSI
    EXPECT_STREQ(L"", LoadTextResource(61013));  // the mark alone
    EXPECT_STREQ(L"", LoadTextResource(61099));  // missing
}

} // namespace
