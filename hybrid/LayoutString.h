#pragma once
// The layout string: a second way, beside the cell builder, to fill a
// CHybridCtrl. A wide string in the manner of a printf format whose letters
// create cells and their contents, with "%" directives taking their values
// from the variable argument list, children in braces, "H" column models
// and "S" styles.
//
//   string    = { item }   (ends at the NUL or at a "}" closing the level)
//   item      = letter [ "(" directives ")" ] [ "{" { item } "}" ]
//             | "H" [ "(" directives ")" ] | "S" [ "(" directives ")" ]
//
// Cell letters: B button, C container, E edit, L slider, P picture, T text,
// U caller's content (%o), c combo, d date, h heading, p progress,
// s separator, t tree item, x check box. Their directives:
//   %n int column    %b IHybridCell** insert before   %p IHybridCell** use it
//   %t LPCWSTR text  %T UINT string id                %s int standard style
//   %S DWORD bits    %c COLORREF background           %e DWORD margins
//   %I DWORD data    %L %R int gaps                   %H IHybridHandler*
//   %C IHybridCell** receives the cell                %r receives the content
//   %o IHybridContent*   %B two DWORDs picture pair   %i HICON   %h int ignored
// H: %w int column width (repeatable), %r IHybridHeading**.
// S: %f HFONT, %b int weight, %s int height percent, %c text colour,
//    %B background, %S selection background, %t selection text,
//    %r IHybridStyle**.
// Every pointer or handle directive reads a pointer-sized argument: pass
// nullptr, never 0, for "none". Numbers are 32-bit. Unknown directives take
// no argument. The parser never reads past the terminating NUL.
#include <cstdarg>
#include <windows.h>

class CHybridCtrl;
struct IHybridSubContent;

// Parses `format` into the control's root list; nothing for a null format.
void BuildFromLayoutString(CHybridCtrl* control, LPCWSTR format, ...);
void BuildFromLayoutStringV(CHybridCtrl* control, LPCWSTR format, va_list args);

// Parses items into `parent` until the end of the string or a closing "}",
// and returns where it stopped (that "}" or the NUL). The argument list is
// shared by all levels: arguments are taken strictly left to right. With a
// null parent or position nothing happens and the position is returned.
LPCWSTR ParseLayoutLevel(CHybridCtrl* control, IHybridSubContent* parent, LPCWSTR position, va_list* args);
