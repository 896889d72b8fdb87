#pragma once
// Answers the dialogs (message boxes, file dialogs) that this process shows,
// one after another, from a thread of its own, while the test's thread sits
// in the dialog's modal loop. Each answer names the button to press and, for
// a file dialog, the path to type into its file-name box first. Dialogs
// beyond the answers given are cancelled. Popups without a caption (the
// drop-down menus) are never answered.
#include <windows.h>
#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace xftest {

class CDialogAnswerer
{
public:
    struct SAnswer
    {
        int button;
        std::wstring path;
    };
    // A dialog window that is no question (a program's main window) may be
    // named as ignore: it is never answered.
    explicit CDialogAnswerer(std::vector<SAnswer> answers, HWND ignore = nullptr);
    ~CDialogAnswerer();
    CDialogAnswerer(const CDialogAnswerer&) = delete;
    CDialogAnswerer& operator=(const CDialogAnswerer&) = delete;

    // What each answered dialog showed: its caption, then the texts of its
    // static, edit and combo-box children, joined by "|".
    std::vector<std::wstring> Seen();

private:
    void Run();
    void Answer(HWND dialog);

    std::vector<SAnswer> m_answers;
    HWND m_ignore;
    size_t m_next = 0;
    std::mutex m_lock;
    std::vector<std::wstring> m_seen;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace xftest
