#pragma once
// Loading and formatting of string-table texts through the current language:
// every user-visible text of the program goes through these, so that one
// language file translates the whole interface. Texts the language doesn't
// translate (and all texts while no language is current) come from the
// string table in English.
#include "platform/mfc/afx.h"

// The text of id in the current language, else the string table's; false
// (out emptied) when neither has it.
[[nodiscard]] bool GetTranslatedString(CString& out, UINT id);

// Replaces text by its translation in the current language (looked up with
// every '&' removed); false and text unchanged when there is none.
bool TranslateText(CString& text);

class CLocalizedString : public CString
{
public:
    CLocalizedString() = default;
    CLocalizedString(LPCWSTR text) : CString(text) {}
    explicit CLocalizedString(UINT id) { LoadString(id); }

    CLocalizedString& operator=(LPCWSTR text)
    {
        CString::operator=(text);
        return *this;
    }

    // The text of id in the current language; false when there is none.
    bool LoadString(UINT id);
    // Formats the arguments into the text of id; unchanged when id has no
    // text. Strings may be passed as CString objects or text pointers.
    template <class... A>
    void Format(UINT id, const A&... args)
    {
        FormatIdArgs(id, Vararg(args)...);
    }
    template <class... A>
    void Format(LPCWSTR format, const A&... args)
    {
        FormatTextArgs(format, Vararg(args)...);
    }
    // Appends the text of id.
    void Append(UINT id);

private:
    void FormatIdArgs(UINT id, ...);
    void FormatTextArgs(LPCWSTR format, ...);
};
