// The language list: scanning the "nls" folder beside the program, choosing
// a language by name, and keeping the choice in the registry.
#include <gtest/gtest.h>

#include "common/LanguageList.h"
#include "common/Languages.h"
#include "common/LocalizedString.h"
#include "tests/common/LanguageTestFiles.h"

namespace {

const wchar_t kScratchKey[] = L"Software\\Velmora\\Ravelin\\CommonUiLanguageTest";

class LanguageList : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ClearLanguages();
        m_dir = langtest::FreshNlsFolder();
    }
    void TearDown() override
    {
        ClearLanguages();
        langtest::FreshNlsFolder();
        RegDeleteKeyW(HKEY_CURRENT_USER, (std::wstring(kScratchKey) + L"\\nls").c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, kScratchKey);
    }
    void Write(const wchar_t* name, const std::wstring& english, bool isDefault, const std::wstring& body = L"")
    {
        ASSERT_TRUE(langtest::WriteUtf16(m_dir + L"\\" + name,
                                         langtest::LanguageText(english, english + L"-local", isDefault, body)));
    }
    int IndexOf(const wchar_t* english)
    {
        for (int i = 0; i < GetLanguageCount(); ++i)
            if (GetLanguageAt(i)->englishName == english)
                return i;
        return -1;
    }

    std::wstring m_dir;
};

TEST_F(LanguageList, ScanKeepsValidFilesAndSkipsTheRest)
{
    Write(L"German.txt", L"German", false);
    Write(L"_Draft.txt", L"Draft", false);  // leading '_': never listed
    Write(L"French.dat", L"French", false); // not *.txt
    ASSERT_TRUE(langtest::WriteAnsi(m_dir + L"\\Ansi.txt", "english_name=Ansi\r\nlocal_name=Ansi\r\n"));
    ASSERT_TRUE(langtest::WriteUtf16(m_dir + L"\\Broken.txt", L"english_name=Broken\r\nbegin_translations\r\n"));
    ASSERT_TRUE(langtest::WriteUtf16(m_dir + L"\\Empty.txt", L""));
    Write(L"Italian.txt", L"Italian", true);

    EXPECT_TRUE(ScanLanguageFiles());
    EXPECT_EQ(2, GetLanguageCount());
    EXPECT_GE(IndexOf(L"German"), 0);
    EXPECT_GE(IndexOf(L"Italian"), 0);
    EXPECT_EQ(nullptr, GetLanguageAt(-1));
    EXPECT_EQ(nullptr, GetLanguageAt(2));
    // Scanning reads headers only: nothing is loaded and nothing is current.
    EXPECT_EQ(nullptr, GetCurrentLanguageName());
    EXPECT_TRUE(GetLanguageAt(0)->idText.empty());
    CString folder = GetModuleDirectory() + L"nls";
    EXPECT_STREQ(folder, GetLanguageFolder());
    EXPECT_STREQ(folder + L"\\German.txt", GetLanguageAt(IndexOf(L"German"))->filePath);
}

TEST_F(LanguageList, ScanFailsWhenNoFileIsValidAndNoDefaultMeansTheFirst)
{
    EXPECT_FALSE(ScanLanguageFiles()); // empty folder
    ASSERT_TRUE(langtest::WriteAnsi(m_dir + L"\\Ansi.txt", "english_name=Ansi\r\nlocal_name=Ansi\r\n"));
    ASSERT_TRUE(langtest::WriteUtf16(m_dir + L"\\NoNames.txt", L"begin_translations\r\nStop\r\nHalt\r\n"));
    Write(L"_Hidden.txt", L"Hidden", true);
    EXPECT_FALSE(ScanLanguageFiles());
    EXPECT_EQ(0, GetLanguageCount());

    // The same file saved as UTF-16 with the mark is listed.
    ASSERT_TRUE(langtest::WriteUtf16(m_dir + L"\\Ansi.txt", L"english_name=Ansi\r\nlocal_name=Ansi\r\n"));
    EXPECT_TRUE(ScanLanguageFiles());
    EXPECT_EQ(1, GetLanguageCount());
    // Without a default language an unlisted name selects the first.
    EXPECT_STREQ(L"Ansi", SelectLanguageByName(L"French"));
}

TEST_F(LanguageList, SelectionByNameFallsBackToDefaultThenFirst)
{
    Write(L"a.txt", L"German", false, L"Stop\r\nHalt\r\n");
    ASSERT_TRUE(ScanLanguageFiles());
    Write(L"b.txt", L"US english", true, L"Stop\r\nStop!\r\n");
    ClearLanguages();
    ASSERT_TRUE(ScanLanguageFiles());
    ASSERT_EQ(2, GetLanguageCount());

    EXPECT_EQ(nullptr, SelectLanguageByName(nullptr));
    EXPECT_EQ(nullptr, GetCurrentLanguageName());

    // Unlisted name: the default language.
    EXPECT_STREQ(L"US english", SelectLanguageByName(L"French"));
    EXPECT_STREQ(L"US english", GetCurrentLanguageName());
    // Names compare with case.
    EXPECT_STREQ(L"US english", SelectLanguageByName(L"german"));
    EXPECT_STREQ(L"German", SelectLanguageByName(L"German"));
    CLocalizedString text;
    EXPECT_TRUE(text.LoadString(1030));
    EXPECT_STREQ(L"Halt", text);
    // Switching unloads the previous language.
    SelectLanguage(IndexOf(L"US english"));
    EXPECT_TRUE(GetLanguageAt(IndexOf(L"German"))->idText.empty());
    EXPECT_TRUE(text.LoadString(1030));
    EXPECT_STREQ(L"Stop!", text);
    SelectLanguage(5); // not an index: nothing changes
    EXPECT_STREQ(L"US english", GetCurrentLanguageName());
}

TEST_F(LanguageList, AListOpensOnTheCurrentLanguageElseOnTheFirst)
{
    EXPECT_EQ(-1, GetLanguageListChoice()) << "no languages: no row";
    Write(L"a.txt", L"German", false);
    Write(L"b.txt", L"US english", true);
    ASSERT_TRUE(ScanLanguageFiles());
    EXPECT_EQ(0, GetLanguageListChoice()) << "nothing current: the first row";
    ASSERT_STREQ(L"US english", SelectLanguageByName(L"US english"));
    EXPECT_EQ(IndexOf(L"US english"), GetLanguageListChoice());
    ASSERT_STREQ(L"German", SelectLanguageByName(L"German"));
    EXPECT_EQ(IndexOf(L"German"), GetLanguageListChoice());
}

TEST_F(LanguageList, ChoicePersistsUnderNlsKey)
{
    Write(L"a.txt", L"German", false, L"Stop\r\nHalt\r\n");
    Write(L"b.txt", L"Dutch", true, L"Stop\r\nHou op\r\n");
    ASSERT_TRUE(ScanLanguageFiles());
    HKEY root = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyW(HKEY_CURRENT_USER, kScratchKey, &root));

    // No "nls" key: loading selects nothing.
    EXPECT_TRUE(PersistLanguageChoice(root, true));
    EXPECT_EQ(nullptr, GetCurrentLanguageName());

    SelectLanguageByName(L"German");
    EXPECT_TRUE(PersistLanguageChoice(root, false));
    HKEY nls = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExW(root, L"nls", 0, KEY_READ, &nls));
    wchar_t stored[64] = {};
    DWORD size = sizeof stored, type = 0;
    EXPECT_EQ(ERROR_SUCCESS, RegQueryValueExW(nls, L"strLang", nullptr, &type, reinterpret_cast<BYTE*>(stored), &size));
    EXPECT_EQ(DWORD(REG_SZ), type);
    EXPECT_STREQ(L"German", stored);
    RegCloseKey(nls);

    // A fresh start: scan, then the settings load selects the saved language.
    ClearLanguages();
    ASSERT_TRUE(ScanLanguageFiles());
    EXPECT_TRUE(PersistLanguageChoice(root, true));
    EXPECT_STREQ(L"German", GetCurrentLanguageName());
    CLocalizedString text;
    EXPECT_TRUE(text.LoadString(1030));
    EXPECT_STREQ(L"Halt", text);
    RegCloseKey(root);
}

} // namespace
