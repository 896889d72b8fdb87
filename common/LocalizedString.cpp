#include "common/LocalizedString.h"
#include "common/Languages.h"
#include <cstdarg>

bool GetTranslatedString(CString& out, UINT id)
{
    SLanguageInfo* language = GetCurrentLanguage();
    if (language != nullptr) {
        auto it = language->idText.find(static_cast<int>(id));
        if (it != language->idText.end()) {
            out = it->second;
            return true;
        }
    }
    if (out.LoadString(id))
        return true;
    out.Empty();
    return false;
}

bool TranslateText(CString& text)
{
    SLanguageInfo* language = GetCurrentLanguage();
    if (language == nullptr)
        return false;
    CString key = text;
    key.Remove(L'&');
    CString translation;
    if (!language->textMap.Lookup(key, translation))
        return false;
    text = translation;
    return true;
}

bool CLocalizedString::LoadString(UINT id)
{
    return GetTranslatedString(*this, id);
}

void CLocalizedString::FormatIdArgs(UINT id, ...)
{
    CString format;
    if (!GetTranslatedString(format, id))
        return;
    va_list args;
    va_start(args, id);
    FormatV(format, args);
    va_end(args);
}

void CLocalizedString::FormatTextArgs(LPCWSTR format, ...)
{
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

void CLocalizedString::Append(UINT id)
{
    CString text;
    if (GetTranslatedString(text, id))
        *this += text;
}
