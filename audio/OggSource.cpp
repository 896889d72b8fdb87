#include "audio/OggSource.h"

#include <algorithm>
#include <climits>
#include <fcntl.h>
#include <io.h>

namespace {
// Holes in a row skipped by one block decode before it gives up: a bound
// against a file made of nothing but damage.
const int kMaxHolesInARow = 64;

// The decoder reads our stream but never closes it: the reader does, so
// that it can start the decoder afresh on the same open file.
size_t ReadStream(void* to, size_t size, size_t count, void* stream)
{
    return fread(to, size, count, static_cast<FILE*>(stream));
}

int SeekStream(void* stream, ogg_int64_t offset, int whence)
{
    return _fseeki64(static_cast<FILE*>(stream), offset, whence);
}

long TellStream(void* stream)
{
    const long long at = _ftelli64(static_cast<FILE*>(stream));
    return at > LONG_MAX ? -1 : static_cast<long>(at);
}

const ov_callbacks kStreamCallbacks = {ReadStream, SeekStream, nullptr, TellStream};
} // namespace

COGGSource::COGGSource() : m_ring(kRingBytes)
{
}

COGGSource::~COGGSource()
{
    if (m_decoderOpen)
        ov_clear(&m_decoder);
    if (m_file)
        fclose(m_file);
}

bool COGGSource::OpenDecoder()
{
    if (m_decoderOpen) {
        ov_clear(&m_decoder);
        m_decoderOpen = false;
    }
    if (!m_file || _fseeki64(m_file, 0, SEEK_SET) != 0)
        return false;
    m_decoder = {};
    if (ov_open_callbacks(m_file, &m_decoder, nullptr, 0, kStreamCallbacks) < 0)
        return false;
    m_decoderOpen = true;
    return true;
}

bool COGGSource::Open(LPCWSTR path)
{
    SetPath(path);
    if (!path || m_file)
        return false;
    m_file = _wfopen(path, L"r");
    if (!m_file)
        return false;
    _setmode(_fileno(m_file), _O_BINARY);
    if (!OpenDecoder())
        return false;
    vorbis_info* info = ov_info(&m_decoder, 0);
    if (!info || info->rate <= 0 || info->channels <= 0)
        return false;
    m_format = SAudioFormat(static_cast<uint32_t>(info->rate), 16, static_cast<uint32_t>(info->channels));
    m_order = CVorbisChannelOrder(info->channels);
    ogg_int64_t frames = 0;
    m_links = 0;
    for (long link = 0; link < ov_streams(&m_decoder); ++link) {
        const vorbis_info* next = ov_info(&m_decoder, static_cast<int>(link));
        const ogg_int64_t linkFrames = ov_pcm_total(&m_decoder, static_cast<int>(link));
        if (!next || next->rate != info->rate || next->channels != info->channels || linkFrames < 0)
            break;
        frames += linkFrames;
        ++m_links;
    }
    const LONGLONG align = m_format.GetBlockAlign();
    // No frames (or an unseekable stream) gives nothing to read; PCM beyond
    // 4 GiB does not fit the data size.
    if (frames <= 0 || frames > static_cast<ogg_int64_t>(UINT_MAX) / align)
        return false;
    m_dataSize = static_cast<DWORD>(frames * align);
    m_duration = static_cast<LONGLONG>(m_dataSize) * 1000 / m_format.GetBytesPerSecond();
    m_position = 0;
    return true;
}

COGGSource::EDecoded COGGSource::DecodeBlock()
{
    if (!m_decoderOpen || m_ring.GetFreeSpace() < kBlockBytes)
        return EDecoded::NoRoom;
    for (int holes = 0; holes < kMaxHolesInARow; ++holes) {
        int section = 0;
        long n = ov_read(&m_decoder, m_block, kBlockBytes, 0, 2, 1, &section);
        if (n == OV_HOLE)
            continue; // a gap in the data: the stream goes on after it
        if (n < 1 || section >= m_links)
            return EDecoded::Ended; // the end, or a stream of another format
        // Whole frames: ov_read never splits one.
        m_order.ToDevice(m_block, n);
        return m_ring.Write(m_block, static_cast<int>(n)) ? EDecoded::Block : EDecoded::NoRoom;
    }
    return EDecoded::Ended;
}

void COGGSource::EndAt(LONGLONG frames)
{
    // The stream ended before its announced length: what it delivered is
    // its length from now on.
    m_ring.Reset();
    m_dataSize = static_cast<DWORD>(frames * m_format.GetBlockAlign());
    m_duration = static_cast<LONGLONG>(m_dataSize) * 1000 / m_format.GetBytesPerSecond();
}

bool COGGSource::Read(void* buffer, DWORD bytes, DWORD* got)
{
    if (!buffer || !bytes || !got || bytes >= static_cast<DWORD>(kRingBytes) || !m_decoderOpen)
        return false;
    const LONGLONG align = m_format.GetBlockAlign();
    const LONGLONG frames = GetFrameCount();
    if (m_position >= frames)
        return false; // a stream that decodes more than it announced ends here
    const int want = static_cast<int>(std::min<LONGLONG>(bytes, (frames - m_position) * align) / align * align);
    *got = 0;
    if (want == 0)
        return false;
    // Decode only while a whole block still fits, so no decoded byte is lost.
    EDecoded decoded = EDecoded::Block;
    while (m_ring.GetDataSize() < want && (decoded = DecodeBlock()) == EDecoded::Block) {
    }
    // Whole frames: a stream that ends inside a frame drops that frame.
    const int taken = m_ring.Read(buffer, std::min(want, static_cast<int>(m_ring.GetDataSize() / align * align)));
    if (decoded == EDecoded::Ended && m_ring.GetDataSize() < align)
        EndAt(m_position + taken / align);
    if (taken <= 0)
        return false;
    *got = static_cast<DWORD>(taken);
    m_position += taken / align;
    return true;
}

bool COGGSource::Restart()
{
    m_ring.Reset();
    m_position = 0;
    return OpenDecoder();
}

bool COGGSource::SeekByDecoding(LONGLONG frame)
{
    if (!Restart())
        return false;
    const LONGLONG align = m_format.GetBlockAlign();
    while (m_position < frame) {
        if (m_ring.GetDataSize() < align && DecodeBlock() != EDecoded::Block) {
            EndAt(m_position); // the frame lies beyond what the stream holds
            return false;
        }
        const int drop =
            static_cast<int>(std::min<LONGLONG>((frame - m_position) * align, m_ring.GetDataSize()) / align * align);
        char scrap[kBlockBytes];
        for (int left = drop; left > 0;)
            left -= m_ring.Read(scrap, std::min(left, kBlockBytes));
        m_position += drop / align;
    }
    return true;
}

bool COGGSource::Seek(LONGLONG frame, DWORD* reserved)
{
    if (reserved)
        *reserved = 0;
    const LONGLONG frames = GetFrameCount();
    if (!m_decoderOpen || frame < 0 || frame > frames)
        return false;
    if (frame == frames) {
        // At the end: nothing to decode, the next Read gives false.
        m_ring.Reset();
        m_position = frame;
        return true;
    }
    // From the start, the decoder begins afresh: exactly what the file gives
    // when read straight from its opening, damaged or not.
    if (frame == 0)
        return Restart();
    // A damaged stream may take a seek and land elsewhere, or have nothing
    // after it: the first block is decoded at once to make sure.
    if (ov_pcm_seek(&m_decoder, frame) == 0 && ov_pcm_tell(&m_decoder) == frame) {
        m_ring.Reset();
        m_position = frame;
        if (DecodeBlock() == EDecoded::Block)
            return true;
    }
    return SeekByDecoding(frame);
}

bool COGGSource::Start()
{
    if (!Restart())
        return false;
    m_running = true;
    return true;
}

bool COGGSource::Stop()
{
    m_running = false;
    return true;
}
