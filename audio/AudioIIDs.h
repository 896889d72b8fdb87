#pragma once
// Interface ids of the audio engine, all in one place.
// QueryInterface compares them byte for byte (IsEqualIID).
#include <windows.h>
#include <unknwn.h>

#define RAVELIN_AUDIO_IID(name, l, w1, w2, b1, b2, b3, b4, b5, b6, b7, b8) \
    inline constexpr IID IID_##name = {l, w1, w2, {b1, b2, b3, b4, b5, b6, b7, b8}};

// {97419CAA-38E4-4A93-9895-E03FB96F253E}
RAVELIN_AUDIO_IID(IAudioReader, 0x97419CAA, 0x38E4, 0x4A93, 0x98, 0x95, 0xE0, 0x3F, 0xB9, 0x6F, 0x25, 0x3E)
// {B388F5E3-94B2-40FF-BCE9-0AC8DBF551CB}
RAVELIN_AUDIO_IID(IProcess, 0xB388F5E3, 0x94B2, 0x40FF, 0xBC, 0xE9, 0x0A, 0xC8, 0xDB, 0xF5, 0x51, 0xCB)
// {353A50AA-A32F-4A74-8C71-210A32FA2E0B}
RAVELIN_AUDIO_IID(IPeakContainer, 0x353A50AA, 0xA32F, 0x4A74, 0x8C, 0x71, 0x21, 0x0A, 0x32, 0xFA, 0x2E, 0x0B)
// {C5A46F32-D980-4EDB-B2C2-2887520643A4}
RAVELIN_AUDIO_IID(IAudioOut, 0xC5A46F32, 0xD980, 0x4EDB, 0xB2, 0xC2, 0x28, 0x87, 0x52, 0x06, 0x43, 0xA4)
// {B6D2F863-6238-4844-860A-5E117687742B}
RAVELIN_AUDIO_IID(IDisplay, 0xB6D2F863, 0x6238, 0x4844, 0x86, 0x0A, 0x5E, 0x11, 0x76, 0x87, 0x74, 0x2B)

#undef RAVELIN_AUDIO_IID
