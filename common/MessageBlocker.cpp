#include "common/MessageBlocker.h"
#include "common/PtrArrays.h"
#include "platform/mfc/afxwin.h"
#include <algorithm>

namespace {

typedef COVMessageBlocker::SSubclassedWndInfo SInfo;

CGCPtrArray<SInfo>& Registry()
{
    static CGCPtrArray<SInfo> registry(true);
    return registry;
}

SInfo* FindRecord(HWND hwnd)
{
    return Registry().FindIf([hwnd](const SInfo& info) { return info.hwnd == hwnd; });
}

LRESULT CALLBACK BlockerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    SInfo* info = FindRecord(hwnd);
    if (info == nullptr)
        return 0;
    bool blocked = std::find(info->blocked.begin(), info->blocked.end(), message) != info->blocked.end();
    WNDPROC saved = info->savedProc;
    if (message == WM_NCDESTROY) {
        // The window is going: put its procedure back and forget it, so that
        // a later window with the same handle is not mistaken for it.
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(saved));
        Registry().Remove(info);
    }
    if (blocked)
        return 0;
    return saved != nullptr ? CallWindowProcW(saved, hwnd, message, wParam, lParam) : 0;
}

} // namespace

COVMessageBlocker::COVMessageBlocker(HWND window, UINT message)
{
    Block(window, message);
}

COVMessageBlocker::COVMessageBlocker(CWnd* window, UINT message)
{
    Block(window != nullptr ? window->GetSafeHwnd() : nullptr, message);
}

void COVMessageBlocker::Block(HWND window, UINT message)
{
    if (window == nullptr || !IsWindow(window))
        return;
    SInfo* info = FindRecord(window);
    if (info == nullptr) {
        info = new SInfo;
        info->hwnd = window;
        info->savedProc =
            reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BlockerProc)));
        Registry().Add(info);
    }
    info->blocked.push_back(message);
    m_hwnd = window;
    m_message = message;
}

COVMessageBlocker::~COVMessageBlocker()
{
    if (m_hwnd == nullptr)
        return;
    SInfo* info = FindRecord(m_hwnd);
    if (info == nullptr)
        return; // the window was destroyed meanwhile
    auto it = std::find(info->blocked.begin(), info->blocked.end(), m_message);
    if (it != info->blocked.end())
        info->blocked.erase(it);
    if (!info->blocked.empty())
        return;
    // Only a procedure that is still ours can be taken off; when somebody
    // subclassed the window after us, the record stays as a pass-through.
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(m_hwnd, GWLP_WNDPROC)) == BlockerProc) {
        SetWindowLongPtrW(m_hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(info->savedProc));
        Registry().Remove(info);
    }
}
