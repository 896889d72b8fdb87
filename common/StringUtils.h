#pragma once
// Small routines on strings and string lists.
#include "platform/mfc/afx.h"

// Empties `parts`, then appends every non-empty piece between separators.
void SplitString(LPCWSTR text, wchar_t separator, CStringArray& parts);
// `out` becomes the non-empty elements joined by the separator.
void JoinStrings(const CStringArray& parts, wchar_t separator, CString& out);
void AppendCharIfMissing(CString& text, wchar_t c);
void AddTrailingBackslash(CString& path);
void RemoveTrailingBackslash(CString& path);
// Case-sensitive prefix test; false for a null prefix.
[[nodiscard]] bool StartsWith(const CString& text, LPCWSTR prefix);
// "_" to spaces, trimmed, and each word's first letter or digit upper-case.
CString MakeTitle(LPCWSTR text);
