#pragma once
// One installed interface language and the reader of its language file.
//
// Language file: UTF-16LE with the byte-order mark. Header lines up to
// "begin_translations": "english_name=", "local_name=", "flag_picture="
// (relative to the file's folder), and "default_language". After the header,
// lines in pairs: a built-in English text exactly as the program has it
// (with its '&' marks), then its translation.
#include "platform/mfc/afx.h"
#include <map>

struct SLanguageInfo
{
    SLanguageInfo();

    // Both names present.
    [[nodiscard]] bool IsValid() const;
    // Forgets the translations; the header fields stay.
    void Unload();

    CString filePath;
    CString flagPicture;           // full path of the flag picture
    CString englishName;           // identifies the language
    CString localName;             // the language's name in itself
    std::map<int, CString> idText; // after a full load: every string-table text
    CMapStringToString textMap;    // English text without '&' -> translation
    bool isDefault = false;
};

// Largest language file that is read at all (bytes).
const DWORD kMaxLanguageFileSize = 4 * 1024 * 1024;

// Reads the language file at path (null: the stored filePath). A header-only
// load stops at "begin_translations"; a full load first takes every text of
// the program's string table, then applies the translated pairs. A pair
// whose translation consumes other printf arguments than the built-in text
// is ignored. False when the file can't be opened, lacks the UTF-16 mark or
// is too large.
[[nodiscard]] bool LoadLanguageFile(SLanguageInfo* language, LPCWSTR path, bool full);
