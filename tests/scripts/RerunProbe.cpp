// The test program that starved_rerun.sh runs through scripts/wine-env:
// real-time cases that fail with the sound device run dry (at their first
// run only, or every time, one of them for fourteen seconds), one that
// fails without it, one that fails at its first run only (starved or not,
// as the late wakes' threshold makes it), and cases that are not real-time:
// one that passes, one that fails after five seconds. Each case counts its
// runs in a file of the folder RAVELIN_PROBE_RUNS names, which outlasts the
// fresh worlds of the re-runs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "audio/AudioOut.h"
#include "tests/support/Starvation.h"
#include "tests/support/TestSupport.h"

namespace {

[[maybe_unused]] const bool g_dryCounted =
    (testsupport::CountDevicesRunDry(&CAudioOut::RanDryCount, &CAudioOut::LateRestartCount), true);

// The runs of the case before this one; counts this one.
int RunsBefore(const wchar_t* name)
{
    const char* folder = std::getenv("RAVELIN_PROBE_RUNS");
    if (!folder) {
        ADD_FAILURE() << "RAVELIN_PROBE_RUNS is not set";
        return 0;
    }
    const std::wstring file = testsupport::WindowsPath(folder) + L"\\" + name;
    std::vector<uint8_t> runs = testsupport::ReadFileBytes(file);
    const int before = static_cast<int>(runs.size());
    runs.push_back('x');
    EXPECT_TRUE(testsupport::WriteFileBytes(file, runs.data(), runs.size()));
    return before;
}

// Plays a start, lets the device play it out, then gives it one block
// more: the device runs dry once.
void RunTheDeviceDry()
{
    CIPtr<CAudioOut> out(new CAudioOut(65536));
    const SAudioFormat format(44100, 16, 2);
    ASSERT_TRUE(out->Open(&format, WAVE_MAPPER));
    const std::vector<int16_t> sound(CAudioOut::kStartBlocks * CAudioOut::kBlockSize / 2, 1000);
    const long long before = CAudioOut::RanDryCount();
    ASSERT_TRUE(out->Write(sound.data(), static_cast<int>(sound.size() * 2)));
    for (int i = 0; i < 500 && out->GetPendingBytes() > 0; ++i)
        Sleep(10);
    ASSERT_TRUE(out->Write(sound.data(), CAudioOut::kBlockSize));
    for (int i = 0; i < 500 && CAudioOut::RanDryCount() == before; ++i)
        Sleep(10);
    ASSERT_LT(before, CAudioOut::RanDryCount()) << "the device did not run dry";
}

} // namespace

TEST(Probe, Passes)
{
    RunsBefore(L"passes");
}

REAL_TIME_TEST(Probe, FailsStarvedAtItsFirstRun)
{
    const int before = RunsBefore(L"first");
    RunTheDeviceDry();
    EXPECT_LT(0, before) << "the first run fails";
}

REAL_TIME_TEST(Probe, FailsStarvedEveryTime)
{
    RunsBefore(L"every");
    RunTheDeviceDry();
    ADD_FAILURE() << "every run fails";
}

REAL_TIME_TEST(Probe, FailsFed)
{
    RunsBefore(L"fed");
    ADD_FAILURE() << "fails without a device run dry";
}

// Not real-time: however late the threads wake meanwhile, run no more.
TEST(Probe, FailsPlainAfterFiveSeconds)
{
    RunsBefore(L"plain");
    Sleep(5000);
    ADD_FAILURE() << "a plain failure";
}

REAL_TIME_SUITE(ProbeRealTime);

TEST(ProbeRealTime, FailsAtItsFirstRun)
{
    const int before = RunsBefore(L"once");
    // Long enough for the runner's test to see the processes of the world.
    Sleep(1500);
    EXPECT_LT(0, before) << "the first run fails";
}

TEST(ProbeRealTime, FailsStarvedForFourteenSeconds)
{
    RunsBefore(L"long");
    RunTheDeviceDry();
    Sleep(14000);
    ADD_FAILURE() << "every run fails";
}
