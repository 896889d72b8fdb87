#include "common/Scramble.h"

#include <cwchar>

void ScrambleString(LPCWSTR text, CString& out, int mode)
{
    if (!text || mode != 1)
        return;
    static const wchar_t digits[] = L"0123456789abcdef";
    const size_t n = wcslen(text);
    CString result(L"X");
    for (size_t i = 0; i < n; ++i) {
        const unsigned b = 255u - (static_cast<unsigned>(text[i]) & 0xFFu);
        result += digits[b >> 4];
        result += digits[b & 0xF];
    }
    out = result;
}

CString StoredForm(LPCWSTR text, int mode)
{
    CString stored;
    if (mode == 0)
        stored = text;
    else
        ScrambleString(text, stored, mode);
    return stored;
}

namespace {

// Value of one scrambled digit: 0-9 for decimal digits, 10 and up for
// letters ('a' is 10, later letters give more); -1 for anything else.
int DigitValue(wchar_t c)
{
    if (c >= L'0' && c <= L'9')
        return c - L'0';
    if (c >= L'A' && c <= L'Z')
        c = static_cast<wchar_t>(c - L'A' + L'a');
    if (c >= L'a' && c <= L'z')
        return c - L'a' + 10;
    return -1;
}

} // namespace

bool UnscrambleString(LPCWSTR text, CString& out)
{
    if (!text || text[0] != L'X')
        return false;
    const size_t n = wcslen(text);
    if (n % 2 == 0)
        return false;
    out.Empty();
    for (size_t i = 1; i + 1 < n; i += 2) {
        const int hi = DigitValue(text[i]);
        const int lo = DigitValue(text[i + 1]);
        if (hi < 0 || lo < 0)
            return false;
        const unsigned value = static_cast<unsigned>(16 * hi + lo) & 0xFFu;
        out += static_cast<wchar_t>(255u - value);
    }
    return true;
}
