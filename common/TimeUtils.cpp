#include "common/TimeUtils.h"

#include "common/UiText.h"

#include <cwchar>

namespace {

struct SDurationUnit
{
    UINT id;
    LPCWSTR text;
    long long threshold; // the first row whose threshold is above a value is its unit
};

const SDurationUnit kUnits[] = {
    {10069, L"%d ms", 1000},
    {10070, L"%d sec", 60000},
    {10071, L"%d min", 3600000},
    {10072, L"%d hour", 0}, // everything else
};
const int kUnitCount = sizeof kUnits / sizeof kUnits[0];

const LPCWSTR kMonths[12] = {L"January", L"February", L"March",     L"April",   L"May",      L"June",
                             L"July",    L"August",   L"September", L"October", L"November", L"December"};

} // namespace

CString FormatTimeMinSecMs(long long microseconds)
{
    const bool negative = microseconds < 0;
    const unsigned long long t =
        negative ? 0ull - static_cast<unsigned long long>(microseconds) : static_cast<unsigned long long>(microseconds);
    const unsigned long long ms = t / 1000;
    CString text;
    text.Format(L"%s%02I64u:%02u.%03u", negative ? L"-" : L"", ms / 60000, static_cast<unsigned>(ms / 1000 % 60),
                static_cast<unsigned>(ms % 1000));
    return text;
}

CString FormatDurationMs(long long milliseconds)
{
    int row = 0;
    while (row < kUnitCount - 1 && milliseconds >= kUnits[row].threshold)
        ++row;
    const long long unit = row == 0 ? 1 : kUnits[row - 1].threshold;
    const long long count = milliseconds / unit;
    const long long rest = milliseconds - count * unit;
    CString text;
    text.Format(LoadUiFormat(kUnits[row].id, kUnits[row].text), static_cast<int>(count));
    if (rest > 0)
        text += L" " + FormatDurationMs(rest);
    return text;
}

CString FormatDurationSec(long long seconds)
{
    return FormatDurationMs(seconds * 1000);
}

CString GetMonthName(int month)
{
    if (month < 0 || month > 11)
        return CString();
    return LoadUiText(10085 + month, kMonths[month]);
}

int CompareText(LPCWSTR a, LPCWSTR b)
{
    return _wcsicmp(a ? a : L"", b ? b : L"");
}
