#pragma once
// Reader of Ogg Vorbis files through libvorbisfile: decodes into signed 16-bit
// little-endian PCM in blocks of up to 4096 bytes, kept in a 1 MiB ring until
// read, so that a caller may ask for any whole number of frames. Frames of 3
// to 8 channels come in the order of WAV files, not in Vorbis's own.
#include <cstdio>

#include <vorbis/vorbisfile.h>

#include "audio/AudioReader.h"
#include "audio/VorbisChannelOrder.h"
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
    // Frame exact. A seek to the length is taken (the next Read gives
    // false). Frame 0 starts the decoder afresh. Where the decoder's own
    // seek fails on a damaged stream, or takes the seek and has nothing
    // after it, the frame is reached by decoding from the start; a frame
    // the stream does not reach fails, and cuts the length to the stream.
    [[nodiscard]] bool Seek(LONGLONG frame, DWORD* reserved = nullptr) override;
    // Back to the first frame with a fresh decoder, nothing left over from
    // before: what follows is what the file gave right after Open.
    [[nodiscard]] bool Start() override;
    [[nodiscard]] bool Stop() override;

    static const int kRingBytes = 1048576;
    static const int kBlockBytes = 4096;

private:
    enum class EDecoded { Block, NoRoom, Ended };
    // Decodes one block into the ring; Ended at the end of the stream or on
    // an error that ends it. A hole in the data is skipped.
    EDecoded DecodeBlock();
    // (Re)opens the decoder on the file from its first byte.
    [[nodiscard]] bool OpenDecoder();
    // A fresh decoder at frame 0, the ring empty.
    [[nodiscard]] bool Restart();
    // Restart, then decode and drop up to the frame.
    [[nodiscard]] bool SeekByDecoding(LONGLONG frame);
    // The stream ended after `frames` frames: its length from now on.
    void EndAt(LONGLONG frames);

    FILE* m_file = nullptr; // ours: the decoder reads it but never closes it
    bool m_decoderOpen = false;
    int m_links = 0; // the leading streams of the first one's format
    CVorbisChannelOrder m_order;
    CRingBuffer m_ring;
    OggVorbis_File m_decoder = {};
    char m_block[kBlockBytes];
};
