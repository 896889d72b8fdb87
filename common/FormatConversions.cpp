#include "common/FormatConversions.h"
#include <cwchar>

namespace {

bool IsFlag(wchar_t c)
{
    return c == L'-' || c == L'+' || c == L' ' || c == L'#' || c == L'0';
}

bool IsDigit(wchar_t c)
{
    return c >= L'0' && c <= L'9';
}

// Normalises conversion letters that take the same argument type.
wchar_t NormalisedConversion(wchar_t c)
{
    switch (c) {
    case L'i': return L'd';
    case L'o':
    case L'x':
    case L'X': return L'u';
    default: return c;
    }
}

// Largest written width or precision that a format may carry without
// notice; a larger one would make a formatted text huge (or overflow the
// formatter's count) and so never matches.
const int kMaxFieldSize = 1024;

// Passes over the width or precision at p: digits, or a '*' that takes an
// argument and so goes into the signature. A written count above
// kMaxFieldSize puts '#' into the signature.
void SkipCount(const wchar_t*& p, std::wstring& signature)
{
    if (*p == L'*') {
        signature += L'*';
        ++p;
        return;
    }
    int value = 0;
    while (IsDigit(*p)) {
        if (value <= kMaxFieldSize)
            value = value * 10 + (*p - L'0');
        ++p;
    }
    if (value > kMaxFieldSize)
        signature += L'#';
}

} // namespace

std::wstring FormatSignature(const wchar_t* format)
{
    std::wstring signature;
    if (format == nullptr)
        return signature;
    const wchar_t* p = format;
    while (*p != 0) {
        if (*p != L'%') {
            ++p;
            continue;
        }
        ++p;
        if (*p == L'%') {
            ++p;
            continue;
        }
        if (*p == 0) {
            signature += L"!|";
            break;
        }
        while (IsFlag(*p))
            ++p;
        SkipCount(p, signature); // width
        if (*p == L'.') {
            ++p;
            SkipCount(p, signature); // precision
        }
        // Size prefixes of the C run time: h, hh, l, ll, L, w, I, I32, I64.
        for (;;) {
            if (*p == L'h' || *p == L'l' || *p == L'L' || *p == L'w') {
                signature += *p++;
            } else if (*p == L'I') {
                signature += *p++;
                if ((p[0] == L'3' && p[1] == L'2') || (p[0] == L'6' && p[1] == L'4')) {
                    signature += p[0];
                    signature += p[1];
                    p += 2;
                }
            } else {
                break;
            }
        }
        if (*p == 0) {
            signature += L"!|";
            break;
        }
        signature += NormalisedConversion(*p++);
        signature += L'|';
    }
    return signature;
}

bool HaveSameFormatConversions(const wchar_t* a, const wchar_t* b)
{
    return FormatSignature(a) == FormatSignature(b);
}
