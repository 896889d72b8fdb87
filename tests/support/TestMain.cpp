// The entry point of every test program.
#include <cstdio>
#include <gtest/gtest.h>
#include <windows.h>

#include "tests/support/Starvation.h"

namespace {

// A shard of a test program (GTEST_TOTAL_SHARDS and GTEST_SHARD_INDEX, set by
// CTest) has chosen its cases before the environments are set up. A case that
// starts the test program again with a filter of its own wants that case run,
// not a share of it, so the sharding is not passed on to child processes.
class CShardingStaysHere : public ::testing::Environment
{
public:
    void SetUp() override
    {
        SetEnvironmentVariableW(L"GTEST_TOTAL_SHARDS", nullptr);
        SetEnvironmentVariableW(L"GTEST_SHARD_INDEX", nullptr);
        SetEnvironmentVariableW(L"GTEST_SHARD_STATUS_FILE", nullptr);
    }
};

} // namespace

int main(int argc, char** argv)
{
    // Unbuffered, so a program stopped by its time-out still shows the case
    // it was in.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new CShardingStaysHere); // owned by GoogleTest
    // A failed case says what the machine did while it ran (a device ran
    // dry, threads woke late) and whether it is real-time, so that the
    // runner runs again only a case a busy machine can spoil.
    testsupport::CStarvationWatch starvation;
    const int result = RUN_ALL_TESTS();
    std::fflush(stdout);
    std::fflush(stderr);
    // The result is decided once the cases have run. Ending here skips the
    // libraries' process-detach work: under load, Wine's GStreamer bridge
    // was seen to crash in its own exit teardown after every case had
    // passed, which would turn a passed run into a failed one.
    TerminateProcess(GetCurrentProcess(), static_cast<UINT>(result));
    return result;
}
