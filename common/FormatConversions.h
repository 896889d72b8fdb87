#pragma once
// Comparison of the printf conversions of two format texts, so that a
// translated format can be checked against the built-in one before it is
// ever handed to a formatting routine.
#include <string>

// The argument-consuming conversions of a format, one entry per conversion:
// '*' for each starred width or precision, the size prefix and the
// conversion letter ("d" and "i" count as the same, as do "u", "o", "x"
// and "X"). "%%" consumes nothing; a '%' that ends the text counts as an
// entry of its own. A written width or precision above 1024 adds a '#', so
// that such a format matches only one with the same oversized field.
std::wstring FormatSignature(const wchar_t* format);

// Whether both texts consume the same arguments in the same order. Null
// counts as a text without conversions.
[[nodiscard]] bool HaveSameFormatConversions(const wchar_t* a, const wchar_t* b);
