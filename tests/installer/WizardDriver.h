#pragma once
// Drives a modal dialog from a second thread as a person would: clicks its
// buttons, answers its message boxes and reads its controls.
#include <windows.h>
#include <functional>
#include <string>

namespace setuptest {

class CDriver
{
public:
    // `uiThread` is the thread that runs the modal dialogs.
    explicit CDriver(DWORD uiThread) : m_uiThread(uiThread) {}
    // Waits (up to `ms`) until `done` holds; false on time-out.
    static bool WaitFor(const std::function<bool()>& done, DWORD ms = 10000);
    // The visible top-level dialog of the UI thread whose caption starts
    // with `caption`; null when none shows within the time.
    HWND WaitForDialog(const wchar_t* caption, DWORD ms = 10000) const;
    // Waits for a message box, returns its text and answers it with `button`.
    std::wstring Answer(int button, DWORD ms = 10000) const;
    // Whether a message box shows now.
    bool BoxShows() const;
    // Clicks the button `id` of `dialog` (posted, as the button would).
    static void Click(HWND dialog, int id);
    static std::wstring Text(HWND window);
    static std::wstring ItemText(HWND dialog, int id);
    static bool ItemVisible(HWND dialog, int id);

private:
    HWND FindBox() const;
    DWORD m_uiThread;
};

} // namespace setuptest
