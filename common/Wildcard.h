#pragma once
// File-name masks: '*' matches any run, '?' one character, case ignored.
// A match succeeds as soon as the pattern is used up, even when text remains
// ("*.mcp" also accepts "a.mcpx"); a null or empty text or pattern never
// matches.
#include "platform/mfc/afx.h"

[[nodiscard]] bool WildcardMatch(LPCWSTR text, LPCWSTR pattern);
// `masks` separated by blanks, ';' or ','; true when any non-empty one matches.
[[nodiscard]] bool MatchMaskList(LPCWSTR name, LPCWSTR masks);
