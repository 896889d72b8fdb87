#include "installer/Shortcuts.h"
#include <shlobj.h>
#include "common/DirChanger.h"
#include "common/Interfaces.h"
#include "common/FileUtils.h"
#include "common/PathUtils.h"
#include "common/ScopedHandle.h"
#include "common/TimeUtils.h"

namespace {

CString TargetOrSelf(LPCWSTR target)
{
    return target ? CString(target) : GetModuleFilePath();
}

} // namespace

void CreateShortcut(LPCWSTR target, LPCWSTR description, LPCWSTR linkName, int csidl)
{
    if (!description || !linkName)
        return;
    const CString path = TargetOrSelf(target);
    CString folder;
    if (FAILED(SHGetFolderPathDynamic(nullptr, csidl, nullptr, 0, folder)))
        return;
    CDirChanger changer;
    if (!changer.ChangeTo(folder))
        return;
    CIPtr<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_ALL, IID_IShellLinkW, link.ReceiveVoid())))
        return;
    // The link keeps the path as a field of its own, not as a command line:
    // a path with blanks needs no quotes here.
    if (FAILED(link->SetPath(path)) || FAILED(link->SetIconLocation(path, 0)) ||
        FAILED(link->SetDescription(description)))
        return;
    CIPtr<IPersistFile> file;
    if (FAILED(file.QueryFrom(link, IID_IPersistFile)))
        return;
    CString name;
    name.Format(L"%s.lnk", linkName);
    file->Save(JoinPath(folder, name), TRUE);
}

CString GetShortcutTarget(LPCWSTR linkPath)
{
    CIPtr<IShellLinkW> link;
    if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER, IID_IShellLinkW,
                                  link.ReceiveVoid())))
        return CString();
    CIPtr<IPersistFile> file;
    if (FAILED(file.QueryFrom(link, IID_IPersistFile)) || FAILED(file->Load(linkPath, 0)))
        return CString();
    wchar_t stored[MAX_PATH] = {};
    if (FAILED(link->GetPath(stored, MAX_PATH, nullptr, SLGP_RAWPATH)))
        return CString();
    return CString(stored);
}

bool FindShortcut(LPCWSTR target, int csidl, CString& linkPath)
{
    linkPath.Empty();
    const CString path = TargetOrSelf(target);
    CString folder;
    if (FAILED(SHGetFolderPathDynamic(nullptr, csidl, nullptr, 0, folder)))
        return false;
    WIN32_FIND_DATAW data;
    CFindHandle find(::FindFirstFileW(JoinPath(folder, L"*.lnk"), &data));
    if (!find)
        return false;
    do {
        const CString candidate = JoinPath(folder, data.cFileName);
        if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
            CompareText(GetShortcutTarget(candidate), path) == 0) {
            linkPath = candidate;
            return true;
        }
    } while (::FindNextFileW(find.Get(), &data));
    return false;
}

void DeleteShortcut(LPCWSTR target, int csidl)
{
    CString link;
    if (FindShortcut(target, csidl, link))
        ::DeleteFileW(link);
}
