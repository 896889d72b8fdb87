#include "AnswerWatch.h"
#include <cstdio>
#include "AppTestKit.h"

namespace apptest {

CAnswerWatch::CAnswerWatch(HWND window) : m_window(window), m_thread([this] { Watch(); })
{
}

CAnswerWatch::~CAnswerWatch()
{
    m_stop = true;
    // The question in flight waits for this thread's pump.
    PumpUntil([this] { return m_ended.load(); }, kGiveUpMs);
    m_thread.join();
}

void CAnswerWatch::Step(const std::string& what)
{
    std::lock_guard<std::mutex> hold(m_lock);
    m_step = what;
    m_longest = 0;
}

void CAnswerWatch::Watch()
{
    while (!m_stop) {
        const ULONGLONG asked = ::GetTickCount64();
        DWORD_PTR answer = 0;
        const bool answered = ::SendMessageTimeoutW(m_window, WM_NULL, 0, 0, SMTO_NORMAL, kGiveUpMs, &answer) != 0;
        const DWORD waited = static_cast<DWORD>(::GetTickCount64() - asked);
        if (!answered && !m_stop && ::IsWindow(m_window)) {
            std::string step;
            {
                std::lock_guard<std::mutex> hold(m_lock);
                step = m_step;
            }
            std::fprintf(stderr,
                         "FAILED: the main window gave no answer for %lu ms after %s: its thread hangs; "
                         "the test program ends here.\n",
                         static_cast<unsigned long>(waited), step.c_str());
            std::fflush(stderr);
            std::fflush(stdout);
            ::TerminateProcess(::GetCurrentProcess(), 3);
        }
        if (waited > m_longest)
            m_longest = waited;
        ::Sleep(100);
    }
    m_ended = true;
}

} // namespace apptest
