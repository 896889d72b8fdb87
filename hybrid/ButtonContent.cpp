#include "hybrid/ButtonContent.h"
#include <algorithm>
#include <gdiplus.h>
#include "common/DrawRoutines.h"
#include "common/ResLoader.h"
#include "common/ScopedHandle.h"
#include "hybrid/ContentDrawing.h"
#include "hybrid/HybridResources.h"

namespace {

const COLORREF kSkinKey = 0x0000FF;

} // namespace

CButtonContent::CButtonContent() = default;

CButtonContent::~CButtonContent()
{
    DeleteImage();
}

STDMETHODIMP CButtonContent::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out, {Primary(IID_IHybridContent), Primary(IID_IHybridButton)});
}

void CButtonContent::DeleteImage()
{
    m_image.reset();
    m_imageStream = nullptr; // frees the bytes the image read from
}

void CButtonContent::SetText(LPCWSTR text)
{
    if (!text || m_text == text)
        return;
    m_text = text;
    Invalidate();
}

void CButtonContent::SetTextID(UINT id)
{
    CLocalizedString text;
    text.LoadString(id);
    SetText(text);
}

void CButtonContent::SetImage(UINT bitmapId, COLORREF colourKey)
{
    if (static_cast<int>(bitmapId) == m_bitmapId)
        return;
    m_pngLoaded = false;
    m_bitmapId = static_cast<int>(bitmapId);
    m_colourKey = colourKey;
    const SIZE size = GetBitmapResourceSize(bitmapId);
    m_size = CSize(size.cx, size.cy);
    Invalidate();
    DeleteImage();
}

void CButtonContent::LoadImage(UINT pngId)
{
    CResLoader resource;
    if (!resource.Load(L"PNG", pngId) || !resource.GetData())
        return;
    CGlobalHandle block(::GlobalAlloc(GMEM_MOVEABLE, resource.GetSize()));
    if (!block)
        return;
    void* bytes = ::GlobalLock(block.Get());
    if (!bytes)
        return;
    memcpy(bytes, resource.GetData(), resource.GetSize());
    ::GlobalUnlock(block.Get());
    m_pngLoaded = true;
    // The stream owns the block from here on and keeps it for as long as the
    // image may read from it (both go together in DeleteImage).
    CIPtr<IStream> stream;
    if (FAILED(::CreateStreamOnHGlobal(block.Get(), TRUE, &stream)) || !stream)
        return;
    block.Detach();
    DeleteImage();
    m_imageStream = stream;
    m_image = std::make_unique<Gdiplus::Bitmap>(stream.Get(), FALSE);
    m_size = CSize(static_cast<int>(m_image->GetWidth()), static_cast<int>(m_image->GetHeight()));
}

void CButtonContent::SetLatched(bool latched)
{
    if (latched == m_latched)
        return;
    m_latched = latched;
    Invalidate();
}

void CButtonContent::OnClick()
{
    NotifyCell(HN_BUTTON_CLICKED);
}

void CButtonContent::SetPressed(bool pressed)
{
    if (pressed == m_pressed)
        return;
    m_pressed = pressed;
    Invalidate();
    NotifyCell(pressed ? HN_BUTTON_PRESSED : HN_BUTTON_RELEASED);
}

void CButtonContent::SetHot(bool hot)
{
    if (HasMouseCapture() || !(HighBits() & HBB_HOTTRACK))
        return;
    m_hot = hot;
    Invalidate();
}

CSize CButtonContent::GetSize()
{
    if (m_size.cx == 0 && m_size.cy == 0) {
        if (m_bitmapId != -1) {
            const SIZE size = GetBitmapResourceSize(static_cast<UINT>(m_bitmapId));
            m_size = CSize(size.cx, size.cy);
        } else if (!m_text.IsEmpty() && GetCtrl() && GetCtrl()->GetSafeHwnd()) {
            CClientDC dc(GetCtrl());
            SIZE extent{0, 0};
            ::GetTextExtentPoint32W(dc.GetSafeHdc(), m_text, m_text.GetLength(), &extent);
            m_size = CSize(extent.cx, extent.cy);
        }
    }
    return m_size;
}

int CButtonContent::GetPreferredWidth()
{
    const CSize size = GetSize();
    return ((HighBits() & HBB_STRIP) ? size.cx / 3 : size.cx) + 4;
}

int CButtonContent::GetPreferredHeight(int)
{
    return GetSize().cy + 4;
}

LPCTSTR CButtonContent::GetToolTipText()
{
    return m_bitmapId != -1 && !m_text.IsEmpty() ? static_cast<LPCTSTR>(m_text) : nullptr;
}

bool CButtonContent::OnLButtonDown(const CPoint&)
{
    if (HighBits() & HBB_PRESSONLY) {
        NotifyCell(HN_BUTTON_PRESSED);
        return true;
    }
    CaptureMouse();
    SetPressed(true);
    return true;
}

void CButtonContent::OnMouseMove(const CPoint& point)
{
    if (!HasMouseCapture())
        return;
    const bool inside = GetRect().PtInRect(point) != FALSE;
    if (inside != m_pressed)
        SetPressed(inside);
}

void CButtonContent::OnLButtonUp(const CPoint&)
{
    if (!HasMouseCapture())
        return;
    ReleaseMouse();
    if (m_pressed)
        OnClick();
    SetPressed(false);
}

void CButtonContent::OnEnable(bool enabled)
{
    // A button disabled while Space holds it down must not click when the
    // key comes up.
    if (!enabled) {
        m_spaceDown = false;
        SetPressed(false);
    }
}

bool CButtonContent::OnKeyDown(UINT virtualKey, UINT)
{
    if (virtualKey != VK_SPACE)
        return false;
    m_spaceDown = true;
    if (!m_pressed)
        SetPressed(true);
    return true;
}

void CButtonContent::OnKeyUp(UINT virtualKey, UINT)
{
    // Only the release of a press made on this button clicks it.
    if (virtualKey != VK_SPACE || !m_spaceDown || !m_pressed)
        return;
    m_spaceDown = false;
    OnClick();
    SetPressed(false);
}

void CButtonContent::Draw(CDC* dc, CRect rect)
{
    const HDC hdc = dc->GetSafeHdc();
    const DWORD high = HighBits();
    const DWORD low = static_cast<DWORD>(GetStyleBits());
    if (high & HBB_HOTTRACK) {
        if (m_hot || m_pressed || m_latched) {
            std::unique_ptr<CMiniSkin>& skin = m_latched ? m_latchedSkin : m_skin;
            if (!skin)
                skin.reset(new CMiniSkin(m_latched ? IDB_HYBRID_HOT_SKIN_LATCHED : IDB_HYBRID_HOT_SKIN, kSkinKey,
                                         IDS_HYBRID_HOT_SKIN_GRID));
            skin->Draw(dc, rect);
        } else if (!(low & HCB_TRANSPARENT)) {
            dc->FillSolidRect(&rect, GetBkColor());
        }
    } else if (low & HCB_TRANSPARENT) {
        if (!(low & HBB_NOFRAME_LOW))
            dc->Draw3dRect(&rect, m_pressed ? HYBRID_SHADOW : HYBRID_LIGHT, m_pressed ? HYBRID_LIGHT : HYBRID_SHADOW);
    } else {
        CRect face(rect);
        ::DrawFrameControl(hdc, &face, DFC_BUTTON, DFCS_BUTTONPUSH | (m_pressed ? DFCS_PUSHED : 0));
    }
    if (m_pressed)
        rect.OffsetRect(1, 1);
    if (m_bitmapId == -1) {
        CFontSelector font(hdc, StyleFont(GetStyle()));
        ::SetBkMode(hdc, TRANSPARENT);
        ::SetTextColor(hdc, IsEnabled() ? GetTextColor() : HYBRID_SHADOW);
        ::DrawTextW(hdc, m_text, m_text.GetLength(), &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        return;
    }
    const CSize size = GetSize();
    CRect source(0, 0, size.cx, size.cy);
    if (high & HBB_STRIP) {
        const int third = size.cx / 3;
        source.right = third;
        if (!IsEnabled())
            source.OffsetRect(2 * third, 0);
        else if (m_pressed)
            source.OffsetRect(third, 0);
    }
    DrawBitmapTransparentCentred(static_cast<UINT>(m_bitmapId), hdc, rect, m_colourKey, &source);
}
