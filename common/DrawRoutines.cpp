#include "common/DrawRoutines.h"
#include <algorithm>
#include <optional>

#include "platform/mfc/afxwin.h"

CFontSelector::CFontSelector(HDC dc, HFONT font) : m_dc(dc), m_old(nullptr)
{
    // Selecting the font already in use would cost a font look-up for
    // nothing (and one more to put it back).
    if (dc && font && GetCurrentObject(dc, OBJ_FONT) != font)
        m_old = SelectObject(dc, font);
}

CFontSelector::~CFontSelector()
{
    if (m_old)
        SelectObject(m_dc, m_old);
}

CGdiObjectSelector::CGdiObjectSelector(HDC dc, HGDIOBJ object) : m_dc(dc), m_old(nullptr)
{
    if (dc && object)
        m_old = SelectObject(dc, object);
}

CGdiObjectSelector::~CGdiObjectSelector()
{
    Restore();
}

void CGdiObjectSelector::Restore()
{
    if (m_old) {
        SelectObject(m_dc, m_old);
        m_old = nullptr;
    }
}

CPenSelector::CPenSelector(HDC dc, int penStyle, int width, COLORREF colour)
    : m_dc(dc), m_pen(penStyle, width, colour), m_old(nullptr)
{
    if (m_dc && m_pen.GetSafeHandle())
        m_old = SelectObject(m_dc, m_pen);
}

CPenSelector::~CPenSelector()
{
    if (m_old)
        SelectObject(m_dc, m_old);
}

void DrawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF colour, int penStyle, int penWidth)
{
    CPenSelector pen(dc, penStyle, penWidth, colour);
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

SIZE GetBitmapSize(HBITMAP bitmap)
{
    BITMAP info{};
    if (!bitmap || GetObjectW(bitmap, sizeof(info), &info) != sizeof(info))
        return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

namespace {

// A bitmap loaded from the program's resources, deleted at scope end.
struct CLoadedBitmap
{
    explicit CLoadedBitmap(UINT id)
    {
        // A bitmap that does not load leaves handle null, which callers check.
        (void)bitmap.Attach(
            LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        handle = bitmap;
    }
    CBitmap bitmap;
    HBITMAP handle = nullptr;
};

// The program-wide cache of the transparent blits: an image and a mask
// memory device context and one monochrome mask, 1000 x 1000 at first. A
// larger blit grows the mask instead of masking only part of the image.
class CBlitCache
{
public:
    static CBlitCache& Get()
    {
        static CBlitCache cache;
        return cache;
    }
    HDC ImageDC() const { return m_imageDC; }
    HDC MaskDC() const { return m_maskDC; }
    // The mask bitmap, at least width x height; null when it can't be made.
    HBITMAP Mask(int width, int height)
    {
        if (width > m_maskWidth || height > m_maskHeight) {
            int w = std::max(width, m_maskWidth), h = std::max(height, m_maskHeight);
            CBitmap bigger;
            if (!bigger.CreateBitmap(w, h, 1, 1, nullptr))
                return nullptr;
            m_mask.DeleteObject();
            (void)m_mask.Attach(bigger.Detach()); // made just above: never null
            m_maskWidth = w;
            m_maskHeight = h;
        }
        return m_mask;
    }

private:
    CBlitCache()
    {
        // Without its contexts the cache's blits draw nothing; the next
        // paint tries the same again, so there is nothing more to do here.
        (void)m_imageDC.CreateCompatibleDC(nullptr);
        (void)m_maskDC.CreateCompatibleDC(nullptr);
        if (m_mask.CreateBitmap(kMaskSize, kMaskSize, 1, 1, nullptr))
            m_maskWidth = m_maskHeight = kMaskSize;
    }
    static constexpr int kMaskSize = 1000;
    CDC m_imageDC;
    CDC m_maskDC;
    CBitmap m_mask;
    int m_maskWidth = 0;
    int m_maskHeight = 0;
};

} // namespace

SIZE GetBitmapResourceSize(UINT resourceId)
{
    CLoadedBitmap bitmap(resourceId);
    return GetBitmapSize(bitmap.handle);
}

SIZE GetIconSize(HICON icon)
{
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info))
        return SIZE{0, 0};
    CBitmap mask, colour; // GetIconInfo hands out copies the caller deletes
    (void)mask.Attach(info.hbmMask);
    (void)colour.Attach(info.hbmColor); // null for a monochrome icon: nothing to delete
    return SIZE{static_cast<LONG>(info.xHotspot * 2), static_cast<LONG>(info.yHotspot * 2)};
}

void DrawFocusRectangle(HDC dc, const RECT& rect)
{
    RECT r = rect;
    if (r.left > r.right)
        std::swap(r.left, r.right);
    if (r.top > r.bottom)
        std::swap(r.top, r.bottom);
    if (r.right == r.left && r.bottom == r.top)
        return;
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkColor(dc, RGB(255, 255, 255));
    DrawFocusRect(dc, &r);
}

void TransparentBlitColourKey(HDC dest, int x, int y, int width, int height, HDC source, int sourceX, int sourceY,
                              COLORREF keyColour)
{
    if (!dest || !source || width <= 0 || height <= 0)
        return;
    CBlitCache& cache = CBlitCache::Get();
    HBITMAP mask = cache.Mask(width, height);
    if (!cache.MaskDC() || !mask)
        return;
    SetBkColor(dest, RGB(255, 255, 255));
    SetTextColor(dest, RGB(0, 0, 0));
    CGdiObjectSelector maskSelected(cache.MaskDC(), mask);
    COLORREF oldSourceBk = SetBkColor(source, keyColour);
    // Key-coloured pixels become 1 in the monochrome mask, all others 0.
    BitBlt(cache.MaskDC(), 0, 0, width, height, source, sourceX, sourceY, SRCCOPY);
    BitBlt(dest, x, y, width, height, source, sourceX, sourceY, SRCINVERT);
    BitBlt(dest, x, y, width, height, cache.MaskDC(), 0, 0, SRCAND);
    BitBlt(dest, x, y, width, height, source, sourceX, sourceY, SRCINVERT);
    SetBkColor(source, oldSourceBk);
}

void DrawBitmapTransparentCentred(UINT resourceId, HDC dc, const RECT& rect, COLORREF keyColour, const RECT* sourceRect)
{
    CLoadedBitmap bitmap(resourceId);
    SIZE size = GetBitmapSize(bitmap.handle);
    if (!bitmap.handle || (size.cx == 0 && size.cy == 0))
        return;
    int sx = 0, sy = 0, w = size.cx, h = size.cy;
    if (sourceRect) {
        sx = sourceRect->left;
        sy = sourceRect->top;
        w = sourceRect->right - sourceRect->left;
        h = sourceRect->bottom - sourceRect->top;
    }
    int x = rect.left + ((rect.right - rect.left) - w) / 2;
    int y = rect.top + ((rect.bottom - rect.top) - h) / 2;
    CBlitCache& cache = CBlitCache::Get();
    if (!cache.ImageDC())
        return;
    CGdiObjectSelector selected(cache.ImageDC(), bitmap.handle);
    TransparentBlitColourKey(dc, x, y, w, h, cache.ImageDC(), sx, sy, keyColour);
}

namespace {

// The off-screen bitmap gradients are drawn in before their one copy to the
// target, in the screen's format. Kept for the program's life and grown when a
// larger gradient comes: a screen context, a memory context and a bitmap made
// for every gradient cost more than drawing it (a progress bar draws two per
// repaint). Every pixel of the part that is copied is drawn anew each time.
class CGradientCache
{
public:
    static CGradientCache& Get()
    {
        static CGradientCache cache;
        return cache;
    }
    // The memory context with a bitmap of at least width x height selected;
    // null when either cannot be made.
    HDC Prepare(int width, int height)
    {
        if (width <= m_width && height <= m_height && m_dc.GetSafeHdc())
            return m_dc.GetSafeHdc();
        CClientDC screen(nullptr);
        if (!m_dc.GetSafeHdc() && !m_dc.CreateCompatibleDC(&screen))
            return nullptr;
        const int w = std::max(width, m_width), h = std::max(height, m_height);
        CBitmap bigger;
        if (!bigger.CreateCompatibleBitmap(&screen, w, h))
            return nullptr;
        // The context lets go of the old bitmap before it is deleted.
        ::SelectObject(m_dc.GetSafeHdc(), bigger.GetSafeHandle());
        m_bitmap.DeleteObject();
        (void)m_bitmap.Attach(bigger.Detach()); // made just above: never null
        m_width = w;
        m_height = h;
        return m_dc.GetSafeHdc();
    }

private:
    CGradientCache() = default;
    // The bitmap outlives the context it is selected in.
    CBitmap m_bitmap;
    CDC m_dc;
    int m_width = 0;
    int m_height = 0;
};

// The largest gradient drawn in the kept bitmap (at 32 bits a pixel, half a
// megabyte at most).
constexpr int kKeptGradientWidth = 2048;
constexpr int kKeptGradientHeight = 64;

// Fills one band of a gradient: the same pixels as a one-pixel pen line along
// its edge, without making a pen for every band.
void FillBand(HDC dc, int left, int top, int right, int bottom, COLORREF colour)
{
    const RECT band{left, top, right, bottom};
    ::SetBkColor(dc, colour);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &band, nullptr, 0, nullptr);
}

} // namespace

void DrawGradientRect(HDC dc, const RECT& rect, COLORREF from, COLORREF to, int direction)
{
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    if (!dc || width <= 0 || height <= 0 || direction < 1 || direction > 5)
        return;
    // Bands, cells and bars use the kept bitmap; a larger gradient (a window
    // background) gets one of its own for this drawing, so that the kept one
    // stays small.
    CDC ownDC;
    CBitmap ownBitmap;
    std::optional<CGdiObjectSelector> ownSelected;
    HDC memDC = nullptr;
    if (width <= kKeptGradientWidth && height <= kKeptGradientHeight) {
        memDC = CGradientCache::Get().Prepare(width, height);
    } else {
        CClientDC screen(nullptr);
        if (ownDC.CreateCompatibleDC(&screen) && ownBitmap.CreateCompatibleBitmap(&screen, width, height)) {
            ownSelected.emplace(ownDC.GetSafeHdc(), ownBitmap.GetSafeHandle());
            memDC = ownDC.GetSafeHdc();
        }
    }
    if (!memDC)
        return;
    double r = GetRValue(from), g = GetGValue(from), b = GetBValue(from);
    int n = 0;
    switch (direction) {
    case 1: n = width / 2; break;
    case 2: n = height / 2; break;
    case 3: n = width; break;
    default: n = height; break;
    }
    // A one-pixel-wide band has no steps: it keeps the start colour
    // instead of dividing by zero.
    const double dr = n ? (GetRValue(to) - r) / n : 0.0;
    const double dg = n ? (GetGValue(to) - g) / n : 0.0;
    const double db = n ? (GetBValue(to) - b) / n : 0.0;
    for (int i = 0; i <= n; ++i) {
        COLORREF c = RGB(static_cast<int>(r) & 0xFF, static_cast<int>(g) & 0xFF, static_cast<int>(b) & 0xFF);
        r += dr;
        g += dg;
        b += db;
        switch (direction) {
        case 1:
            FillBand(memDC, i, 0, i + 1, height, c);
            FillBand(memDC, width - i, 0, width - i + 1, height, c);
            break;
        case 2:
            FillBand(memDC, 0, i, width, i + 1, c);
            FillBand(memDC, 0, height - i, width, height - i + 1, c);
            break;
        case 3: FillBand(memDC, i, 0, i + 1, height, c); break;
        case 4: FillBand(memDC, 0, i, width, i + 1, c); break;
        case 5: FillBand(memDC, 0, height - i, width, height - i + 1, c); break;
        }
    }
    BitBlt(dc, rect.left, rect.top, width, height, memDC, 0, 0, SRCCOPY);
}

COLORREF ShadeColour(COLORREF colour, int amount)
{
    const int r = GetRValue(colour), g = GetGValue(colour), b = GetBValue(colour);
    if (amount == 255) {
        int v = static_cast<int>(r * 0.299 + g * 0.587 + b * 0.114) & 0xFF;
        return RGB(v, v, v);
    }
    auto shade = [amount](int c) {
        int v = c > amount ? c - amount : 0;
        return amount < 0 ? std::min(v, 255) : v;
    };
    return RGB(shade(r), shade(g), shade(b));
}

COLORREF LightenColour(COLORREF colour, int amount)
{
    return ShadeColour(colour, -amount);
}
