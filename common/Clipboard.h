#pragma once
// Plain text on the clipboard, for the edit fields and the system report.
#include "platform/mfc/afx.h"

// The clipboard's text: its Unicode text when it has one, else its ANSI
// text converted from the ANSI code page; empty when there is no text or the
// clipboard can't be opened.
CString GetClipboardText();

// Replaces the clipboard's contents by the text (as CF_UNICODETEXT). Null
// does nothing; when the memory can't be had the clipboard is left empty.
void SetClipboardText(LPCWSTR text);
