#pragma once
// Where in a file's sound some played frames came from. The time-stretch
// stage plays the source in stretches at the original speed, each from a
// place it chose, so a played frame's source frame strays from the tempo's
// even pace by up to a stretch; it is found again by its sound instead.
#include <windows.h>

#include <vector>

#include "audio/IAudioReader.h"

class CSourcePlace
{
public:
    explicit CSourcePlace(int channels) : m_channels(channels) {}

    // The source frame the `n` frames at `frames` (16-bit, interleaved) were
    // played from, looked for within `reach` frames of `guess`: the stretch
    // of the source that sounds most like them (least squared difference),
    // the nearest to `guess` among equals. -1 when nothing can tell: silence,
    // or a source that cannot be read there. `mismatch`: the part of their
    // energy that stretch leaves unexplained, 0 for a copy. Moves the
    // reader's position.
    LONGLONG Find(IAudioReader* reader, const short* frames, LONGLONG n, LONGLONG guess, LONGLONG reach,
                  double* mismatch);

private:
    // Reads `starts` places of `n` frames from frame `first` on; answers
    // how many places were read whole.
    LONGLONG Read(IAudioReader* reader, LONGLONG first, LONGLONG starts, LONGLONG n);

    int m_channels;
    std::vector<short> m_near; // the source around `guess`
};
