#pragma once
// Reader of RIFF/WAVE files holding uncompressed PCM: 8 or 16 bits,
// one or two channels, 1000 to 100000 Hz. Samples are read straight from
// the file.
#include <cstdint>
#include <malloc.h>
#include <memory>

#include "audio/AudioReader.h"
#include "common/ScopedHandle.h"

class CWavReader : public CAudioReader
{
public:
    CWavReader();
    ~CWavReader() override;

    [[nodiscard]] bool Open(LPCWSTR path) override;
    LONGLONG GetDuration() override;
    LONGLONG GetDataSize() override;
    [[nodiscard]] bool Read(void* buffer, DWORD bytes, DWORD* got) override;
    // Whole frames only; a seek stays within the length.
    [[nodiscard]] bool Seek(LONGLONG frame, DWORD* reserved = nullptr) override;
    LONGLONG GetPosition() override;
    [[nodiscard]] bool Start() override;

    // The first 16 bytes of the "fmt " chunk, as stored in the file.
    struct SWaveFormat
    {
        uint16_t formatTag;
        uint16_t channels;
        uint32_t samplesPerSec;
        uint32_t avgBytesPerSec;
        uint16_t blockAlign;
        uint16_t bitsPerSample;
    };
    static_assert(sizeof(SWaveFormat) == 16, "packed as in the file");

private:
    // Walks one chunk at the file position; answers its whole length, or -1
    // when the walk must end.
    int64_t ParseChunk(int depth);
    [[nodiscard]] bool ReadU32(uint32_t* value);
    [[nodiscard]] bool ReadChunkSize(uint64_t* size);
    [[nodiscard]] bool SetPos(int64_t pos);
    int64_t GetPos();
    // Copies up to `bytes` data bytes from the consumed offset on; fewer
    // where the file ends or fails.
    DWORD ReadData(uint8_t* out, DWORD bytes);

    // The samples are read from the file in page-aligned blocks of the file:
    // the data rarely starts on a page (a canonical header is 44 bytes), and
    // the system serves reads at a misaligned file offset about three times
    // slower (measured with bench/audio_open); the copy out of a block still
    // in the processor's cache costs far less. A block is four of the
    // cache loader's 64 KiB reads: a quarter of the system calls, with each
    // block still small enough to stay in the processor's cache.
    static constexpr DWORD kPage = 4096;
    static constexpr DWORD kBlockBytes = 262144;
    struct SAlignedFree
    {
        void operator()(uint8_t* p) const { _aligned_free(p); }
    };
    std::unique_ptr<uint8_t, SAlignedFree> m_block;
    uint64_t m_blockAt = 0;    // file offset of the block's first byte
    uint64_t m_blockBytes = 0; // bytes the block holds

    CFileHandle m_file;
    int64_t m_fileSize = 0;
    bool m_riffFound = false;
    bool m_waveFound = false;
    uint64_t m_dataOffset = 0;
    uint64_t m_dataBytes = 0; // sample bytes the file really holds
    uint64_t m_consumed = 0;  // delivered or skipped, from the data offset
    SWaveFormat m_wave = {};
};
