#include "hybrid/ContentFactory.h"
#include "hybrid/ButtonContent.h"
#include "hybrid/CheckBoxContent.h"
#include "hybrid/DateContent.h"
#include "hybrid/EditComboContent.h"
#include "hybrid/EditContent.h"
#include "hybrid/HeadingContent.h"
#include "hybrid/ImplantedWndContent.h"
#include "hybrid/PictureContent.h"
#include "hybrid/ProgressContent.h"
#include "hybrid/RadioButtonContent.h"
#include "hybrid/SeparatorContent.h"
#include "hybrid/SliderContent.h"
#include "hybrid/TextContent.h"
#include "hybrid/TreeItemContent.h"

namespace {

template <class T>
IHybridContent* Make(uint64_t)
{
    return new T;
}

// High style bit value 2 makes the combo editable.
IHybridContent* MakeCombo(uint64_t styleBits)
{
    if ((styleBits >> 32) & HCMB_EDITABLE)
        return new CEditComboContent;
    return new CComboContent;
}

struct SFactoryRow
{
    WCHAR letter;
    PFN_CREATE_CONTENT create;
};

// Contents built into the toolkit. Each content kind adds its row here.
const SFactoryRow kBuiltIn[] = {
    {L'C', nullptr}, // container cell: no content
    {L'T', Make<CTextContent>},
    {L'P', Make<CPictureContent>},
    {L'B', Make<CButtonContent>},
    {L'L', Make<CHybridSlider>},
    {L'x', Make<CCheckBoxContent>},
    {L'r', Make<CRadioButtonContent>},
    {L'p', Make<CProgressContent>},
    {L'h', Make<CHeadingContent>},
    {L's', Make<CSeparatorContent>},
    {L'i', Make<CImplantedWndContent>},
    {L'E', Make<CEditContent>},
    {L'c', MakeCombo},
    {L't', Make<CTreeItemContent>},
    {L'd', Make<CDateContent>},
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
