#include "tests/support/Starvation.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

namespace testsupport {

namespace {

constexpr DWORD kNapMs = 2;

std::atomic<long long (*)()> g_ranDry{nullptr};
double g_lateWakeMs = kLateWakeMs; // set before the watch thread starts

// What the watch thread saw since the case began.
std::mutex g_wakesLock; // guards g_lateWakes and g_latestMs
int g_lateWakes = 0;
double g_latestMs = 0;

long long RanDry()
{
    const auto count = g_ranDry.load();
    return count ? count() : 0;
}

class CStarvationListener : public ::testing::EmptyTestEventListener
{
public:
    void OnTestStart(const ::testing::TestInfo&) override
    {
        {
            std::lock_guard<std::mutex> lock(g_wakesLock);
            g_lateWakes = 0;
            g_latestMs = 0;
        }
        m_dryBefore = RanDry();
    }

    void OnTestEnd(const ::testing::TestInfo& info) override
    {
        if (!info.result()->Failed())
            return;
        int lateWakes = 0;
        double latestMs = 0;
        {
            std::lock_guard<std::mutex> lock(g_wakesLock);
            lateWakes = g_lateWakes;
            latestMs = g_latestMs;
        }
        const long long dry = RanDry() - m_dryBefore;
        const bool starved = dry > 0 || lateWakes > 0;
        const std::string name = std::string(info.test_suite_name()) + "." + info.name();
        std::string seen;
        if (g_ranDry.load() && dry > 0)
            seen =
                "the sound device ran dry " + (dry == 1 ? std::string("once") : std::to_string(dry) + " times") + ", ";
        else if (g_ranDry.load())
            seen = "no device ran dry, ";
        char wakes[128];
        if (lateWakes > 0)
            std::snprintf(wakes, sizeof wakes, "%d wakes %.0f ms late or more (the latest %.1f ms)", lateWakes,
                          g_lateWakeMs, latestMs);
        else
            std::snprintf(wakes, sizeof wakes, "no wake %.0f ms late (the latest %.1f ms)", g_lateWakeMs, latestMs);
        std::printf("[ %-8s ] %s: %s%s\n", starved ? "STARVED" : "FED", name.c_str(), seen.c_str(), wakes);
        (starved ? m_starved : m_fed).push_back(name);
    }

    void OnTestProgramEnd(const ::testing::UnitTest& unit) override
    {
        // Only when every failure is a case's and every failed case ran
        // starved: anything else fails as it is.
        if (m_starved.empty() || !m_fed.empty() || unit.ad_hoc_test_result().Failed() ||
            unit.failed_test_count() != static_cast<int>(m_starved.size()))
            return;
        for (int i = 0; i < unit.total_test_suite_count(); ++i)
            if (unit.GetTestSuite(i)->ad_hoc_test_result().Failed())
                return;
        std::string filter;
        for (const std::string& name : m_starved)
            filter += (filter.empty() ? "" : ":") + name;
        std::printf("[ RE-RUN   ] --gtest_filter=%s\n", filter.c_str());
    }

private:
    long long m_dryBefore = 0;
    std::vector<std::string> m_starved, m_fed;
};

void Watch(const std::atomic<bool>& stop)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    const double ticksPerMs = static_cast<double>(frequency.QuadPart) / 1000;
    while (!stop) {
        LARGE_INTEGER before, after;
        QueryPerformanceCounter(&before);
        Sleep(kNapMs);
        QueryPerformanceCounter(&after);
        const double late = static_cast<double>(after.QuadPart - before.QuadPart) / ticksPerMs - kNapMs;
        std::lock_guard<std::mutex> lock(g_wakesLock);
        g_latestMs = std::max(g_latestMs, late);
        g_lateWakes += late >= g_lateWakeMs;
    }
}

} // namespace

void CountDevicesRunDry(long long (*count)())
{
    g_ranDry = count;
}

CStarvationWatch::CStarvationWatch()
{
    if (const char* ms = std::getenv("RAVELIN_LATE_WAKE_MS"); ms && std::atof(ms) > 0)
        g_lateWakeMs = std::atof(ms);
    m_thread = std::thread(Watch, std::cref(m_stop));
    static bool listening = false;
    if (!listening) {
        ::testing::UnitTest::GetInstance()->listeners().Append(new CStarvationListener); // owned by GoogleTest
        listening = true;
    }
}

CStarvationWatch::~CStarvationWatch()
{
    m_stop = true;
    m_thread.join();
}

} // namespace testsupport
