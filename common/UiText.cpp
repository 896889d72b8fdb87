#include "common/UiText.h"

CString LoadUiText(UINT id, LPCWSTR builtin)
{
    CString text;
    if (!text.LoadString(id) || text.IsEmpty())
        text = builtin;
    return text;
}
