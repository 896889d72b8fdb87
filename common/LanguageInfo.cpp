#include "common/LanguageInfo.h"
#include "common/AdvFile.h"
#include "common/FormatConversions.h"
#include "common/PathUtils.h"
#include "common/StringUtils.h"
#include <string>
#include <unordered_map>
#include <vector>

namespace {

const wchar_t kEnglishNameKey[] = L"english_name=";
const wchar_t kLocalNameKey[] = L"local_name=";
const wchar_t kFlagPictureKey[] = L"flag_picture=";

bool LineStartsWith(const CString& line, const wchar_t* key)
{
    size_t n = wcslen(key);
    return static_cast<size_t>(line.GetLength()) >= n && wcsncmp(line, key, n) == 0;
}

// Everything after the first '='.
CString ValueOf(const CString& line)
{
    int eq = line.Find(L'=');
    return line.Mid(eq + 1);
}

// Language files hold text: a zero unit is damage, and a line holding one
// would read as cut short wherever it is used as a C string.
bool HasZeroUnit(const CString& line)
{
    for (int i = 0; i < line.GetLength(); ++i)
        if (line[i] == 0)
            return true;
    return false;
}

CString WithoutAmpersands(const CString& text)
{
    CString key = text;
    key.Remove(L'&');
    return key;
}

BOOL CALLBACK CollectStringBlock(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param)
{
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<int>*>(param)->push_back(static_cast<int>(reinterpret_cast<ULONG_PTR>(name)));
    return TRUE;
}

// Every text of the program's string table, by id. The table is stored in
// blocks of 16 (block b holds ids (b - 1) * 16 to (b - 1) * 16 + 15), so only
// the blocks that exist are read.
void LoadStringTable(std::map<int, CString>& idText)
{
    std::vector<int> blocks;
    EnumResourceNamesW(AfxGetResourceHandle(), RT_STRING, CollectStringBlock, reinterpret_cast<LONG_PTR>(&blocks));
    for (int block : blocks) {
        for (int id = (block - 1) * 16; id < block * 16 && id < 65535; ++id) {
            CString text;
            if (text.LoadString(static_cast<UINT>(id)))
                idText[id] = text;
        }
    }
}

} // namespace

SLanguageInfo::SLanguageInfo() = default;

bool SLanguageInfo::IsValid() const
{
    return !englishName.IsEmpty() && !localName.IsEmpty();
}

void SLanguageInfo::Unload()
{
    idText.clear();
    textMap.RemoveAll();
}

bool LoadLanguageFile(SLanguageInfo* language, LPCWSTR path, bool full)
{
    if (language == nullptr)
        return false;
    if (path != nullptr)
        language->filePath = path;
    if (language->filePath.IsEmpty())
        return false;

    CAdvFile file;
    if (!file.OpenRead(language->filePath, true) || !file.IsUnicode())
        return false;
    if (file.GetSize() > kMaxLanguageFileSize)
        return false;

    // English text -> the ids that carry it, for the body pass.
    std::unordered_multimap<std::wstring, int> idsByText;
    if (full) {
        LoadStringTable(language->idText);
        for (const auto& entry : language->idText)
            idsByText.emplace(std::wstring(entry.second), entry.first);
    }

    CString line;
    bool inBody = false;
    while (!inBody && file.ReadLine(line)) {
        if (HasZeroUnit(line)) {
            continue; // ignored like any other unknown header line
        } else if (LineStartsWith(line, kEnglishNameKey)) {
            language->englishName = ValueOf(line);
        } else if (LineStartsWith(line, kLocalNameKey)) {
            language->localName = ValueOf(line);
        } else if (LineStartsWith(line, kFlagPictureKey)) {
            CString folder = GetDirectoryOfPath(language->filePath);
            AddTrailingBackslash(folder);
            language->flagPicture = folder + ValueOf(line);
        } else if (line.CompareNoCase(L"default_language") == 0) {
            language->isDefault = true;
        } else if (line.CompareNoCase(L"begin_translations") == 0) {
            if (!full)
                return true;
            inBody = true;
        }
    }

    CString english;
    for (unsigned counter = 0; inBody && file.ReadLine(line); ++counter) {
        if ((counter & 1) == 0) {
            english = line;
            continue;
        }
        const CString& translation = line;
        if (english.IsEmpty() || translation.IsEmpty() || HasZeroUnit(english) || HasZeroUnit(translation))
            continue;
        // A translation must consume exactly the arguments of its English
        // text, or formatting it would read arguments that aren't there.
        if (!HaveSameFormatConversions(english, translation))
            continue;
        auto range = idsByText.equal_range(std::wstring(english));
        for (auto it = range.first; it != range.second; ++it)
            language->idText[it->second] = translation;
        // An English line of '&' marks only would give the empty key, and
        // every window without a text would show its translation.
        CString key = WithoutAmpersands(english);
        if (!key.IsEmpty())
            language->textMap.SetAt(key, translation);
    }
    return true;
}
