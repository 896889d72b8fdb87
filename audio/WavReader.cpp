#include "audio/WavReader.h"

#include <cstring>
#include <malloc.h>

namespace {

// RIFF nesting deeper than this is not a file anybody wrote: the walk ends.
constexpr int kMaxDepth = 16;

enum class EChunk { Riff, Wave, Fmt, Data, List, Info, Text, Unknown };

EChunk Classify(const char id[4])
{
    static const struct
    {
        const char* id;
        EChunk kind;
    } table[] = {
        {"RIFF", EChunk::Riff}, {"WAVE", EChunk::Wave}, {"fmt ", EChunk::Fmt},  {"data", EChunk::Data},
        {"LIST", EChunk::List}, {"INFO", EChunk::Info}, {"IART", EChunk::Text}, {"ICMT", EChunk::Text},
        {"ICOP", EChunk::Text}, {"ICRD", EChunk::Text}, {"INAM", EChunk::Text},
    };
    for (const auto& row : table)
        if (std::memcmp(id, row.id, 4) == 0)
            return row.kind;
    return EChunk::Unknown;
}

} // namespace

CWavReader::CWavReader() = default;

CWavReader::~CWavReader() = default;

bool CWavReader::SetPos(int64_t pos)
{
    LARGE_INTEGER to, now;
    to.QuadPart = pos;
    return pos >= 0 && SetFilePointerEx(m_file.Get(), to, &now, FILE_BEGIN) && now.QuadPart == pos;
}

int64_t CWavReader::GetPos()
{
    LARGE_INTEGER zero, now;
    zero.QuadPart = 0;
    return SetFilePointerEx(m_file.Get(), zero, &now, FILE_CURRENT) ? now.QuadPart : -1;
}

bool CWavReader::ReadU32(uint32_t* value)
{
    DWORD got = 0;
    unsigned char b[4];
    if (!ReadFile(m_file.Get(), b, 4, &got, nullptr) || got != 4)
        return false;
    *value = b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
    return true;
}

bool CWavReader::ReadChunkSize(uint64_t* size)
{
    uint32_t s;
    if (!ReadU32(&s))
        return false;
    *size = s + static_cast<uint64_t>(s & 1); // word alignment; 64-bit so 0xFFFFFFFF does not wrap
    return true;
}

int64_t CWavReader::ParseChunk(int depth)
{
    if (!m_file || depth > kMaxDepth)
        return -1;
    const int64_t start = GetPos();
    if (start < 0)
        return -1;
    char id[4];
    DWORD got = 0;
    if (!ReadFile(m_file.Get(), id, 4, &got, nullptr) || got != 4)
        return -1;
    const EChunk kind = Classify(id);
    if (depth == 0 && kind != EChunk::Riff)
        return -1;

    uint64_t size = 0;
    int64_t length = 0;
    bool hasChildren = false;
    switch (kind) {
    case EChunk::Riff: {
        if (depth > 0 || !SetPos(4) || !ReadChunkSize(&size))
            return -1;
        // A RIFF size that undercounts the file is stretched to its end.
        if (size + 8 < static_cast<uint64_t>(m_fileSize))
            size = m_fileSize - 8;
        hasChildren = true;
        m_riffFound = true;
        length = size + 8;
        break;
    }
    case EChunk::Wave:
        m_waveFound = true;
        length = 4;
        break;
    case EChunk::Info: length = 4; break;
    case EChunk::Fmt: {
        if (!ReadChunkSize(&size) || size < sizeof(SWaveFormat))
            return -1;
        SWaveFormat wf;
        if (!ReadFile(m_file.Get(), &wf, sizeof wf, &got, nullptr) || got != sizeof wf)
            return -1;
        // Kept only when it passes: a refused header that follows "data"
        // must not leave its format for Open to read the samples by.
        if (wf.formatTag != 1)
            return -1;
        if (wf.bitsPerSample != 8 && wf.bitsPerSample != 16 && wf.bitsPerSample != 24 && wf.bitsPerSample != 32)
            return -1;
        m_wave = wf;
        length = size + 8;
        break;
    }
    case EChunk::Data: {
        uint32_t stated = 0;
        if (!ReadU32(&stated))
            return -1;
        size = stated + static_cast<uint64_t>(stated & 1);
        const int64_t offset = GetPos();
        if (offset < 0)
            return -1;
        m_dataOffset = offset;
        // The pad byte of an odd chunk belongs to the layout, not the samples.
        // A data chunk cut short by the end of the file holds what is there.
        const uint64_t inFile = m_fileSize > offset ? m_fileSize - offset : 0;
        m_dataBytes = stated < inFile ? stated : inFile;
        length = size + 8;
        break;
    }
    case EChunk::List:
        if (!ReadChunkSize(&size))
            return -1;
        hasChildren = true;
        length = size + 8;
        break;
    case EChunk::Text: {
        // Text is not kept: check that all of it is in the file, skip it.
        if (!ReadChunkSize(&size))
            return -1;
        const int64_t at = GetPos();
        if (at < 0 || size > static_cast<uint64_t>(m_fileSize - at))
            return -1;
        length = size + 8;
        break;
    }
    case EChunk::Unknown:
        if (!ReadChunkSize(&size))
            return -1;
        length = size + 8;
        break;
    }

    if (hasChildren) {
        // The children follow the 4-byte form or list type, which the walk
        // meets as a chunk of its own ("WAVE", "INFO").
        const int64_t first = start + 8;
        if (!SetPos(first))
            return -1;
        uint64_t consumed = 0;
        int64_t at = first;
        while (consumed < size) {
            const int64_t n = ParseChunk(depth + 1);
            if (n < 0)
                return -1;
            if (n == 0)
                break;
            consumed += n;
            at += n;
            if (at >= m_fileSize || !SetPos(at))
                break;
        }
    }
    if (!SetPos(start))
        return -1;
    return length;
}

bool CWavReader::Open(LPCWSTR path)
{
    SetPath(path);
    if (!path)
        return false;
    m_file.Reset(
        CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_READONLY, nullptr));
    if (!m_file)
        return false;
    LARGE_INTEGER fileSize;
    if (!GetFileSizeEx(m_file.Get(), &fileSize))
        return false;
    m_fileSize = fileSize.QuadPart;
    m_riffFound = m_waveFound = false;
    m_dataOffset = m_dataBytes = m_consumed = 0;
    m_wave = {};

    if (!SetPos(0))
        return false;
    ParseChunk(0); // the walk's reason for ending is judged by the fields below

    const SWaveFormat& wf = m_wave;
    if (!m_riffFound || !m_waveFound || m_dataOffset == 0)
        return false;
    if (wf.bitsPerSample != 8 && wf.bitsPerSample != 16)
        return false;
    if (wf.channels != 1 && wf.channels != 2)
        return false;
    if (wf.samplesPerSec < 1000 || wf.samplesPerSec > 100000)
        return false;

    m_format = SAudioFormat(wf.samplesPerSec, wf.bitsPerSample, wf.channels);
    if (m_dataBytes < static_cast<uint64_t>(m_format.GetBlockAlign()))
        return false; // not one whole frame
    m_dataSize = m_dataBytes > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<DWORD>(m_dataBytes);
    // From the format itself, not the header's average-bytes field, so the
    // length always agrees with the frame count.
    m_duration = static_cast<LONGLONG>(m_dataBytes * 1000 / m_format.GetBytesPerSecond());
    m_position = 0;
    return SetPos(static_cast<int64_t>(m_dataOffset));
}

LONGLONG CWavReader::GetDuration()
{
    return m_duration;
}

LONGLONG CWavReader::GetDataSize()
{
    return static_cast<LONGLONG>(m_dataBytes);
}

bool CWavReader::Read(void* buffer, DWORD bytes, DWORD* got)
{
    const uint64_t align = static_cast<uint64_t>(m_format.GetBlockAlign());
    if (!buffer || !got || bytes == 0 || align == 0 || !m_file)
        return false;
    // Whole frames only; a trailing partial frame of the data is never served.
    const uint64_t end = m_dataBytes / align * align;
    if (m_consumed >= end)
        return false;
    const uint64_t left = end - m_consumed;
    const DWORD want = static_cast<DWORD>((left < bytes ? left : bytes) / align * align);
    *got = 0;
    if (want == 0)
        return false; // the buffer cannot take one frame
    const DWORD read = ReadData(static_cast<uint8_t*>(buffer), want);
    // A file that ends or fails early (inside a frame or not): that is the
    // end of the data, and a partial frame is not delivered.
    *got = static_cast<DWORD>(read / align * align);
    m_consumed = read < want ? end : m_consumed + read;
    return true;
}

DWORD CWavReader::ReadData(uint8_t* out, DWORD bytes)
{
    if (!m_block) {
        m_block.reset(static_cast<uint8_t*>(_aligned_malloc(kBlockBytes, kPage)));
        if (!m_block)
            return 0;
    }
    DWORD done = 0;
    while (done < bytes) {
        const uint64_t at = m_dataOffset + m_consumed + done; // in the file
        if (at < m_blockAt || at >= m_blockAt + m_blockBytes) {
            // Refill from the page boundary at or before `at`.
            m_blockAt = at & ~static_cast<uint64_t>(kPage - 1);
            m_blockBytes = 0;
            DWORD got = 0;
            if (!SetPos(static_cast<int64_t>(m_blockAt)) ||
                !ReadFile(m_file.Get(), m_block.get(), kBlockBytes, &got, nullptr) || got <= at - m_blockAt)
                break;
            m_blockBytes = got;
        }
        const uint64_t inBlock = m_blockAt + m_blockBytes - at;
        const DWORD n = static_cast<DWORD>(inBlock < bytes - done ? inBlock : bytes - done);
        std::memcpy(out + done, m_block.get() + (at - m_blockAt), n);
        done += n;
    }
    return done;
}

bool CWavReader::Seek(LONGLONG frame, DWORD* reserved)
{
    if (reserved)
        *reserved = 0;
    const int align = m_format.GetBlockAlign();
    if (frame < 0 || align <= 0 || !m_file)
        return false;
    if (static_cast<uint64_t>(frame) > m_dataBytes / align)
        return false; // within the length, or at its end (the next Read gives false)
    const uint64_t offset = static_cast<uint64_t>(frame) * align;
    const int64_t before = GetPos();
    if (SetPos(static_cast<int64_t>(m_dataOffset + offset))) {
        m_consumed = offset;
        return true;
    }
    // Back where it was as far as it goes; the failed seek is reported below.
    if (before >= 0)
        (void)SetPos(before);
    return false;
}

LONGLONG CWavReader::GetPosition()
{
    const int align = m_format.GetBlockAlign();
    return align > 0 ? static_cast<LONGLONG>(m_consumed / align) : 0;
}

bool CWavReader::Start()
{
    return Seek(0);
}
