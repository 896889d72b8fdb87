#include "hybrid/MonthGrid.h"
#include "common/Calendar.h"

std::vector<CalendarWeek> BuildMonthGrid(int year, int month)
{
    std::vector<CalendarWeek> weeks;
    const int days = GetDaysInMonth(year, month);
    bool open = false;
    int column = 0;
    for (int d = 0; d < days; ++d) {
        column = WeekdayOf(year, month, d);
        if (column < 0 || column > 6)
            continue;
        if (!open) {
            weeks.push_back(CalendarWeek{});
            open = true;
            if (d == 0) {
                // January takes its leading days from December before.
                const int previous = month == 0 ? GetDaysInMonth(year - 1, 11) : GetDaysInMonth(year, month - 1);
                for (int j = 0; j < column; ++j)
                    weeks.back()[j] = SCalendarDay{previous - column + j + 1, true};
            }
        }
        weeks.back()[column] = SCalendarDay{d + 1, false};
        if (column == 6)
            open = false;
    }
    if (open) {
        for (int j = column + 1; j < 7; ++j)
            weeks.back()[j] = SCalendarDay{j - column, true};
    }
    return weeks;
}
