#pragma once
// Makes one window ignore one message while the blocker lives (popup menus
// keep the focused control from seeing its focus leave). Blockers on the same
// window share one subclassing record that holds the set of blocked
// messages, so they may be created and destroyed in any order; the window's
// own procedure comes back when the last of them goes.
// User-interface thread only.
#include "platform/mfc/afx.h"
#include <vector>

class CWnd;

class COVMessageBlocker
{
public:
    // One subclassed window.
    struct SSubclassedWndInfo
    {
        WNDPROC savedProc = nullptr;
        HWND hwnd = nullptr;
        std::vector<UINT> blocked; // one entry per living blocker
    };

    // A null window blocks nothing.
    COVMessageBlocker(HWND window, UINT message);
    COVMessageBlocker(CWnd* window, UINT message);
    virtual ~COVMessageBlocker();
    COVMessageBlocker(const COVMessageBlocker&) = delete;
    COVMessageBlocker& operator=(const COVMessageBlocker&) = delete;

private:
    void Block(HWND window, UINT message);

    HWND m_hwnd = nullptr;
    UINT m_message = 0;
};
