#pragma once
// Whether the main window keeps answering while a case drives it: a thread
// of its own sends it an empty message every 100 ms and notes the longest
// wait for the answer. The window belongs to the test's own thread, so a
// window that stays silent for good means that thread will never come back:
// the watch then says so and ends the test program with a failure, instead
// of leaving the run to wait for its time-out.
#include <windows.h>
#include <atomic>
#include <mutex>
#include <string>
#include <thread>

namespace apptest {

class CAnswerWatch
{
public:
    // Silent this long (ms): hung for good.
    static const DWORD kGiveUpMs = 8000;

    explicit CAnswerWatch(HWND window);
    // Stops the watch; pumps meanwhile, so that a question in flight is
    // answered.
    ~CAnswerWatch();
    CAnswerWatch(const CAnswerWatch&) = delete;
    CAnswerWatch& operator=(const CAnswerWatch&) = delete;

    // Names what the case does next (for the message of a hang) and starts
    // a new longest wait.
    void Step(const std::string& what);
    // The longest wait for an answer (ms) since the last Step.
    DWORD LongestWait() const { return m_longest; }

private:
    void Watch();

    HWND m_window;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_ended{false};
    std::atomic<DWORD> m_longest{0};
    mutable std::mutex m_lock; // guards m_step
    std::string m_step = "the start";
    std::thread m_thread;
};

} // namespace apptest
