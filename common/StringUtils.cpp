#include "common/StringUtils.h"

#include <cwchar>
#include <cwctype>

void SplitString(LPCWSTR text, wchar_t separator, CStringArray& parts)
{
    if (!text || !separator)
        return;
    parts.RemoveAll();
    CString piece;
    for (const wchar_t* p = text;; ++p) {
        if (*p == separator || *p == 0) {
            if (!piece.IsEmpty())
                parts.Add(piece);
            piece.Empty();
            if (*p == 0)
                break;
        } else {
            piece += *p;
        }
    }
}

void JoinStrings(const CStringArray& parts, wchar_t separator, CString& out)
{
    if (!separator)
        return;
    CString joined;
    const int n = static_cast<int>(parts.GetSize());
    for (int i = 0; i < n; ++i) {
        const CString& part = parts.GetAt(i);
        if (part.IsEmpty())
            continue;
        if (!joined.IsEmpty())
            joined += separator;
        joined += part;
    }
    out = joined;
}

void AppendCharIfMissing(CString& text, wchar_t c)
{
    if (text.IsEmpty() || text[text.GetLength() - 1] != c)
        text += c;
}

void AddTrailingBackslash(CString& path)
{
    AppendCharIfMissing(path, L'\\');
}

void RemoveTrailingBackslash(CString& path)
{
    if (!path.IsEmpty() && path[path.GetLength() - 1] == L'\\')
        path.Delete(path.GetLength() - 1);
}

bool StartsWith(const CString& text, LPCWSTR prefix)
{
    if (!prefix)
        return false;
    const size_t n = wcslen(prefix);
    if (static_cast<size_t>(text.GetLength()) < n)
        return false;
    return wcsncmp(text, prefix, n) == 0;
}

CString MakeTitle(LPCWSTR text)
{
    CString title(text ? text : L"");
    title.Replace(L'_', L' ');
    title.Trim(L' ');
    bool afterOther = true;
    for (int i = 0; i < title.GetLength(); ++i) {
        const wchar_t c = title[i];
        const bool alnum = iswalnum(c) != 0;
        if (alnum && afterOther)
            title.SetAt(i, static_cast<wchar_t>(towupper(c)));
        afterOther = !alnum;
    }
    return title;
}
