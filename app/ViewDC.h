#pragma once
// A device context of a window for one scope (the class library's client-area
// context). Safe to use from any thread; a null or destroyed window gives a
// null context.
#include <optional>
#include "platform/mfc/afxdc.h"

class CViewDC
{
public:
    explicit CViewDC(HWND wnd)
    {
        if (wnd)
            m_dc.emplace(wnd);
    }
    CViewDC(const CViewDC&) = delete;
    CViewDC& operator=(const CViewDC&) = delete;

    HDC Get() const { return m_dc ? m_dc->GetSafeHdc() : nullptr; }

private:
    std::optional<CClientDC> m_dc;
};
