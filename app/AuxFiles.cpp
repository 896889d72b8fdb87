#include "app/AuxFiles.h"

#include "common/FileUtils.h"
#include "common/FolderWalk.h"
#include "common/PathUtils.h"

CString MakeAuxFilePath(LPCWSTR audioPath, LPCWSTR extension)
{
    if (!audioPath || !extension)
        return CString();
    const CString folder = GetAuxFolder();
    if (!DirectoryExists(folder) && !::CreateDirectoryW(folder, nullptr))
        return folder;
    CString name;
    name.Format(L"%s\\%s_%d.%s", static_cast<LPCWSTR>(folder),
                static_cast<LPCWSTR>(GetFileNameOfPath(audioPath, true)),
                static_cast<int>(GetFileSizeByName(audioPath)), extension);
    return name;
}
