#pragma once
// Helpers shared by the test programs: where the generated test data lives,
// and the raw file that the captured sound device appends to.
#include <windows.h>
#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

// A Unix path (as handed over in the environment) as a Windows path (Z:\...).
std::wstring WindowsPath(const std::string& unixPath);

// Full Windows path of a generated file in the test-data folder.
std::wstring TestData(const wchar_t* name);

// A fresh, empty scratch folder for one test (under the build folder's temp).
std::wstring ScratchDir(const wchar_t* name);

// The raw PCM file that waveOut output is appended to, and its current size.
std::wstring CapturePath();
uint64_t CaptureSize();
// Bytes of the capture file from `offset` to its end.
std::vector<uint8_t> ReadCapture(uint64_t offset);

// Whole file into memory; empty when it can't be read.
std::vector<uint8_t> ReadFileBytes(const std::wstring& path);
bool WriteFileBytes(const std::wstring& path, const void* data, size_t size);

// A window as a failure message names it: class, control id, and whether
// it is hidden.
std::string DescribeWindow(HWND w);

// Runs the message loop of this thread for about `ms` milliseconds.
void PumpMessages(DWORD ms);

// COM (multithreaded) for the lifetime of a test.
class CComScope
{
public:
    CComScope() { m_ok = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)); }
    ~CComScope()
    {
        if (m_ok)
            CoUninitialize();
    }
    bool Ok() const { return m_ok; }

private:
    bool m_ok;
};

} // namespace testsupport
