#pragma once
// Writing language files for the localisation tests: UTF-16LE with or
// without the byte-order mark, into the "nls" folder beside the test program
// (where the program looks for them) or anywhere else.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "common/Languages.h"
#include "common/PathUtils.h"
#include "tests/common/TestFiles.h"

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
    for (const std::wstring& name : testfiles::FilesIn(dir))
        DeleteFileW((dir + L"\\" + name).c_str());
    return dir;
}

// `text` as UTF-16LE, with the mark FF FE when asked.
inline bool WriteUtf16(const std::wstring& path, const std::wstring& text, bool withMark = true)
{
    const std::vector<uint8_t> bytes = testfiles::Utf16(text, withMark);
    return testsupport::WriteFileBytes(path, bytes.data(), bytes.size());
}

inline bool WriteAnsi(const std::wstring& path, const std::string& text)
{
    return testsupport::WriteFileBytes(path, text.data(), text.size());
}

// A language file with a header and body pairs ({english, translation}...).
inline std::wstring LanguageText(const std::wstring& english, const std::wstring& local, bool isDefault,
                                 const std::wstring& body)
{
    std::wstring text = L"english_name=" + english + L"\r\nlocal_name=" + local + L"\r\n";
    if (isDefault)
        text += L"default_language\r\n";
    text += L"begin_translations\r\n" + body;
    return text;
}

// A German language file with the given body pairs as the only file of the
// "nls" folder, scanned before each test; languages and folder are cleared
// after it.
class CGermanLanguageTest : public ::testing::Test
{
protected:
    explicit CGermanLanguageTest(std::wstring body) : m_body(std::move(body)) {}
    void SetUp() override
    {
        ClearLanguages();
        ASSERT_TRUE(WriteUtf16(FreshNlsFolder() + L"\\German.txt", LanguageText(L"German", L"Deutsch", false, m_body)));
        ASSERT_TRUE(ScanLanguageFiles());
    }
    void TearDown() override
    {
        ClearLanguages();
        FreshNlsFolder();
    }

private:
    std::wstring m_body;
};

} // namespace langtest
