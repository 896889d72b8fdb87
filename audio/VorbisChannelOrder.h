#pragma once
// Vorbis lays out the channels of 3 to 8 channel streams in an order of its
// own (the centre between the front left and right, the LFE last), while the
// output device takes them in the order of WAV files: front left, front
// right, centre, LFE, back left, back right, back centre, side left, side
// right.
#include <cstdint>

class CVorbisChannelOrder
{
public:
    // Mono, stereo and four channels are alike in both orders, and Vorbis
    // leaves the order of more than eight to the application: those pass
    // as they come.
    explicit CVorbisChannelOrder(int channels = 0);

    // Puts `bytes` of whole interleaved 16-bit frames into the device's
    // order, in place.
    void ToDevice(char* frames, long bytes) const
    {
        if (m_order)
            Reorder(frames, bytes);
    }

private:
    void Reorder(char* frames, long bytes) const;

    // For each place in the device's order, the Vorbis channel that goes
    // there; null where nothing moves.
    const uint8_t* m_order = nullptr;
    int m_channels = 0;
};
