#pragma once
// Calendar arithmetic of the date picker: month names, month lengths and the
// weekday of a date. Months count from 0 (January), days from 0 (the 1st).
// Leap years follow the Gregorian rule (divisible by 4, centuries only when
// divisible by 400), also for years before its introduction.

// String id of the month's name (10085 "January" .. 10096 "December");
// 10097 ("Error") for a month outside 0..11.
unsigned GetMonthNameId(int month);

[[nodiscard]] bool IsLeapYear(int year);

// Days in the month, February counting 29 in a leap year; 0 for a month
// outside 0..11.
int GetDaysInMonth(int year, int month);

// Days from the start of year 0 to the given date (month 0..11, day from 0).
long long DayNumber(int year, int month, int dayIndex);

// Weekday of the date: 0 Monday .. 5 Saturday, 6 Sunday.
int WeekdayOf(int year, int month, int dayIndex);
