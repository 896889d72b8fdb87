// Reading language files: header keys, markers, translated pairs, refusal of
// files that are not UTF-16 with the mark, and translations that would
// break formatting.
#include <gtest/gtest.h>

#include "common/FormatConversions.h"
#include "common/LanguageInfo.h"
#include "tests/common/LanguageTestFiles.h"

namespace {

std::wstring Scratch(const wchar_t* name)
{
    return testsupport::ScratchDir(L"langfile") + L"\\" + name;
}

CString Lookup(const SLanguageInfo& lang, LPCWSTR key)
{
    CString value;
    if (!const_cast<SLanguageInfo&>(lang).textMap.Lookup(key, value))
        value = L"<none>";
    return value;
}

TEST(LanguageFile, HeaderKeysAndMarkers)
{
    std::wstring path = Scratch(L"Deutsch.txt");
    ASSERT_TRUE(langtest::WriteUtf16(path,
        L"; a comment line\r\n"
        L"english_name=German\r\n"
        L"local_name=Deutsch=DE\r\n"
        L"flag_picture=flags\\de.png\r\n"
        L"English_name=Wrong\r\n"
        L"DEFAULT_Language\r\n"
        L"Begin_Translations\r\n"
        L"english_name=Body\r\n"
        L"Stop\r\n"));
    SLanguageInfo lang;
    ASSERT_TRUE(LoadLanguageFile(&lang, path.c_str(), false));
    EXPECT_STREQ(L"German", lang.englishName);
    // Everything after the first '=' is the value.
    EXPECT_STREQ(L"Deutsch=DE", lang.localName);
    CString folder = GetDirectoryOfPath(path.c_str());
    EXPECT_STREQ(folder + L"flags\\de.png", lang.flagPicture);
    EXPECT_TRUE(lang.isDefault);
    EXPECT_TRUE(lang.IsValid());
    // A header-only load reads nothing of the body.
    EXPECT_TRUE(lang.idText.empty());
    EXPECT_EQ(0, lang.textMap.GetCount());
}

TEST(LanguageFile, ValidOnlyWithBothNames)
{
    std::wstring path = Scratch(L"NoLocal.txt");
    ASSERT_TRUE(langtest::WriteUtf16(path, L"english_name=Nameless\r\nbegin_translations\r\n"));
    SLanguageInfo lang;
    EXPECT_TRUE(LoadLanguageFile(&lang, path.c_str(), false));
    EXPECT_FALSE(lang.IsValid());
}

TEST(LanguageFile, RefusesFilesWithoutTheMark)
{
    std::wstring ansi = Scratch(L"Ansi.txt");
    ASSERT_TRUE(langtest::WriteAnsi(ansi, "english_name=German\r\nlocal_name=Deutsch\r\n"));
    SLanguageInfo lang;
    EXPECT_FALSE(LoadLanguageFile(&lang, ansi.c_str(), false));
    EXPECT_TRUE(lang.englishName.IsEmpty());

    std::wstring noMark = Scratch(L"NoMark.txt");
    ASSERT_TRUE(langtest::WriteUtf16(noMark, L"english_name=German\r\nlocal_name=Deutsch\r\n", false));
    EXPECT_FALSE(LoadLanguageFile(&lang, noMark.c_str(), false));

    SLanguageInfo missing;
    EXPECT_FALSE(LoadLanguageFile(&missing, Scratch(L"absent.txt").c_str(), false));
    EXPECT_FALSE(LoadLanguageFile(&missing, nullptr, false)); // no stored path either
}

TEST(LanguageFile, FullLoadTranslatesStringTableAndWindowTexts)
{
    std::wstring path = Scratch(L"Full.txt");
    ASSERT_TRUE(langtest::WriteUtf16(path, langtest::LanguageText(L"German", L"Deutsch", false,
        L"Can't open file.\r\n"
        L"Datei kann nicht ge\u00f6ffnet werden.\r\n"
        L"&Open...\r\n"
        L"\u00d6&ffnen...\r\n"
        L"Stop\r\n"
        L"\r\n"                      // empty translation: the pair counts, nothing changes
        L"Scroll\r\n"
        L"Rollen\r\n"
        L"Not a string-table text\r\n"
        L"Kein Text der Tabelle\r\n"
        L"&&\r\n"                    // nothing left without the marks: no key
        L"Leer\r\n"
        L"Play")));                  // an odd last line pairs with nothing
    SLanguageInfo lang;
    ASSERT_TRUE(LoadLanguageFile(&lang, path.c_str(), true));

    // Every string-table text is present, translated where the file says so.
    ASSERT_TRUE(lang.idText.count(1034));
    EXPECT_STREQ(L"Datei kann nicht ge\u00f6ffnet werden.", lang.idText[1034]);
    EXPECT_STREQ(L"Rollen", lang.idText[8034]);
    EXPECT_STREQ(L"Stop", lang.idText[1030]);
    EXPECT_STREQ(L"Play", lang.idText[1009]);
    EXPECT_STREQ(L"January", lang.idText[10085]);
    EXPECT_STREQ(L"SimpleMosaic{6,3,6,5,1,1}", lang.idText[6031]);
    EXPECT_EQ(0u, lang.idText.count(1029)); // no such string

    // Window texts are keyed without their '&' marks.
    EXPECT_STREQ(L"\u00d6&ffnen...", Lookup(lang, L"Open..."));
    EXPECT_STREQ(L"<none>", Lookup(lang, L"&Open..."));
    EXPECT_STREQ(L"Kein Text der Tabelle", Lookup(lang, L"Not a string-table text"));
    EXPECT_STREQ(L"<none>", Lookup(lang, L"Stop"));
    EXPECT_STREQ(L"<none>", Lookup(lang, L"Play"));
    EXPECT_STREQ(L"<none>", Lookup(lang, L""));

    lang.Unload();
    EXPECT_TRUE(lang.idText.empty());
    EXPECT_EQ(0, lang.textMap.GetCount());
    EXPECT_STREQ(L"German", lang.englishName);
}

TEST(LanguageFile, EmptyLinesKeepThePairing)
{
    std::wstring path = Scratch(L"Pairs.txt");
    ASSERT_TRUE(langtest::WriteUtf16(path, langtest::LanguageText(L"German", L"Deutsch", false,
        L"\r\n"          // empty English line: this pair translates nothing
        L"Scroll\r\n"
        L"Tempo\r\n"
        L"Takt\r\n")));
    SLanguageInfo lang;
    ASSERT_TRUE(LoadLanguageFile(&lang, path.c_str(), true));
    EXPECT_STREQ(L"Scroll", lang.idText[8034]);
    EXPECT_STREQ(L"Takt", lang.idText[1015]);
}

TEST(LanguageFile, LinesHoldingAZeroUnitTranslateNothing)
{
    // A zero unit would cut the line wherever it is used as a C string: an
    // English line starting with one would map the empty window text.
    std::wstring path = Scratch(L"Zero.txt");
    std::wstring body = L"Stop\r\nHalt\r\n";
    body += std::wstring(1, L'\0') + L"Play\r\nSpielen\r\n";
    body += L"Scroll\r\nRol" + std::wstring(1, L'\0') + L"len\r\n";
    std::wstring text = langtest::LanguageText(L"German", L"Deutsch", false, body);
    text.insert(0, L"local_name=" + std::wstring(1, L'\0') + L"x\r\n");
    ASSERT_TRUE(langtest::WriteUtf16(path, text));
    SLanguageInfo lang;
    ASSERT_TRUE(LoadLanguageFile(&lang, path.c_str(), true));
    EXPECT_STREQ(L"Deutsch", lang.localName);
    EXPECT_EQ(1, lang.textMap.GetCount());
    EXPECT_STREQ(L"Halt", Lookup(lang, L"Stop"));
    EXPECT_STREQ(L"Play", lang.idText[1009]);
    EXPECT_STREQ(L"Scroll", lang.idText[8034]);
}

TEST(LanguageFile, TranslationWithOtherConversionsIsIgnored)
{
    std::wstring path = Scratch(L"Formats.txt");
    ASSERT_TRUE(langtest::WriteUtf16(path, langtest::LanguageText(L"German", L"Deutsch", false,
        L"%d kHz, %d bit, %d channels\r\n"
        L"%d kHz, %s Bit, %d Kan\u00e4le\r\n"        // %s would read an int as a pointer
        L"Version: %s\r\n"
        L"Version %s (%s)\r\n"                      // one argument too many
        L"Run %s\r\n"
        L"%s starten\r\n"                           // same conversions: taken
        L"Reading file: %d%c\r\n"
        L"Lese Datei: %3d%c\r\n"                    // width changes nothing
        L"Save the changes to %s?\r\n"
        L"Speichern in 100%\r\n")));                // a lone '%' at the end
    SLanguageInfo lang;
    ASSERT_TRUE(LoadLanguageFile(&lang, path.c_str(), true));
    EXPECT_STREQ(L"%d kHz, %d bit, %d channels", lang.idText[1026]);
    EXPECT_STREQ(L"Version: %s", lang.idText[10251]);
    EXPECT_STREQ(L"%s starten", lang.idText[5055]);
    EXPECT_STREQ(L"Lese Datei: %3d%c", lang.idText[8035]);
    EXPECT_STREQ(L"Save the changes to %s?", lang.idText[10248]);
    EXPECT_STREQ(L"<none>", Lookup(lang, L"Version: %s"));
    EXPECT_STREQ(L"%s starten", Lookup(lang, L"Run %s"));
}

TEST(LanguageFile, TranslationWithHugeFieldWidthIsIgnored)
{
    // The same conversions, but a width or precision that would make a
    // formatted text gigabytes long (or overflow the formatter's count).
    std::wstring path = Scratch(L"Widths.txt");
    ASSERT_TRUE(langtest::WriteUtf16(path, langtest::LanguageText(L"German", L"Deutsch", false,
        L"%d kHz, %d bit, %d channels\r\n"
        L"%2147483647d kHz, %d Bit, %d Kan\u00e4le\r\n"
        L"Version: %s\r\n"
        L"Version: %.999999999s\r\n"
        L"Run %s\r\n"
        L"%-20s starten\r\n"                      // an ordinary width: taken
        L"Reading file: %d%c\r\n"
        L"Lese Datei: %1000000d%c\r\n")));
    SLanguageInfo lang;
    ASSERT_TRUE(LoadLanguageFile(&lang, path.c_str(), true));
    EXPECT_STREQ(L"%d kHz, %d bit, %d channels", lang.idText[1026]);
    EXPECT_STREQ(L"Version: %s", lang.idText[10251]);
    EXPECT_STREQ(L"%-20s starten", lang.idText[5055]);
    EXPECT_STREQ(L"Reading file: %d%c", lang.idText[8035]);
}

TEST(LanguageFile, OversizedFileIsRefused)
{
    std::wstring path = Scratch(L"Huge.txt");
    std::wstring text = L"english_name=Huge\r\nlocal_name=Huge\r\nbegin_translations\r\n";
    text.append(kMaxLanguageFileSize / 2, L'x'); // with the mark: just over the limit
    ASSERT_TRUE(langtest::WriteUtf16(path, text));
    SLanguageInfo lang;
    EXPECT_FALSE(LoadLanguageFile(&lang, path.c_str(), false));
    EXPECT_TRUE(lang.englishName.IsEmpty());
}

TEST(FormatConversions, Signatures)
{
    EXPECT_TRUE(HaveSameFormatConversions(L"%d of %s", L"%5d von %-10s"));
    EXPECT_TRUE(HaveSameFormatConversions(L"100%% %d", L"%d zu 100%%"));
    EXPECT_TRUE(HaveSameFormatConversions(L"%i %x", L"%d %u"));
    EXPECT_TRUE(HaveSameFormatConversions(nullptr, L"plain"));
    EXPECT_TRUE(HaveSameFormatConversions(L"Installation of % s", L"Installation von %s"));
    EXPECT_FALSE(HaveSameFormatConversions(L"%d %s", L"%s %d"));
    EXPECT_FALSE(HaveSameFormatConversions(L"%d", L"%I64d"));
    EXPECT_FALSE(HaveSameFormatConversions(L"%.2f", L"%.*f"));
    EXPECT_FALSE(HaveSameFormatConversions(L"%d", L"%d %n"));
    EXPECT_FALSE(HaveSameFormatConversions(L"50", L"50%"));
    EXPECT_EQ(L"I64d|s|", FormatSignature(L"%I64d bytes in %s"));
    EXPECT_EQ(L"**f|", FormatSignature(L"%*.*f"));
    // Widths and precisions up to 1024 are free; larger ones never match.
    EXPECT_TRUE(HaveSameFormatConversions(L"%d", L"%1024d"));
    EXPECT_TRUE(HaveSameFormatConversions(L"%.2f", L"%8.1024f"));
    EXPECT_FALSE(HaveSameFormatConversions(L"%d", L"%1025d"));
    EXPECT_FALSE(HaveSameFormatConversions(L"%s", L"%.100000s"));
    EXPECT_FALSE(HaveSameFormatConversions(L"%d", L"%99999999999999999999999d"));
}

TEST(LanguageFile, ShippedEnglishFileIsValidAndDefault)
{
    // The build copies the program's language files into <build>\nls; the
    // test program lives in <build>\tests\common.
    CString path = GetModuleDirectory() + L"..\\..\\nls\\English.txt";
    SLanguageInfo lang;
    ASSERT_TRUE(LoadLanguageFile(&lang, path, true));
    EXPECT_STREQ(L"English", lang.englishName);
    EXPECT_STREQ(L"English", lang.localName);
    EXPECT_TRUE(lang.isDefault);
    EXPECT_STREQ(L"Can't open file.", lang.idText[1034]);
}

} // namespace
