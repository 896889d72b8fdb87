#include "tests/support/Starvation.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <set>
#include <string>
#include <vector>

namespace testsupport {

namespace {

constexpr DWORD kNapMs = 2;
// The first failure of a case as its line shows it: this many lines of
// GoogleTest's text at most, and about this many characters.
constexpr int kFirstFailureLines = 3;
constexpr size_t kFirstFailureChars = 400;

std::atomic<long long (*)()> g_ranDry{nullptr};
std::atomic<long long (*)()> g_lateRestarts{nullptr};
double g_lateWakeMs = kLateWakeMs; // set before the watch thread starts

// What the watch thread saw since the case began.
std::mutex g_wakesLock; // guards g_lateWakes and g_latestMs
int g_lateWakes = 0;
double g_latestMs = 0;

// The real-time marks, made while the program's statics are set up, read
// once the cases run (no lock: nothing marks after main has begun).
struct SMarks
{
    std::set<std::string> suites, cases; // "Suite", "Suite.Case"
};
SMarks& Marks()
{
    static SMarks marks;
    return marks;
}

bool IsRealTime(const ::testing::TestInfo& info)
{
    const SMarks& marks = Marks();
    return marks.suites.count(info.test_suite_name()) > 0 ||
           marks.cases.count(std::string(info.test_suite_name()) + "." + info.name()) > 0;
}

long long Count(const std::atomic<long long (*)()>& counter)
{
    const auto count = counter.load();
    return count ? count() : 0;
}

std::string Times(long long n)
{
    return n == 1 ? "once" : n == 2 ? "twice" : std::to_string(n) + " times";
}

// A failure's file (its name only), line and first lines of text, on one line.
std::string OneLine(const ::testing::TestPartResult& result)
{
    std::string text;
    if (const char* file = result.file_name()) {
        const std::string path = file;
        text = path.substr(path.find_last_of("/\\") + 1);
        if (result.line_number() >= 0)
            text += ":" + std::to_string(result.line_number());
        text += ": ";
    }
    const std::string message = result.message();
    int lines = 0;
    for (size_t at = 0; at < message.size() && lines < kFirstFailureLines;) {
        size_t end = message.find('\n', at);
        if (end == std::string::npos)
            end = message.size();
        const std::string line = message.substr(at, end - at);
        if (line.find_first_not_of(" \r") != std::string::npos)
            text += (lines++ ? " | " : "") + line.substr(0, line.find_last_not_of(" \r") + 1);
        at = end + 1;
    }
    if (text.size() > kFirstFailureChars)
        text = text.substr(0, kFirstFailureChars) + "...";
    return text;
}

class CStarvationListener : public ::testing::EmptyTestEventListener
{
public:
    void OnTestProgramStart(const ::testing::UnitTest& unit) override
    {
        // A mark left behind by a suite renamed would leave that suite's
        // cases to fail at once, unnoticed.
        for (const std::string& suite : Marks().suites) {
            bool found = false;
            for (int i = 0; i < unit.total_test_suite_count() && !found; ++i)
                found = suite == unit.GetTestSuite(i)->name();
            if (!found)
                ADD_FAILURE() << "REAL_TIME_SUITE(" << suite << ") names no suite of this program";
        }
    }

    void OnTestStart(const ::testing::TestInfo&) override
    {
        {
            std::lock_guard<std::mutex> lock(g_wakesLock);
            g_lateWakes = 0;
            g_latestMs = 0;
        }
        m_dryBefore = Count(g_ranDry);
        m_restartsBefore = Count(g_lateRestarts);
        m_firstFailure.clear();
    }

    void OnTestPartResult(const ::testing::TestPartResult& result) override
    {
        if (result.failed() && m_firstFailure.empty())
            m_firstFailure = OneLine(result);
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
        const long long dry = Count(g_ranDry) - m_dryBefore;
        const long long restarts = Count(g_lateRestarts) - m_restartsBefore;
        const bool counted = g_ranDry.load() || g_lateRestarts.load();
        const bool starved = dry > 0 || restarts > 0 || lateWakes > 0;
        const bool realTime = IsRealTime(info);
        const std::string name = std::string(info.test_suite_name()) + "." + info.name();

        std::string seen;
        char text[160];
        if (dry > 0)
            seen = "the sound device ran dry " + Times(dry);
        if (restarts > 0)
            seen += (dry > 0 ? " and " : "the sound device ") + std::string("was restarted late, holding blocks, ") +
                    Times(restarts);
        if (lateWakes > 0) {
            std::snprintf(text, sizeof text, "threads woke late (%d wakes %g ms late or more, the latest %.1f ms)",
                          lateWakes, g_lateWakeMs, latestMs);
            seen += (seen.empty() ? "" : " and ") + std::string(text);
        }
        if (starved) {
            seen = "ran while " + seen;
        } else {
            std::snprintf(text, sizeof text, "no wake %g ms late (the latest %.1f ms)", g_lateWakeMs, latestMs);
            seen = (counted ? "no device ran dry, " : "") + std::string(text);
        }

        const char* tag = !realTime ? "NO RERUN" : starved ? "STARVED" : "FED";
        std::printf("[ %-8s ] %s: %s%s\n", tag, name.c_str(), realTime ? "" : "not real-time; ", seen.c_str());
        if (realTime && starved) {
            std::printf("[ FIRST    ] %s: %s\n", name.c_str(), m_firstFailure.c_str());
            m_rerun.push_back(name);
        } else {
            ++m_final;
        }
    }

    void OnTestProgramEnd(const ::testing::UnitTest& unit) override
    {
        // Only when every failure is a real-time case's that ran starved:
        // anything else fails as it is.
        if (m_rerun.empty() || m_final > 0 || unit.ad_hoc_test_result().Failed() ||
            unit.failed_test_count() != static_cast<int>(m_rerun.size()))
            return;
        for (int i = 0; i < unit.total_test_suite_count(); ++i)
            if (unit.GetTestSuite(i)->ad_hoc_test_result().Failed())
                return;
        std::string filter;
        for (const std::string& name : m_rerun)
            filter += (filter.empty() ? "" : ":") + name;
        std::printf("[ RE-RUN   ] --gtest_filter=%s\n", filter.c_str());
    }

private:
    long long m_dryBefore = 0, m_restartsBefore = 0;
    std::string m_firstFailure; // of the case running
    std::vector<std::string> m_rerun;
    int m_final = 0; // failed cases that may not run again
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

void CountDevicesRunDry(long long (*ranDry)(), long long (*lateRestarts)())
{
    g_ranDry = ranDry;
    g_lateRestarts = lateRestarts;
}

bool MarkRealTime(const char* suite, const char* name)
{
    SMarks& marks = Marks();
    if (name)
        marks.cases.insert(std::string(suite) + "." + name);
    else
        marks.suites.insert(suite);
    return true;
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
