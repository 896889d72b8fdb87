#pragma once
// Reader of Ogg Vorbis files through libvorbisfile: decodes into signed 16-bit
// little-endian PCM in blocks of up to 4096 bytes, kept in a 1 MiB ring until
// read, so that a caller may ask for any whole number of frames.
#include <cstdio>

#include <vorbis/vorbisfile.h>

#include "audio/AudioReader.h"
#include "common/RingBuffer.h"

class COGGSource : public CAudioReader
{
public:
    COGGSource();
    ~COGGSource() override;

    // False for a file that is not Ogg Vorbis, has no frames, or whose PCM
    // does not fit the 32-bit data size. A chained file is read up to its
    // first stream of another rate or channel count: one reader has one
    // format.
    [[nodiscard]] bool Open(LPCWSTR path) override;
    // Requests of 1 MiB or more are refused. Fewer bytes than asked are
    // delivered at the end of the stream; false once nothing is left. A
    // stream that ends before its announced length is cut to what it
    // delivered; one that decodes more ends at its announced length.
    [[nodiscard]] bool Read(void* buffer, DWORD bytes, DWORD* got) override;
    // Frame exact.
    [[nodiscard]] bool Seek(LONGLONG frame, DWORD* reserved = nullptr) override;
    // Back to the first frame, with nothing left over from before.
    [[nodiscard]] bool Start() override;
    [[nodiscard]] bool Stop() override;

    static const int kRingBytes = 1048576;
    static const int kBlockBytes = 4096;

private:
    enum class EDecoded { Block, NoRoom, Ended };
    // Decodes one block into the ring; Ended at the end of the stream or on
    // an error that ends it. A hole in the data is skipped.
    EDecoded DecodeBlock();

    FILE* m_file = nullptr;
    bool m_decoderOpen = false;
    int m_links = 0; // the leading streams of the first one's format
    CRingBuffer m_ring;
    OggVorbis_File m_decoder = {};
    char m_block[kBlockBytes];
};
