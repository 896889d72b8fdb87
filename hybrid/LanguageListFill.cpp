#include "hybrid/LanguageListFill.h"

#include "common/LanguageList.h"
#include "hybrid/CellBuilder.h"

void FillLanguageList(CHybridCtrl& control)
{
    CCellBuilder builder(&control);
    CIPtr<IHybridHeading> columns;
    builder.AddColumn(10).AddColumn(45).AddColumn(45).ReturnColumnModel(&columns).CreateColumnModel();
    const int choice = GetLanguageListChoice();
    CIPtr<IHybridCell> chosen;
    for (int i = 0; i < GetLanguageCount(); ++i) {
        const SLanguageInfo* language = GetLanguageAt(i);
        if (!language)
            break;
        CIPtr<IHybridCell> row;
        builder.SetColumnModel(columns).SetStyleBits(0x201).SetData(i).ReturnCell(&row).AddCell().BeginChildren();
        builder.SetPictureFile(language->flagPicture).AddPicture();
        builder.SetText(language->englishName).SetStyleBits(0x20).AddText();
        builder.SetText(language->localName).SetStyleBits(0x20).AddText();
        builder.EndChildren();
        if (i == choice)
            chosen = row;
    }
    if (!chosen)
        return;
    chosen->SetSelected(true, false);
    control.SetActiveCell(chosen, false);
    control.EnsureVisible(chosen);
}
