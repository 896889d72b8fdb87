#pragma once
// A device context of a window for one scope (GetDC/ReleaseDC). Safe to use
// from any thread; a null or destroyed window gives a null context.
#include <windows.h>

class CViewDC
{
public:
    explicit CViewDC(HWND wnd) : m_wnd(wnd), m_dc(wnd ? ::GetDC(wnd) : nullptr) {}
    ~CViewDC()
    {
        if (m_dc)
            ::ReleaseDC(m_wnd, m_dc);
    }
    CViewDC(const CViewDC&) = delete;
    CViewDC& operator=(const CViewDC&) = delete;

    HDC Get() const { return m_dc; }

private:
    HWND m_wnd;
    HDC m_dc;
};
