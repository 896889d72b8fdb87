// Reversible scrambling of stored texts.
#include <gtest/gtest.h>

#include "common/Scramble.h"

namespace {

TEST(Scramble, ExactFormAndRoundTrip)
{
    CString out = L"old";
    const LPCWSTR forms[][2] = {{L"A", L"Xbe"}, {L"", L"X"}, {L"\x00ff\x0001", L"X00fe"}};
    for (const auto& f : forms) {
        ScrambleString(f[0], out, 1);
        EXPECT_STREQ(f[1], out);
    }
    // Every code unit up to U+00FF, in one text, comes back unchanged.
    CString all, back;
    for (wchar_t c = 1; c <= 0xFF; ++c)
        all += c;
    ScrambleString(all, out, 1);
    EXPECT_EQ(1 + 2 * 255, out.GetLength());
    EXPECT_EQ(2 * 255, out.Mid(1).SpanIncluding(L"0123456789abcdef").GetLength()) << "only lower-case hex";
    ASSERT_TRUE(UnscrambleString(out, back));
    EXPECT_EQ(all, back);
    // Above U+00FF only the low byte is kept.
    ScrambleString(L"\x20ac\x0141", out, 1);
    ASSERT_TRUE(UnscrambleString(out, back));
    EXPECT_STREQ(L"\x00ac\x0041", back);
    // Upper-case digits read too.
    ASSERT_TRUE(UnscrambleString(L"XBE", out));
    EXPECT_STREQ(L"A", out);
    EXPECT_TRUE(UnscrambleString(L"X", out));
    EXPECT_TRUE(out.IsEmpty());
}

TEST(Scramble, RefusedFormsAndOtherModesLeaveTheOutputAlone)
{
    CString out = L"untouched";
    ScrambleString(L"abc", out, 0);
    ScrambleString(L"abc", out, 2);
    ScrambleString(nullptr, out, 1);
    EXPECT_FALSE(UnscrambleString(nullptr, out));
    EXPECT_FALSE(UnscrambleString(L"", out));
    EXPECT_FALSE(UnscrambleString(L"Xbe0", out)) << "even length";
    EXPECT_FALSE(UnscrambleString(L"be0", out)) << "no X";
    EXPECT_FALSE(UnscrambleString(L"xbe", out)) << "lower-case x";
    EXPECT_STREQ(L"untouched", out);

    // A bad pair stops decoding; what came before it stays.
    EXPECT_FALSE(UnscrambleString(L"Xbebe-1be", out));
    EXPECT_STREQ(L"AA", out);
    EXPECT_FALSE(UnscrambleString(L"Xbe\x00e9"
                                  L"0",
                                  out));
    EXPECT_STREQ(L"A", out);
}

} // namespace
