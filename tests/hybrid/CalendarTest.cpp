// The month calendar: week rows across month and year ends and in leap
// years, and the handler in a real control: its lists, the numbered row
// under its own cell, and the day grid rebuilt on every selection.
#include <gtest/gtest.h>
#include "HybridTestKit.h"
#include "common/Calendar.h"
#include "hybrid/CellBuilder.h"
#include "hybrid/HybridCalendar.h"
#include "hybrid/IHybridSubContent.h"
#include "hybrid/IHybridText.h"
#include "hybrid/MonthGrid.h"

using namespace hybridtest;

namespace {

// "d" for a day of the month, "(d)" for a greyed one.
std::string RowText(const CalendarWeek& week)
{
    std::string text;
    for (const SCalendarDay& day : week) {
        const std::string number = std::to_string(day.day);
        text += (text.empty() ? "" : " ") + (day.greyed ? "(" + number + ")" : number);
    }
    return text;
}

} // namespace

TEST(MonthGrid, FirstAndLastWeeksBorrowFromTheNeighbouringMonths)
{
    // 1 January 2024 is a Monday, 31 March 2024 a Sunday.
    std::vector<CalendarWeek> january = BuildMonthGrid(2024, 0);
    ASSERT_EQ(5u, january.size());
    EXPECT_EQ("1 2 3 4 5 6 7", RowText(january.front()));
    EXPECT_EQ("29 30 31 (1) (2) (3) (4)", RowText(january.back()));
    EXPECT_EQ("25 26 27 28 29 30 31", RowText(BuildMonthGrid(2024, 2).back()));
    // February 2003 has 28 days; January takes its leading days from December.
    EXPECT_EQ("(24) (25) (26) (27) (28) 1 2", RowText(BuildMonthGrid(2003, 2).front()));
    EXPECT_EQ("(27) (28) (29) (30) (31) 1 2", RowText(BuildMonthGrid(2000, 0).front()));
    EXPECT_TRUE(BuildMonthGrid(2024, 12).empty());
}

TEST(MonthGrid, ConsecutiveMonthsShareTheirBorderWeek)
{
    // Month after month through leap years and the turns of the centuries:
    // every day once and in order, and the last week of one month is the
    // first week of the next.
    for (int start : {1899, 1999, 2023, 2099}) {
        for (int index = 0; index < 36; ++index) {
            const int year = start + index / 12, month = index % 12;
            const int nextYear = month == 11 ? year + 1 : year, nextMonth = (month + 1) % 12;
            std::vector<CalendarWeek> weeks = BuildMonthGrid(year, month);
            std::vector<CalendarWeek> next = BuildMonthGrid(nextYear, nextMonth);
            ASSERT_FALSE(weeks.empty() || next.empty());
            int expected = 1;
            for (const CalendarWeek& week : weeks)
                for (const SCalendarDay& day : week) {
                    if (!day.greyed) {
                        EXPECT_EQ(expected, day.day) << year << "-" << month;
                        ++expected;
                    }
                }
            EXPECT_EQ(GetDaysInMonth(year, month) + 1, expected) << year << "-" << month;
            const CalendarWeek& last = weeks.back();
            const CalendarWeek& first = next.front();
            if (last[6].greyed) {
                for (int c = 0; c < 7; ++c) {
                    EXPECT_EQ(last[c].day, first[c].day) << year << "-" << month << " column " << c;
                    EXPECT_NE(last[c].greyed, first[c].greyed) << year << "-" << month << " column " << c;
                }
            } else {
                EXPECT_FALSE(first[0].greyed) << year << "-" << month; // the next month starts a new week
            }
        }
    }
    EXPECT_EQ(29, GetDaysInMonth(2000, 1));
    EXPECT_EQ(29, GetDaysInMonth(2024, 1));
}

namespace {

// The shown days of a week row in the same notation as RowText.
std::string ShownRow(IHybridCell* row)
{
    std::string text;
    for (int c = 0; c < 7; ++c) {
        CIPtr<IHybridCell> day = ColumnOf(row, c);
        CIPtr<IHybridText> content;
        std::string number = "?";
        if (day && SUCCEEDED(content.QueryFrom(day->GetContentPtr(), IID_IHybridText)) && content)
            number = std::string(CStringA(content->GetText()).GetString());
        const bool greyed = day && !day->IsEnabled();
        text += (text.empty() ? "" : " ") + (greyed ? "(" + number + ")" : number);
    }
    return text;
}

struct SCalendar
{
    CIPtr<IHybridHandler> handler;
    CHybridCalendar* calendar = nullptr;
    CIPtr<IHybridCell> cell;
    CIPtr<IHybridCombo> years, months;
};

SCalendar AddCalendar(CTestHost& host)
{
    SCalendar c;
    c.handler.Attach(CreateCalendarHandler());
    c.calendar = static_cast<CHybridCalendar*>(c.handler.Get());
    CCellBuilder builder(&host.Ctrl());
    builder.SetHandler(c.handler).ReturnCell(&c.cell).AddCell();
    c.calendar->GetYearList(&c.years);
    c.calendar->GetMonthList(&c.months);
    host.Pump();
    return c;
}

} // namespace

TEST(HybridCalendarHandler, ListsNumberedRowAndTheFirstMonth)
{
    CTestHost host(400, 400);
    SCalendar c = AddCalendar(host);
    ASSERT_TRUE(c.years && c.months);
    ASSERT_EQ(97, c.years->GetCount());
    EXPECT_STREQ(L"2003", c.years->GetString(0));
    EXPECT_EQ(0, c.years->GetCurSel());
    ASSERT_EQ(12, c.months->GetCount());
    EXPECT_EQ(9, c.months->GetCurSel());

    // The numbered row lies under the calendar's own cell; the root list
    // holds the calendar alone.
    CCellArray roots;
    host.Ctrl().GetRootSubContent()->GetChildren(&roots);
    EXPECT_EQ(1, roots.GetSize());
    CIPtr<IHybridCell> header, parent;
    ASSERT_TRUE(c.calendar->GetHeaderRow(&header));
    ASSERT_TRUE(header->GetParentCell(&parent));
    EXPECT_TRUE(IsSameObject(parent, c.cell));
    EXPECT_EQ("1 2 3 4 5 6 7", ShownRow(header));

    // October 2003 began on a Wednesday.
    const CCellArray& rows = c.calendar->GetDayRows();
    ASSERT_EQ(5, rows.GetSize());
    EXPECT_EQ("(29) (30) 1 2 3 4 5", ShownRow(rows.GetAt(0)));
    EXPECT_EQ("27 28 29 30 31 (1) (2)", ShownRow(rows.GetAt(4)));
    ASSERT_TRUE(rows.GetAt(0)->GetParentCell(&parent));
    EXPECT_TRUE(IsSameObject(parent, c.cell));
}

TEST(HybridCalendarHandler, SelectingAYearOrMonthRebuildsTheGrid)
{
    CTestHost host(400, 400);
    SCalendar c = AddCalendar(host);
    ASSERT_TRUE(c.years && c.months);
    CIPtr<IHybridCell> oldRow = c.calendar->GetDayRows().GetAt(0);

    c.years->SetCurSel(2004 - CALENDAR_FIRST_YEAR, true);
    c.months->SetCurSel(1, true);
    host.Pump();
    const CCellArray& rows = c.calendar->GetDayRows();
    ASSERT_EQ(5, rows.GetSize());
    EXPECT_EQ("(26) (27) (28) (29) (30) (31) 1", ShownRow(rows.GetAt(0)));
    EXPECT_EQ("23 24 25 26 27 28 29", ShownRow(rows.GetAt(4)));
    EXPECT_FALSE(oldRow->HasParent()); // the old rows were detached

    // A selection made without notification leaves the grid as it is.
    c.years->SetCurSel(2005 - CALENDAR_FIRST_YEAR, false);
    c.months->SetCurSel(0, false);
    EXPECT_EQ("23 24 25 26 27 28 29", ShownRow(c.calendar->GetDayRows().GetAt(4)));
    c.months->SetCurSel(1, true);
    c.months->SetCurSel(0, true); // January 2005: its leading days from December 2004
    EXPECT_EQ("(27) (28) (29) (30) (31) 1 2", ShownRow(c.calendar->GetDayRows().GetAt(0)));
}

TEST(HybridCalendarHandler, TheGridHasTheGeometryOfACalendar)
{
    CTestHost host(400, 600); // tall enough for no scroll bar
    SCalendar c = AddCalendar(host);
    host.Pump(60);
    CCellArray parts; // the lists' row, the numbered row, the week rows
    CIPtr<IHybridSubContent> sub;
    ASSERT_TRUE(c.cell->GetSubContent(&sub) && sub);
    sub->GetChildren(&parts);
    const CCellArray& weeks = c.calendar->GetDayRows();
    ASSERT_EQ(2 + weeks.GetSize(), parts.GetSize());
    ASSERT_GE(weeks.GetSize(), 5);
    ASSERT_LE(weeks.GetSize(), 6);

    TEXTMETRICW font{};
    HDC dc = ::GetDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, ::GetStockObject(DEFAULT_GUI_FONT));
    ::GetTextMetricsW(dc, &font);
    ::SelectObject(dc, old);
    ::ReleaseDC(nullptr, dc);

    // Below the lists every row is seven columns that tile it: each about
    // a seventh of the 400 pixels, side by side, one text line high or more.
    int bottom = CTestHost::RectOf(parts.GetAt(0)).bottom;
    EXPECT_GT(bottom, CTestHost::RectOf(parts.GetAt(0)).top) << "the lists' row";
    for (INT_PTR i = 1; i < parts.GetSize(); ++i) {
        IHybridCell* row = parts.GetAt(i);
        const CRect rowRect = CTestHost::RectOf(row);
        EXPECT_GE(rowRect.top, bottom) << "row " << i << " below the one before";
        bottom = rowRect.bottom;
        int x = rowRect.left;
        for (int column = 0; column < 7; ++column) {
            CIPtr<IHybridCell> day = ColumnOf(row, column);
            ASSERT_TRUE(day) << "row " << i << " column " << column;
            const CRect r = CTestHost::RectOf(day);
            if (column == 0)
                EXPECT_NEAR(x, r.left, 2) << "row " << i << ": the first column starts the row";
            else
                EXPECT_EQ(x, r.left) << "row " << i << " column " << column;
            EXPECT_NEAR(400 / 7, r.Width(), 4) << "row " << i << " column " << column;
            EXPECT_GE(r.Height(), font.tmHeight) << "row " << i << " column " << column;
            EXPECT_GE(r.top, rowRect.top);
            EXPECT_LE(r.bottom, rowRect.bottom);
            x = r.right;
        }
        EXPECT_NEAR(rowRect.right, x, 2) << "row " << i << ": the last column ends the row";
    }
    // The content is the lists, the numbered row and the weeks, no more.
    EXPECT_GE(host.Ctrl().GetContentHeight(), bottom);
    EXPECT_LE(host.Ctrl().GetContentHeight(), bottom + 8);
    EXPECT_GE(bottom - CTestHost::RectOf(parts.GetAt(0)).bottom, (1 + weeks.GetSize()) * font.tmHeight);
}
