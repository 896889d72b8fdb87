#pragma once
// Reversible scrambling of stored texts (registry strings, text-tree leaves).
// It keeps texts from being read or edited by eye; it is not encryption.
// Form: "X" followed by two lower-case hex digits per UTF-16 code unit, each
// the low byte of the unit with every bit inverted. Only units up to U+00FF
// survive a round trip; the high byte is dropped.
#include "platform/mfc/afx.h"

// Replaces `out` by the scrambled form of `text` when mode is 1; does nothing
// (out untouched) for a null text or any other mode.
void ScrambleString(LPCWSTR text, CString& out, int mode);

// The form a store keeps of `text`: the text itself for mode 0, its
// scrambled form for mode 1, empty for any other mode or a null text.
CString StoredForm(LPCWSTR text, int mode);

// Decodes a scrambled form. False, out untouched, for a null text, one not
// starting with "X" or one of even length. Otherwise out is emptied and
// filled; false as soon as a pair holds a character that is neither a digit
// nor a letter (out keeps what was decoded so far).
[[nodiscard]] bool UnscrambleString(LPCWSTR text, CString& out);
