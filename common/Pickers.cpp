#include "common/Pickers.h"

#include <commdlg.h>
#include <shlobj.h>

#include <cwchar>
#include <vector>

#include "common/ScopedHandle.h"

CString BrowseForFolder(HWND owner)
{
#ifndef BIF_NEWDIALOGSTYLE
#define BIF_NEWDIALOGSTYLE 0x0040
#endif
    wchar_t display[MAX_PATH + 1] = {};
    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.pszDisplayName = display;
    info.lpszTitle = L"Select the folder to add";
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    CItemIdList chosen(SHBrowseForFolderW(&info));
    if (!chosen.Get())
        return CString();
    wchar_t path[MAX_PATH + 1] = {};
    if (!SHGetPathFromIDListW(chosen.Get(), path))
        return CString();
    return CString(path);
}

CString BrowseForFile(LPCWSTR filter, bool open, HWND parent, LPCWSTR defaultExtension, LPCWSTR initialName)
{
    if (!filter)
        return CString();
    // "a|b|c|d|" becomes "a\0b\0c\0d\0\0".
    std::vector<wchar_t> filters;
    for (const wchar_t* f = filter; *f; ++f)
        filters.push_back(*f == L'|' ? L'\0' : *f);
    filters.push_back(L'\0');
    filters.push_back(L'\0');
    std::vector<wchar_t> file(32768, L'\0');
    if (initialName)
        wcsncpy(file.data(), initialName, file.size() - 1);
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = parent;
    ofn.lpstrFilter = filters.data();
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrDefExt = defaultExtension;
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    const BOOL ok = open ? GetOpenFileNameW(&ofn) : GetSaveFileNameW(&ofn);
    return ok ? CString(file.data()) : CString();
}
