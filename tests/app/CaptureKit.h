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

#include "audio/IAudioReader.h"

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
    // The first frame of the first run of `tone` that begins after frame
    // `after` (or in the 10 ms block that holds it); SIZE_MAX when none.
    size_t StartOf(int tone, size_t after) const;
    // The frame after the last sound.
    size_t EndOfSound() const;
    // The left and the right channel, sample by sample.
    const std::vector<int16_t>& Left() const { return m_left; }
    const std::vector<int16_t>& Right() const { return m_right; }

private:
    int ToneOf(size_t at) const;

    std::vector<int16_t> m_left;
    std::vector<int16_t> m_right;
    std::vector<SRun> m_runs;
};

// What is heard, told by the play cursor as it is read now and then: the
// pass (counted from 1, a new one whenever the cursor goes back) and the
// time in it.
struct SHeardPass
{
    int pass = 0;
    double at = -1; // seconds
    // Takes a reading of the cursor (microseconds, -1 for none); answers the pass.
    int Follow(long long cursor)
    {
        if (cursor >= 0) {
            const double t = cursor / 1e6;
            if (pass == 0 || t < at - 0.3)
                ++pass;
            at = t;
        }
        return pass;
    }
};

// The capture's size once the device's writer has caught up with what was
// handed to it (a pipe and a process of its own, which lag on a busy
// machine): the size that stayed the same for 200 ms, or after 3 s the size
// then. `pump(ms)` takes the caller's messages meanwhile.
uint64_t SettledSize(const std::function<void(unsigned ms)>& pump);

// While a play goes on: the capture frame (counted from byte `from`) of the
// first sound the device has written, reading no more than `frames` frames
// of the capture (a whole capture is read once the play is over); SIZE_MAX
// while there is none.
size_t FirstSoundSoFar(uint64_t from, size_t frames);

// The left channel of a whole file, as its reader gives it.
std::vector<int16_t> SourceLeft(IAudioReader* reader);

// Pass lengths: the time from one start of 440 Hz after 660 Hz to the next
// (fragments that begin in 440 and end in 660), then from the last start to
// the end of the sound. Their count is the number of passes heard.
std::vector<double> PassLengths(const CCapture& c);

// Frames of the longest run of exact zeros between the first and the last
// sound of `s`; `at` (when given) its start, in frames after the first sound.
size_t LongestZeroRun(const std::vector<int16_t>& s, size_t* at = nullptr);

// Where the `n` samples at `window` lie in `source`: the start of the
// closest match (least squared difference) among starts in [from, to).
// `mismatch` (when given): the squared difference there over the window's
// energy, 0 for a copy.
size_t Locate(const std::vector<int16_t>& source, const int16_t* window, size_t n, size_t from, size_t to,
              double* mismatch = nullptr);

// A cut between two sounds as the capture shows it: the old sound fades out
// to an exact zero and the new one fades in from an exact zero, each over
// `fade` frames (the gain falls or rises by 1/fade a frame). Where each
// fade's sound comes from in the source is found by its louder part, the
// fade undone.
struct SCut
{
    size_t at;           // the capture frame of the fade-out's last (zero) sample
    long long oldSource; // source frame of the fade-out's first frame
    long long newSource; // source frame of the fade-in's first frame
    // Source frames between the old sound's last and the new sound's first
    // frame: > 0 skipped, < 0 heard twice, 0 when the new sound goes on
    // with the frame after the old one's last.
    long long Missing(size_t fade) const { return newSource - oldSource - static_cast<long long>(fade); }
};
// The cuts in the capture's left channel: a few zero samples (the fades'
// ends, and quiet samples beside them that the fades rounded to zero) with
// sound on both sides, whose fades, undone, are found in the source (starts
// searched in [from, to)) as copies but for rounding. Zeros of the sound
// itself, faded nowhere, are not found that way.
std::vector<SCut> FindCuts(const CCapture& c, const std::vector<int16_t>& source, size_t from, size_t to, size_t fade);
// Every fade-in from an exact zero in the capture's left channel whose
// sound, the fade undone, is found in the source (starts searched in
// [from, to)), whatever came before it.
struct SFadeIn
{
    size_t at;        // the capture frame of the zero it starts after
    long long source; // source frame of its first frame
};
std::vector<SFadeIn> FindFadeIns(const CCapture& c, const std::vector<int16_t>& source, size_t from, size_t to,
                                 size_t fade);
// Where the source's sound from frame `frame` on is first heard in the
// capture's left channel at or after capture frame `after`: faded in from an
// exact zero over `fade` frames, then a copy of the source but for rounding.
// The capture frame of its first (zero) frame; -1 when it is not heard there.
long long FindPlace(const CCapture& c, const std::vector<int16_t>& source, size_t frame, size_t after, size_t fade);
// Every place at or after capture frame `after` where the source's sound from
// frame `frame` on begins, faded in from an exact zero over `fade` frames,
// however soon it stops again: unlike FindFadeIns, also after a hard cut
// (one zero only, the fade's own) and where it lasts less than the fade.
// The capture frame of each one's first (zero) frame. A sound shorter than
// the islands SoundsBetweenZeros counts as quiet is not seen.
std::vector<size_t> StartsOf(const CCapture& c, const std::vector<int16_t>& source, size_t frame, size_t after,
                             size_t fade);
// The largest step from one sample to the next in s[from, to).
int LargestStep(const std::vector<int16_t>& s, size_t from, size_t to);

// A stretch of sound between two exact zeros of both channels. Every fade
// (a cut's, a pass's start and end) reaches one, which sound of its own
// (noise in two channels) practically never does at the same frame. A few
// frames between zeros (a fade's last frames rounded to zero now and then)
// count as quiet.
struct SSound
{
    size_t at;     // its first frame
    size_t frames; // its length
    size_t before; // zero frames before it (the first: the capture's leading silence)
    size_t after;  // zero frames after it (the last: the capture's trailing silence)
};
std::vector<SSound> SoundsBetweenZeros(const CCapture& c);
// Of those, the ones shorter than `shortest` frames: a tick between two
// fades (the last one too: a tick before the end). The first is not
// counted, nor any beside a hole of more than a millisecond (the device
// running dry, judged on its own).
std::vector<SSound> ShortSounds(const CCapture& c, size_t shortest);
// Of the sounds between zeros, the exact zeros in holes of more than a
// millisecond (the device running dry on a busy machine) that lie after
// frame `from`, before a sound that begins at frame `to` or earlier: the
// frames they put the sound after them later by.
size_t HoleFrames(const std::vector<SSound>& sounds, size_t from, size_t to);
// Where a sound begins against an untouched play: the sound before it began
// with source frame `fromSource` at capture frame `fromAt` (its first, zero
// frame) and played at `tempo`, so an untouched play carries fromSource +
// (at - fromAt) x tempo at capture frame `at`, leaving out the device's own
// holes between (HoleFrames). Answers the source frames a sound beginning
// there with source frame `source` lies ahead of that place (> 0: skipped)
// or behind it (< 0: heard again).
long long OffPlace(const std::vector<SSound>& sounds, size_t fromAt, long long fromSource, size_t at, long long source,
                   double tempo);
// A cut's new sound begins within this much of that place: 3 ms of source.
constexpr long long kPlaceSlack = kRate * 3 / 1000;
// Every sound that fades in after a pass's first one, up to capture frame
// `end`, judged against an untouched play of the pass at `tempo`: the pass
// began with source frame `start` at capture frame `first`, and each sound
// found (in the source between `from` and `to`, faded in over `fade`
// frames) is judged against the one
// before it. A join after a pass's own end (or a piece's) begins where an
// untouched play reaches that end, as a cut's new sound does. A sound that
// begins with `start` is the next pass's start, judged by nothing: the
// sounds after it are judged from it.
struct SPlaced
{
    size_t at;        // the capture frame of its first (zero) frame
    long long source; // the source frame it begins with
    long long off;    // OffPlace
};
std::vector<SPlaced> PlacesInPass(const CCapture& c, const std::vector<int16_t>& source, size_t first, size_t start,
                                  size_t end, size_t from, size_t to, size_t fade, double tempo);

// The largest step from one sample to the next in s, leaving out the steps
// into and out of a hole of more than a millisecond of exact zeros; `at`
// (when given): the sample it steps to.
int LargestStepBesideNoHole(const std::vector<int16_t>& s, size_t* at = nullptr);

} // namespace captest
