#include "common/FileUtils.h"

namespace {

// Owner of a file handle opened for attribute access.
class CAttributeHandle {
public:
    explicit CAttributeHandle(LPCWSTR path)
        : m_handle(path ? CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, 0, nullptr)
                        : INVALID_HANDLE_VALUE)
    {
    }
    ~CAttributeHandle()
    {
        if (m_handle != INVALID_HANDLE_VALUE)
            CloseHandle(m_handle);
    }
    CAttributeHandle(const CAttributeHandle&) = delete;
    CAttributeHandle& operator=(const CAttributeHandle&) = delete;
    HANDLE Get() const { return m_handle; }
    bool IsValid() const { return m_handle != INVALID_HANDLE_VALUE; }

private:
    HANDLE m_handle;
};

// Owner of a loaded module.
class CModule {
public:
    explicit CModule(LPCWSTR name) : m_module(name ? LoadLibraryW(name) : nullptr) {}
    ~CModule()
    {
        if (m_module)
            FreeLibrary(m_module);
    }
    CModule(const CModule&) = delete;
    CModule& operator=(const CModule&) = delete;
    HMODULE Get() const { return m_module; }

private:
    HMODULE m_module;
};

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
    if (!DriveRoot(letter, root)
        || !GetDiskFreeSpaceW(root, &sectorsPerCluster, &bytesPerSector, &freeClusters,
                              &totalClusters))
        return false;
    const unsigned long long cluster =
        static_cast<unsigned long long>(sectorsPerCluster) * bytesPerSector;
    *free = freeClusters * cluster;
    *total = totalClusters * cluster;
    return true;
}

} // namespace

bool FileExists(LPCWSTR path)
{
    return CAttributeHandle(path).IsValid();
}

DWORD GetFileSizeByName(LPCWSTR path)
{
    CAttributeHandle file(path);
    if (!file.IsValid())
        return 0;
    const DWORD size = GetFileSize(file.Get(), nullptr);
    return size == INVALID_FILE_SIZE ? 0 : size;
}

bool CanLoadLibrary(LPCWSTR path)
{
    return path && CModule(path).Get() != nullptr;
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
    if (!DriveRoot(letter, root)
        || !GetVolumeInformationW(root, volume, MAX_PATH + 1, nullptr, nullptr, nullptr, system,
                                  MAX_PATH + 1))
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
    CModule shfolder(L"SHFolder.dll");
    GetFolderPathFn getPath = find(shfolder.Get());
    CModule shell(getPath ? nullptr : L"Shell32.dll");
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
