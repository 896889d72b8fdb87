#include "xf/xfToolBarButton.h"
#include <algorithm>
#include <gdiplus.h>
#include "common/DrawRoutines.h"
#include "common/DrawRoutinesDC.h"
#include "common/LocalizedString.h"
#include "common/ProductInfo.h"
#include "hybrid/HybridCtrl.h"
#include "xf/xfFrame.h"
#include "xf/xfPopupMenu.h"
#include "xf/xfResources.h"
#include "xf/xfToolBar.h"

namespace {

const COLORREF kHotFill = 0xFFF0F0;
const COLORREF kHotFrame = 0x800000;
const COLORREF kOpenFrame = 0x666666;
const COLORREF kDisabledText = 0xA3A3A3;

} // namespace

CxfToolBarButton::CxfToolBarButton(const SxfToolBarItem* item, CxfFrame* frame)
    : m_record(item), m_pPromptFrame(frame), m_mask(item->crMask)
{
    if (m_record->nType == XF_ITEM_BUTTON2)
        LoadImage(static_cast<UINT>(m_record->nParam));
    else
        SetImage(static_cast<UINT>(m_record->nParam), m_record->crMask);
    if (m_record->nParam2 != 0) {
        m_bHasText = true;
        CLocalizedString text;
        text.LoadString(m_record->nParam2);
        m_text = text;
    }
}

STDMETHODIMP CxfToolBarButton::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out,
                       {Primary(IID_IHybridContent), Primary(IID_IHybridButton),
                        SInterfaceEntry(IID_IxfRootMenuElement, static_cast<IxfRootMenuElement*>(this)),
                        SInterfaceEntry(IID_IxfHasID, static_cast<IxfHasID*>(this))});
}

void CxfToolBarButton::GetAnchorRect(RECT* out)
{
    if (!out)
        return;
    CRect rect = GetRect();
    if (CHybridCtrl* control = GetCtrl())
        control->ClientToScreen(&rect);
    *out = CRect(rect.left + 2, rect.top, rect.right - 2, rect.bottom);
}

void CxfToolBarButton::OnAttach()
{
    const uint64_t bits = GetStyleBits();
    SetCellStyleBits(static_cast<DWORD>(bits), static_cast<DWORD>(bits >> 32) | HBB_HOTTRACK);
}

bool CxfToolBarButton::OnLButtonDblClk(const CPoint& point)
{
    // A double click is a second click.
    OnLButtonDown(point);
    OnLButtonUp(point);
    return true;
}

void CxfToolBarButton::OnMouseEnter()
{
    CButtonContent::OnMouseEnter();
    if (m_pPromptFrame)
        m_pPromptFrame->SetMessageText(m_record->nID);
}

void CxfToolBarButton::OnMouseLeave()
{
    CButtonContent::OnMouseLeave();
    if (m_pPromptFrame)
        m_pPromptFrame->SetMessageText(0);
}

CxfToolBar* CxfToolBarButton::GetBar()
{
    CHybridCtrl* control = GetCtrl();
    return control ? dynamic_cast<CxfToolBar*>(control->GetParent()) : nullptr;
}

bool CxfToolBarButton::IsInVerticalBar()
{
    CxfToolBar* bar = GetBar();
    return bar && bar->IsVertical();
}

CSize CxfToolBarButton::ImageSize()
{
    if (Gdiplus::Bitmap* image = GetImage())
        return CSize(static_cast<int>(image->GetWidth()), static_cast<int>(image->GetHeight()));
    if (m_record->nType == XF_ITEM_BUTTON2)
        return CSize(0, 0);
    const SIZE size = GetBitmapResourceSize(static_cast<UINT>(GetImageId()));
    return CSize(size.cx, size.cy);
}

void CxfToolBarButton::DrawImage(CDC* dc, const CRect& box, int column)
{
    const CSize image = ImageSize();
    const int w = image.cx / 3;
    if (w <= 0)
        return;
    const CRect source(column * w, 0, (column + 1) * w, image.cy);
    if (Gdiplus::Bitmap* picture = GetImage()) {
        Gdiplus::Graphics graphics(dc->GetSafeHdc());
        const int x = box.left + (box.Width() - w) / 2, y = box.top + (box.Height() - image.cy) / 2;
        graphics.DrawImage(picture, Gdiplus::Rect(x, y, w, image.cy), source.left, 0, w, image.cy, Gdiplus::UnitPixel);
        return;
    }
    DrawBitmapTransparentCentred(static_cast<UINT>(GetImageId()), dc, &box, m_mask, &source);
}

void CxfToolBarButton::SetText(LPCWSTR text)
{
    const CString value = text ? text : L"";
    if (m_bHasText && value == m_text)
        return;
    m_text = value;
    m_bHasText = !m_text.IsEmpty();
    m_textSize = CSize(0, 0);
    CButtonContent::SetText(text);
    Invalidate();
}

void CxfToolBarButton::SetImage(UINT bitmapId, COLORREF colourKey)
{
    m_mask = colourKey;
    CButtonContent::SetImage(bitmapId, colourKey);
}

void CxfToolBarButton::DrawButtonText(CDC* dc, CRect rect, bool pressed, int imageWidth, int imageHeight)
{
    CHybridCtrl* control = GetCtrl();
    IHybridStyle* style = control ? control->GetDefaultStyle() : nullptr;
    CFontSelector font(dc, style ? style->GetFont() : nullptr);
    const CSize text = dc->GetTextExtent(m_text);
    const CSize bar = dc->GetTextExtent(L"|");
    m_textSize = CSize(text.cx, std::max(text.cy, bar.cy));
    if (rect.IsRectEmpty())
        return;
    if (pressed)
        rect.OffsetRect(1, 1);
    dc->SetBkMode(TRANSPARENT);
    dc->SetTextColor(IsEnabled() ? RGB(0, 0, 0) : kDisabledText);
    if (IsInVerticalBar()) {
        rect.top += imageHeight;
        dc->DrawText(m_text, &rect, DT_CENTER | DT_SINGLELINE);
    } else {
        rect.left += imageWidth / 3;
        dc->DrawText(m_text, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
}

void CxfToolBarButton::MeasureText()
{
    if (!m_bHasText || m_textSize.cx != 0)
        return;
    CDC dc;
    if (dc.CreateCompatibleDC(nullptr))
        DrawButtonText(&dc, CRect(0, 0, 0, 0), false, 0, 0);
}

void CxfToolBarButton::Draw(CDC* dc, CRect rect)
{
    const bool fill = !(GetStyleBits() & HCB_TRANSPARENT);
    CxfToolBar* bar = GetBar();
    if (!bar)
        return;
    const COLORREF barColour = bar->GetBkColor();
    if (fill) {
        CBrush brush(barColour);
        dc->FrameRect(&rect, &brush);
    }
    rect.left += 1;
    rect.top += 1;
    rect.right -= 1;
    if (!m_bDropDownOpen)
        rect.bottom -= 1;
    const bool enabled = IsEnabled();
    const bool down = enabled && (IsPressed() || IsLatched());
    const bool hot = enabled && IsHot();
    int column = 0;
    if (!enabled)
        column = 2;
    else if (!down && hot)
        column = 1;
    if (!down && !hot && !m_bDropDownOpen) {
        if (fill)
            dc->FillSolidRect(&rect, barColour);
    } else {
        dc->FillSolidRect(&rect, m_bDropDownOpen ? barColour : kHotFill);
        CBrush frame(m_bDropDownOpen ? kOpenFrame : kHotFrame);
        dc->FrameRect(&rect, &frame);
        if (m_bDropDownOpen)
            DrawLine(dc, rect.left + 1, rect.bottom - 1, rect.right - 1, rect.bottom - 1, barColour);
    }
    CRect inner = rect;
    if (down)
        inner.OffsetRect(1, 1);
    const CSize image = ImageSize();
    CRect box = IsInVerticalBar() ? CRect(inner.left, inner.top, inner.right, inner.top + image.cy)
                                  : CRect(inner.left, inner.top, inner.left + image.cx / 3 + 2, inner.bottom);
    DrawImage(dc, box, column);
    CRect textRect = inner;
    const UINT arrow = enabled ? IDB_XF_DROPDOWN : IDB_XF_DROPDOWN_DISABLED;
    if (IsSplitButton()) {
        const CRect arrowBox(inner.right - DropDownWidth, inner.top, inner.right, inner.bottom);
        DrawBitmapTransparentCentred(arrow, dc, &arrowBox, RGB(0xFF, 0xFF, 0xFF));
        if ((down || hot) && !m_bDropDownOpen)
            DrawLine(dc, rect.right - DropDownWidth, rect.top + 1, rect.right - DropDownWidth, rect.bottom - 1,
                     kHotFrame);
        textRect.right -= 9;
    } else if (IsDropDownOnly()) {
        const CRect arrowBox(inner.right - 9, inner.top + image.cy - 6, inner.right, inner.top + image.cy);
        DrawBitmapTransparentCentred(arrow, dc, &arrowBox, RGB(0xFF, 0xFF, 0xFF));
    }
    if (m_bHasText)
        DrawButtonText(dc, textRect, false, image.cx, image.cy);
}

int CxfToolBarButton::GetPreferredWidth()
{
    MeasureText();
    int w = ImageSize().cx / 3 + 6;
    if (IsInVerticalBar()) {
        if (m_textSize.cx + 4 > w)
            w = m_textSize.cx + 4;
    } else if (m_textSize.cx != 0) {
        w += m_textSize.cx + 4;
    }
    if (IsSplitButton())
        w += DropDownWidth;
    return w;
}

int CxfToolBarButton::GetPreferredHeight(int)
{
    MeasureText();
    const CSize image = ImageSize();
    if (IsInVerticalBar())
        return m_textSize.cy + image.cy + 6;
    return std::max(static_cast<int>(image.cy), static_cast<int>(m_textSize.cy)) + 6;
}

void CxfToolBarButton::OnClick()
{
    CButtonContent::OnClick();
    CHybridCtrl* control = GetCtrl();
    CxfControlBar* bar = control ? dynamic_cast<CxfControlBar*>(control->GetParent()) : nullptr;
    if (!bar || !bar->GetFrame())
        return;
    if (bar->HasParam(L"activator"))
        bar->GetFrame()->ActivateFrame();
    CxfFrame* top = bar->GetFrame()->GetTopFrame();
    top->SetActivator(static_cast<IHybridContent*>(this));
    if (IsSplitButton() || IsDropDownOnly()) {
        CPoint cursor;
        ::GetCursorPos(&cursor);
        control->ScreenToClient(&cursor);
        if (IsDropDownOnly() || cursor.x > GetRect().right - DropDownWidth) {
            OpenDropDown();
            return;
        }
    }
    ::PostMessageW(top->GetSafeHwnd(), WM_COMMAND, m_record->nID, 0);
}

void CxfToolBarButton::OpenDropDown()
{
    CHybridCtrl* control = GetCtrl();
    CxfControlBar* bar = control ? dynamic_cast<CxfControlBar*>(control->GetParent()) : nullptr;
    if (!bar || !bar->GetFrame())
        return;
    // The popup's run may outlive nothing of ours but the reference held here.
    CIPtr<IHybridContent> keep(static_cast<IHybridContent*>(this));
    m_bDropDownOpen = true;
    Invalidate();
    CRect rect = GetRect();
    control->ClientToScreen(&rect);
    const SxfMenuPath path(static_cast<UINT>(SProductInfo::GetPopupMenuId()), m_record->nSubMenu);
    CxfPopupMenu* popup =
        new CxfPopupMenu(this, nullptr, path, rect.left + 1, rect.bottom, bar->GetFrame()->GetTopFrame(), nullptr);
    popup->DoModal();
    delete popup;
    m_bDropDownOpen = false;
    Invalidate();
}
