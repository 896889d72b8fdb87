#pragma once
// Writing language files for the localisation tests: UTF-16LE with or
// without the byte-order mark, into the "nls" folder beside the test program
// (where the program looks for them) or anywhere else.
#include <windows.h>
#include <string>

#include "common/Languages.h"
#include "common/PathUtils.h"
#include "tests/support/TestSupport.h"

namespace langtest {

inline std::wstring NlsFolder()
{
    return std::wstring(static_cast<LPCWSTR>(GetLanguageFolder()));
}

// An empty "nls" folder beside the test program.
inline std::wstring FreshNlsFolder()
{
    std::wstring dir = NlsFolder();
    CreateDirectoryW(dir.c_str(), nullptr);
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW((dir + L"\\" + fd.cFileName).c_str());
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    return dir;
}

// Lines joined with CR LF, as UTF-16LE, with the mark FF FE when asked.
inline bool WriteUtf16(const std::wstring& path, const std::wstring& text, bool withMark = true)
{
    std::string bytes;
    if (withMark)
        bytes += "\xFF\xFE";
    for (wchar_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>((c >> 8) & 0xFF);
    }
    return testsupport::WriteFileBytes(path, bytes.data(), bytes.size());
}

inline bool WriteAnsi(const std::wstring& path, const std::string& text)
{
    return testsupport::WriteFileBytes(path, text.data(), text.size());
}

// A language file with a header and body pairs ({english, translation}...).
inline std::wstring LanguageText(const std::wstring& english, const std::wstring& local,
                                 bool isDefault, const std::wstring& body)
{
    std::wstring text = L"english_name=" + english + L"\r\nlocal_name=" + local + L"\r\n";
    if (isDefault)
        text += L"default_language\r\n";
    text += L"begin_translations\r\n" + body;
    return text;
}

} // namespace langtest
