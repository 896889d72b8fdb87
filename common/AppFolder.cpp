#include "common/AppFolder.h"

#include <windows.h>

#include <vector>

CString GetAppFolder()
{
    // Long paths: grow the buffer until the whole name fits.
    std::vector<wchar_t> name(MAX_PATH);
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
        if (n == 0)
            return CString();
        if (n < name.size())
            break;
        if (name.size() >= 32768)
            return CString();
        name.resize(name.size() * 2);
    }
    CString path(name.data());
    const int slash = path.ReverseFind(L'\\');
    return slash < 0 ? CString() : path.Left(slash + 1);
}

CString GetAuxFolder()
{
    CString folder = GetAppFolder();
    if (folder.IsEmpty() || folder[folder.GetLength() - 1] != L'\\')
        folder += L'\\';
    return folder + L"AuxFiles";
}
