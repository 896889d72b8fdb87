#pragma once
// What the machine did while a case that failed ran, and whether that case
// may be run again. For every case the test main notes how often a sound
// device ran dry and how late a thread of the program woke from a short
// sleep. That is what was seen, not a cause: a case fails on its own as
// well while the machine is busy. Only a real-time case (REAL_TIME_SUITE,
// REAL_TIME_TEST_F: one whose verdict depends on sound reaching the device,
// or a thread waking, in time) can be spoiled by a busy machine; every other
// case that fails fails its program, whatever was seen meanwhile.
//
// For each failed case, just before GoogleTest's own line that it failed:
//   [ STARVED  ] Suite.Case: ran while <what was seen>   (real-time)
//   [ FIRST    ] Suite.Case: <its first failure, a few lines joined by " | ">
//   [ FED      ] Suite.Case: <what was seen>             (real-time, nothing seen)
//   [ NO RERUN ] Suite.Case: not real-time; <what was seen>
// and, at the end of a program whose failures were all real-time cases that
// ran starved (nothing failed outside a case), just before GoogleTest's
// summary:
//   [ RE-RUN   ] --gtest_filter=Suite.Case:Other.Case
// From that line scripts/wine-env runs those cases again.
#include <atomic>
#include <thread>

namespace testsupport {

// A wake this much later than asked for counts as late: a whole period of
// the sound device's driver (10 ms), in which the output's feeder, the
// playback thread or a case timing a change by the captured sound can miss
// the moment it was woken for. RAVELIN_LATE_WAKE_MS sets another (a test of
// the runner sets it high to judge by the sound device alone, or below a
// millisecond to have every wake count as late).
constexpr double kLateWakeMs = 10.0;

// Where the process's counts of a sound device run dry are read: blocks
// given to a device that held none (CAudioOut::RanDryCount), and restarts
// of a device found silent while it held blocks (CAudioOut::LateRestartCount).
// A test program that plays sound names them before its cases run. Without
// them only late wakes count.
void CountDevicesRunDry(long long (*ranDry)(), long long (*lateRestarts)());

// Marks the cases of `suite` (all of them when `name` is null) as
// real-time. Use the macros below, at namespace scope; answers true.
bool MarkRealTime(const char* suite, const char* name = nullptr);

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

// Every case of the suite is real-time (one line beside the suite's
// fixture). A suite so marked that has no case fails its program.
#define REAL_TIME_SUITE(suite) \
    [[maybe_unused]] static const bool realTimeSuite_##suite = ::testsupport::MarkRealTime(#suite)
// One real-time case of a suite whose other cases are not: TEST_F or TEST
// with the mark.
#define REAL_TIME_TEST_F(suite, name) \
    [[maybe_unused]] static const bool realTime_##suite##_##name = ::testsupport::MarkRealTime(#suite, #name); \
    TEST_F(suite, name)
#define REAL_TIME_TEST(suite, name) \
    [[maybe_unused]] static const bool realTime_##suite##_##name = ::testsupport::MarkRealTime(#suite, #name); \
    TEST(suite, name)
