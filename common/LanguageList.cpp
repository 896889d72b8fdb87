#include "common/LanguageList.h"

#include "common/TimeUtils.h"

int GetLanguageListChoice()
{
    const LPCWSTR current = GetCurrentLanguageName();
    int chosen = -1;
    for (int i = 0; i < GetLanguageCount(); ++i) {
        const SLanguageInfo* language = GetLanguageAt(i);
        if (!language)
            break;
        if (chosen < 0 || (current && CompareText(language->englishName, current) == 0))
            chosen = i;
    }
    return chosen;
}
