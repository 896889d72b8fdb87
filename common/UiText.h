#pragma once
// The one place where the common routines load user-visible texts from the
// string table, with the built-in English text when the id is missing.
#include "platform/mfc/afx.h"

CString LoadUiText(UINT id, LPCWSTR builtin);
