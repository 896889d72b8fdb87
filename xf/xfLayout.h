#pragma once
// The layout language: a tree of one-letter elements, each with optional
// parameters and children, e.g. "F(ver){F(width=70p){P(id=2)}F{P(id=3)}}".
//
//   list       elements with nothing between them; it ends at the end of the
//              text (not consumed), at "}" (consumed) or at any other
//              character that is not an element letter (consumed), so blanks,
//              commas and line breaks end it
//   element    letter ["(" parameters ")"] ["{" list]
//   parameter  key ["=" value]; keys and values are runs of ASCII letters and
//              digits, parameters are separated by any other single character
//
//   C control bar   F frame   M MDI area   P pane from the factory
//   R the parent frame itself   S status bar   T toolbar
//
// Malformed text never raises an error: it ends a list early.
#include "platform/mfc/afx.h"

class CxfFrame;

// Formats a layout template: "%i" takes the next argument as an int, "%s"
// the next as a wide string (null: nothing); "%" before any other character
// drops both, and a final "%" is dropped. A narrow template is read in the
// ANSI code page; a null template gives an empty text. Returns out.
CString& FormatLayoutString(CString& out, const char* layoutTemplate, ...);
CString& FormatLayoutString(CString& out, const wchar_t* layoutTemplate, ...);

// Builds the elements of layout into parent; *lastFrame (when given)
// receives the last "F" made at the outermost list level and is left alone
// when there is none. Answers the position where parsing stopped. A null
// parent or layout builds nothing.
const wchar_t* ParseLayout(CxfFrame* parent, const wchar_t* layout, CxfFrame** lastFrame = nullptr);
