#include "common/Languages.h"
#include "common/PathUtils.h"
#include "common/StringUtils.h"
#include "common/FolderWalk.h"
#include "common/OVRegKey.h"
#include "common/PtrArrays.h"
#include "common/RegSettings.h"

namespace {

CGCPtrArray<SLanguageInfo>& LanguageList()
{
    static CGCPtrArray<SLanguageInfo> list(true);
    return list;
}

SLanguageInfo* g_current = nullptr;

} // namespace

CString GetLanguageFolder()
{
    CString folder = GetModuleDirectory();
    AddTrailingBackslash(folder);
    return folder + L"nls";
}

bool ScanLanguageFiles()
{
    CString folder = GetLanguageFolder();
    CFindDataArray entries;
    if (entries.Fill(folder, L"*.txt")) {
        for (int i = 0; i < entries.GetCount(); ++i) {
            const WIN32_FIND_DATAW& entry = entries.GetAt(i);
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;
            if (entry.cFileName[0] == L'_')
                continue;
            SLanguageInfo* language = new SLanguageInfo;
            CString path = folder + L"\\" + entry.cFileName;
            if (LoadLanguageFile(language, path, false) && language->IsValid())
                LanguageList().Add(language);
            else
                delete language;
        }
    }
    return LanguageList().GetSize() > 0;
}

int GetLanguageCount()
{
    return static_cast<int>(LanguageList().GetSize());
}

SLanguageInfo* GetLanguageAt(int index)
{
    return LanguageList().IsValidIndex(index) ? LanguageList().GetAt(index) : nullptr;
}

SLanguageInfo* GetCurrentLanguage()
{
    return g_current;
}

void SetCurrentLanguage(SLanguageInfo* language)
{
    if (language == nullptr)
        return;
    if (g_current != nullptr)
        g_current->Unload();
    g_current = language;
    // A file that no longer loads leaves the language without translations:
    // every text then shows in the program's own words.
    (void)LoadLanguageFile(language, nullptr, true);
}

void SelectLanguage(int index)
{
    SetCurrentLanguage(GetLanguageAt(index));
}

LPCWSTR SelectLanguageByName(LPCWSTR name)
{
    if (name == nullptr)
        return nullptr;
    if (g_current != nullptr && g_current->englishName == name)
        return name;
    int count = GetLanguageCount();
    SLanguageInfo* found = nullptr;
    for (int i = 0; i < count && found == nullptr; ++i) {
        if (GetLanguageAt(i)->englishName == name)
            found = GetLanguageAt(i);
    }
    for (int i = 0; i < count && found == nullptr; ++i) {
        if (GetLanguageAt(i)->isDefault)
            found = GetLanguageAt(i);
    }
    if (found == nullptr && count > 0)
        found = GetLanguageAt(0);
    if (found == nullptr)
        return nullptr;
    SetCurrentLanguage(found);
    return found->englishName;
}

LPCWSTR GetCurrentLanguageName()
{
    return g_current != nullptr ? static_cast<LPCWSTR>(g_current->englishName) : nullptr;
}

bool PersistLanguageChoice(HKEY root, bool load)
{
    COVRegKey key;
    if (!key.Open(root, L"nls", load))
        return load; // nothing kept yet is no failure
    CString name;
    if (g_current != nullptr)
        name = g_current->englishName;
    SRegTableEntry table[] = {{L"strLang", &name, RRT_STRING}, {nullptr, nullptr, RRT_END}};
    const bool ok = SerializeRegTable(table, key.GetHandle(), nullptr, load);
    if (load)
        SelectLanguageByName(name);
    return ok || load; // a value missing on load keeps the current choice
}

void TermLocalization()
{
}

void ClearLanguages()
{
    g_current = nullptr;
    LanguageList().RemoveAll();
}
