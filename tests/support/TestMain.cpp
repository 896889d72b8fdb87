// The entry point of every test program.
#include <cstdio>
#include <gtest/gtest.h>
#include <windows.h>

int main(int argc, char** argv)
{
    // Unbuffered, so a program stopped by its time-out still shows the case
    // it was in.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    ::testing::InitGoogleTest(&argc, argv);
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
