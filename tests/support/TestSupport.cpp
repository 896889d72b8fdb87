#include "tests/support/TestSupport.h"

#include <cstdlib>

namespace testsupport {

std::wstring WindowsPath(const std::string& unixPath)
{
    std::wstring w = L"Z:";
    for (char c : unixPath)
        w += (c == '/') ? L'\\' : static_cast<wchar_t>(static_cast<unsigned char>(c));
    return w;
}

static std::string Env(const char* name)
{
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

std::wstring TestData(const wchar_t* name)
{
    return WindowsPath(Env("RAVELIN_TESTDATA")) + L"\\" + name;
}

std::wstring ScratchDir(const wchar_t* name)
{
    wchar_t tmp[MAX_PATH];
    GetTempPathW(MAX_PATH, tmp);
    std::wstring dir = std::wstring(tmp) + L"ravelin-" + name;
    // Empty it: remove plain files left by an earlier run.
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                std::wstring f = dir + L"\\" + fd.cFileName;
                SetFileAttributesW(f.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(f.c_str());
            }
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    CreateDirectoryW(dir.c_str(), nullptr);
    return dir;
}

std::wstring CapturePath()
{
    return WindowsPath(Env("RAVELIN_CAPTURE"));
}

uint64_t CaptureSize()
{
    WIN32_FILE_ATTRIBUTE_DATA a;
    if (!GetFileAttributesExW(CapturePath().c_str(), GetFileExInfoStandard, &a))
        return 0;
    return (uint64_t(a.nFileSizeHigh) << 32) | a.nFileSizeLow;
}

std::vector<uint8_t> ReadCapture(uint64_t offset)
{
    std::vector<uint8_t> all = ReadFileBytes(CapturePath());
    if (offset >= all.size())
        return {};
    return std::vector<uint8_t>(all.begin() + static_cast<ptrdiff_t>(offset), all.end());
}

std::vector<uint8_t> ReadFileBytes(const std::wstring& path)
{
    std::vector<uint8_t> data;
    HANDLE h =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return data;
    LARGE_INTEGER size;
    if (GetFileSizeEx(h, &size) && size.QuadPart > 0) {
        data.resize(static_cast<size_t>(size.QuadPart));
        DWORD got = 0;
        if (!ReadFile(h, data.data(), static_cast<DWORD>(data.size()), &got, nullptr))
            got = 0;
        data.resize(got);
    }
    CloseHandle(h);
    return data;
}

bool WriteFileBytes(const std::wstring& path, const void* data, size_t size)
{
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD put = 0;
    bool ok = WriteFile(h, data, static_cast<DWORD>(size), &put, nullptr) && put == size;
    CloseHandle(h);
    return ok;
}

void PumpMessages(DWORD ms)
{
    DWORD end = GetTickCount() + ms;
    for (;;) {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageW(&m);
        }
        if (static_cast<int>(end - GetTickCount()) <= 0)
            break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

std::string DescribeWindow(HWND w)
{
    if (!w)
        return "no window";
    char cls[64] = {};
    ::GetClassNameA(w, cls, 63);
    return std::string(cls) + " id " + std::to_string(::GetDlgCtrlID(w)) + (::IsWindowVisible(w) ? "" : " (hidden)");
}

} // namespace testsupport
