#include "installer/UninstallEntry.h"
#include "common/OVRegKey.h"
#include "common/ProductInfo.h"

CString FormatUninstallString(LPCWSTR programPath)
{
    CString text;
    text.Format(L"\"%s\" /OVUninst", programPath);
    return text;
}

bool WriteUninstallEntry(LPCWSTR programPath)
{
    COVRegKey key;
    if (!programPath || !key.Create(HKEY_LOCAL_MACHINE, SProductInfo::GetUninstallKey()))
        return false;
    const bool named = key.SetString(L"DisplayName", SProductInfo::GetName(), 0);
    const bool command = key.SetString(L"UninstallString", FormatUninstallString(programPath), 0);
    return named && command;
}

bool ReadUninstallProgram(CString& programPath)
{
    COVRegKey key;
    CString text;
    if (!key.OpenRead(HKEY_LOCAL_MACHINE, SProductInfo::GetUninstallKey()) ||
        !key.GetString(L"UninstallString", text, false) || text.IsEmpty())
        return false;
    if (text[0] == L'"') {
        const int end = text.Find(L'"', 1);
        programPath = end > 0 ? text.Mid(1, end - 1) : text.Mid(1);
    } else {
        const int blank = text.Find(L' ');
        programPath = blank >= 0 ? text.Left(blank) : text;
    }
    return true;
}
