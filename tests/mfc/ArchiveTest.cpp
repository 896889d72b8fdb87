// Counts and strings through an archive on a real file: the encoding's
// boundaries, and archives that are short or damaged.
#include <gtest/gtest.h>
#include <vector>
#include "platform/mfc/afx.h"
#include "tests/support/TestSupport.h"

namespace {

CString ArchivePath(LPCWSTR name)
{
    return CString(testsupport::ScratchDir(L"mfc_archive").c_str()) + L"\\" + name;
}

// The cause of the archive exception that `load` throws on `bytes`, or -1
// when it throws none.
template <class Load>
int LoadCause(const std::vector<unsigned char>& bytes, Load load)
{
    const CString path = ArchivePath(L"damaged.bin");
    testsupport::WriteFileBytes(std::wstring(path), bytes.data(), bytes.size());
    CFile file(path, CFile::modeRead | CFile::shareDenyNone);
    CArchive ar(&file, CArchive::load);
    try {
        load(ar);
    } catch (CArchiveException* e) {
        const int cause = e->m_cause;
        e->Delete();
        return cause;
    }
    return -1;
}

TEST(Archive, CountsAndStringsRoundTrip)
{
    const DWORD_PTR counts[] = {0, 1, 0xFFFE, 0xFFFF, 0x10000, 0xFFFFFFFF};
    CString longText;
    for (int i = 0; i < 70000; ++i)
        longText += static_cast<wchar_t>(L'a' + i % 26);
    const CString texts[] = {L"", L"plain", L"\x00e9t\x00e9 \x4e2d", CString(L"a\0b", 3), longText};
    const CString path = ArchivePath(L"round.bin");
    {
        CFile file(path, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        EXPECT_TRUE(ar.IsStoring());
        for (DWORD_PTR n : counts)
            ar.WriteCount(n);
        for (const CString& t : texts)
            ar << t;
        ar << static_cast<LPCWSTR>(nullptr); // stored as empty
    }
    // Small counts take 2 bytes, the others 6; a string is its count and its units.
    const size_t expected = 3 * 2 + 3 * 6 + (2 + 0) + (2 + 10) + (2 + 10) + (2 + 6) + (6 + 140000) + 2;
    EXPECT_EQ(expected, testsupport::ReadFileBytes(std::wstring(path)).size());

    CFile file(path, CFile::modeRead);
    CArchive ar(&file, CArchive::load);
    EXPECT_TRUE(ar.IsLoading());
    for (DWORD_PTR n : counts)
        EXPECT_EQ(n, ar.ReadCount());
    for (const CString& t : texts) {
        CString back = L"old";
        ar >> back;
        EXPECT_EQ(t.GetLength(), back.GetLength());
        EXPECT_TRUE(t == back);
    }
    CString empty = L"old";
    ar >> empty;
    EXPECT_TRUE(empty.IsEmpty());
}

TEST(Archive, ShortOrDamagedArchivesThrow)
{
    auto readString = [](CArchive& ar) {
        CString s;
        ar >> s;
    };
    auto readCount = [](CArchive& ar) { ar.ReadCount(); };
    EXPECT_EQ(-1, LoadCause({2, 0, 'a', 0, 'b', 0}, readString));
    EXPECT_EQ(CArchiveException::endOfFile, LoadCause({}, readCount));
    EXPECT_EQ(CArchiveException::endOfFile, LoadCause({7}, readCount)) << "half a count";
    EXPECT_EQ(CArchiveException::endOfFile, LoadCause({0xFF, 0xFF, 1, 0}, readCount)) << "half a wide count";
    EXPECT_EQ(CArchiveException::endOfFile, LoadCause({3, 0, 'a', 0, 'b', 0}, readString)) << "a unit short";
    EXPECT_EQ(CArchiveException::endOfFile, LoadCause({2, 0, 'a', 0, 'b'}, readString)) << "a byte short";
    // A length of four billion units in a tiny file is damage, found before
    // anything is allocated for it.
    EXPECT_EQ(CArchiveException::endOfFile, LoadCause({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 'a', 0}, readString));

    // An archive goes one way only.
    EXPECT_EQ(CArchiveException::readOnly, LoadCause({1, 0}, [](CArchive& ar) { ar.WriteCount(1); }));
}

} // namespace
