#pragma once
// Shared pieces of the dialog tests: pumping until something holds, a
// closer for the program's message boxes (captioned with the product name,
// so the dialogs under test are left alone), the product record the dialogs
// read, and reading dialog texts.
#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

class CHybridCtrl;
struct IHybridCell;

namespace dlgtest {

// The texts of the control's text cells from `start` down (null: the
// root), in tree order.
std::vector<std::wstring> CellTexts(CHybridCtrl& control, IHybridCell* start = nullptr);
// A left click at the middle of a cell, as the mouse gives it.
void ClickCell(CHybridCtrl& control, IHybridCell* cell);

// Pumps this thread's messages until `done` holds or `ms` passed; the
// result of `done` at the end.
bool PumpUntil(const std::function<bool()>& done, DWORD ms = 5000);

// Fills the global product record as the application does.
void SetUpProductInfo();

std::wstring TextOf(HWND window);
// The texts of the window's descendants, in Z order, joined by '|'.
std::wstring ChildTexts(HWND window);

// While it lives, the program's "nls" folder is an empty one of the test's
// own; the shipped language files wait beside it and come back at the end
// (also when an earlier run was cut off before it put them back).
class CNlsFolderOfOwn
{
public:
    CNlsFolderOfOwn();
    ~CNlsFolderOfOwn();
    CNlsFolderOfOwn(const CNlsFolderOfOwn&) = delete;
    CNlsFolderOfOwn& operator=(const CNlsFolderOfOwn&) = delete;
    const std::wstring& Folder() const { return m_folder; }

private:
    void PutBack();
    std::wstring m_folder, m_aside;
};

// Answers every message box (caption = the product name) of this process
// with `answer`, keeping the texts; a given `watch` runs on each other
// visible top-level window of the process, so a test can drive a system
// dialog (the file dialog) while a modal loop runs. A dialog still open
// 20 seconds after the start is cancelled, so no modal loop outlives its
// case, and the case fails.
class CBoxAnswerer
{
public:
    explicit CBoxAnswerer(UINT answer = IDOK, std::function<void(HWND)> watch = nullptr);
    ~CBoxAnswerer();
    CBoxAnswerer(const CBoxAnswerer&) = delete;
    CBoxAnswerer& operator=(const CBoxAnswerer&) = delete;
    std::vector<std::wstring> Texts();

private:
    static constexpr DWORD kGiveUpMs = 20000;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_gaveUp{false};
    std::atomic<bool> m_finished{false};
    CRITICAL_SECTION m_lock;
    std::vector<std::wstring> m_texts;
    std::thread m_thread;
};

} // namespace dlgtest
