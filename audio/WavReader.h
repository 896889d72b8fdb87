#pragma once
// Reader of RIFF/WAVE files holding uncompressed PCM: 8 or 16 bits,
// one or two channels, 1000 to 100000 Hz. Samples are read straight from
// the file.
#include <cstdint>

#include "audio/AudioReader.h"
#include "common/ScopedHandle.h"

class CWavReader : public CAudioReader
{
public:
    CWavReader();
    ~CWavReader() override;

    bool Open(LPCWSTR path) override;
    LONGLONG GetDuration() override;
    LONGLONG GetDataSize() override;
    [[nodiscard]] bool Read(void* buffer, DWORD bytes, DWORD* got) override;
    // A negative frame is refused; a frame past the end is accepted and the
    // next Read gives false.
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
    bool ReadU32(uint32_t* value);
    bool ReadChunkSize(uint64_t* size);
    bool SetPos(int64_t pos);
    int64_t GetPos();

    CFileHandle m_file;
    int64_t m_fileSize = 0;
    bool m_riffFound = false;
    bool m_waveFound = false;
    uint64_t m_dataOffset = 0;
    uint64_t m_dataBytes = 0;      // sample bytes the file really holds
    uint64_t m_consumed = 0;       // delivered or skipped, from the data offset
    SWaveFormat m_wave = {};
};
