// The test program that starved_rerun.sh runs through scripts/wine-env: a
// case that passes, cases that fail with the sound device run dry (at their
// first run only, or every time) and one that fails without. Each case
// counts its runs in a file of the folder RAVELIN_PROBE_RUNS names, which
// outlasts the fresh worlds of the re-runs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "audio/AudioOut.h"
#include "tests/support/Starvation.h"
#include "tests/support/TestSupport.h"

namespace {

[[maybe_unused]] const bool g_dryCounted = (testsupport::CountDevicesRunDry(&CAudioOut::RanDryCount), true);

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

TEST(Probe, FailsStarvedAtItsFirstRun)
{
    const int before = RunsBefore(L"first");
    RunTheDeviceDry();
    EXPECT_LT(0, before) << "the first run fails";
}

TEST(Probe, FailsStarvedEveryTime)
{
    RunsBefore(L"every");
    RunTheDeviceDry();
    ADD_FAILURE() << "every run fails";
}

TEST(Probe, FailsFed)
{
    RunsBefore(L"fed");
    ADD_FAILURE() << "fails without a device run dry";
}
