#include "app/AppHooks.h"

#include "app/OptLanguagePage.h"
#include "app/OptionsDlg.h"

namespace {

const UINT IDD_PAGE = 10038;

} // namespace

COptionsPage* CreateAppOptionsPage(COptionsDlg* dialog, int index)
{
    if (index != 0 || !dialog)
        return nullptr;
    auto* page = new COptLanguagePage(dialog);
    if (!page->Create(IDD_PAGE, dialog)) {
        delete page;
        return nullptr;
    }
    return page;
}
