#pragma once
// Opening, starting and waiting for readers the way the application does
// (through the factory), for the tests that run the same cases on every reader.
#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "audio/CreateAudioReader.h"
#include "audio/IPeakContainer.h"
#include "common/Interfaces.h"
#include "tests/support/TestSupport.h"

namespace readerkit {

// COM (multithreaded) for the DirectShow readers, for the life of a test.
class CComScope
{
public:
    CComScope() : m_ok(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {}
    ~CComScope()
    {
        if (m_ok)
            CoUninitialize();
    }
    CComScope(const CComScope&) = delete;
    CComScope& operator=(const CComScope&) = delete;

private:
    bool m_ok;
};

inline CIPtr<IAudioReader> Open(const std::wstring& path, bool cache)
{
    CIPtr<IAudioReader> r;
    if (!CreateAudioReader(path.c_str(), &r, cache))
        return nullptr;
    return r;
}

inline bool WaitReady(IAudioReader* r, int ms = 30000)
{
    for (int waited = 0; !r->IsReady(); waited += 5) {
        if (waited >= ms)
            return false;
        Sleep(5);
    }
    return true;
}

inline bool WaitComplete(IPeakContainer* c, int ms = 30000)
{
    for (int waited = 0; !c->IsComplete(); waited += 10) {
        if (waited >= ms)
            return false;
        Sleep(10);
    }
    return true;
}

inline bool Start(IAudioReader* r)
{
    CIPtr<IProcess> process;
    return SUCCEEDED(process.QueryFrom(r, IID_IProcess)) && process->Start();
}

inline bool Stop(IAudioReader* r)
{
    CIPtr<IProcess> process;
    return SUCCEEDED(process.QueryFrom(r, IID_IProcess)) && process->Stop();
}

// Opened, loaded when cached, and started; null when any step fails.
inline CIPtr<IAudioReader> OpenStarted(const std::wstring& path, bool cache)
{
    CIPtr<IAudioReader> r = Open(path, cache);
    if (!r || !WaitReady(r) || !Start(r))
        return nullptr;
    return r;
}

// Copies a generated file under another name (another extension picks
// another reader).
inline std::wstring CopyAs(const wchar_t* from, const wchar_t* scratch, const wchar_t* name)
{
    const std::wstring path = testsupport::ScratchDir(scratch) + L"\\" + name;
    const std::vector<uint8_t> bytes = testsupport::ReadFileBytes(testsupport::TestData(from));
    return !bytes.empty() && testsupport::WriteFileBytes(path, bytes.data(), bytes.size()) ? path : L"";
}

// The 16-bit sample at p, and how many of the samples in `bytes` bytes at p
// are loud (noise at half volume mostly is; silence never).
inline int Sample(const uint8_t* p)
{
    return static_cast<int16_t>(p[0] | p[1] << 8);
}

inline int LoudSamples(const uint8_t* p, size_t bytes)
{
    int loud = 0;
    for (size_t i = 0; i + 1 < bytes; i += 2)
        loud += std::abs(Sample(p + i)) > 1000;
    return loud;
}

} // namespace readerkit
