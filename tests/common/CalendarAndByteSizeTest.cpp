// Byte-count texts and the calendar arithmetic of the date picker.
#include <gtest/gtest.h>

#include "common/ByteSize.h"
#include "common/Calendar.h"
#include "common/RectEx.h"

namespace {

TEST(ByteSize, ThresholdsOfBothModes)
{
    const long long K = 1024, M = K * K, G = M * K;
    const struct
    {
        long long size;
        int mode;
        LPCWSTR text;
    } rows[] = {
        {0, 0, L"0 byte"},
        {1023, 0, L"1023 byte"},
        {K, 0, L"1.00 KB"},
        {1536, 0, L"1.50 KB"},
        {M - 1, 0, L"1024.00 KB"},
        {M, 0, L"1.00 MB"},
        {G, 0, L"1.00 GB"},
        {5 * G, 0, L"5.00 GB"},
        {-5, 0, L"-5 byte"},
        {1023, 1, L"1023b"},
        {1536, 1, L"1K"},
        {M - 1, 1, L"1023K"},
        {3 * M + 5, 1, L"3M"},
        {5 * G + 1, 1, L"5G"},
        {-1, 1, L"-1b"},
        {K, 2, L""},
        {K, -1, L""},
        {4294967296LL * G, 1, L"4294967296G"}, // above 2^31 units: still whole
    };
    for (const auto& r : rows)
        EXPECT_STREQ(r.text, FormatByteSize(r.size, r.mode)) << r.size << " in mode " << r.mode;
}

TEST(Calendar, MonthLengthsAndWeekdays)
{
    // A month outside 0..11 gets the one fallback text, not a neighbour's.
    EXPECT_EQ(GetMonthNameId(12), GetMonthNameId(-1));
    EXPECT_NE(GetMonthNameId(11), GetMonthNameId(12));

    // year, month, days; centuries leap only when divisible by 400
    const int lengths[][3] = {{2004, 1, 29}, {2003, 1, 28}, {1900, 1, 28},  {2100, 1, 28},
                              {2000, 1, 29}, {2003, 0, 31}, {2003, 10, 30}, {2003, 12, 0}};
    for (const auto& l : lengths)
        EXPECT_EQ(l[2], GetDaysInMonth(l[0], l[1])) << l[0] << "-" << l[1];
    int total = 0;
    for (int m = 0; m < 12; ++m)
        total += GetDaysInMonth(2001, m);
    EXPECT_EQ(365, total);

    // year, month, day, weekday (0 Monday): the reference day 1 January 1944,
    // a leap day and the day after, the day before the reference, then dates
    // across century years with and without a leap day
    const int days[][4] = {{1944, 0, 0, 5},  {2008, 0, 0, 1},   {2007, 5, 0, 4},  {2004, 1, 28, 6},
                           {2004, 2, 0, 0},  {1943, 11, 30, 4}, {1900, 2, 0, 3},  {2100, 2, 0, 0},
                           {2000, 1, 28, 1}, {1600, 2, 0, 2},   {1899, 11, 30, 6}};
    for (const auto& d : days)
        EXPECT_EQ(d[3], WeekdayOf(d[0], d[1], d[2])) << d[0] << "-" << d[1] << "-" << d[2];
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
    EXPECT_EQ(CPoint(20, 30), CRectEx(10, 20, 31, 41).CenterPoint());
}

} // namespace
