#pragma once
// Hand-made RIFF/WAVE files for the reader tests: every chunk is built
// byte by byte, so headers can be as broken as a test needs.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "audio/IAudioReader.h"
#include "tests/support/TestSupport.h"

namespace wavfile {

using Bytes = std::vector<uint8_t>;

inline void Put16(Bytes& b, uint32_t v)
{
    b.push_back(v & 0xFF);
    b.push_back((v >> 8) & 0xFF);
}

inline void Put32(Bytes& b, uint32_t v)
{
    Put16(b, v & 0xFFFF);
    Put16(b, v >> 16);
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
    Put32(b, statedSize >= 0 ? static_cast<uint32_t>(statedSize) : static_cast<uint32_t>(payload.size()));
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
    int64_t avgBytes = -1;   // -1: computed
    size_t size = 16;        // payload size of the fmt chunk
};

inline Bytes Fmt(const Format& f)
{
    Bytes p;
    Put16(p, f.tag);
    Put16(p, f.channels);
    Put32(p, f.rate);
    Put32(p, f.avgBytes >= 0 ? static_cast<uint32_t>(f.avgBytes) : f.rate * f.channels * f.bits / 8);
    Put16(p, f.channels * f.bits / 8);
    Put16(p, f.bits);
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
    Put32(b, statedSize >= 0 ? static_cast<uint32_t>(statedSize) : static_cast<uint32_t>(body.size()));
    Append(b, body);
    return b;
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

inline Bytes Canonical(const Format& f, const Bytes& data)
{
    return Riff({Fmt(f), Chunk("data", data)});
}

// Writes the bytes into a folder (a test's scratch folder) and answers the path.
inline std::wstring Save(const std::wstring& folder, const std::wstring& name, const Bytes& bytes)
{
    std::wstring path = folder + L"\\" + name;
    testsupport::WriteFileBytes(path, bytes.data(), bytes.size());
    return path;
}

// Everything a reader delivers from its position on, read in blocks.
inline Bytes ReadAll(IAudioReader* r, DWORD block = 4096)
{
    Bytes out;
    std::vector<uint8_t> buf(block);
    DWORD got = 0;
    while (r->Read(buf.data(), block, &got) && got > 0)
        out.insert(out.end(), buf.begin(), buf.begin() + got);
    return out;
}

} // namespace wavfile
