// Byte-count texts and the calendar arithmetic of the date picker.
#include <gtest/gtest.h>

#include "common/ByteSize.h"
#include "common/Calendar.h"
#include "common/RectEx.h"

namespace {

TEST(ByteSize, ThresholdsOfBothModes)
{
    EXPECT_STREQ(L"0 byte", FormatByteSize(0, 0));
    EXPECT_STREQ(L"1023 byte", FormatByteSize(1023, 0));
    EXPECT_STREQ(L"1.00 KB", FormatByteSize(1024, 0));
    EXPECT_STREQ(L"1.50 KB", FormatByteSize(1536, 0));
    EXPECT_STREQ(L"1024.00 KB", FormatByteSize(1048575, 0));
    EXPECT_STREQ(L"1.00 MB", FormatByteSize(1048576, 0));
    EXPECT_STREQ(L"1.00 GB", FormatByteSize(1073741824, 0));
    EXPECT_STREQ(L"5.00 GB", FormatByteSize(5LL * 1073741824, 0));
    EXPECT_STREQ(L"-5 byte", FormatByteSize(-5, 0));

    EXPECT_STREQ(L"1023b", FormatByteSize(1023, 1));
    EXPECT_STREQ(L"1K", FormatByteSize(1536, 1));
    EXPECT_STREQ(L"1023K", FormatByteSize(1048575, 1));
    EXPECT_STREQ(L"3M", FormatByteSize(3 * 1048576 + 5, 1));
    EXPECT_STREQ(L"5G", FormatByteSize(5LL * 1073741824 + 1, 1));
    // Sizes above 2^31 units still print whole.
    EXPECT_STREQ(L"4294967296G", FormatByteSize(4294967296LL * 1073741824, 1));
    EXPECT_STREQ(L"-1b", FormatByteSize(-1, 1));

    EXPECT_STREQ(L"", FormatByteSize(1024, 2));
    EXPECT_STREQ(L"", FormatByteSize(1024, -1));
}

TEST(Calendar, MonthNamesAndLengths)
{
    // A month outside 0..11 gets the one fallback text, not a neighbour's.
    EXPECT_EQ(GetMonthNameId(12), GetMonthNameId(-1));
    EXPECT_NE(GetMonthNameId(11), GetMonthNameId(12));

    EXPECT_EQ(29, GetDaysInMonth(2004, 1));
    EXPECT_EQ(28, GetDaysInMonth(2003, 1));
    EXPECT_EQ(29, GetDaysInMonth(1900, 1)); // four-year rule only
    EXPECT_EQ(31, GetDaysInMonth(2003, 0));
    EXPECT_EQ(30, GetDaysInMonth(2003, 10));
    EXPECT_EQ(0, GetDaysInMonth(2003, 12));
    int total = 0;
    for (int m = 0; m < 12; ++m)
        total += GetDaysInMonth(2001, m);
    EXPECT_EQ(365, total);
}

TEST(Calendar, Weekdays)
{
    EXPECT_EQ(5, WeekdayOf(1944, 0, 0)); // Saturday, the reference day
    EXPECT_EQ(1, WeekdayOf(2008, 0, 0)); // Tuesday
    EXPECT_EQ(4, WeekdayOf(2007, 5, 0)); // Friday
    EXPECT_EQ(6, WeekdayOf(2004, 1, 28)); // Sunday, 29 February
    EXPECT_EQ(0, WeekdayOf(2004, 2, 0)); // Monday, 1 March after a leap day
    EXPECT_EQ(4, WeekdayOf(1943, 11, 30)); // Friday, 31 December, before the reference day
    EXPECT_EQ(3, WeekdayOf(1900, 2, 0)); // Thursday, 1 March 1900
    // Consecutive days step through the week without a gap, also across
    // the end of a month and of a year.
    for (int d = 0; d < 59; ++d)
        EXPECT_EQ((WeekdayOf(2099, 0, 0) + d) % 7, WeekdayOf(2099, d / 31, d % 31)) << d;
    EXPECT_EQ((WeekdayOf(2007, 11, 30) + 1) % 7, WeekdayOf(2008, 0, 0));
}

TEST(RectEx, CentreUsesSignedDivision)
{
    CRectEx r(-5, -4, 0, 1);
    EXPECT_EQ(-2, r.CenterX());
    EXPECT_EQ(-1, r.CenterY());
    CPoint c = CRectEx(10, 20, 31, 41).CenterPoint();
    EXPECT_EQ(20, c.x);
    EXPECT_EQ(30, c.y);
}

} // namespace
