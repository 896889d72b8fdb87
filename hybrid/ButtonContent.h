#pragma once
// CButtonContent: the toolkit's push button (type letter 'B'), showing a
// text or a bitmap picture, pressed by the mouse or Space, with optional hot
// and latched looks. Notifications: 25 pressed, 26 released, 24 clicked.
#include <memory>
#include "common/LocalizedString.h"
#include "common/MiniSkin.h"
#include "hybrid/ContentBase.h"
#include "hybrid/IHybridButton.h"

namespace Gdiplus {
class Bitmap;
}

// High style bits of a button.
enum : DWORD {
    HBB_HOTTRACK = 0x1,  // toolbar look: skin while hot, pressed or latched
    HBB_STRIP = 0x2,     // the bitmap holds normal, pressed and disabled pictures
    HBB_PRESSONLY = 0x4, // a press only sends 25
};
// Low style bit: with HCB_TRANSPARENT and without hot tracking, no frame.
constexpr DWORD HBB_NOFRAME_LOW = 0x8;

class CButtonContent : public CContentBase<IHybridButton>
{
public:
    CButtonContent();
    ~CButtonContent() override;

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;

    WCHAR GetType() override { return L'B'; }
    [[nodiscard]] bool CanFocus() override { return true; }
    LPCTSTR GetToolTipText() override;
    void Draw(CDC* dc, CRect rect) override;
    void OnMouseMove(const CPoint& point) override;
    bool OnLButtonDown(const CPoint& point) override;
    void OnLButtonUp(const CPoint& point) override;
    void OnMouseEnter() override { SetHot(true); }
    void OnMouseLeave() override { SetHot(false); }
    void OnEnable(bool enabled) override;
    bool OnKeyDown(UINT virtualKey, UINT keyData) override;
    void OnKeyUp(UINT virtualKey, UINT keyData) override;
    int GetPreferredWidth() override;
    int GetPreferredHeight(int width) override;

    void SetText(LPCWSTR text) override;
    void SetTextID(UINT id) override;
    void SetImage(UINT bitmapId, COLORREF colourKey) override;
    void LoadImage(UINT pngId) override;
    void SetLatched(bool latched) override;
    [[nodiscard]] bool IsLatched() override { return m_latched; }

    // Sends 24; a derived button may do something else on a click.
    virtual void OnClick();

    [[nodiscard]] bool IsPressed() const { return m_pressed; }
    [[nodiscard]] bool IsHot() const { return m_hot; }
    // The bitmap resource of SetImage, -1 without one.
    int GetImageId() const { return m_bitmapId; }
    // The picture made by LoadImage, or null.
    Gdiplus::Bitmap* GetImage() const { return m_image.get(); }

protected:
    void SetPressed(bool pressed);
    CSize GetSize();

private:
    void SetHot(bool hot);
    void DeleteImage();
    DWORD HighBits() { return static_cast<DWORD>(GetStyleBits() >> 32); }

    CLocalizedString m_text;
    int m_bitmapId = -1;
    COLORREF m_colourKey = 0;
    bool m_pngLoaded = false;
    bool m_pressed = false;
    bool m_hot = false;
    bool m_latched = false;
    // Space went down on this button and its release is still to come.
    bool m_spaceDown = false;
    CSize m_size{0, 0};
    // The stream over the PNG bytes that the image reads from (declared
    // first: it outlives the image).
    CIPtr<IStream> m_imageStream;
    std::unique_ptr<Gdiplus::Bitmap> m_image;
    std::unique_ptr<CMiniSkin> m_skin;
    std::unique_ptr<CMiniSkin> m_latchedSkin;
};
