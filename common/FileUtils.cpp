#include "common/FileUtils.h"

#include "common/ScopedHandle.h"

namespace {

// A file opened for attribute access only.
CFileHandle OpenForAttributes(LPCWSTR path)
{
    return CFileHandle(
        path ? CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr)
             : INVALID_HANDLE_VALUE);
}

CModuleHandle LoadModule(LPCWSTR name)
{
    return CModuleHandle(name ? LoadLibraryW(name) : nullptr);
}

bool DriveRoot(wchar_t letter, wchar_t root[4])
{
    if (!letter)
        return false;
    root[0] = letter;
    root[1] = L':';
    root[2] = L'\\';
    root[3] = 0;
    return true;
}

bool QueryDrive(wchar_t letter, unsigned long long* free, unsigned long long* total)
{
    wchar_t root[4];
    DWORD sectorsPerCluster = 0, bytesPerSector = 0, freeClusters = 0, totalClusters = 0;
    if (!DriveRoot(letter, root) ||
        !GetDiskFreeSpaceW(root, &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters))
        return false;
    const unsigned long long cluster = static_cast<unsigned long long>(sectorsPerCluster) * bytesPerSector;
    *free = freeClusters * cluster;
    *total = totalClusters * cluster;
    return true;
}

} // namespace

bool FileExists(LPCWSTR path)
{
    return OpenForAttributes(path).IsValid();
}

DWORD GetFileSizeByName(LPCWSTR path)
{
    CFileHandle file = OpenForAttributes(path);
    if (!file.IsValid())
        return 0;
    const DWORD size = GetFileSize(file.Get(), nullptr);
    return size == INVALID_FILE_SIZE ? 0 : size;
}

bool CanLoadLibrary(LPCWSTR path)
{
    return path && LoadModule(path).IsValid();
}

bool TruncateFileAt(HANDLE file, DWORD position)
{
    if (file == INVALID_HANDLE_VALUE || !file)
        return false;
    LARGE_INTEGER distance;
    distance.QuadPart = position;
    if (!SetFilePointerEx(file, distance, nullptr, FILE_BEGIN))
        return false;
    return SetEndOfFile(file) != FALSE;
}

unsigned long long GetDriveFreeSpace(wchar_t letter)
{
    unsigned long long free = 0, total = 0;
    return QueryDrive(letter, &free, &total) ? free : 0;
}

unsigned long long GetDriveTotalSize(wchar_t letter)
{
    unsigned long long free = 0, total = 0;
    return QueryDrive(letter, &free, &total) ? total : 0;
}

bool GetVolumeInfo(wchar_t letter, CString& volumeName, CString& fileSystemName)
{
    wchar_t root[4];
    wchar_t volume[MAX_PATH + 1] = {};
    wchar_t system[MAX_PATH + 1] = {};
    if (!DriveRoot(letter, root) ||
        !GetVolumeInformationW(root, volume, MAX_PATH + 1, nullptr, nullptr, nullptr, system, MAX_PATH + 1))
        return false;
    volumeName = volume;
    fileSystemName = system;
    return true;
}

HRESULT SHGetFolderPathDynamic(HWND window, int folder, HANDLE token, DWORD flags, CString& path)
{
    typedef HRESULT(WINAPI * GetFolderPathFn)(HWND, int, HANDLE, DWORD, LPWSTR);
    auto find = [](HMODULE module) {
        return module ? reinterpret_cast<GetFolderPathFn>(
                            reinterpret_cast<void*>(GetProcAddress(module, "SHGetFolderPathW")))
                      : nullptr;
    };
    CModuleHandle shfolder = LoadModule(L"SHFolder.dll");
    GetFolderPathFn getPath = find(shfolder.Get());
    CModuleHandle shell = LoadModule(getPath ? nullptr : L"Shell32.dll");
    if (!getPath)
        getPath = find(shell.Get());
    if (!getPath)
        return static_cast<HRESULT>(-1);
    wchar_t buffer[MAX_PATH + 1] = {};
    const HRESULT hr = getPath(window, folder, token, flags, buffer);
    if (SUCCEEDED(hr))
        path = buffer;
    return hr;
}
