#include "app/Retranslation.h"

#include <map>
#include <memory>

#include "common/LocalizedDlg.h"
#include "xf/xfToolBar.h"

namespace {

using CRecords = CGCPtrArray<CSingleTranslation>;

// The texts of the windows that are no program dialogs, by window.
std::map<HWND, std::unique_ptr<CRecords>>& ForeignRecords()
{
    static std::map<HWND, std::unique_ptr<CRecords>> records;
    return records;
}

// Menu bands draw their entries themselves: they are read again.
BOOL CALLBACK RetranslateBand(HWND window, LPARAM)
{
    if (auto* bar = dynamic_cast<CxfToolBar*>(CWnd::FromHandlePermanent(window)))
        bar->RetranslateMenuBand();
    return TRUE;
}

BOOL CALLBACK RetranslateOne(HWND window, LPARAM)
{
    EnumChildWindows(window, &RetranslateBand, 0);
    if (auto* dialog = dynamic_cast<CLocalizedDlg*>(CWnd::FromHandlePermanent(window))) {
        dialog->TranslateControls();
        return TRUE;
    }
    if (!IsWindowVisible(window))
        return TRUE;
    std::unique_ptr<CRecords>& records = ForeignRecords()[window];
    if (!records)
        records = std::make_unique<CRecords>(true);
    TranslateWindowTree(*records, window, false, 0);
    return TRUE;
}

} // namespace

void RetranslateOpenWindows()
{
    auto& records = ForeignRecords();
    for (auto it = records.begin(); it != records.end();)
        it = IsWindow(it->first) ? std::next(it) : records.erase(it);
    EnumThreadWindows(GetCurrentThreadId(), &RetranslateOne, 0);
}
