#pragma once
// Plain Win32 windows for the window-routine tests: a top-level window whose
// procedure counts the messages it sees and answers 42 to WM_APP messages,
// and child windows with chosen styles.
#include <windows.h>
#include <map>

namespace wintest {

struct SProbe {
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

// Owns one window and destroys it at the end of the scope.
class CTestWindow {
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

} // namespace wintest
