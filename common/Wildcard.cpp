#include "common/Wildcard.h"

#include <cwctype>

namespace {

bool SameIgnoringCase(wchar_t a, wchar_t b)
{
    return a == b || towlower(a) == towlower(b);
}

bool IsMaskSeparator(wchar_t c)
{
    return c == L' ' || c == L'\t' || c == L';' || c == L',';
}

} // namespace

bool WildcardMatch(LPCWSTR text, LPCWSTR pattern)
{
    if (!text || !*text || !pattern || !*pattern)
        return false;
    // One pending '*' is enough to backtrack to: a later '*' can absorb
    // whatever an earlier one would have, so the walk stays linear per star.
    const wchar_t* t = text;
    const wchar_t* p = pattern;
    const wchar_t* starPattern = nullptr;
    const wchar_t* starText = nullptr;
    for (;;) {
        if (!*p)
            return true;
        if (*p == L'*') {
            // A run of '*' and '?' counts as one '*'.
            while (*p == L'*' || *p == L'?')
                ++p;
            if (!*p)
                return true;
            starPattern = p;
            starText = t;
            continue;
        }
        if (*t && (*p == L'?' || SameIgnoringCase(*p, *t))) {
            ++p;
            ++t;
            continue;
        }
        if (!starPattern || !*starText)
            return false;
        t = ++starText;
        p = starPattern;
    }
}

bool MatchMaskList(LPCWSTR name, LPCWSTR masks)
{
    if (!name || !masks)
        return false;
    CString mask;
    for (const wchar_t* m = masks;; ++m) {
        if (!*m || IsMaskSeparator(*m)) {
            if (!mask.IsEmpty() && WildcardMatch(name, mask))
                return true;
            mask.Empty();
            if (!*m)
                return false;
        } else {
            mask += *m;
        }
    }
}
