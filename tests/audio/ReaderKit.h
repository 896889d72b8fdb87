#pragma once
// The audio tests' kit: RIFF/WAVE files built byte by byte (so headers can be
// as broken as a test needs), and readers opened, started and read the way
// the application does (through the factory).
#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "audio/CreateAudioReader.h"
#include "audio/IPeakContainer.h"
#include "common/Interfaces.h"
#include "tests/support/TestSupport.h"

namespace readerkit {

using Bytes = std::vector<uint8_t>;

inline void Put32(Bytes& b, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back(static_cast<uint8_t>(v >> 8 * i));
}

inline void Append(Bytes& to, const Bytes& from)
{
    to.insert(to.end(), from.begin(), from.end());
}

// id, the stated size (the payload's own unless given), payload, and a pad
// byte after an odd payload when pad is set.
inline Bytes Chunk(const char* id, const Bytes& payload, bool pad = true, int64_t statedSize = -1)
{
    Bytes b(id, id + 4);
    Put32(b, static_cast<uint32_t>(statedSize >= 0 ? statedSize : static_cast<int64_t>(payload.size())));
    Append(b, payload);
    if (pad && (payload.size() & 1))
        b.push_back(0);
    return b;
}

struct Format
{
    uint16_t tag = 1;
    uint16_t channels = 2;
    uint32_t rate = 44100;
    uint16_t bits = 16;
    int64_t avgBytes = -1; // -1: computed
    size_t size = 16;      // payload size of the fmt chunk
};

inline Bytes Fmt(const Format& f)
{
    Bytes p;
    Put32(p, f.tag | f.channels << 16);
    Put32(p, f.rate);
    Put32(p, static_cast<uint32_t>(f.avgBytes >= 0 ? f.avgBytes : f.rate * f.channels * f.bits / 8));
    Put32(p, (f.channels * f.bits / 8) | f.bits << 16);
    p.resize(f.size, 0);
    return Chunk("fmt ", p);
}

// "RIFF", size (the content's own unless given), "WAVE", the chunks.
inline Bytes Riff(const std::vector<Bytes>& chunks, int64_t statedSize = -1)
{
    Bytes body = {'W', 'A', 'V', 'E'};
    for (const auto& c : chunks)
        Append(body, c);
    Bytes b = {'R', 'I', 'F', 'F'};
    Put32(b, static_cast<uint32_t>(statedSize >= 0 ? statedSize : static_cast<int64_t>(body.size())));
    Append(b, body);
    return b;
}

inline Bytes Canonical(const Format& f, const Bytes& data)
{
    return Riff({Fmt(f), Chunk("data", data)});
}

// Deterministic pseudo-random bytes.
inline Bytes Noise(size_t n, uint32_t seed = 12345)
{
    Bytes b(n);
    for (auto& x : b) {
        seed = seed * 1103515245u + 12345u;
        x = static_cast<uint8_t>(seed >> 16);
    }
    return b;
}

// Writes the bytes into a folder (a test's scratch folder) and answers the path.
inline std::wstring Save(const std::wstring& folder, const std::wstring& name, const Bytes& bytes)
{
    const std::wstring path = folder + L"\\" + name;
    testsupport::WriteFileBytes(path, bytes.data(), bytes.size());
    return path;
}

// Copies a generated file under another name (another extension picks
// another reader).
inline std::wstring CopyAs(const wchar_t* from, const wchar_t* scratch, const wchar_t* name)
{
    return Save(testsupport::ScratchDir(scratch), name, testsupport::ReadFileBytes(testsupport::TestData(from)));
}

// Everything a reader delivers from its position on, read in blocks.
inline Bytes ReadAll(IAudioReader* r, DWORD block = 65536)
{
    Bytes out;
    Bytes buf(block);
    DWORD got = 0;
    while (r->Read(buf.data(), block, &got) && got > 0)
        out.insert(out.end(), buf.begin(), buf.begin() + got);
    return out;
}

inline CIPtr<IAudioReader> Open(const std::wstring& path, bool cache)
{
    CIPtr<IAudioReader> r;
    if (!CreateAudioReader(path.c_str(), &r, cache))
        return nullptr;
    return r;
}

template <class Done>
bool WaitFor(Done done, int ms = 30000)
{
    for (int waited = 0; !done(); waited += 5) {
        if (waited >= ms)
            return false;
        Sleep(5);
    }
    return true;
}
inline bool WaitReady(IAudioReader* r, int ms = 30000)
{
    return WaitFor([r] { return r->IsReady(); }, ms);
}
inline bool WaitComplete(IPeakContainer* c, int ms = 30000)
{
    return WaitFor([c] { return c->IsComplete(); }, ms);
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
