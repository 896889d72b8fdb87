// Reversible scrambling of stored texts.
#include <gtest/gtest.h>

#include "common/Scramble.h"

namespace {

TEST(Scramble, ExactFormAndRoundTrip)
{
    CString out = L"old";
    ScrambleString(L"A", out, 1);
    EXPECT_EQ(CString(L"Xbe"), out);
    ScrambleString(L"", out, 1);
    EXPECT_EQ(CString(L"X"), out);
    ScrambleString(L"\x00ff\x0001", out, 1);
    EXPECT_EQ(CString(L"X00fe"), out);

    // Every code unit up to U+00FF, in one text, comes back unchanged.
    CString all;
    for (wchar_t c = 1; c <= 0xFF; ++c)
        all += c;
    ScrambleString(all, out, 1);
    EXPECT_EQ(1 + 2 * 255, out.GetLength());
    for (int i = 1; i < out.GetLength(); ++i)
        ASSERT_TRUE(wcschr(L"0123456789abcdef", out[i])) << "only X and lower-case hex";
    CString back;
    ASSERT_TRUE(UnscrambleString(out, back));
    EXPECT_EQ(all, back);
}

TEST(Scramble, OtherModesAndNullLeaveOutputAlone)
{
    CString out = L"untouched";
    ScrambleString(L"abc", out, 0);
    ScrambleString(L"abc", out, 2);
    ScrambleString(nullptr, out, 1);
    EXPECT_EQ(CString(L"untouched"), out);
}

TEST(Scramble, AboveU00FFKeepsOnlyTheLowByte)
{
    CString out, back;
    ScrambleString(L"\x20ac\x0141", out, 1); // euro sign, L with stroke
    ASSERT_TRUE(UnscrambleString(out, back));
    EXPECT_EQ(CString(L"\x00ac\x0041"), back);
}

TEST(Scramble, RefusedFormsLeaveOutputUntouched)
{
    CString out = L"untouched";
    EXPECT_FALSE(UnscrambleString(nullptr, out));
    EXPECT_FALSE(UnscrambleString(L"", out));
    EXPECT_FALSE(UnscrambleString(L"Xbe0", out)) << "even length";
    EXPECT_FALSE(UnscrambleString(L"be0", out)) << "no X";
    EXPECT_FALSE(UnscrambleString(L"xbe", out)) << "lower-case x";
    EXPECT_EQ(CString(L"untouched"), out);

    EXPECT_TRUE(UnscrambleString(L"X", out));
    EXPECT_TRUE(out.IsEmpty());
}

TEST(Scramble, UpperCaseDigitsAndBadPairs)
{
    CString out;
    ASSERT_TRUE(UnscrambleString(L"XBE", out));
    EXPECT_EQ(CString(L"A"), out);

    // A bad pair stops decoding; what came before it stays.
    EXPECT_FALSE(UnscrambleString(L"Xbebe-1be", out));
    EXPECT_EQ(CString(L"AA"), out);
    EXPECT_FALSE(UnscrambleString(L"Xbe\x00e9" L"0", out));
    EXPECT_EQ(CString(L"A"), out);
}

} // namespace
