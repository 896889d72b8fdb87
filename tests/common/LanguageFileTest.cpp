// Reading language files: header keys, markers, translated pairs, refusal of
// files that are not UTF-16 with the mark, and translations that would
// break formatting.
#include <gtest/gtest.h>

#include "common/FormatConversions.h"
#include "common/LanguageInfo.h"
#include "tests/common/LanguageTestFiles.h"
#include "tests/support/TestSupport.h"

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

// A German file with `body` after its header, loaded whole into `lang`.
void LoadBody(SLanguageInfo& lang, const std::wstring& body)
{
    const std::wstring path = Scratch(L"Body.txt");
    ASSERT_TRUE(langtest::WriteUtf16(path, langtest::LanguageText(L"German", L"Deutsch", false, body)));
    ASSERT_TRUE(LoadLanguageFile(&lang, path.c_str(), true));
}

TEST(LanguageFile, HeaderKeysMarkersAndRefusedFiles)
{
    std::wstring path = Scratch(L"Deutsch.txt");
    ASSERT_TRUE(langtest::WriteUtf16(path, L"; a comment line\r\nenglish_name=German\r\nlocal_name=Deutsch=DE\r\n"
                                           L"flag_picture=flags\\de.png\r\nEnglish_name=Wrong\r\nDEFAULT_Language\r\n"
                                           L"Begin_Translations\r\nenglish_name=Body\r\nStop\r\n"));
    SLanguageInfo lang;
    ASSERT_TRUE(LoadLanguageFile(&lang, path.c_str(), false));
    EXPECT_STREQ(L"German", lang.englishName);
    EXPECT_STREQ(L"Deutsch=DE", lang.localName) << "everything after the first '=' is the value";
    EXPECT_STREQ(GetDirectoryOfPath(path.c_str()) + L"flags\\de.png", lang.flagPicture);
    EXPECT_TRUE(lang.isDefault);
    EXPECT_TRUE(lang.IsValid());
    EXPECT_TRUE(lang.idText.empty()) << "a header-only load reads nothing of the body";
    EXPECT_EQ(0, lang.textMap.GetCount());

    SLanguageInfo nameless;
    ASSERT_TRUE(langtest::WriteUtf16(path, L"english_name=Nameless\r\nbegin_translations\r\n"));
    EXPECT_TRUE(LoadLanguageFile(&nameless, path.c_str(), false));
    EXPECT_FALSE(nameless.IsValid()) << "valid only with both names";

    // Refused: ANSI, UTF-16 without the mark, missing, over the size limit.
    SLanguageInfo refused;
    ASSERT_TRUE(langtest::WriteAnsi(path, "english_name=German\r\nlocal_name=Deutsch\r\n"));
    EXPECT_FALSE(LoadLanguageFile(&refused, path.c_str(), false));
    ASSERT_TRUE(langtest::WriteUtf16(path, L"english_name=German\r\nlocal_name=Deutsch\r\n", false));
    EXPECT_FALSE(LoadLanguageFile(&refused, path.c_str(), false));
    EXPECT_FALSE(LoadLanguageFile(&refused, Scratch(L"absent.txt").c_str(), false));
    EXPECT_FALSE(LoadLanguageFile(&refused, nullptr, false)) << "no stored path either";
    std::wstring huge = L"english_name=Huge\r\nlocal_name=Huge\r\nbegin_translations\r\n";
    huge.append(kMaxLanguageFileSize / 2, L'x'); // with the mark: just over the limit
    ASSERT_TRUE(langtest::WriteUtf16(path, huge));
    EXPECT_FALSE(LoadLanguageFile(&refused, path.c_str(), false));
    EXPECT_TRUE(refused.englishName.IsEmpty());
}

TEST(LanguageFile, FullLoadTranslatesStringTableAndWindowTexts)
{
    SLanguageInfo lang;
    LoadBody(lang, L"Can't open file.\r\nDatei kann nicht ge\u00f6ffnet werden.\r\n"
                   L"&Open...\r\n\u00d6&ffnen...\r\n"
                   L"Stop\r\n\r\n" // empty translation: the pair counts, nothing changes
                   L"Scroll\r\nRollen\r\n"
                   L"Not a string-table text\r\nKein Text der Tabelle\r\n"
                   L"&&\r\nLeer\r\n" // nothing left without the marks: no key
                   L"Play");         // an odd last line pairs with nothing

    // Every string-table text is present, translated where the file says so.
    EXPECT_STREQ(L"Datei kann nicht ge\u00f6ffnet werden.", lang.idText[1034]);
    EXPECT_STREQ(L"Rollen", lang.idText[8034]);
    EXPECT_STREQ(L"Stop", lang.idText[1030]);
    EXPECT_STREQ(L"Play", lang.idText[1009]);
    EXPECT_STREQ(L"January", lang.idText[10085]);
    EXPECT_STREQ(L"SimpleMosaic{6,3,6,5,1,1}", lang.idText[6031]);
    EXPECT_EQ(0u, lang.idText.count(1029)); // no such string

    // Window texts are keyed without their '&' marks.
    EXPECT_STREQ(L"\u00d6&ffnen...", Lookup(lang, L"Open..."));
    EXPECT_STREQ(L"Kein Text der Tabelle", Lookup(lang, L"Not a string-table text"));
    for (LPCWSTR key : {L"&Open...", L"Stop", L"Play", L""})
        EXPECT_STREQ(L"<none>", Lookup(lang, key)) << key;

    lang.Unload();
    EXPECT_TRUE(lang.idText.empty());
    EXPECT_EQ(0, lang.textMap.GetCount());
    EXPECT_STREQ(L"German", lang.englishName);
}

TEST(LanguageFile, EmptyAndZeroUnitLinesKeepThePairing)
{
    SLanguageInfo lang;
    // An empty English line: this pair translates nothing.
    LoadBody(lang, L"\r\nScroll\r\nTempo\r\nTakt\r\n");
    EXPECT_STREQ(L"Scroll", lang.idText[8034]);
    EXPECT_STREQ(L"Takt", lang.idText[1015]);

    // A zero unit would cut the line wherever it is used as a C string: an
    // English line starting with one would map the empty window text.
    const std::wstring zero(1, L'\0');
    const std::wstring path = Scratch(L"Zero.txt");
    ASSERT_TRUE(langtest::WriteUtf16(path, L"local_name=" + zero + L"x\r\n" +
                                               langtest::LanguageText(L"German", L"Deutsch", false,
                                                                      L"Stop\r\nHalt\r\n" + zero +
                                                                          L"Play\r\nSpielen\r\nScroll\r\nRol" + zero +
                                                                          L"len\r\n")));
    SLanguageInfo zeroes;
    ASSERT_TRUE(LoadLanguageFile(&zeroes, path.c_str(), true));
    EXPECT_STREQ(L"Deutsch", zeroes.localName);
    EXPECT_EQ(1, zeroes.textMap.GetCount());
    EXPECT_STREQ(L"Halt", Lookup(zeroes, L"Stop"));
    EXPECT_STREQ(L"Play", zeroes.idText[1009]);
    EXPECT_STREQ(L"Scroll", zeroes.idText[8034]);
}

TEST(LanguageFile, TranslationsWithOtherConversionsOrHugeFieldsAreIgnored)
{
    const struct
    {
        int id;
        LPCWSTR english, translation;
        bool taken;
    } pairs[] = {
        {1026, L"%d kHz, %d bit, %d channels", L"%d kHz, %s Bit, %d Kan\u00e4le", false}, // %s would read an int
        {10251, L"Version: %s", L"Version %s (%s)", false},                               // one argument too many
        {5055, L"Run %s", L"%-20s starten", true},                                        // an ordinary width
        {8035, L"Reading file: %d%c", L"Lese Datei: %1000000d%c", false},                 // a huge width
        {10248, L"Save the changes to %s?", L"Speichern in 100%", false},                 // a lone '%' at the end
    };
    std::wstring body;
    for (const auto& p : pairs)
        body += std::wstring(p.english) + L"\r\n" + p.translation + L"\r\n";
    SLanguageInfo lang;
    LoadBody(lang, body);
    for (const auto& p : pairs) {
        EXPECT_STREQ(p.taken ? p.translation : p.english, lang.idText[p.id]) << p.translation;
        EXPECT_STREQ(p.taken ? p.translation : L"<none>", Lookup(lang, p.english)) << p.translation;
    }
}

TEST(FormatConversions, Signatures)
{
    const struct
    {
        LPCWSTR a, b;
        bool same;
    } rows[] = {
        {L"%d of %s", L"%5d von %-10s", true},
        {L"100%% %d", L"%d zu 100%%", true},
        {L"%i %x", L"%d %u", true},
        {nullptr, L"plain", true},
        {L"Installation of % s", L"Installation von %s", true},
        {L"%d %s", L"%s %d", false},
        {L"%d", L"%I64d", false},
        {L"%.2f", L"%.*f", false},
        {L"%d", L"%d %n", false},
        {L"50", L"50%", false},
        // Widths and precisions up to 1024 are free; larger ones never match.
        {L"%d", L"%1024d", true},
        {L"%.2f", L"%8.1024f", true},
        {L"%d", L"%1025d", false},
        {L"%s", L"%.100000s", false},
        {L"%d", L"%99999999999999999999999d", false},
        {L"Version: %s", L"Version: %.999999999s", false},
        {L"%d", L"%2147483647d", false},
    };
    for (const auto& r : rows)
        EXPECT_EQ(r.same, HaveSameFormatConversions(r.a, r.b)) << r.a << " / " << r.b;
    EXPECT_EQ(L"I64d|s|", FormatSignature(L"%I64d bytes in %s"));
    EXPECT_EQ(L"**f|", FormatSignature(L"%*.*f"));
}

TEST(LanguageFile, ShippedEnglishFileIsValidAndDefault)
{
    // The language file the program ships, read where the build takes it from.
    SLanguageInfo lang;
    ASSERT_TRUE(LoadLanguageFile(&lang, testsupport::WindowsPath(RAVELIN_SHIPPED_NLS "/English.txt").c_str(), true));
    EXPECT_STREQ(L"English", lang.englishName);
    EXPECT_STREQ(L"English", lang.localName);
    EXPECT_TRUE(lang.isDefault);
    EXPECT_STREQ(L"Can't open file.", lang.idText[1034]);
}

} // namespace
