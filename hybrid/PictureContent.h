#pragma once
// CPictureContent: one picture in a cell (type letter 'P'): an image file
// decoded by GDI+, a bitmap resource with a transparent colour (optionally a
// strip of normal, selected and disabled frames), an icon or a bitmap
// handle. It takes no input. Low style bit 0x40 puts the picture at the top;
// high bit 0x1 marks the resource as a strip of three.
#include <memory>
#include "hybrid/ContentBase.h"
#include "hybrid/IHybridPicture.h"

namespace Gdiplus {
class Image;
}

enum : DWORD {
    HPC_STRIP = 0x1,
    HPC_TOP_LOW = 0x40,
};

class CPictureContent : public CContentBase<IHybridPicture>
{
public:
    CPictureContent();
    ~CPictureContent() override;

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;

    WCHAR GetType() override { return L'P'; }
    void Draw(CDC* dc, CRect rect) override;
    int GetPreferredWidth() override;
    int GetPreferredHeight(int width) override;

    IHybridPicture* SetBitmapHandle(HBITMAP bitmap) override;
    IHybridPicture* SetBitmap(int bitmapId, COLORREF transparent) override;
    IHybridPicture* SetSelectedBitmap(int bitmapId, COLORREF transparent) override;
    IHybridPicture* SetIcon(HICON icon) override;
    void GetBitmap(int* bitmapId, COLORREF* transparent) override;
    IHybridPicture* SetFile(LPCWSTR path) override;

private:
    void Measure();
    void Forget() { m_size = CSize(-1, -1); }
    [[nodiscard]] bool IsStrip() { return (GetStyleBits() >> 32) & HPC_STRIP; }

    COLORREF m_transparent = 0;
    int m_bitmapId = -1;
    COLORREF m_selTransparent = 0;
    int m_selBitmapId = -1;
    CString m_file;
    HICON m_icon = nullptr;
    HBITMAP m_bitmap = nullptr;
    CSize m_size{-1, -1};
    std::unique_ptr<Gdiplus::Image> m_image;
};
