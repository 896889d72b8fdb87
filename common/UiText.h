#pragma once
// The one place where the common routines load user-visible texts: through
// the current language, else the string table, else the built-in English
// text when the id is missing.
#include "platform/mfc/afx.h"

CString LoadUiText(UINT id, LPCWSTR builtin);
// As LoadUiText for a printf format: a text whose conversions differ from
// the built-in one is not used, so no text can break the formatting.
CString LoadUiFormat(UINT id, LPCWSTR builtin);
