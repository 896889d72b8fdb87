// Playback through waveOut, checked on the captured sound device (which has
// no clock: bytes are checked, never wall time).
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

#include "audio/AudioOut.h"
#include "common/ScopedHandle.h"
#include "tests/support/Starvation.h"
#include "tests/support/TestSupport.h"

namespace {

// A failed case tells whether the device ran dry meanwhile (the test main).
[[maybe_unused]] const bool g_dryCounted =
    (testsupport::CountDevicesRunDry(&CAudioOut::RanDryCount, &CAudioOut::LateRestartCount), true);

const SAudioFormat kStereo44(44100, 16, 2);

std::vector<int16_t> Tone(int frames, int seed)
{
    std::vector<int16_t> pcm(static_cast<size_t>(frames) * 2);
    for (int i = 0; i < frames; ++i) {
        const auto s = static_cast<int16_t>(std::lround(20000 * std::sin(2 * M_PI * (440 + seed) * (i + 1) / 44100.0)));
        pcm[2 * i] = s;
        pcm[2 * i + 1] = static_cast<int16_t>(-s + seed);
    }
    return pcm;
}

// Frames that tell where they are: frame f (counted from `from`) is
// ((f & 0x3FFF) + 1, (f >> 14 & 0x3FFF) + 1), never silent, never twice.
std::vector<int16_t> Counter(int from, int frames)
{
    std::vector<int16_t> pcm(static_cast<size_t>(frames) * 2);
    for (int i = 0; i < frames; ++i) {
        pcm[2 * i] = static_cast<int16_t>(((from + i) & 0x3FFF) + 1);
        pcm[2 * i + 1] = static_cast<int16_t>((((from + i) >> 14) & 0x3FFF) + 1);
    }
    return pcm;
}

// The device adds silence of its own while it has nothing to play: what
// was played is found in the capture after `from` by its first bytes (which
// must not be silent). True once all of it arrived.
bool Arrived(uint64_t from, const void* expect, size_t bytes, int ms = 10000)
{
    const auto* e = static_cast<const uint8_t*>(expect);
    for (int i = 0; i < ms / 20; ++i) {
        const std::vector<uint8_t> got = testsupport::ReadCapture(from);
        auto at = std::search(got.begin(), got.end(), e, e + std::min<size_t>(bytes, 64));
        if (at != got.end() && static_cast<size_t>(got.end() - at) >= bytes)
            return std::equal(e, e + bytes, at);
        Sleep(20);
    }
    return false;
}

// Writes all of pcm, waiting for room as the playback thread does.
void WriteAll(CAudioOut* out, const std::vector<int16_t>& pcm)
{
    const auto* p = reinterpret_cast<const uint8_t*>(pcm.data());
    size_t left = pcm.size() * 2;
    while (left > 0) {
        const int n = static_cast<int>(std::min<size_t>(left, 8192));
        if (out->Write(p, n)) {
            p += n;
            left -= n;
        } else {
            Sleep(1);
        }
    }
}

// As a producer makes its first sound: one block, the rest `ms` later.
bool WriteBlockThenRest(CAudioOut* out, const std::vector<int16_t>& pcm, DWORD ms)
{
    if (!out->Write(pcm.data(), CAudioOut::kBlockSize))
        return false;
    Sleep(ms);
    return out->Write(&pcm[CAudioOut::kBlockSize / 2], static_cast<int>(pcm.size() * 2) - CAudioOut::kBlockSize);
}

bool WaitIdle(CAudioOut* out, int ms = 10000)
{
    for (int i = 0; i < ms / 10; ++i) {
        if (out->GetPendingBytes() == 0)
            return true;
        Sleep(10);
    }
    return false;
}

// Plays pcm to its end on an output of its own at `percent` volume.
void Play(const std::vector<int16_t>& pcm, int percent)
{
    CIPtr<CAudioOut> out(new CAudioOut(1048576));
    ASSERT_TRUE(out->Open(&kStereo44, WAVE_MAPPER));
    out->SetVolume(percent);
    WriteAll(out, pcm);
    out->Drain();
    EXPECT_TRUE(WaitIdle(out));
    EXPECT_EQ(0, out->GetPendingMs());
}

REAL_TIME_TEST(AudioOut, EveryByteArrivesAtFullAndScaledVolume)
{
    ASSERT_EQ(1u, waveOutGetNumDevs()) << "the captured sound device is missing";
    // One second is 172 blocks and 272 bytes: the last partial block too.
    const std::vector<int16_t> pcm = Tone(44100, 0);
    uint64_t before = testsupport::CaptureSize();
    Play(pcm, 100);
    EXPECT_TRUE(Arrived(before, pcm.data(), pcm.size() * 2));

    const std::vector<int16_t> half = Tone(22050, 3);
    std::vector<int16_t> want(half);
    for (auto& s : want)
        s = static_cast<int16_t>(s * 50 / 100);
    before = testsupport::CaptureSize();
    Play(half, 50);
    EXPECT_TRUE(Arrived(before, want.data(), want.size() * 2));
}

TEST(AudioOut, VolumeScalesAndClipsInsteadOfWrappingRound)
{
    // Above 100 % loud samples clip at the 16-bit limits, however large the
    // percent.
    const struct
    {
        UINT percent;
        int16_t in, out;
    } cases[] = {
        {50, -3, -1},
        {50, 3, 1},
        {50, 32767, 16383},
        {50, -32768, -16384},
        {100, -32768, -32768},
        {100, 12345, 12345},
        {200, 20000, 32767},
        {200, -123, -246},
        {100000, 32767, 32767},
        {100000, 1000, 32767},
        {100000, -32768, -32768},
        {100000, -3, -3000},
    };
    for (const auto& c : cases) {
        int16_t s = c.in;
        CAudioOut::ScaleByVolume(&s, 1, c.percent);
        EXPECT_EQ(c.out, s) << c.in << " at " << c.percent << " %";
    }
}

REAL_TIME_TEST(AudioOut, ResetDropsWhatWasQueued)
{
    CIPtr<CAudioOut> out(new CAudioOut(1048576));
    ASSERT_TRUE(out->Open(&kStereo44, WAVE_MAPPER));
    // Fill the ring (about 6 s) and reset at once: far less than all of it
    // is played, and nothing is left pending. The device is given one block
    // at a time, so the ring stays full while the feeder refills it.
    out->SetDeviceLimit(CAudioOut::kBlockSize, CAudioOut::kBlockSize);
    const std::vector<int16_t> first = Tone(262144, 1); // exactly 1 MiB
    const uint64_t before = testsupport::CaptureSize();
    ASSERT_TRUE(out->Write(first.data(), static_cast<int>(first.size() * 2)));
    while (out->Write(first.data(), CAudioOut::kBlockSize)) {
    }
    EXPECT_FALSE(out->Write(first.data(), 4)); // the ring is full
    EXPECT_TRUE(out->IsFull());
    out->Reset();
    EXPECT_FALSE(out->IsFull());
    out->SetDeviceLimit(CAudioOut::kBlockCount * CAudioOut::kBlockSize, CAudioOut::kBlockCount * CAudioOut::kBlockSize);
    EXPECT_TRUE(WaitIdle(out));
    Sleep(300);
    const uint64_t afterReset = testsupport::CaptureSize();
    EXPECT_LT(afterReset - before, first.size() * 2 / 2) << "the reset dropped nothing";

    // After the reset the device plays again, from the new bytes on.
    const std::vector<int16_t> second = Tone(4410, 7);
    WriteAll(out, second);
    out->Drain();
    EXPECT_TRUE(WaitIdle(out));
    EXPECT_TRUE(Arrived(afterReset, second.data(), second.size() * 2));

    // A requested reset goes through the feeder, not behind queued refills.
    ASSERT_TRUE(out->Write(first.data(), static_cast<int>(first.size() * 2)));
    out->RequestReset();
    EXPECT_TRUE(WaitIdle(out, 1000));

    // Many small writes each ask for a refill; the feeder handles one
    // command per pass, so a reset requested after them must not wait
    // behind one refill per write. Together they stay below one block, so
    // only the reset can empty the ring.
    for (int i = 0; i < 250; ++i)
        ASSERT_TRUE(out->Write(first.data() + 2 * i, 4));
    EXPECT_EQ(1000, out->GetPendingBytes());
    out->RequestReset();
    EXPECT_TRUE(WaitIdle(out, 1000)) << "the reset waited behind queued refills";
}

REAL_TIME_TEST(AudioOut, TheDeviceStartsOnlyWithSeveralBlocksQueued)
{
    // A producer's first block comes a little before the rest. Started on
    // that one block, the device would run dry before the rest came and
    // play silence of its own inside the sound; so it waits for several.
    CIPtr<CAudioOut> out(new CAudioOut(1048576));
    ASSERT_TRUE(out->Open(&kStereo44, WAVE_MAPPER));
    const struct
    {
        const char* when;
        int from; // each round's own sound, so that one is never found for the other
    } rounds[] = {{"after the open", 0}, {"after a reset", 100000}};
    for (const auto& round : rounds) {
        SCOPED_TRACE(round.when);
        const std::vector<int16_t> pcm = Counter(round.from, 22050);
        const uint64_t before = testsupport::CaptureSize();
        ASSERT_TRUE(WriteBlockThenRest(out, pcm, 4));
        out->Drain();
        EXPECT_TRUE(WaitIdle(out));
        EXPECT_TRUE(Arrived(before, pcm.data(), pcm.size() * 2)) << "silence inside the sound";
        // The reset gives every block back; the refills that follow find
        // nothing, and the device must not start on nothing either.
        WriteAll(out, Tone(4410, 5));
        out->Reset();
        Sleep(30);
    }
}

TEST(AudioOut, ADeviceLeftWithoutABlockWhileItPlaysCountsAsRunDryAndAnEndOrAStartDoesNot)
{
    // Each write that reaches a playing device is one block, or exactly the
    // blocks the device starts with: only one block at a time can find it
    // empty, however late the feeder runs.
    CIPtr<CAudioOut> out(new CAudioOut(1048576));
    ASSERT_TRUE(out->Open(&kStereo44, WAVE_MAPPER));
    const std::vector<int16_t> start = Tone(CAudioOut::kStartBlocks * CAudioOut::kBlockSize / 4, 3);
    const std::vector<int16_t> block = Tone(CAudioOut::kBlockSize / 4, 4);
    const auto writeBlock = [&] { return out->Write(block.data(), CAudioOut::kBlockSize); };
    const long long before = CAudioOut::RanDryCount();
    const long long restarts = CAudioOut::LateRestartCount();
    const DWORD written = GetTickCount();
    ASSERT_TRUE(out->Write(start.data(), static_cast<int>(start.size() * 2)));
    // Sooner than the system's thread can be late, nor is it restarted as
    // if it were.
    Sleep(5);
    if (GetTickCount() - written < DWORD(CAudioOut::kLateMs)) {
        EXPECT_EQ(restarts, CAudioOut::LateRestartCount()) << "the device's start";
    }
    EXPECT_TRUE(WaitIdle(out));
    EXPECT_EQ(before, CAudioOut::RanDryCount()) << "the device's start";

    // Played out with more to come: the next block finds it dry.
    ASSERT_TRUE(writeBlock());
    EXPECT_TRUE(WaitIdle(out));
    EXPECT_EQ(before + 1, CAudioOut::RanDryCount()) << "a block after the device played out";

    // Played out to a drained end: what follows is a new sound.
    out->Drain();
    EXPECT_TRUE(WaitIdle(out));
    ASSERT_TRUE(writeBlock());
    out->Drain();
    EXPECT_TRUE(WaitIdle(out));
    EXPECT_EQ(before + 1, CAudioOut::RanDryCount()) << "a block after a drained end";

    // Reset, the device waits paused for its first blocks.
    out->Reset();
    ASSERT_TRUE(writeBlock());
    EXPECT_TRUE(WaitIdle(out));
    EXPECT_EQ(before + 1, CAudioOut::RanDryCount()) << "a block after a reset";
}

// Drop i's new sound: Counter frames of a stretch of their own.
int DropFrom(int drop)
{
    return (drop + 1) * 65536;
}

struct SAfterDrops
{
    int heard = 0;  // new sounds found in the capture
    int silent = 0; // of them, those right after a run of the device's zeros
};

// The first `drops` new sounds (DropFrom) in the capture from byte `from` on.
SAfterDrops NewSoundsHeard(uint64_t from, int drops)
{
    const std::vector<uint8_t> bytes = testsupport::ReadCapture(from);
    std::vector<int16_t> got(bytes.size() / 2);
    std::memcpy(got.data(), bytes.data(), got.size() * 2);
    // Counter frames are never zero: zeros right before a new sound's first
    // frame are the device's own.
    SAfterDrops after;
    for (int i = 0; i < drops; ++i) {
        const std::vector<int16_t> first = Counter(DropFrom(i), 1);
        size_t f = 0;
        while (2 * f + 1 < got.size() && (got[2 * f] != first[0] || got[2 * f + 1] != first[1]))
            ++f;
        if (2 * f + 1 >= got.size())
            continue;
        ++after.heard;
        size_t zeros = 0;
        while (zeros < f && got[2 * (f - zeros - 1)] == 0 && got[2 * (f - zeros - 1) + 1] == 0)
            ++zeros;
        after.silent += zeros >= 100;
    }
    return after;
}

// Plays out the last of `drops` new sounds written since capture byte
// `before`, then counts them as heard and heard after the device's zeros.
SAfterDrops PlayOutAndCount(CAudioOut* out, uint64_t before, int drops)
{
    out->Drain();
    EXPECT_TRUE(WaitIdle(out));
    const std::vector<int16_t> last = Counter(DropFrom(drops - 1), 22050);
    EXPECT_TRUE(Arrived(before, last.data(), last.size() * 2));
    const SAfterDrops after = NewSoundsHeard(before, drops);
    std::printf("[ figures  ] %d of %d new sounds heard, %d after a run of the device's zeros\n", after.heard, drops,
                after.silent);
    return after;
}

REAL_TIME_TEST(AudioOut, SoundWrittenAfterAResetFollowsWithoutSilenceOfTheDevice)
{
    // A producer makes the new sound after a reset bit by bit (a block at
    // first, the rest a few milliseconds later). Reset and left without
    // sound meanwhile, the device is given a period (10 ms) of exact zeros
    // of its own whenever its period comes round in between: here about
    // every other time. The same period coming round during the reset
    // itself is the system's own, and rare: a few are let pass.
    CIPtr<CAudioOut> out(new CAudioOut(1048576));
    ASSERT_TRUE(out->Open(&kStereo44, WAVE_MAPPER));
    out->SetDeviceLimit(16 * CAudioOut::kBlockSize, 16 * CAudioOut::kBlockSize);
    constexpr int kDrops = 32;
    const uint64_t before = testsupport::CaptureSize();
    // Each reset comes while the sound before plays: some of it played (on
    // a busy machine the device may start later than the sleep), and then
    // a little more.
    constexpr int kBytes = 22050 * 4;
    const auto playing = [&] {
        for (int ms = 0; ms < 2000 && out->GetPendingBytes() >= kBytes; ++ms)
            Sleep(1);
        Sleep(15);
    };
    WriteAll(out, Counter(0, kBytes / 4));
    for (int i = 0; i < kDrops; ++i) {
        playing();
        out->Reset();
        const std::vector<int16_t> next = Counter(DropFrom(i), kBytes / 4);
        ASSERT_TRUE(WriteBlockThenRest(out, next, 5));
    }
    const SAfterDrops after = PlayOutAndCount(out, before, kDrops);
    EXPECT_EQ(kDrops, after.heard);
    EXPECT_LE(after.silent, 4) << "the device was left without sound between the reset and the new sound";
}

// Threads that keep the system's server busy while it lives, each asking it
// again and again whether an event is set: every call of the program to the
// system waits its turn behind theirs, as on a busy machine, while the
// machine's other programs hardly notice (each world has a server of its
// own).
class CBusyServer
{
public:
    CBusyServer() : m_event(CreateEventW(nullptr, TRUE, FALSE, nullptr))
    {
        for (int i = 0; i < kThreads; ++i)
            m_threads.emplace_back([this] {
                while (WaitForSingleObject(m_event, 0) == WAIT_TIMEOUT) {
                }
            });
    }
    ~CBusyServer()
    {
        SetEvent(m_event);
        for (std::thread& t : m_threads)
            t.join();
        CloseHandle(m_event);
    }
    CBusyServer(const CBusyServer&) = delete;
    CBusyServer& operator=(const CBusyServer&) = delete;

private:
    static constexpr int kThreads = 64;
    HANDLE m_event;
    std::vector<std::thread> m_threads;
};

REAL_TIME_TEST(AudioOut, ANewSoundThereAtOnceFollowsAResetWithoutSilenceWhileTheSystemIsBusy)
{
    // The new sound is written at once, so the device's reset may come as
    // soon as the feeder runs. Reset just before the driver's period (10
    // ms) comes round, the device holds nothing when it does and is given
    // a period of zeros. While the system is slow to answer, a call to it
    // between the reset and the new sound made that happen to about one
    // drop in ten; without one, and right after the driver took its
    // period, the reset leaves a few at most to chance.
    CIPtr<CAudioOut> out(new CAudioOut(1048576));
    ASSERT_TRUE(out->Open(&kStereo44, WAVE_MAPPER));
    out->SetDeviceLimit(16 * CAudioOut::kBlockSize, 16 * CAudioOut::kBlockSize);
    constexpr int kDrops = 100;
    const uint64_t before = testsupport::CaptureSize();
    {
        CBusyServer busy;
        // Each sound plays for longer than the wait before the next drop.
        WriteAll(out, Counter(0, 22050));
        for (int i = 0; i < kDrops; ++i) {
            Sleep(static_cast<DWORD>(40 + i % 7)); // anywhere in the driver's period
            out->Reset();
            const std::vector<int16_t> next = Counter(DropFrom(i), 22050);
            ASSERT_TRUE(out->Write(next.data(), static_cast<int>(next.size() * 2)));
        }
    }
    const SAfterDrops after = PlayOutAndCount(out, before, kDrops);
    EXPECT_EQ(kDrops, after.heard);
    EXPECT_LE(after.silent, 2) << "a reset left the device without sound when the driver's period came round";
}

const WAVEFORMATEX kWaveStereo44 = {WAVE_FORMAT_PCM, 2, 44100, 44100 * 4, 4, 16, 0};

// The system's thread that gives every device's blocks back to its callback:
// the one that gives back a block of a device of the test's own.
DWORD BlocksBackThread()
{
    static std::atomic<DWORD> thread{0};
    struct SCallback
    {
        static void CALLBACK Done(HWAVEOUT, UINT message, DWORD_PTR, DWORD_PTR, DWORD_PTR)
        {
            if (message == WOM_DONE)
                thread = GetCurrentThreadId();
        }
    };
    thread = 0;
    CScopedHandle<HWAVEOUT, &::waveOutClose> device;
    if (waveOutOpen(device.Receive(), WAVE_MAPPER, &kWaveStereo44, reinterpret_cast<DWORD_PTR>(&SCallback::Done), 0,
                    CALLBACK_FUNCTION) != MMSYSERR_NOERROR)
        return 0;
    std::vector<int16_t> pcm = Tone(256, 9);
    WAVEHDR h = {};
    h.lpData = reinterpret_cast<LPSTR>(pcm.data());
    h.dwBufferLength = static_cast<DWORD>(pcm.size() * 2);
    if (waveOutPrepareHeader(device.Get(), &h, sizeof(h)) == MMSYSERR_NOERROR &&
        waveOutWrite(device.Get(), &h, sizeof(h)) == MMSYSERR_NOERROR)
        for (int i = 0; i < 200 && thread == 0; ++i)
            Sleep(10);
    waveOutReset(device.Get());
    waveOutUnprepareHeader(device.Get(), &h, sizeof(h));
    return thread;
}

// Holds that thread up while it lives: a hook of its messages (where it
// holds none of the devices' locks) waits on the one a query for a format
// sends it, until the destructor.
class CHeldUp
{
public:
    explicit CHeldUp(DWORD system)
        : m_hook(SetWindowsHookExW(WH_CALLWNDPROC, &Hook, nullptr, system)),
          m_inside(CreateEventW(nullptr, TRUE, FALSE, nullptr)), m_release(CreateEventW(nullptr, TRUE, FALSE, nullptr))
    {
        s_held = this;
        // Only the message counts: the answer is not looked at.
        m_query = std::thread([] { (void)waveOutOpen(nullptr, WAVE_MAPPER, &kWaveStereo44, 0, 0, WAVE_FORMAT_QUERY); });
    }
    ~CHeldUp()
    {
        SetEvent(m_release.Get());
        m_query.join();
        s_held = nullptr;
    }
    CHeldUp(const CHeldUp&) = delete;
    CHeldUp& operator=(const CHeldUp&) = delete;

    [[nodiscard]] bool Inside() const { return m_hook && WaitForSingleObject(m_inside.Get(), 2000) == WAIT_OBJECT_0; }

private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam)
    {
        if (CHeldUp* held = s_held; held && WaitForSingleObject(held->m_inside.Get(), 0) == WAIT_TIMEOUT) {
            SetEvent(held->m_inside.Get());
            WaitForSingleObject(held->m_release.Get(), INFINITE);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline std::atomic<CHeldUp*> s_held{nullptr};
    CScopedHandle<HHOOK, &::UnhookWindowsHookEx> m_hook;
    CKernelHandle m_inside, m_release;
    std::thread m_query;
};

REAL_TIME_TEST(AudioOut, SoundGoesOnWhileTheSystemsThreadIsHeldUp)
{
    // On a busy machine that thread is now and then held up for longer than
    // the system's own buffer lasts (under Wine it also moves the queued
    // blocks into that buffer): the device plays on with what it holds,
    // without silence of its own. The feeder's restarts of the late device
    // are counted (the test main labels a failed case by them).
    CIPtr<CAudioOut> out(new CAudioOut(4 * 1048576));
    ASSERT_TRUE(out->Open(&kStereo44, WAVE_MAPPER)); // first: with no device open, the thread may end
    const DWORD system = BlocksBackThread();
    ASSERT_NE(0u, system) << "no block came back";
    out->SetDeviceLimit(32 * CAudioOut::kBlockSize, 32 * CAudioOut::kBlockSize);
    const std::vector<int16_t> pcm = Counter(0, 5 * 44100);
    const uint64_t before = testsupport::CaptureSize();
    const long long restarts = CAudioOut::LateRestartCount();
    ASSERT_TRUE(out->Write(pcm.data(), static_cast<int>(pcm.size() * 2)));
    for (int i = 0; i < 4; ++i) {
        Sleep(40);
        CHeldUp heldUp(system);
        ASSERT_TRUE(heldUp.Inside());
        Sleep(120); // longer than the system's buffer lasts, on a sound card too
    }
    out->Drain();
    EXPECT_TRUE(WaitIdle(out));
    EXPECT_TRUE(Arrived(before, pcm.data(), pcm.size() * 2)) << "silence inside the sound";
    EXPECT_LE(restarts + 4, CAudioOut::LateRestartCount()) << "restarts of the device held up";
}

REAL_TIME_TEST(AudioOut, WithdrawnSoundGoesOnWithoutAGapAndNothingPlayedTwice)
{
    CIPtr<CAudioOut> out(new CAudioOut(1048576));
    ASSERT_TRUE(out->Open(&kStereo44, WAVE_MAPPER));
    out->SetDeviceLimit(16 * CAudioOut::kBlockSize, 8 * CAudioOut::kBlockSize);
    const std::vector<int16_t> first = Counter(0, 88200);
    const int bytes = static_cast<int>(first.size() * 2);
    const uint64_t before = testsupport::CaptureSize();
    ASSERT_TRUE(out->Write(first.data(), bytes));
    Sleep(100);
    // The device holds at most 16 blocks; the rest comes back, in order
    // (no more than was counted unsent a moment before: the device may
    // take more meanwhile, never give any back).
    const int waiting = out->GetUnsentBytes();
    std::vector<int16_t> back(first.size());
    const int unsent = out->Withdraw(back.data(), bytes);
    EXPECT_LE(unsent, waiting);
    EXPECT_EQ(0, out->GetUnsentBytes());
    ASSERT_GT(unsent, 0);
    ASSERT_LT(unsent, bytes) << "the device took nothing";
    EXPECT_EQ(0, unsent % 4);
    const size_t sent = static_cast<size_t>(bytes - unsent) / 2;
    EXPECT_TRUE(std::equal(first.begin() + static_cast<std::ptrdiff_t>(sent), first.end(), back.begin()));
    EXPECT_LE(out->GetPendingBytes(), 16 * CAudioOut::kBlockSize);
    // Part of it is written again, then other sound: heard right after what
    // the device held, nothing lost, nothing twice, no silence between.
    const size_t again = std::min<size_t>(2000, back.size());
    const std::vector<int16_t> other = Counter(500000, 4410);
    ASSERT_TRUE(out->Write(back.data(), static_cast<int>(again * 2)));
    WriteAll(out, other);
    out->Drain();
    EXPECT_TRUE(WaitIdle(out));
    std::vector<int16_t> heard(first.begin(), first.begin() + static_cast<std::ptrdiff_t>(sent + again));
    heard.insert(heard.end(), other.begin(), other.end());
    EXPECT_TRUE(Arrived(before, heard.data(), heard.size() * 2));
}

TEST(AudioOut, SoundPastAHoldWaitsUntilTheDeviceHoldsLittleOfWhatComesBeforeItWhereverItFalls)
{
    // A hold on a block's first byte (as a pass whose length fills whole
    // blocks puts the next pass's join) stays back as one inside a block.
    const int block = CAudioOut::kBlockSize, before = 24 * block, held = 4 * block;
    for (const int join : {before, before + block / 2}) {
        SCOPED_TRACE(join % block == 0 ? "on a block's first byte" : "inside a block");
        CIPtr<CAudioOut> out(new CAudioOut(1048576));
        ASSERT_TRUE(out->Open(&kStereo44, WAVE_MAPPER));
        out->SetDeviceLimit(64 * block, held);
        out->HoldFrom(join);
        const std::vector<int16_t> pcm = Counter(0, (join + 24 * block) / 4);
        const int bytes = static_cast<int>(pcm.size() * 2);
        ASSERT_TRUE(out->Write(pcm.data(), bytes));
        // Once anything past the hold went to the device, the device held
        // less than the held limit of what comes before it then, and holds
        // no more of it later.
        int most = 0;
        for (int i = 0; i < 200000 && out->GetPendingBytes() > 0; ++i) {
            // Two readings of one moment: the device played nothing between
            // them (on a busy machine this thread may be held up there).
            const int pending = out->GetPendingBytes(), unsent = out->GetUnsentBytes();
            if (bytes - unsent > join && out->GetPendingBytes() == pending)
                most = std::max(most, join - (bytes - pending));
            if (out->GetUnsentBytes() == 0)
                break;
        }
        EXPECT_LT(most, held + block) << "the device held " << most / block
                                      << " blocks of what comes before the hold once it was given what follows";
        out->Drain();
        EXPECT_TRUE(WaitIdle(out));
    }
}

// Frames that tell their place and every sample its channel: sample c of
// frame f is (f mod 4000) * 8 + c + 1.
std::vector<int16_t> Tagged(int channels, int from, int frames)
{
    std::vector<int16_t> pcm(static_cast<size_t>(frames) * channels);
    for (int f = 0; f < frames; ++f)
        for (int c = 0; c < channels; ++c)
            pcm[static_cast<size_t>(f) * channels + c] = static_cast<int16_t>((from + f) % 4000 * 8 + c + 1);
    return pcm;
}

// Frames of `Tagged` sound in the capture from byte `from` on, as the
// captured device keeps 3 to 6 channels: six to a frame, each channel in a
// place of its own, the rest silent. Counts the frames that do not go on
// with the frame after the one before, whole (every channel of one frame,
// each in its place); -1 when no sound came.
int FramesOutOfStep(uint64_t from, int channels)
{
    const std::vector<uint8_t> bytes = testsupport::ReadCapture(from);
    std::vector<int16_t> s(bytes.size() / 2);
    std::memcpy(s.data(), bytes.data(), s.size() * 2);
    int place[6] = {-1, -1, -1, -1, -1, -1}; // the channel of each place
    int last = -1, broken = 0;
    for (size_t f = 0; f + 6 <= s.size(); f += 6) {
        int frame = -1, seen = 0;
        bool whole = true;
        for (int k = 0; k < 6; ++k) {
            if (s[f + k] == 0)
                continue;
            const int tag = s[f + k] - 1, c = tag % 8;
            if (place[k] < 0)
                place[k] = c;
            whole = whole && place[k] == c && (frame < 0 || frame == tag / 8);
            frame = tag / 8;
            ++seen;
        }
        if (seen == 0)
            continue; // the device's own silence
        broken += !whole || seen != channels || (last >= 0 && frame != (last + 1) % 4000);
        last = frame;
    }
    return last < 0 ? -1 : broken;
}

TEST(AudioOut, AWithdrawalLeavesTheDeviceInStepWithTheFramesForEveryChannelCount)
{
    // A block of 1024 bytes ends inside a frame of 3, 5, 6 or 7 channels:
    // the device is given whole frames, so that what is taken back starts
    // at a whole frame, and what is written after it goes on frame for
    // frame, cut after cut.
    for (const int channels : {1, 2, 3, 5, 6, 7}) {
        SCOPED_TRACE(testing::Message() << channels << " channels");
        const SAudioFormat format(44100, 16, static_cast<uint32_t>(channels));
        const int frameBytes = 2 * channels;
        CIPtr<CAudioOut> out(new CAudioOut(1048576));
        ASSERT_TRUE(out->Open(&format, WAVE_MAPPER));
        EXPECT_EQ(0u, out->GetBlockSize() % frameBytes);
        out->SetDeviceLimit(CAudioOut::kBlockSize, CAudioOut::kBlockSize);
        const uint64_t before = testsupport::CaptureSize();
        int written = 0; // frames of the stream the device is to play
        int misplaced = 0;
        for (int cut = 0; cut < 8; ++cut) {
            const std::vector<int16_t> pcm = Tagged(channels, written, 3000);
            ASSERT_TRUE(out->Write(pcm.data(), static_cast<int>(pcm.size() * 2)));
            written += 3000;
            Sleep(static_cast<DWORD>(3 + cut));
            const int waiting = out->GetUnsentBytes();
            std::vector<int16_t> back(pcm.size() * 2);
            const int unsent = out->Withdraw(back.data(), static_cast<int>(back.size() * 2));
            EXPECT_LE(unsent, waiting) << "more taken back than was counted unsent a moment before";
            ASSERT_EQ(0, unsent % frameBytes) << "cut " << cut;
            const int frames = unsent / frameBytes;
            ASSERT_LE(frames, written);
            // The last `frames` frames written, whole and in order.
            const std::vector<int16_t> expect = Tagged(channels, written - frames, frames);
            misplaced += !std::equal(expect.begin(), expect.end(), back.begin());
            // Half of it is written again, so that the stream goes on.
            written -= frames - frames / 2;
            ASSERT_TRUE(out->Write(back.data(), frames / 2 * frameBytes));
        }
        EXPECT_EQ(0, misplaced) << "cuts where what came back was not the frames last written";
        out->Drain();
        EXPECT_TRUE(WaitIdle(out));
        if (channels == 3 || channels == 6) {
            Sleep(300); // the capture's writer catches up
            EXPECT_EQ(0, FramesOutOfStep(before, channels)) << "frames the device played out of step";
        }
    }
}

TEST(AudioOut, FewerBytesThanABlockWaitUntilTheBlockIsWhole)
{
    CIPtr<CAudioOut> out(new CAudioOut(65536));
    ASSERT_TRUE(out->Open(&kStereo44, WAVE_MAPPER));
    std::vector<uint8_t> bytes(1024);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 13);
    const uint64_t before = testsupport::CaptureSize();
    ASSERT_TRUE(out->Write(bytes.data(), 1000));
    Sleep(200);
    EXPECT_EQ(1000, out->GetPendingBytes()); // still in the ring
    ASSERT_TRUE(out->Write(bytes.data() + 1000, 24));
    EXPECT_TRUE(WaitIdle(out));
    // The first frame's bytes 0 and 13 are found by what follows.
    EXPECT_TRUE(Arrived(before, bytes.data() + 2, 1022));

    // A drain asked for before a reset (or a withdrawal) ends with it: what
    // is written after them waits for whole blocks again.
    for (const bool reset : {true, false}) {
        SCOPED_TRACE(reset ? "reset" : "withdrawal");
        ASSERT_TRUE(out->Write(bytes.data(), 1000));
        out->Drain();
        if (reset)
            out->Reset();
        else
            (void)out->Withdraw(nullptr, 0);
        ASSERT_TRUE(out->Write(bytes.data(), 1000));
        Sleep(200);
        EXPECT_EQ(1000, out->GetUnsentBytes());
        out->Reset();
    }
}

TEST(AudioOut, UnsupportedFormatOpensNothing)
{
    CIPtr<CAudioOut> out(new CAudioOut(65536));
    EXPECT_FALSE(out->Open(&kStereo44, 1234)); // no such device
    const SAudioFormat unset;
    EXPECT_FALSE(out->Open(&unset, WAVE_MAPPER));
    EXPECT_FALSE(out->Open(nullptr, WAVE_MAPPER));
    EXPECT_EQ(0, out->GetPendingMs());
    EXPECT_TRUE(out->Write("abcd", 4)); // kept in the ring, never played
    EXPECT_EQ(4, out->GetPendingBytes());
}

} // namespace
