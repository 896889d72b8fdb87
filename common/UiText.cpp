#include "common/UiText.h"

#include "common/FormatConversions.h"
#include "common/LocalizedString.h"

CString LoadUiText(UINT id, LPCWSTR builtin)
{
    CLocalizedString text;
    if (!text.LoadString(id) || text.IsEmpty())
        return CString(builtin);
    return text;
}

CString LoadUiFormat(UINT id, LPCWSTR builtin)
{
    const CString text = LoadUiText(id, builtin);
    return HaveSameFormatConversions(text, builtin) ? text : CString(builtin);
}
