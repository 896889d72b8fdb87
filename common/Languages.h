#pragma once
// The list of installed interface languages (the language files in "nls"
// beside the program) and the current language. Only the current language
// has its translations loaded. User-interface thread only.
#include "common/LanguageInfo.h"

// Reads the header of every "*.txt" file of the language folder (names
// starting with '_' skipped) and appends the valid languages to the list,
// in the order the system lists them. False when the list is empty after.
[[nodiscard]] bool ScanLanguageFiles();
// The program's folder followed by "nls".
CString GetLanguageFolder();

int GetLanguageCount();
// Null outside 0..count-1.
SLanguageInfo* GetLanguageAt(int index);

// Unloads the current language and fully loads the given one; null changes
// nothing.
void SetCurrentLanguage(SLanguageInfo* language);
void SelectLanguage(int index);
// The language named exactly so, else the default one, else the first
// (unless it is current already). Returns the chosen English name, or null
// for a null name or an empty list.
LPCWSTR SelectLanguageByName(LPCWSTR name);
// English name of the current language, or null.
LPCWSTR GetCurrentLanguageName();
SLanguageInfo* GetCurrentLanguage();

// Loads (then selects) or saves the chosen language as "strLang" in the
// subkey "nls" of root. Without the subkey nothing is loaded or selected.
// False when the choice could not be saved.
[[nodiscard]] bool PersistLanguageChoice(HKEY root, bool load);

// Called when the program ends; the list is released with the program.
void TermLocalization();

// Empties the list and forgets the current language (for a fresh scan).
void ClearLanguages();
