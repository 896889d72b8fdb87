#include "audio/VorbisChannelOrder.h"

#include <cstring>

namespace {
const int kMostChannels = 8;

// For each place in the device's order, the Vorbis channel that goes there;
// beside each, the order Vorbis gives them in.
const uint8_t kThree[] = {0, 2, 1};                // L C R
const uint8_t kFive[] = {0, 2, 1, 3, 4};           // FL C FR RL RR
const uint8_t kSix[] = {0, 2, 1, 5, 3, 4};         // FL C FR RL RR LFE
const uint8_t kSeven[] = {0, 2, 1, 6, 5, 3, 4};    // FL C FR SL SR RC LFE
const uint8_t kEight[] = {0, 2, 1, 7, 5, 6, 3, 4}; // FL C FR SL SR RL RR LFE

const uint8_t* MapFor(int channels)
{
    switch (channels) {
    case 3: return kThree;
    case 5: return kFive;
    case 6: return kSix;
    case 7: return kSeven;
    case 8: return kEight;
    default: return nullptr;
    }
}
} // namespace

CVorbisChannelOrder::CVorbisChannelOrder(int channels) : m_order(MapFor(channels)), m_channels(channels)
{
}

void CVorbisChannelOrder::Reorder(char* frames, long bytes) const
{
    const long align = m_channels * 2;
    char frame[kMostChannels * 2];
    for (char* p = frames; bytes >= align; bytes -= align, p += align) {
        std::memcpy(frame, p, static_cast<size_t>(align));
        for (int k = 0; k < m_channels; ++k)
            std::memcpy(p + 2 * k, frame + 2 * m_order[k], 2);
    }
}
