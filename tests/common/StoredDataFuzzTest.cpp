// Damaged stored documents, made by deterministic mutation of valid ones:
// no crash, no hang, and a text tree that loads as true is exactly a
// document that saves and reloads the same.
#include <gtest/gtest.h>

#include "common/LanguageInfo.h"
#include "common/PathUtils.h"
#include "common/TextTree.h"
#include "tests/common/LanguageTestFiles.h"
#include "tests/common/TextTreeTestFiles.h"
#include "tests/support/TestSupport.h"

#include <cstdint>
#include <string>
#include <vector>

namespace {

using texttreetest::SameTree;
using texttreetest::Utf16;

const wchar_t kRoot[] = L"Ravelin_Doc";

// A fixed-seed generator, the same on every build.
class CMutator
{
public:
    explicit CMutator(uint32_t seed) : m_state(seed) {}

    uint32_t Next(uint32_t below)
    {
        m_state = m_state * 1664525u + 1013904223u;
        return static_cast<uint32_t>((static_cast<uint64_t>(m_state >> 8) * below) >> 24);
    }

    // One to four edits: characters that mean something to the readers,
    // tokens that do, whole lines moved, doubled or dropped.
    std::wstring Mutate(std::wstring text, const std::vector<std::wstring>& tokens)
    {
        static const wchar_t kChars[] = L"{}|$:= _\r\n\t0aZ9\x00e9\xfeff\xd800&%";
        const uint32_t edits = 1 + Next(4);
        for (uint32_t e = 0; e < edits; ++e) {
            const size_t pos = text.empty() ? 0 : Next(static_cast<uint32_t>(text.size()));
            switch (Next(7)) {
            case 0:
                if (!text.empty())
                    text[pos] = kChars[Next(sizeof kChars / sizeof kChars[0] - 1)];
                break;
            case 1: text.insert(pos, 1, kChars[Next(sizeof kChars / sizeof kChars[0] - 1)]); break;
            case 2: text.erase(pos, 1 + Next(8)); break;
            case 3: text.insert(pos, tokens[Next(static_cast<uint32_t>(tokens.size()))]); break;
            case 4: text.insert(pos, Line(text)); break;
            case 5: {
                const std::wstring line = Line(text);
                const size_t at = text.find(line);
                if (!line.empty() && at != std::wstring::npos)
                    text.erase(at, line.size());
                break;
            }
            default:
                if (!text.empty())
                    text[pos] = static_cast<wchar_t>(Next(0x10000));
                break;
            }
        }
        return text;
    }

private:
    // A random whole line of `text`, with its line break.
    std::wstring Line(const std::wstring& text)
    {
        if (text.empty())
            return L"";
        size_t start = text.rfind(L'\n', Next(static_cast<uint32_t>(text.size())));
        start = start == std::wstring::npos ? 0 : start + 1;
        size_t end = text.find(L'\n', start);
        end = end == std::wstring::npos ? text.size() : end + 1;
        return text.substr(start, end - start);
    }

    uint32_t m_state;
};

// A project-like document with every kind of value and some nesting.
std::wstring ValidTextTree(const CString& path)
{
    CTextTree tree(kRoot);
    EXPECT_TRUE(tree.SetString(L"file", L"C:\\Music\\{live}|take $2.wav"));
    EXPECT_TRUE(tree.SetInt64(L"length", -9000000000LL));
    EXPECT_TRUE(tree.SetFloat(L"tempo", -0.75f));
    EXPECT_TRUE(tree.SetString(L"secret", L"p\x00e4ss", 1));
    EXPECT_TRUE(tree.SetString(L"empty", L""));
    EXPECT_TRUE(tree.BeginGroup(L"Fragments"));
    for (int i = 0; i < 2; ++i) {
        CString name;
        name.Format(L"F%d", i);
        EXPECT_TRUE(tree.BeginGroup(name));
        EXPECT_TRUE(tree.SetInt(L"start", i * 1000));
        EXPECT_TRUE(tree.SetUInt(L"colour", 0xFFFFFFu - i));
        EXPECT_TRUE(tree.SetString(L"note", L"\x266b da capo\r\n}{"));
        EXPECT_TRUE(tree.EndGroup());
    }
    EXPECT_TRUE(tree.BeginGroup(L"Empty"));
    EXPECT_TRUE(tree.EndGroup());
    EXPECT_TRUE(tree.EndGroup());
    EXPECT_TRUE(tree.SaveTextTree(path));
    const std::vector<uint8_t> bytes = testsupport::ReadFileBytes(path.GetString());
    std::wstring text;
    for (size_t i = 2; i + 1 < bytes.size(); i += 2)
        text += static_cast<wchar_t>(bytes[i] | (bytes[i + 1] << 8));
    return text;
}

TEST(StoredDataFuzz, TextTreesThatLoadSaveAndReloadTheSame)
{
    const std::wstring dir = testsupport::ScratchDir(L"common-fuzz-texttree");
    const CString source = JoinPath(dir.c_str(), L"source.txt");
    const CString saved = JoinPath(dir.c_str(), L"saved.txt");
    const CString again = JoinPath(dir.c_str(), L"again.txt");
    const std::wstring valid = ValidTextTree(source);
    const std::vector<std::wstring> tokens = {
        kRoot,         L"Ravelin_Doc\r\n{\r\n", L"}\r\n", L"g\r\n{\r\n", L"k:|v|\r\n", L"$00", L"$7", L"$7c", L"$zz",
        L"Other_Root", std::wstring(1, L'\0'),  L"x:|",   L"|"};

    CMutator mutator(20240611u);
    int loaded = 0;
    const int kRounds = 2500;
    for (int round = 0; round < kRounds; ++round) {
        const std::wstring text = mutator.Mutate(valid, tokens);
        CTextTree tree(kRoot);
        bool ok;
        if (round % 4 == 0) {
            // Through a file: the mark, odd lengths and zero units count too.
            std::vector<uint8_t> bytes = Utf16(text, mutator.Next(8) != 0);
            if (mutator.Next(8) == 0)
                bytes.push_back('Z');
            ASSERT_TRUE(testsupport::WriteFileBytes(source.GetString(), bytes.data(), bytes.size()));
            ok = tree.LoadTextTree(source);
        } else {
            ok = tree.Parse(text.c_str());
        }
        if (!ok)
            continue;
        ++loaded;
        ASSERT_TRUE(tree.SaveTextTree(saved)) << "round " << round << " loaded but cannot be saved";
        CTextTree back(kRoot);
        ASSERT_TRUE(back.LoadTextTree(saved)) << "round " << round;
        ASSERT_TRUE(SameTree(tree.GetRoot(), back.GetRoot())) << "round " << round;
        // Saving is a fixed point: the same document gives the same bytes.
        if (loaded % 8 != 0)
            continue;
        ASSERT_TRUE(back.SaveTextTree(again));
        ASSERT_EQ(testsupport::ReadFileBytes(saved.GetString()), testsupport::ReadFileBytes(again.GetString()))
            << "round " << round;
    }
    // Enough survivors that the round trip was really exercised.
    EXPECT_GT(loaded, kRounds / 10);
}

TEST(StoredDataFuzz, LanguageFilesNeverBreakTheReader)
{
    const std::wstring dir = testsupport::ScratchDir(L"common-fuzz-language");
    const std::wstring path = dir + L"\\Deutsch.txt";
    const std::wstring valid =
        L"; comment\r\nflag_picture=de.png\r\ndefault_language\r\n" +
        langtest::LanguageText(L"German", L"Deutsch", false,
                               L"Can't open file.\r\nDatei kann nicht ge\x00f6\x0066fnet werden.\r\n"
                               L"&Open...\r\n\x00d6&ffnen...\r\n"
                               L"%d kHz, %d bit, %d channels\r\n%d kHz, %d Bit, %d Kan\x00e4le\r\n"
                               L"Version: %s\r\nVersion: %s\r\nStop\r\nHalt\r\n");
    const std::vector<std::wstring> tokens = {L"english_name=",
                                              L"local_name=",
                                              L"flag_picture=",
                                              L"begin_translations\r\n",
                                              L"DEFAULT_LANGUAGE\r\n",
                                              L"%s",
                                              L"%n",
                                              L"%999999999d",
                                              L"&&",
                                              L"\r",
                                              L"\n\n",
                                              std::wstring(1, L'\0')};

    CMutator mutator(19700101u);
    for (int round = 0; round < 2000; ++round) {
        std::vector<uint8_t> bytes = Utf16(mutator.Mutate(valid, tokens), mutator.Next(16) != 0);
        if (mutator.Next(8) == 0)
            bytes.push_back(0x0D);
        ASSERT_TRUE(langtest::WriteAnsi(path, std::string(bytes.begin(), bytes.end())));

        SLanguageInfo header;
        const bool headerOk = LoadLanguageFile(&header, path.c_str(), false);
        // Full loads read the whole string table: one round in four.
        if (round % 4 != 0)
            continue;
        SLanguageInfo full;
        ASSERT_EQ(headerOk, LoadLanguageFile(&full, path.c_str(), true)) << "round " << round;
        // The header reads the same whatever follows it.
        EXPECT_EQ(header.englishName, full.englishName) << "round " << round;
        EXPECT_EQ(header.localName, full.localName) << "round " << round;
        EXPECT_EQ(header.isDefault, full.isDefault) << "round " << round;
        // Every translation is one whole, non-empty line of the file.
        POSITION pos = full.textMap.GetStartPosition();
        while (pos) {
            CString english, translation;
            full.textMap.GetNextAssoc(pos, english, translation);
            EXPECT_FALSE(translation.IsEmpty() || english.IsEmpty()) << "round " << round;
            EXPECT_EQ(-1, translation.FindOneOf(L"\r\n")) << "round " << round;
            EXPECT_EQ(-1, english.Find(L'&')) << "round " << round;
        }
    }
}

} // namespace
