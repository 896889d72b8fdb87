#include "CaptureKit.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "tests/support/TestSupport.h"

namespace captest {

CCapture::CCapture(uint64_t from)
{
    const std::vector<uint8_t> bytes = testsupport::ReadCapture(from);
    m_left.resize(bytes.size() / 4);
    m_right.resize(m_left.size());
    for (size_t i = 0; i < m_left.size(); ++i) {
        std::memcpy(&m_left[i], &bytes[i * 4], 2);
        std::memcpy(&m_right[i], &bytes[i * 4 + 2], 2);
    }
    for (size_t b = 0; (b + 1) * kBlock <= m_left.size(); ++b) {
        const int tone = ToneOf(b * kBlock);
        if (!m_runs.empty() && m_runs.back().tone == tone)
            ++m_runs.back().blocks;
        else
            m_runs.push_back({tone, 1, b * kBlock});
    }
}

double CCapture::Sound(int tone) const
{
    int n = 0;
    for (const SRun& r : m_runs)
        if (r.tone != 0 && (tone == -1 || r.tone == tone))
            n += r.blocks;
    return n / 100.0;
}

double CCapture::Frequency(int tone) const
{
    const SRun* best = nullptr;
    for (const SRun& r : m_runs)
        if (r.tone == tone && (!best || r.blocks > best->blocks))
            best = &r;
    if (!best || best->blocks < 30)
        return 0;
    const size_t a = best->firstFrame + 10 * kBlock, b = best->firstFrame + (best->blocks - 10) * kBlock;
    size_t first = 0, last = 0;
    int rising = 0;
    for (size_t i = a + 1; i < b; ++i)
        if (m_left[i - 1] < 0 && m_left[i] >= 0) {
            if (rising++ == 0)
                first = i;
            last = i;
        }
    return rising > 1 ? (rising - 1) * double(kRate) / double(last - first) : 0;
}

std::vector<SRun> CCapture::Runs() const
{
    std::vector<SRun> out;
    for (const SRun& r : m_runs) {
        if (!out.empty() && (r.blocks < 4 || out.back().tone == r.tone))
            out.back().blocks += r.blocks;
        else
            out.push_back(r);
    }
    return out;
}

double CCapture::Leading() const
{
    return !m_runs.empty() && m_runs[0].tone == 0 ? m_runs[0].blocks / 100.0 : 0;
}

double CCapture::LongestGap() const
{
    int n = 0;
    for (size_t i = 1; i + 1 < m_runs.size(); ++i)
        if (m_runs[i].tone == 0)
            n = std::max(n, m_runs[i].blocks);
    return n / 100.0;
}

std::string CCapture::Describe() const
{
    std::string out;
    char item[32];
    for (const SRun& r : m_runs) {
        snprintf(item, sizeof item, "%d:%.2f ", r.tone, r.blocks / 100.0);
        out += item;
    }
    return out;
}

size_t CCapture::StartOf(int tone, size_t after) const
{
    for (const SRun& r : Runs())
        if (r.tone == tone && r.firstFrame + kBlock > after)
            return r.firstFrame;
    return SIZE_MAX;
}

size_t CCapture::EndOfSound() const
{
    size_t end = 0;
    for (const SRun& r : Runs())
        if (r.tone != 0)
            end = r.firstFrame + size_t(r.blocks) * kBlock;
    return end;
}

int CCapture::ToneOf(size_t at) const
{
    int peak = 0, crossings = 0;
    for (size_t i = at; i < at + kBlock; ++i) {
        peak = std::max(peak, std::abs(int(m_left[i])));
        if (i > at && (m_left[i - 1] < 0) != (m_left[i] < 0))
            ++crossings;
    }
    if (peak < 1000)
        return 0;
    const double hz = crossings * 50.0;
    const int tones[3] = {440, 660, 880};
    int best = 440;
    for (int t : tones)
        if (std::abs(hz - t) < std::abs(hz - best))
            best = t;
    return best;
}

uint64_t SettledSize(const std::function<void(unsigned ms)>& pump)
{
    uint64_t size = testsupport::CaptureSize();
    for (int quiet = 0, rounds = 0; quiet < 4 && rounds < 60; ++rounds) {
        pump(50);
        const uint64_t now = testsupport::CaptureSize();
        quiet = now == size ? quiet + 1 : 0;
        size = now;
    }
    return size;
}

size_t FirstSoundSoFar(uint64_t from, size_t frames)
{
    HANDLE h = CreateFileW(testsupport::CapturePath().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return SIZE_MAX;
    std::vector<int16_t> samples(frames * 2);
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(from);
    DWORD got = 0;
    const bool read = SetFilePointerEx(h, at, nullptr, FILE_BEGIN) &&
                      ReadFile(h, samples.data(), static_cast<DWORD>(samples.size() * 2), &got, nullptr);
    CloseHandle(h);
    for (size_t i = 0; read && i < got / 2; ++i)
        if (samples[i] != 0)
            return i / 2;
    return SIZE_MAX;
}

std::vector<int16_t> SourceLeft(IAudioReader* reader)
{
    std::vector<int16_t> left;
    if (!reader->Seek(0))
        return left;
    std::vector<int16_t> block(8192);
    DWORD got = 0;
    while (reader->Read(block.data(), DWORD(block.size() * 2), &got) && got > 0)
        for (DWORD i = 0; i < got / 4; ++i)
            left.push_back(block[2 * i]);
    return left;
}

std::vector<double> PassLengths(const CCapture& c)
{
    std::vector<double> starts;
    double t = 0, end = 0;
    int prev = 0;
    for (const SRun& r : c.Runs()) {
        if (r.tone == 440 && prev != 440)
            starts.push_back(t);
        if (r.tone != 0)
            prev = r.tone, end = t + r.blocks / 100.0;
        t += r.blocks / 100.0;
    }
    std::vector<double> lengths;
    for (size_t i = 0; i < starts.size(); ++i)
        lengths.push_back((i + 1 < starts.size() ? starts[i + 1] : end) - starts[i]);
    return lengths;
}

size_t LongestZeroRun(const std::vector<int16_t>& s, size_t* at)
{
    const auto first = std::find_if(s.begin(), s.end(), [](int16_t v) { return v != 0; });
    const auto last = std::find_if(s.rbegin(), s.rend(), [](int16_t v) { return v != 0; });
    size_t longest = 0, run = 0;
    for (auto i = first; i != s.end() && i < last.base(); ++i) {
        run = *i == 0 ? run + 1 : 0;
        if (run > longest) {
            longest = run;
            if (at)
                *at = static_cast<size_t>(i - first) + 1 - run;
        }
    }
    return longest;
}

size_t Locate(const std::vector<int16_t>& source, const int16_t* window, size_t n, size_t from, size_t to,
              double* mismatch)
{
    to = std::min(to, source.size() >= n ? source.size() - n + 1 : 0);
    size_t best = from;
    long long bestCost = -1;
    for (size_t at = from; at < to; ++at) {
        long long cost = 0;
        for (size_t i = 0; i < n && (bestCost < 0 || cost < bestCost); ++i) {
            const long long d = source[at + i] - window[i];
            cost += d * d;
        }
        if (bestCost < 0 || cost < bestCost) {
            bestCost = cost;
            best = at;
            if (cost == 0)
                break; // a verbatim copy of the source
        }
    }
    if (mismatch) {
        double energy = 0;
        for (size_t i = 0; i < n; ++i)
            energy += double(window[i]) * window[i];
        *mismatch = energy > 0 ? double(bestCost) / energy : 1;
    }
    return best;
}

namespace {

// The runs of two to seven exact zeros, each as its first frame and its
// length: a fade-out ends at one of them and a fade-in starts at the next.
// Quiet samples beside them that the fades rounded to zero lengthen the run,
// so which of its zeros are the fades' own is not known beforehand.
template <typename F>
void ForEachZeroRun(const std::vector<int16_t>& s, size_t fade, F&& f)
{
    for (size_t i = fade + 1; i + fade + 8 < s.size(); ++i) {
        if (s[i] != 0 || s[i - 1] == 0)
            continue;
        size_t run = 1;
        while (run < 8 && s[i + run] == 0)
            ++run;
        if (run >= 2 && run < 8)
            f(i, run);
        i += run;
    }
}

// The source frame of the fade-in that starts after the zero at capture
// frame i, found by the fade's louder part (from gain 0.4 on), undone.
long long FadeInSource(const std::vector<int16_t>& s, size_t i, const std::vector<int16_t>& source, size_t from,
                       size_t to, size_t fade, double* mismatch)
{
    const size_t part = fade - fade * 2 / 5;
    std::vector<int16_t> undone(part);
    // Frame i + 1 + j at gain j / fade.
    for (size_t j = 0; j < part; ++j)
        undone[j] = int16_t(std::lround(s[i + 1 + fade - part + j] * double(fade) / double(fade - part + j)));
    return static_cast<long long>(Locate(source, undone.data(), part, from, to, mismatch)) -
           static_cast<long long>(fade - part);
}

} // namespace

std::vector<SCut> FindCuts(const CCapture& c, const std::vector<int16_t>& source, size_t from, size_t to, size_t fade)
{
    const std::vector<int16_t>& s = c.Left();
    const size_t part = fade - fade * 2 / 5;
    std::vector<int16_t> undone(part);
    std::vector<SCut> cuts;
    ForEachZeroRun(s, fade, [&](size_t first, size_t run) {
        // Each pair of neighbouring zeros in the run is tried as the
        // fade-out's last frame and the fade-in's first. A pair one frame
        // off undoes the fades nearly as well (the gains differ by 1/fade),
        // so the pair that undoes them best is taken.
        SCut best{};
        double bestMismatch = 2e-4;
        for (size_t i = first; i + 1 < first + run; ++i) {
            double oldMismatch = 1, newMismatch = 1;
            // Fade-out: frame i - fade + 1 + j at gain (fade - 1 - j) / fade.
            const size_t out = i + 1 - fade;
            for (size_t j = 0; j < part; ++j)
                undone[j] = int16_t(std::lround(s[out + j] * double(fade) / double(fade - 1 - j)));
            const size_t old = Locate(source, undone.data(), part, from, to, &oldMismatch);
            if (oldMismatch >= 1e-4)
                continue;
            const long long in = FadeInSource(s, i, source, from, to, fade, &newMismatch);
            if (newMismatch < 1e-4 && oldMismatch + newMismatch < bestMismatch) {
                bestMismatch = oldMismatch + newMismatch;
                best = {i, static_cast<long long>(old), in};
            }
        }
        if (bestMismatch < 2e-4)
            cuts.push_back(best);
    });
    return cuts;
}

std::vector<SFadeIn> FindFadeIns(const CCapture& c, const std::vector<int16_t>& source, size_t from, size_t to,
                                 size_t fade)
{
    const std::vector<int16_t>& s = c.Left();
    std::vector<SFadeIn> found;
    ForEachZeroRun(s, fade, [&](size_t first, size_t run) {
        // As for a cut, the zero the fade undoes best from.
        SFadeIn best{};
        double bestMismatch = 1e-4;
        for (size_t i = first; i + 1 < first + run; ++i) {
            double mismatch = 1;
            const long long at = FadeInSource(s, i, source, from, to, fade, &mismatch);
            if (mismatch < bestMismatch) {
                bestMismatch = mismatch;
                best = {i, at};
            }
        }
        if (bestMismatch < 1e-4)
            found.push_back(best);
    });
    return found;
}

long long FindPlace(const CCapture& c, const std::vector<int16_t>& source, size_t frame, size_t after, size_t fade)
{
    const std::vector<int16_t>& s = c.Left();
    constexpr size_t n = 256; // frames compared after the fade
    if (frame + fade + n > source.size())
        return -1;
    const int16_t* want = &source[frame + fade];
    double energy = 0;
    for (size_t j = 0; j < n; ++j)
        energy += double(want[j]) * want[j];
    for (size_t k = after; k + fade + n <= s.size(); ++k) {
        if (s[k] != 0 || std::abs(s[k + fade] - want[0]) > 2)
            continue;
        double cost = 0;
        for (size_t j = 0; j < n && cost <= energy * 1e-4; ++j) {
            const double d = double(s[k + fade + j]) - want[j];
            cost += d * d;
        }
        if (energy > 0 && cost <= energy * 1e-4)
            return static_cast<long long>(k);
    }
    return -1;
}

std::vector<size_t> StartsOf(const CCapture& c, const std::vector<int16_t>& source, size_t frame, size_t after,
                             size_t fade)
{
    const std::vector<int16_t>& s = c.Left();
    constexpr size_t n = 256; // frames compared after the fade, where the sound lasts that long
    std::vector<size_t> starts;
    for (const SSound& sound : SoundsBetweenZeros(c)) {
        // The fade's first frames may round to zero (an island of them
        // counts as quiet): its zero frame lies that much before the sound.
        const size_t lead = std::min<size_t>(sound.before, 64);
        if (sound.at < after + lead)
            continue;
        size_t best = SIZE_MAX;
        double bestCost = 0;
        for (size_t z = sound.at - lead; z < sound.at; ++z) {
            if (s[z] != 0)
                continue;
            const size_t m = std::min(sound.at + sound.frames - z, fade + n);
            if (frame + m > source.size())
                break;
            double cost = 0, energy = 0;
            for (size_t j = 0; j < m; ++j) {
                const double gain = double(std::min(j, fade)) / double(fade);
                const double want = double(std::lround(source[frame + j] * gain));
                const double d = double(s[z + j]) - want;
                cost += d * d;
                energy += want * want;
            }
            if (energy > 0 && cost <= energy * 1e-4 && (best == SIZE_MAX || cost < bestCost)) {
                best = z;
                bestCost = cost;
            }
        }
        if (best != SIZE_MAX)
            starts.push_back(best);
    }
    return starts;
}

int LargestStep(const std::vector<int16_t>& s, size_t from, size_t to)
{
    int largest = 0;
    for (size_t i = std::max<size_t>(from, 1); i < to && i < s.size(); ++i)
        largest = std::max(largest, std::abs(s[i] - s[i - 1]));
    return largest;
}

std::vector<SSound> SoundsBetweenZeros(const CCapture& c)
{
    const std::vector<int16_t>& l = c.Left();
    const std::vector<int16_t>& r = c.Right();
    // Near a fade's zero the gain is so small that sound rounds to zero in
    // both channels now and then: a few frames of sound between such zeros
    // belong to the quiet stretch.
    constexpr size_t kIsland = 64;
    std::vector<SSound> sounds;
    size_t quiet = 0; // frames of the quiet stretch so far
    for (size_t i = 0; i < l.size();) {
        const size_t at = i;
        const bool zero = l[i] == 0 && r[i] == 0;
        while (i < l.size() && (l[i] == 0 && r[i] == 0) == zero)
            ++i;
        if (zero || i - at < kIsland) {
            quiet += i - at;
            continue;
        }
        if (!sounds.empty())
            sounds.back().after = quiet;
        sounds.push_back({at, i - at, quiet, 0});
        quiet = 0;
    }
    if (!sounds.empty())
        sounds.back().after = quiet;
    return sounds;
}

size_t HoleFrames(const std::vector<SSound>& sounds, size_t from, size_t to)
{
    size_t holes = 0;
    for (const SSound& sound : sounds)
        if (sound.at - sound.before > from && sound.at <= to && sound.before > kRate / 1000)
            holes += sound.before;
    return holes;
}

long long OffPlace(const std::vector<SSound>& sounds, size_t fromAt, long long fromSource, size_t at, long long source,
                   double tempo)
{
    const double frames = double(at) - double(fromAt) - double(HoleFrames(sounds, fromAt, at));
    return source - fromSource - std::llround(frames * tempo);
}

std::vector<SPlaced> PlacesInPass(const CCapture& c, const std::vector<int16_t>& source, size_t first, size_t start,
                                  size_t end, size_t from, size_t to, size_t fade, double tempo)
{
    const std::vector<SSound> sounds = SoundsBetweenZeros(c);
    std::vector<SPlaced> placed;
    size_t fromAt = first;
    long long fromSource = static_cast<long long>(start);
    for (const SFadeIn& in : FindFadeIns(c, source, from, to, fade)) {
        const size_t at = in.at + 1;
        if (at <= first || at >= end)
            continue;
        if (in.source == static_cast<long long>(start)) {
            // The next pass: its sounds are judged from its start.
            fromAt = at;
            fromSource = in.source;
            continue;
        }
        placed.push_back({at, in.source, OffPlace(sounds, fromAt, fromSource, at, in.source, tempo)});
        fromAt = at;
        fromSource = in.source;
    }
    return placed;
}

std::vector<SSound> ShortSounds(const CCapture& c, size_t shortest)
{
    std::vector<SSound> ticks;
    const std::vector<SSound> sounds = SoundsBetweenZeros(c);
    for (size_t i = 1; i < sounds.size(); ++i) {
        const bool last = i + 1 == sounds.size();
        if (sounds[i].frames < shortest && sounds[i].before <= kRate / 1000 &&
            (last || sounds[i].after <= kRate / 1000))
            ticks.push_back(sounds[i]);
    }
    return ticks;
}

int LargestStepBesideNoHole(const std::vector<int16_t>& s, size_t* at)
{
    // Frames that begin or end a hole: their steps are the hole's.
    std::vector<bool> edge(s.size() + 1, false);
    for (size_t i = 0; i < s.size();) {
        size_t j = i;
        while (j < s.size() && s[j] == 0)
            ++j;
        if (j - i > kRate / 1000)
            edge[i] = edge[j] = true;
        i = j + 1;
    }
    int largest = 0;
    for (size_t i = 1; i < s.size(); ++i) {
        if (!edge[i] && std::abs(int(s[i]) - int(s[i - 1])) > largest) {
            largest = std::abs(int(s[i]) - int(s[i - 1]));
            if (at)
                *at = i;
        }
    }
    return largest;
}

} // namespace captest
