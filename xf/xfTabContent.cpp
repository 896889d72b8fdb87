#include "xf/xfTabContent.h"
#include <algorithm>
#include "common/DrawRoutinesDC.h"
#include "common/MiniSkin.h"
#include "hybrid/CellBuilder.h"
#include "hybrid/ContentDrawing.h"
#include "xf/xfResources.h"
#include "xf/xfToolBar.h"
#include "xf/xfToolBarContents.h"

namespace {

const COLORREF kSkinKey = RGB(0xFF, 0, 0);
const COLORREF kInactiveText = 0x505050;

bool IsSideways(int side)
{
    return side == CxfFrame::SideLeft || side == CxfFrame::SideRight;
}

} // namespace

// ---- the strip ----------------------------------------------------------------

STDMETHODIMP CxfTabContent::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out,
                       {Primary(IID_IHybridContent), Primary(IID_IStretchContent), Primary(IID_IxfTab),
                        SInterfaceEntry(IID_IxfHasID, static_cast<IxfHasID*>(this))});
}

IStretchContent* CxfTabContent::SetLength(int length)
{
    m_nStretch = length;
    return this;
}

int CxfTabContent::GetTabCount()
{
    return m_tabs.GetSize() == m_data.GetSize() ? static_cast<int>(m_tabs.GetSize()) : 0;
}

void CxfTabContent::RemoveAllTabs()
{
    if (CHybridCtrl* control = GetCtrl())
        control->DetachCells(m_tabs, true);
    m_tabs.RemoveAll();
    m_data.RemoveAll();
}

void CxfTabContent::AddTab(LPCWSTR text, UINT bitmapId, COLORREF mask, DWORD data)
{
    CHybridCtrl* control = GetCtrl();
    CxfToolBar* bar = ParentOf<CxfToolBar>(control);
    if (!m_pRow || !bar)
        return;
    CIPtr<CxfTabEntryContent> entry(new CxfTabEntryContent(bar->m_dock.side));
    CIPtr<IHybridCell> cell;
    CCellBuilder(control).SetParent(m_pRow).SetContent(static_cast<IxfTabEntry*>(entry)).ReturnCell(&cell).AddContent();
    if (!cell)
        return;
    m_tabs.Add(cell);
    m_data.Add(data);
    entry->SetText(text);
    if (bitmapId != 0)
        entry->SetPicture(bitmapId, mask);
    bar->RequestLayout(false);
}

DWORD CxfTabContent::GetTabData(int index)
{
    return index >= 0 && index < m_data.GetSize() ? m_data[index] : 0;
}

void CxfTabContent::SetActiveTab(int index)
{
    CHybridCtrl* control = GetCtrl();
    for (INT_PTR i = 0; i < m_tabs.GetSize(); ++i)
        m_tabs[i]->SetSelected(false, false);
    if (control)
        control->SetActiveCell(nullptr, false);
    if (index < 0 || index >= m_tabs.GetSize())
        return;
    m_tabs[index]->SetSelected(true, false);
    if (control)
        control->SetActiveCell(m_tabs[index], false);
}

int CxfTabContent::GetActiveTab()
{
    for (INT_PTR i = 0; i < m_tabs.GetSize(); ++i)
        if (m_tabs[i]->IsSelected())
            return static_cast<int>(i);
    return -1;
}

void CxfTabContent::OnAttach()
{
    CHybridCtrl* control = GetCtrl();
    if (ParentOf<CxfToolBar>(control))
        CreateFlowRow(control, m_cell, &m_pRow);
}

void CxfTabContent::Draw(CDC* dc, CRect rect)
{
    if (m_cell && !(GetStyleBits() & HCB_TRANSPARENT))
        dc->FillSolidRect(&rect, GetBkColor());
}

int CxfTabContent::GetPreferredWidth()
{
    if (m_item.HasFlag(XF_ITEMF_STRETCH))
        return m_nStretch;
    CxfToolBar* bar = ParentOf<CxfToolBar>(GetCtrl());
    if (!bar)
        return 0;
    int width = 0;
    for (INT_PTR i = 0; i < m_tabs.GetSize(); ++i) {
        const int w = m_tabs[i]->GetPreferredWidth();
        width = bar->IsVertical() ? std::max(width, w) : width + w;
    }
    return width;
}

int CxfTabContent::GetPreferredHeight(int)
{
    int height = 0;
    for (INT_PTR i = 0; i < m_tabs.GetSize(); ++i)
        if (IHybridContent* content = m_tabs[i]->GetContentPtr())
            height = std::max(height, content->GetPreferredHeight(0));
    return height;
}

LRESULT CxfTabContent::OnChildNotify(UINT code, IHybridCell*, bool* handled)
{
    if (code != HN_CURRENT)
        return 0;
    Invalidate();
    CHybridCtrl* control = GetCtrl();
    CxfFrame* bar = ParentOf<CxfFrame>(control);
    if (control && bar && control->GetSelectedCell()) {
        ::PostMessageW(bar->GetTopFrame()->GetSafeHwnd(), WM_COMMAND, m_item->nID, 0);
        if (handled)
            *handled = true;
    }
    return 0;
}

// ---- one tab ------------------------------------------------------------------

STDMETHODIMP CxfTabEntryContent::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out, {Primary(IID_IHybridContent), Primary(IID_IxfTabEntry)});
}

void CxfTabEntryContent::RequestFrameLayout()
{
    if (CxfFrame* frame = ParentOf<CxfFrame>(GetCtrl()))
        frame->RequestLayout(false);
}

void CxfTabEntryContent::SetText(LPCWSTR text)
{
    if (!text || m_strText == text)
        return;
    m_strText = text;
    m_cx = m_cy = 0;
    RequestFrameLayout();
}

void CxfTabEntryContent::SetPicture(UINT bitmapId, COLORREF mask)
{
    m_nBitmap = bitmapId;
    m_crMask = mask;
    const SIZE size = GetBitmapResourceSize(bitmapId);
    m_picture = CSize(size.cx, size.cy);
    m_cx = m_cy = 0;
}

void CxfTabEntryContent::Measure()
{
    if (m_cx != 0 && m_cy != 0)
        return;
    CHybridCtrl* control = GetCtrl();
    if (!control)
        return;
    const CSize extent = MeasureStyleText(control, control->GetBoldStyle(), m_strText);
    m_cx = extent.cx + 10;
    m_cy = extent.cy + 10;
    if (m_nBitmap != 0) {
        if (IsSideways(m_nSide)) {
            m_cy += m_picture.cy;
            m_cx = std::max<int>(m_cx, m_picture.cx + 10);
        } else {
            m_cx += m_picture.cx;
            m_cy = std::max<int>(m_cy, m_picture.cy + 10);
        }
    }
}

int CxfTabEntryContent::GetPreferredWidth()
{
    Measure();
    return m_cx;
}

int CxfTabEntryContent::GetPreferredHeight(int)
{
    Measure();
    return m_cy;
}

void CxfTabEntryContent::SplitRect(const CRect& rect, CRect& picture, CRect& text) const
{
    picture = text = rect;
    if (m_nBitmap == 0) {
        picture.SetRectEmpty();
        return;
    }
    if (IsSideways(m_nSide)) {
        picture.bottom = picture.top + m_picture.cy + 5;
        text.top = picture.bottom;
    } else {
        picture.right = picture.left + m_picture.cx + 5;
        text.left = picture.right;
    }
}

void CxfTabEntryContent::Draw(CDC* dc, CRect rect)
{
    CHybridCtrl* control = GetCtrl();
    if (!control)
        return;
    const bool selected = IsSelected();
    UINT bitmap = 0, skinText = 0;
    switch (m_nSide) {
    case CxfFrame::SideTop:
        bitmap = selected ? IDB_XF_TAB_TOP_SEL : IDB_XF_TAB_TOP;
        skinText = IDS_XF_TAB_TOP_SKIN;
        break;
    case CxfFrame::SideRight:
        bitmap = selected ? IDB_XF_TAB_RIGHT_SEL : IDB_XF_TAB_RIGHT;
        skinText = IDS_XF_TAB_RIGHT_SKIN;
        break;
    case CxfFrame::SideBottom:
        bitmap = selected ? IDB_XF_TAB_BOTTOM_SEL : IDB_XF_TAB_BOTTOM;
        skinText = IDS_XF_TAB_BOTTOM_SKIN;
        break;
    default: break; // a bar on the left draws no skin
    }
    if (bitmap != 0) {
        CMiniSkin skin(bitmap, kSkinKey, skinText);
        skin.Draw(dc, rect);
    }
    Measure();
    CRect picture, text;
    SplitRect(rect, picture, text);
    if (m_nBitmap != 0)
        DrawBitmapTransparentCentred(m_nBitmap, dc, &picture, m_crMask);
    IHybridStyle* style = selected ? control->GetBoldStyle() : control->GetDefaultStyle();
    CFontSelector font(dc->GetSafeHdc(), StyleFont(style));
    dc->SetTextColor(selected ? RGB(0, 0, 0) : kInactiveText);
    dc->SetBkMode(TRANSPARENT);
    dc->DrawText(m_strText, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}
