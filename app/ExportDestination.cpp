// "csLastExportDestination" of the program's settings key, read and written
// on its own: only the export dialog uses it.
#include "app/ExportSelDlg.h"

#include "common/ProductInfo.h"
#include "common/RegSettings.h"

namespace {

bool Exchange(CString& folder, bool load)
{
    const SRegTableEntry table[] = {
        {L"csLastExportDestination", &folder, RRT_STRING},
        {nullptr, nullptr, RRT_END},
    };
    return SerializeRegTable(table, HKEY_CURRENT_USER, SProductInfo::GetRegistryKey(), load);
}

} // namespace

CString GetLastExportDestination()
{
    CString folder;
    Exchange(folder, true);
    return folder;
}

void SetLastExportDestination(LPCWSTR folder)
{
    if (!folder)
        return;
    CString value = folder;
    Exchange(value, false);
}
