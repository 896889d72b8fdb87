#include "hybrid/PictureContent.h"
#include <gdiplus.h>
#include "common/DrawRoutines.h"

CPictureContent::CPictureContent() = default;
CPictureContent::~CPictureContent() = default;

STDMETHODIMP CPictureContent::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out, {Primary(IID_IHybridContent), Primary(IID_IHybridPicture)});
}

IHybridPicture* CPictureContent::SetBitmapHandle(HBITMAP bitmap)
{
    if (bitmap == m_bitmap)
        return this;
    m_bitmap = bitmap;
    m_bitmapId = -1;
    m_icon = nullptr;
    Forget();
    Invalidate();
    return this;
}

IHybridPicture* CPictureContent::SetBitmap(int bitmapId, COLORREF transparent)
{
    if (bitmapId == m_bitmapId && transparent == m_transparent)
        return this;
    m_bitmapId = bitmapId;
    m_transparent = transparent;
    m_icon = nullptr;
    Forget();
    Invalidate();
    return this;
}

IHybridPicture* CPictureContent::SetSelectedBitmap(int bitmapId, COLORREF transparent)
{
    if (bitmapId == m_selBitmapId && transparent == m_selTransparent)
        return this;
    m_selBitmapId = bitmapId;
    m_selTransparent = transparent;
    Forget();
    Invalidate();
    return this;
}

IHybridPicture* CPictureContent::SetIcon(HICON icon)
{
    if (icon == m_icon)
        return this;
    const bool hadIcon = m_icon != nullptr;
    m_icon = icon;
    if (!hadIcon) {
        Forget();
        RequestRelayout();
    } else {
        Invalidate();
    }
    return this;
}

void CPictureContent::GetBitmap(int* bitmapId, COLORREF* transparent)
{
    if (bitmapId)
        *bitmapId = m_bitmapId;
    if (transparent)
        *transparent = m_transparent;
}

IHybridPicture* CPictureContent::SetFile(LPCWSTR path)
{
    if (!path || m_file == path)
        return this;
    m_file = path;
    m_image = std::make_unique<Gdiplus::Image>(path);
    Forget();
    Invalidate();
    return this;
}

void CPictureContent::Measure()
{
    if (m_size.cx >= 0 && m_size.cy >= 0)
        return;
    m_size.cx = 1;
    if (m_image) {
        // An image GDI+ cannot decode answers 0 x 0.
        m_size = CSize(static_cast<int>(m_image->GetWidth()), static_cast<int>(m_image->GetHeight()));
    } else if (m_bitmapId != -1) {
        const SIZE size = GetBitmapResourceSize(static_cast<UINT>(m_bitmapId));
        m_size = CSize(IsStrip() ? size.cx / 3 : size.cx, size.cy);
    } else if (m_icon) {
        const SIZE size = GetIconSize(m_icon);
        m_size = CSize(size.cx, size.cy);
    } else if (m_bitmap) {
        const SIZE size = GetBitmapSize(m_bitmap);
        m_size = CSize(size.cx, size.cy);
    } else {
        // No source: one pixel wide and no height of its own.
        m_size.cy = 0;
    }
}

int CPictureContent::GetPreferredWidth()
{
    Measure();
    return m_size.cx;
}

int CPictureContent::GetPreferredHeight(int)
{
    Measure();
    return m_size.cy;
}

void CPictureContent::Draw(CDC* dc, CRect rect)
{
    const HDC hdc = dc->GetSafeHdc();
    Measure();
    if (!(GetStyleBits() & HCB_TRANSPARENT))
        dc->FillSolidRect(&rect, GetStateBkColor());
    const int top = (GetStyleBits() & HPC_TOP_LOW) ? rect.top : rect.top + (rect.Height() - m_size.cy) / 2;
    const CRect band(rect.left, top, rect.right, top + m_size.cy);
    const int left = rect.left + (rect.Width() - m_size.cx) / 2;
    if (m_image) {
        Gdiplus::Graphics graphics(hdc);
        graphics.DrawImage(m_image.get(), left, top, m_size.cx, m_size.cy);
        return;
    }
    if (m_bitmapId == -1 && m_selBitmapId == -1) {
        if (m_icon) {
            ::DrawIconEx(hdc, left, top, m_icon, m_size.cx, m_size.cy, 0, nullptr, DI_NORMAL);
        } else if (m_bitmap) {
            CDC memory;
            if (memory.CreateCompatibleDC(dc)) {
                CGdiObjectSelector select(memory.GetSafeHdc(), m_bitmap);
                ::BitBlt(hdc, rect.left, top, rect.Width(), band.Height(), memory.GetSafeHdc(), 0, 0, SRCCOPY);
            }
        }
        return;
    }
    int id = m_bitmapId;
    COLORREF key = m_transparent;
    CRect source(0, 0, m_size.cx, m_size.cy);
    if (IsStrip()) {
        if (!IsEnabled())
            source.OffsetRect(2 * m_size.cx, 0);
        else if (IsSelected())
            source.OffsetRect(m_size.cx, 0);
    }
    if (IsSelected() && m_selBitmapId != -1) {
        id = m_selBitmapId;
        key = m_selTransparent;
    }
    if (id != -1)
        DrawBitmapTransparentCentred(static_cast<UINT>(id), hdc, band, key, &source);
}
