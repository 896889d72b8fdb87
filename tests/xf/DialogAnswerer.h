#pragma once
// Answers the dialogs (message boxes, file dialogs) that this process shows,
// one after another, from a thread of its own, while the test's thread sits
// in the dialog's modal loop. Each answer names the button to press and, for
// a file dialog, the path to type into its file-name box first. Dialogs
// beyond the answers given are cancelled.
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
    explicit CDialogAnswerer(std::vector<SAnswer> answers);
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
    size_t m_next = 0;
    std::mutex m_lock;
    std::vector<std::wstring> m_seen;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};

} // namespace xftest
