#pragma once
// Windows for the user-interface tests: a top-level window whose procedure
// counts the messages it sees and answers 42 to WM_APP messages, child
// windows with chosen styles, and a closer of the dialogs the code under
// test shows.
#include <windows.h>
#include <shlobj.h>
#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace wintest {

struct SProbe
{
    std::map<UINT, int> seen;
};

inline LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    if (auto* probe = reinterpret_cast<SProbe*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)))
        ++probe->seen[msg];
    if (msg >= WM_APP && msg < WM_APP + 0x100)
        return 42;
    return DefWindowProcW(hwnd, msg, wp, lp);
}

inline const wchar_t* ProbeClass()
{
    static bool registered = false;
    if (!registered) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ProbeProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        wc.lpszClassName = L"RavelinCommonUiProbe";
        RegisterClassW(&wc);
        registered = true;
    }
    return L"RavelinCommonUiProbe";
}

// The window's current window procedure.
inline WNDPROC ProcOf(HWND hwnd)
{
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
}

// Owns one window and destroys it at the end of the scope.
class CTestWindow
{
public:
    CTestWindow(DWORD style = WS_OVERLAPPEDWINDOW, HWND parent = nullptr, int x = 100, int y = 100, int w = 300,
                int h = 200, DWORD exStyle = 0)
    {
        m_hwnd = CreateWindowExW(exStyle, ProbeClass(), L"Probe", style, x, y, w, h, parent, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&m_probe));
    }
    ~CTestWindow()
    {
        if (IsWindow(m_hwnd))
            DestroyWindow(m_hwnd);
    }
    CTestWindow(const CTestWindow&) = delete;
    CTestWindow& operator=(const CTestWindow&) = delete;

    HWND Handle() const { return m_hwnd; }
    int Seen(UINT msg) { return m_probe.seen[msg]; }
    void Forget() { m_probe.seen.clear(); }

private:
    HWND m_hwnd = nullptr;
    SProbe m_probe;
};

// While it lives, finishes every dialog box this process shows, from
// another thread: `select` (a folder) is selected first when given; then
// OK or Cancel. The texts of each dialog's static controls are kept,
// joined, for Seen().
class CDialogCloser
{
public:
    explicit CDialogCloser(bool ok, const wchar_t* select = nullptr) : m_ok(ok), m_select(select ? select : L"")
    {
        m_thread = std::thread([this] { Run(); });
    }
    ~CDialogCloser()
    {
        m_done = true;
        m_thread.join();
    }
    CDialogCloser(const CDialogCloser&) = delete;
    CDialogCloser& operator=(const CDialogCloser&) = delete;

    std::vector<std::wstring> Seen()
    {
        std::lock_guard<std::mutex> lock(m_seenLock);
        return m_seen;
    }

private:
    static BOOL CALLBACK CollectStatic(HWND wnd, LPARAM texts)
    {
        wchar_t cls[16] = {};
        GetClassNameW(wnd, cls, 16);
        if (_wcsicmp(cls, L"Static") == 0) {
            wchar_t text[512] = {};
            GetWindowTextW(wnd, text, 512);
            *reinterpret_cast<std::wstring*>(texts) += text;
        }
        return TRUE;
    }
    static BOOL CALLBACK Find(HWND wnd, LPARAM found)
    {
        DWORD process = 0;
        GetWindowThreadProcessId(wnd, &process);
        wchar_t cls[16] = {};
        GetClassNameW(wnd, cls, 16);
        if (process == GetCurrentProcessId() && IsWindowVisible(wnd) && wcscmp(cls, L"#32770") == 0) {
            *reinterpret_cast<HWND*>(found) = wnd;
            return FALSE;
        }
        return TRUE;
    }
    void Run()
    {
        while (!m_done) {
            HWND dialog = nullptr;
            EnumWindows(Find, reinterpret_cast<LPARAM>(&dialog));
            if (dialog) {
                Sleep(300);
                std::wstring texts;
                EnumChildWindows(dialog, CollectStatic, reinterpret_cast<LPARAM>(&texts));
                {
                    std::lock_guard<std::mutex> lock(m_seenLock);
                    m_seen.push_back(texts);
                }
                if (!m_select.empty())
                    SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(m_select.c_str()));
                PostMessageW(dialog, WM_COMMAND, m_ok ? IDOK : IDCANCEL, 0);
                Sleep(500);
            }
            Sleep(50);
        }
    }
    bool m_ok;
    std::wstring m_select;
    std::atomic<bool> m_done{false};
    std::mutex m_seenLock;
    std::vector<std::wstring> m_seen;
    std::thread m_thread;
};

} // namespace wintest
