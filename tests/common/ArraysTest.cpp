// String and number arrays and the small string and bit routines.
#include <gtest/gtest.h>

#include "common/BitUtils.h"
#include "common/DWordArrayEx.h"
#include "common/StrArrayEx.h"
#include "common/StringUtils.h"
#include "tests/support/TestSupport.h"

#include <vector>

namespace {

CString Joined(const CStringArray& a)
{
    CString out;
    for (INT_PTR i = 0; i < a.GetSize(); ++i)
        out += (i ? L"," : L"") + a.GetAt(i);
    return out;
}

TEST(StrArrayEx, SortedModeInsertsInOrderWithoutDuplicates)
{
    CStrArrayEx a;
    a.SetSorted(true);
    EXPECT_EQ(0, a.Add(L"b"));
    EXPECT_EQ(0, a.Add(L"a"));
    EXPECT_EQ(0, a.Add(L"B"));
    EXPECT_EQ(-1, a.Add(L"a"));
    EXPECT_EQ(-1, a.Add(static_cast<LPCWSTR>(nullptr)));
    EXPECT_EQ(CString(L"B,a,b"), Joined(a));

    a.InsertAt(0, L"zzz");
    EXPECT_EQ(3, a.GetSize()) << "index insertion does nothing when sorted";

    EXPECT_EQ(1, a.Find(L"a", false, 2)) << "binary search ignores start and case flag";
    EXPECT_EQ(-1, a.Find(L"A", false));
    EXPECT_EQ(2, a.Find(L"b"));

    // Sorting can be switched on only while empty.
    CStrArrayEx late;
    late.Add(L"z");
    late.SetSorted(true);
    EXPECT_FALSE(late.IsSorted());
    late.Add(L"a");
    EXPECT_EQ(CString(L"z,a"), Joined(late));

    // Many insertions keep strict order.
    CStrArrayEx many;
    many.SetSorted(true);
    for (int i = 0; i < 200; ++i) {
        CString s;
        s.Format(L"%03d", (i * 37) % 101);
        many.Add(s);
    }
    ASSERT_EQ(101, many.GetSize());
    for (INT_PTR i = 1; i < many.GetSize(); ++i)
        ASSERT_LT(many.GetAt(i - 1).Compare(many.GetAt(i)), 0);
}

TEST(StrArrayEx, CaseRulesOfFindSortAndUnique)
{
    CStrArrayEx a;
    for (LPCWSTR s : {L"B", L"a", L"C"})
        a.Add(s);
    a.Sort();
    EXPECT_EQ(CString(L"a,B,C"), Joined(a));

    CStrArrayEx f;
    f.Add(L"x");
    f.Add(L"abc");
    EXPECT_EQ(1, f.Find(L"ABC", false));
    EXPECT_EQ(-1, f.Find(L"ABC", true));
    EXPECT_EQ(-1, f.Find(L"abc", true, 2));
    // Only A-Z fold: accented capitals are not their small letters.
    f.Add(L"\x00e9t\x00e9");
    EXPECT_EQ(-1, f.Find(L"\x00c9T\x00c9", false));
    EXPECT_EQ(2, f.Find(L"\x00e9T\x00e9", false));

    EXPECT_FALSE(f.AddUnique(L"ABC", false));
    EXPECT_TRUE(f.AddUnique(L"ABC", true));
    EXPECT_EQ(4, f.GetSize());

    // Equal-ignoring-case elements keep their order in the bubble sort.
    CStrArrayEx stable;
    for (LPCWSTR t : {L"b", L"A", L"a", L"B"})
        stable.Add(t);
    stable.Sort();
    EXPECT_EQ(CString(L"A,a,b,B"), Joined(stable));
}

TEST(StrArrayEx, RemovalsCopiesAndLists)
{
    CStrArrayEx a;
    for (LPCWSTR s : {L"x", L"", L"y", L"x", L"", L"X", L"y"})
        a.Add(s);
    a.RemoveEmpty();
    EXPECT_EQ(CString(L"x,y,x,X,y"), Joined(a));
    a.RemoveDuplicates();
    EXPECT_EQ(CString(L"x,y,X"), Joined(a));

    CStrArrayEx sorted;
    sorted.SetSorted(true);
    sorted.CopyFrom(a);
    EXPECT_EQ(CString(L"X,x,y"), Joined(sorted));
    sorted.Append(a);
    EXPECT_EQ(3, sorted.GetSize()) << "appending goes through the sorted Add";
    a.Append(a);
    EXPECT_EQ(CString(L"x,y,X,x,y,X"), Joined(a)) << "appending to itself doubles once";

    const LPCWSTR list[] = {L"p", L"q", nullptr};
    a.SetFromList(list);
    EXPECT_EQ(CString(L"p,q"), Joined(a));
}

TEST(StrArrayEx, SerializeThroughAFile)
{
    const CString path = CString(testsupport::ScratchDir(L"strarray_archive").c_str()) + L"\\list.bin";
    CStrArrayEx stored;
    stored.SetFromList(std::vector<LPCWSTR>{L"b", L"", L"a", L"b", L"\x00e9", nullptr}.data());
    {
        CFile file(path, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        stored.Serialize(ar);
    }
    auto load = [&path](CStrArrayEx& into) {
        CFile file(path, CFile::modeRead);
        CArchive ar(&file, CArchive::load);
        into.Serialize(ar);
    };
    CStrArrayEx plain;
    plain.Add(L"left over");
    load(plain);
    EXPECT_EQ(CString(L"b,,a,b,\x00e9"), Joined(plain)) << "emptied first, then every string in order";

    // A sorted array sorts what it loads and drops the duplicate.
    CStrArrayEx sorted;
    sorted.SetSorted(true);
    load(sorted);
    EXPECT_EQ(CString(L",a,b,\x00e9"), Joined(sorted));

    // Cut anywhere inside, the archive throws and the array is left empty,
    // never holding the strings read before the damage.
    const std::vector<uint8_t> whole = testsupport::ReadFileBytes(std::wstring(path));
    for (size_t cut = 1; cut < whole.size(); ++cut) {
        testsupport::WriteFileBytes(std::wstring(path), whole.data(), cut);
        CStrArrayEx damaged;
        damaged.Add(L"left over");
        bool threw = false;
        try {
            load(damaged);
        } catch (CArchiveException* e) {
            threw = e->m_cause == CArchiveException::endOfFile;
            e->Delete();
        }
        EXPECT_TRUE(threw) << "cut at " << cut;
        EXPECT_EQ(0, damaged.GetSize()) << "cut at " << cut;
    }
}

TEST(DWordArrayEx, FillSearchSumSortAndText)
{
    CDWordArrayEx a;
    a.Add(1);
    a.Add(2);
    a.SetFillValue(7);
    a.SetSize(5);
    ASSERT_EQ(5, a.GetSize());
    EXPECT_EQ(7u, a.GetAt(2));
    EXPECT_EQ(7u, a.GetAt(4));
    EXPECT_EQ(2, a.Find(7));
    EXPECT_EQ(-1, a.Find(8));

    CDWordArrayEx s;
    for (DWORD v : {5u, 0xFFFFFFFFu, 0u, 3u, 5u, 1u, 0xFFFFFFFFu})
        s.Add(v);
    EXPECT_EQ(0x1FFFFFFFEull + 14, s.Sum()) << "no 32-bit overflow";
    s.RemoveAt(6);
    s.Sort();
    CString text;
    CDWordArrayEx::ToString(text, s);
    EXPECT_EQ(CString(L"0,1,3,5,5,-1"), text) << "unsigned order, signed text";

    CDWordArrayEx parsed;
    parsed.Add(99);
    CDWordArrayEx::FromString(L",3,,4,", parsed);
    CString parsedText;
    CDWordArrayEx::ToString(parsedText, parsed);
    EXPECT_STREQ(L"3,4", parsedText) << "replaces, and skips empty fields";
    CDWordArrayEx::FromString(text, parsed);
    EXPECT_TRUE(parsed.IsEqual(s));

    CDWordArrayEx copy;
    copy.CopyFrom(s);
    EXPECT_TRUE(copy.IsEqual(s));
    copy.SetAt(0, 9);
    EXPECT_FALSE(copy.IsEqual(s));
    copy.RemoveAt(0);
    EXPECT_FALSE(copy.IsEqual(s));
}

TEST(StringRoutines, SplitJoinAndBackslashes)
{
    CStringArray parts;
    parts.Add(L"old");
    SplitString(L";a;;b c;", L';', parts);
    EXPECT_EQ(CString(L"a,b c"), Joined(parts));
    SplitString(nullptr, L';', parts);
    SplitString(L"x", 0, parts);
    EXPECT_EQ(2, parts.GetSize()) << "null text or zero separator does nothing";

    parts.Add(L"");
    CString joined = L"kept";
    JoinStrings(parts, 0, joined);
    EXPECT_EQ(CString(L"kept"), joined);
    JoinStrings(parts, L'|', joined);
    EXPECT_EQ(CString(L"a|b c"), joined);

    CString path;
    AddTrailingBackslash(path);
    EXPECT_STREQ(L"\\", path);
    path = L"C:\\Music";
    AddTrailingBackslash(path);
    AddTrailingBackslash(path);
    EXPECT_STREQ(L"C:\\Music\\", path);
    RemoveTrailingBackslash(path);
    RemoveTrailingBackslash(path);
    EXPECT_STREQ(L"C:\\Music", path);

    EXPECT_TRUE(StartsWith(L"Ravelin", L"Rav"));
    EXPECT_FALSE(StartsWith(L"Ravelin", L"rav"));
    EXPECT_FALSE(StartsWith(L"Ra", L"Rav"));
    EXPECT_FALSE(StartsWith(L"Ra", nullptr));

    EXPECT_EQ(CString(L"Hello World 2nd"), MakeTitle(L"  hello_world 2nd_ "));
    EXPECT_EQ(CString(L"A-B"), MakeTitle(L"a-b"));
}

TEST(BitRoutines, Edges)
{
    EXPECT_EQ(0u, HighestBit(0));
    EXPECT_EQ(0x80000000u, HighestBit(0xFFFFFFFFu));
    EXPECT_EQ(31, HighestBitIndex(0x80000001u));
    EXPECT_TRUE(IsPowerOfTwoOrZero(0));
    EXPECT_TRUE(HasSeveralBits(3));
    int d = 0;
    EXPECT_TRUE(IsWithinTolerance(10, 12, 3, &d));
    EXPECT_EQ(-2, d);
    EXPECT_FALSE(IsWithinTolerance(INT_MIN, INT_MAX, INT_MAX)) << "no overflow";
}

} // namespace
