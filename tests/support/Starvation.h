#pragma once
// Tells a case that failed because the machine starved it from one that
// failed on its own: for every case the test main notes how often a sound
// device ran dry and how late a thread of the program woke from a short
// sleep, and says for each failed case whether it ran starved.
//
// For each failed case, just before GoogleTest's own line that it failed:
//   [ STARVED  ] Suite.Case: <what was seen>
//   [ FED      ] Suite.Case: <what was seen>
// and, at the end of a program whose failures all ran starved (nothing
// failed outside a case), just before GoogleTest's summary:
//   [ RE-RUN   ] --gtest_filter=Suite.Case:Other.Case
// From that line scripts/wine-env runs those cases again.
#include <atomic>
#include <thread>

namespace testsupport {

// A wake this much later than asked for counts as starved: a whole period
// of the sound device's driver (10 ms), in which the output's feeder, the
// playback thread or a case timing a change by the captured sound can miss
// the moment it was woken for. RAVELIN_LATE_WAKE_MS sets another (a test
// of the runner that must judge by the sound device alone sets it high).
constexpr double kLateWakeMs = 10.0;

// Where the process's count of sound devices run dry is read
// (CAudioOut::RanDryCount); a test program that plays sound names it before
// its cases run. Without it only late wakes count.
void CountDevicesRunDry(long long (*count)());

// While it lives, a thread sleeps for a few milliseconds at a time and
// notes how late it wakes; the first one made also adds the listener that
// judges each case (GoogleTest owns it). Make one after InitGoogleTest,
// before the cases run.
class CStarvationWatch
{
public:
    CStarvationWatch();
    ~CStarvationWatch();
    CStarvationWatch(const CStarvationWatch&) = delete;
    CStarvationWatch& operator=(const CStarvationWatch&) = delete;

private:
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace testsupport
