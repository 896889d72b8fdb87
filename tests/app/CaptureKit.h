#pragma once
// What the captured sound device received, read back and measured in sound
// (10 ms blocks that are not silent) and in pitch (zero crossings), never in
// wall time: the device has no clock and writes silence of its own while it
// waits. Tuned to the test file of 440, 660 and 880 Hz steps.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace captest {

constexpr int kRate = 44100;
constexpr int kBlock = kRate / 100; // frames of one 10 ms block

// One run of equal blocks: silence (0) or the nearest of the three tones.
struct SRun
{
    int tone;
    int blocks;
    size_t firstFrame;
};

class CCapture
{
public:
    // The capture from byte `from` on (16-bit stereo at kRate).
    explicit CCapture(uint64_t from);

    // Seconds of sound, and of one tone.
    double Sound(int tone = -1) const;
    // Frequency over the middle of the longest run of a tone, from the first
    // to the last rising zero crossing.
    double Frequency(int tone) const;
    // Runs of sound and silence with short (mixed) runs folded into the run
    // before them.
    std::vector<SRun> Runs() const;
    // Seconds of silence before the first sound.
    double Leading() const;
    // The longest silence between two sounds.
    double LongestGap() const;
    // The runs as "tone:seconds ..." for a failure's message.
    std::string Describe() const;
    // The left channel, sample by sample.
    const std::vector<int16_t>& Left() const { return m_left; }

private:
    int ToneOf(size_t at) const;

    std::vector<int16_t> m_left;
    std::vector<SRun> m_runs;
};

// The capture's size once the device's writer has caught up with what was
// handed to it (a pipe and a process of its own, which lag on a busy
// machine): the size that stayed the same for 200 ms, or after 3 s the size
// then. `pump(ms)` takes the caller's messages meanwhile.
uint64_t SettledSize(const std::function<void(unsigned ms)>& pump);

// Pass lengths: the time from one start of 440 Hz after 660 Hz to the next
// (fragments that begin in 440 and end in 660), then from the last start to
// the end of the sound.
std::vector<double> PassLengths(const CCapture& c);

} // namespace captest
