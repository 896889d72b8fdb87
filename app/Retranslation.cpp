#include "app/Retranslation.h"

#include <map>
#include <memory>

#include "common/LocalizedDlg.h"

namespace {

using CRecords = CGCPtrArray<CSingleTranslation>;

// The texts of the windows that are no program dialogs, by window.
std::map<HWND, std::unique_ptr<CRecords>>& ForeignRecords()
{
    static std::map<HWND, std::unique_ptr<CRecords>> records;
    return records;
}

BOOL CALLBACK RetranslateOne(HWND window, LPARAM)
{
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
