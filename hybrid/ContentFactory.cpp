#include "hybrid/ContentFactory.h"

namespace {

struct SFactoryRow
{
    WCHAR letter;
    PFN_CREATE_CONTENT create;
};

// Contents built into the toolkit. Each content kind adds its row here.
const SFactoryRow kBuiltIn[] = {
    {L'C', nullptr}, // container cell: no content
};

PFN_CREATE_CONTENT* Table()
{
    static PFN_CREATE_CONTENT table[128] = {};
    static bool filled = false;
    if (!filled) {
        filled = true;
        for (const SFactoryRow& row : kBuiltIn)
            table[row.letter] = row.create;
    }
    return table;
}

} // namespace

bool RegisterContentFactory(WCHAR letter, PFN_CREATE_CONTENT factory)
{
    if (letter <= 0 || letter >= 128)
        return false;
    Table()[letter] = factory;
    return true;
}

IHybridContent* CreateContentForLetter(WCHAR letter, uint64_t styleBits)
{
    if (letter <= 0 || letter >= 128 || letter == L'C')
        return nullptr;
    PFN_CREATE_CONTENT create = Table()[letter];
    return create ? create(styleBits) : nullptr;
}
