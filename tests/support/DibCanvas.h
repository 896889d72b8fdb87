#pragma once
// A memory device context holding a 32-bit top-down DIB section whose pixels
// can be read directly, for the tests that check what was drawn.
#include <windows.h>
#include <cstdint>
#include <vector>

namespace testsupport {

class CDibCanvas
{
public:
    CDibCanvas(int width, int height) : m_width(width), m_height(height)
    {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        m_dc = ::CreateCompatibleDC(nullptr);
        m_bitmap = ::CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
        m_old = ::SelectObject(m_dc, m_bitmap);
    }
    ~CDibCanvas()
    {
        ::SelectObject(m_dc, m_old);
        ::DeleteObject(m_bitmap);
        ::DeleteDC(m_dc);
    }
    CDibCanvas(const CDibCanvas&) = delete;
    CDibCanvas& operator=(const CDibCanvas&) = delete;

    HDC Hdc() const { return m_dc; }
    COLORREF At(int x, int y) const
    {
        ::GdiFlush();
        const uint32_t v = m_bits[y * m_width + x];
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    }
    // Fills the rectangle, the whole canvas when it is empty.
    void Fill(COLORREF c, RECT r = {})
    {
        if (::IsRectEmpty(&r))
            r = {0, 0, m_width, m_height};
        HBRUSH b = ::CreateSolidBrush(c);
        ::FillRect(m_dc, &r, b);
        ::DeleteObject(b);
    }
    std::vector<uint32_t> Pixels() const
    {
        ::GdiFlush();
        return std::vector<uint32_t>(m_bits, m_bits + m_width * m_height);
    }

private:
    int m_width, m_height;
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old;
    uint32_t* m_bits = nullptr;
};

} // namespace testsupport
