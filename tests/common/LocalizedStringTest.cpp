// Loading and formatting string-table texts through the current language,
// with the built-in English text wherever the language has no translation.
#include <gtest/gtest.h>

#include "common/Languages.h"
#include "common/LocalizedString.h"
#include "tests/common/LanguageTestFiles.h"

namespace {

class LocalizedText : public langtest::CGermanLanguageTest
{
protected:
    LocalizedText()
        : CGermanLanguageTest(L"%d kHz, %d bit, %d channels\r\n"
                              L"%d kHz, %d Bit, %d Kan\u00e4le\r\n"
                              L"Version: %s\r\n"
                              L"Version: %d\r\n" // refused: %d where %s is expected
                              L"Scroll\r\nRollen\r\n"
                              L"E&xit\r\n&Beenden\r\n")
    {
    }
};

TEST_F(LocalizedText, WithoutLanguageTextsComeFromTheStringTable)
{
    CLocalizedString text;
    EXPECT_TRUE(text.LoadString(8034));
    EXPECT_STREQ(L"Scroll", text);
    CString window = L"E&xit";
    EXPECT_FALSE(TranslateText(window));
    EXPECT_STREQ(L"E&xit", window);
    CString out = L"left over";
    EXPECT_FALSE(GetTranslatedString(out, 1029)); // no such id
    EXPECT_TRUE(out.IsEmpty());
}

TEST_F(LocalizedText, LoadFormatAndAppendThroughTheLanguage)
{
    ASSERT_STREQ(L"German", SelectLanguageByName(L"German"));

    CLocalizedString text;
    EXPECT_TRUE(text.LoadString(8034));
    EXPECT_STREQ(L"Rollen", text);
    EXPECT_TRUE(text.LoadString(8033)); // untranslated: English
    EXPECT_STREQ(L"Change zoom", text);
    EXPECT_FALSE(text.LoadString(1029));
    EXPECT_TRUE(text.IsEmpty());

    text.Format(1026U, 44, 16, 2);
    EXPECT_STREQ(L"44 kHz, 16 Bit, 2 Kan\u00e4le", text);
    // The refused translation leaves the English format, which reads a string.
    CString version = L"1.0.0.5";
    text.Format(10251U, version); // a string object is handed on as its text
    EXPECT_STREQ(L"Version: 1.0.0.5", text);
    // An id without text leaves the string unchanged.
    text = L"kept";
    text.Format(1029U, 1);
    EXPECT_STREQ(L"kept", text);
    text.Format(L"%s-%d", L"x", 7);
    EXPECT_STREQ(L"x-7", text);
    CLocalizedString other(8034U);
    text.Format(L"<%s>", other);
    EXPECT_STREQ(L"<Rollen>", text);

    text = L"[";
    text.Append(8034);
    text.Append(1029);
    EXPECT_STREQ(L"[Rollen", text);

    // Window texts: looked up without '&', the translation keeps its own.
    CString window = L"E&xit";
    EXPECT_TRUE(TranslateText(window));
    EXPECT_STREQ(L"&Beenden", window);
    window = L"Exit";
    EXPECT_TRUE(TranslateText(window));
    EXPECT_STREQ(L"&Beenden", window);
    window = L"Unknown";
    EXPECT_FALSE(TranslateText(window));
    EXPECT_STREQ(L"Unknown", window);
}

} // namespace
