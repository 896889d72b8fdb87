#include "installer/SpareRoutines.h"
#include <shlobj.h>
#include "installer/SelfDelete.h"
#include "installer/Shortcuts.h"

CString GetTempFilePath(LPCWSTR prefix)
{
    wchar_t folder[MAX_PATH] = {};
    const DWORD n = ::GetTempPathW(MAX_PATH, folder);
    if (n < 1 || n > MAX_PATH - 1)
        return CString();
    wchar_t path[MAX_PATH] = {};
    if (!::GetTempFileNameW(folder, prefix, 0, path))
        return CString();
    return CString(path);
}

bool FindStartupShortcut()
{
    CString link;
    return FindShortcut(nullptr, CSIDL_STARTUP, link);
}

void CallDllRegistration(LPCWSTR libraryPath, bool registerIt)
{
    const HMODULE library = ::LoadLibraryW(libraryPath);
    if (!library)
        return;
    using Entry = HRESULT(WINAPI*)();
    const FARPROC found = ::GetProcAddress(library, registerIt ? "DllRegisterServer" : "DllUnregisterServer");
    if (found)
        reinterpret_cast<Entry>(reinterpret_cast<void*>(found))();
}

bool RunSelfRegistration(LPCWSTR programPath, bool registerIt)
{
    return RunProcess(programPath, true, registerIt ? L"/RegServer" : L"/UnregServer");
}
