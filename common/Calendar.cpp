#include "common/Calendar.h"

namespace {

struct SMonth
{
    unsigned nameId;
    int days;
};

const SMonth kMonths[12] = {
    {10085, 31}, {10086, 28}, {10087, 31}, {10088, 30}, {10089, 31}, {10090, 30},
    {10091, 31}, {10092, 31}, {10093, 30}, {10094, 31}, {10095, 30}, {10096, 31},
};
const unsigned kErrorNameId = 10097;

bool IsValidMonth(int month)
{
    return month >= 0 && month < 12;
}

// Floor division, so that the counts stay right for years before 0.
long long FloorDiv(long long a, long long b)
{
    long long q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

// Leap years in [0, year) (year 0 is one).
long long LeapYearsBefore(int year)
{
    long long y = static_cast<long long>(year) - 1;
    return FloorDiv(y, 4) - FloorDiv(y, 100) + FloorDiv(y, 400) + 1;
}

} // namespace

unsigned GetMonthNameId(int month)
{
    return IsValidMonth(month) ? kMonths[month].nameId : kErrorNameId;
}

bool IsLeapYear(int year)
{
    return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

int GetDaysInMonth(int year, int month)
{
    if (!IsValidMonth(month))
        return 0;
    int days = kMonths[month].days;
    if (month == 1 && IsLeapYear(year))
        ++days;
    return days;
}

long long DayNumber(int year, int month, int dayIndex)
{
    long long days = 0;
    for (int m = 0; m < month && m < 12; ++m)
        days += kMonths[m].days;
    if (month >= 2 && IsLeapYear(year))
        ++days;
    return days + dayIndex + static_cast<long long>(year) * 365 + LeapYearsBefore(year);
}

int WeekdayOf(int year, int month, int dayIndex)
{
    // 1 January 1944 was a Saturday (5).
    long long diff = DayNumber(year, month, dayIndex) - DayNumber(1944, 0, 0) + 5;
    long long r = diff % 7;
    if (r < 0)
        r += 7;
    return static_cast<int>(r);
}
