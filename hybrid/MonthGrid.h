#pragma once
// The week rows of a month as the calendar shows them: seven columns a row
// (column 0 Monday, following the common weekday routine), the month's days
// in their weekday columns, the first row filled in front with the last
// days of the previous month and the last row filled behind with the first
// days of the next one; those days are greyed.
#include <array>
#include <vector>

struct SCalendarDay
{
    int day;     // 1 to 31
    bool greyed; // another month's day
};

using CalendarWeek = std::array<SCalendarDay, 7>;

// Empty for a month outside 0 to 11.
std::vector<CalendarWeek> BuildMonthGrid(int year, int month);
