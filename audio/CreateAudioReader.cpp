#include "audio/CreateAudioReader.h"

#include <cwchar>
#include <new>

#include "audio/AudioReaderCacher.h"
#include "audio/DXAudioReader.h"
#include "audio/OggSource.h"
#include "audio/WavReader.h"
#include "common/Interfaces.h"

namespace {

// The extension of the path's file name, without its dot; empty without one.
std::wstring ExtensionOf(LPCWSTR path)
{
    const wchar_t* name = path;
    for (const wchar_t* p = path; *p; ++p)
        if (*p == L'\\' || *p == L'/' || *p == L':')
            name = p + 1;
    const wchar_t* dot = std::wcsrchr(name, L'.');
    if (!dot)
        return std::wstring();
    std::wstring ext(dot + 1);
    if (ext.size() > 256)
        ext.resize(256);
    for (auto& c : ext)
        if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    return ext;
}

// The one place where a reader kind is chosen. A kind not built into this
// program gives null.
IAudioReader* NewReaderFor(const std::wstring& ext)
{
    if (ext == L"wav")
        return new (std::nothrow) CWavReader();
    if (ext == L"ogg")
        return new (std::nothrow) COGGSource();
    return new (std::nothrow) CDXAudioReader();
}

} // namespace

bool CreateAudioReader(LPCWSTR path, IAudioReader** out, bool cache)
{
    if (!path || !out)
        return false;
    CIPtr<IAudioReader> reader(NewReaderFor(ExtensionOf(path)));
    if (!reader)
        return false;
    if (cache) {
        CIPtr<IAudioReader> wrapper(new (std::nothrow) CAudioReaderCacher(reader));
        if (!wrapper)
            return false;
        reader = wrapper;
    }
    if (!reader->Open(path))
        return false;
    return ReturnInterface(reader, out);
}
