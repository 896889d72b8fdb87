#pragma once
// Texts of times and durations.
#include "platform/mfc/afx.h"

// "mm:ss.mmm" of a time in microseconds; minutes are not limited, a negative
// time gets a leading "-".
CString FormatTimeMinSecMs(long long microseconds);
// "1 hour 2 min 3 sec 4 ms": the largest unit that fits, then the rest.
CString FormatDurationMs(long long milliseconds);
CString FormatDurationSec(long long seconds);
// The localised name of month 0-11; empty otherwise.
CString GetMonthName(int month);
// Case-insensitive comparison: 0 when equal.
int CompareText(LPCWSTR a, LPCWSTR b);
