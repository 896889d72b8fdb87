// CxfToolBar: creation, item tables, layout, notifications and idle update.
#include "xf/xfToolBar.h"
#include <algorithm>
#include <cstddef>
#include <vector>
#include "hybrid/CellBuilder.h"
#include "xf/xfCentral.h"
#include "xf/xfCmdUI.h"
#include "xf/xfMenuStyle.h"
#include "xf/xfMessages.h"
#include "xf/xfToolBarContents.h"
#include "xf/xfToolBarItem.h"
#include "xf/xfToolbarBk.h"

IMPLEMENT_DYNAMIC(CxfToolBar, CxfControlBar)

BEGIN_MESSAGE_MAP(CxfToolBar, CxfControlBar)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

namespace {

// Sub-content kind of the root cell of a horizontal bar: items flow and
// wrap onto further lines.
const int kFlowKind = 3;
const COLORREF kItemSelBk = 0xFFF0F0;

// The item style: the system's menu font, bold or normal; a menu band's
// items select in the system's highlight colours.
CIPtr<IHybridStyle> MakeItemStyle(CHybridCtrl* control, bool bold, bool menuBand)
{
    return xfMakeMenuStyle(control, bold ? FW_BOLD : FW_NORMAL, menuBand, kItemSelBk);
}

} // namespace

CxfToolBar::CxfToolBar()
{
    m_nKind = KindToolBar;
}

CxfToolBar::~CxfToolBar()
{
    m_pHotElement = nullptr;
    m_stretch.RemoveAll();
    m_cells.RemoveAll();
    m_pRootCell = nullptr;
}

int CxfToolBar::GetBorderWidth()
{
    return 0;
}

COLORREF CxfToolBar::GetBkColor()
{
    return m_nBkKind == BkWhite ? RGB(0xFF, 0xFF, 0xFF) : ::GetSysColor(COLOR_BTNFACE);
}

void CxfToolBar::OnParam(SxfParam& param)
{
    CxfControlBar::OnParam(param);
    if (param.key == L"tb")
        m_nTableId = _wtoi(param.value);
    else if (param.key == L"menuBk")
        m_nBkKind = BkMenu;
    else if (param.key == L"whiteBk")
        m_nBkKind = BkWhite;
}

int CxfToolBar::OnCreate(LPCREATESTRUCT cs)
{
    if (CxfControlBar::OnCreate(cs) == -1)
        return -1;
    if (!m_ctrl.Create(this, ControlId, WS_TABSTOP))
        return -1;
    m_ctrl.SetSingleSelect(true);
    m_ctrl.SetShowScrollBar(false);
    m_ctrl.SetBkColor(GetBkColor(), false);
    CIPtr<IHybridContent> background(new CxfToolbarBk);
    CCellBuilder builder(&m_ctrl);
    builder.SetContent(background).ReturnCell(&m_pRootCell).SetStyleBits(HCB_TRANSPARENT);
    if (!IsVertical())
        builder.SetSubContentKind(kFlowKind);
    builder.AddContent();
    if (m_nTableId != -1)
        BuildItems(m_nTableId);
    return 0;
}

void CxfToolBar::OnSize(UINT type, int cx, int cy)
{
    if (m_ctrl.GetSafeHwnd())
        m_ctrl.MoveWindow(0, 0, cx, cy, TRUE);
    CxfControlBar::OnSize(type, cx, cy);
}

void CxfToolBar::OnDestroy()
{
    if (m_ctrl.GetSafeHwnd())
        m_ctrl.DestroyWindow();
    CWnd::OnDestroy();
}

bool CxfToolBar::InstallItem(IHybridContent* content, const SxfToolBarItem& item, IHybridStyle* style)
{
    const DWORD cellStyle = (item.dwFlags & XF_ITEMF_TOP) ? HCB_VTOP : HCB_VCENTER;
    DWORD low = cellStyle | HCB_TRANSPARENT;
    if (item.nType == XF_ITEM_SEPARATOR)
        low = HCB_VSTRETCH | HCB_TRANSPARENT;
    else if (item.nType == XF_ITEM_FRAMELIST || item.nType == XF_ITEM_TABS || item.nType == XF_ITEM_BRAND ||
             item.nType == XF_ITEM_SLIDER)
        low = HCB_TRANSPARENT;
    CIPtr<IHybridCell> cell;
    CCellBuilder(&m_ctrl)
        .SetParent(m_pRootCell)
        .SetContent(content)
        .SetStyleBits(low, 0)
        .SetStyle(style)
        .SetData(item.nType == XF_ITEM_MENU ? 0 : item.nID)
        .ReturnCell(&cell)
        .AddContent();
    if (!cell)
        return false;
    m_cells.Add(cell);
    return true;
}

void CxfToolBar::BuildItems(int table)
{
    SetBarID(table);
    m_ctrl.DetachCells(m_cells, true);
    m_stretch.RemoveAll();
    SetHotElement(nullptr);
    const SxfToolBarItem* items = CxfCentral::Get().GetToolBarItems(table);
    if (!items || !m_ctrl.GetSafeHwnd())
        return;
    for (const SxfToolBarItem* item = items; item->nType != XF_ITEM_END; ++item) {
        const bool bold = (item->dwFlags & XF_ITEMF_BOLD) != 0;
        CIPtr<IHybridStyle> style = MakeItemStyle(&m_ctrl, bold, item->nType == XF_ITEM_MENU);
        std::vector<CIPtr<IHybridContent>> contents;
        CreateItemContents(this, *item, contents);
        // An item that cannot be installed is left out (its content has no
        // cell, which the bold case below looks for); the bar shows the rest.
        for (const CIPtr<IHybridContent>& content : contents)
            (void)InstallItem(content, *item, style);
        IHybridContent* first = contents.empty() ? nullptr : contents.front().Get();
        if (bold && first) {
            if (!first->GetCell())
                break;
            first->GetCell()->SetStyle(m_ctrl.GetBoldStyle());
        }
        if (item->dwFlags & XF_ITEMF_STRETCH) {
            CIPtr<IStretchContent> stretch;
            if (!first || FAILED(stretch.QueryFrom(first, IID_IStretchContent)) || !stretch)
                break;
            m_stretch.Add(stretch);
        }
    }
    m_ctrl.RecalcLayout(false);
    SpreadSpareLength();
}

void CxfToolBar::SpreadSpareLength()
{
    const bool vertical = IsVertical();
    int fixed = 0;
    CIPtr<IHybridSubContent> sub;
    if (m_pRootCell && m_pRootCell->GetSubContent(&sub) && sub) {
        CCellArray children;
        sub->GetChildren(&children);
        for (INT_PTR i = 0; i < children.GetSize(); ++i) {
            CIPtr<IHybridContent> content;
            if (!children[i]->GetContent(&content) || !content)
                continue;
            CIPtr<IStretchContent> stretch;
            stretch.QueryFrom(content, IID_IStretchContent);
            if (stretch && m_stretch.Find(stretch) >= 0)
                continue;
            fixed += vertical ? content->GetPreferredHeight(10000) : content->GetPreferredWidth();
        }
    }
    int spare = (vertical ? m_rcInner.Height() : m_rcInner.Width()) - fixed;
    if (spare < 0)
        return;
    // The remainder of the division goes to the later items.
    int n = static_cast<int>(m_stretch.GetSize());
    for (INT_PTR i = 0; i < m_stretch.GetSize() && n > 0; ++i, --n) {
        const int share = spare / n;
        spare -= share;
        m_stretch[i]->SetLength(share);
    }
    m_ctrl.UpdateLayout(false);
}

void CxfToolBar::MeasureThickness()
{
    const bool vertical = IsVertical();
    m_nThickness = 0;
    for (INT_PTR i = 0; i < m_cells.GetSize(); ++i) {
        IHybridContent* content = m_cells[i]->GetContentPtr();
        if (!content)
            break;
        const int t = vertical ? content->GetPreferredWidth() : content->GetPreferredHeight(0);
        m_nThickness = std::max(m_nThickness, t);
    }
}

void CxfToolBar::RecalcLayout()
{
    MeasureThickness();
    CxfControlBar::RecalcLayout();
    if (m_ctrl.GetSafeHwnd() && m_ctrl.IsWindowVisible() && m_rcInner.Width() != 0) {
        m_ctrl.MoveWindow(&m_rcInner, TRUE);
        SpreadSpareLength();
        CheckWrap();
    }
}

void CxfToolBar::CheckWrap()
{
    if (!m_ctrl.GetSafeHwnd())
        return;
    // A nested flow (the tab strip's rows) gets its width during the pass,
    // after its height was measured at the width it had before: after a
    // resize the first pass places the rows, the second measures them.
    m_ctrl.RecalcLayout(false);
    m_ctrl.RecalcLayout(false);
    m_nWrappedHeight = m_ctrl.GetContentHeight();
    if (m_nWrappedHeight != m_rcInner.Height() && m_pFrame)
        m_pFrame->RequestLayout(false);
}

int CxfToolBar::GetDockExtent()
{
    if (m_nThickness == 0 && m_cells.GetSize() > 0)
        MeasureThickness();
    const int extent = !IsVertical() && m_nWrappedHeight != 0 ? m_nWrappedHeight : m_nThickness;
    return extent + 2 * GetBorderWidth();
}

int CxfToolBar::GetLength()
{
    if (m_nThickness == 0 && m_cells.GetSize() > 0)
        MeasureThickness();
    int length = 0;
    for (INT_PTR i = 0; i < m_cells.GetSize(); ++i)
        if (IHybridContent* content = m_cells[i]->GetContentPtr())
            length += content->GetPreferredWidth();
    return length;
}

void CxfToolBar::RemoveItemCell(IHybridCell* cell)
{
    for (INT_PTR i = 0; i < m_cells.GetSize(); ++i) {
        if (m_cells[i] == cell) {
            m_cells.RemoveAt(i);
            return;
        }
    }
}

bool CxfToolBar::FindContent(UINT commandId, IHybridContent** out)
{
    if (commandId == 0 || !out)
        return false;
    for (INT_PTR i = 0; i < m_cells.GetSize(); ++i) {
        IHybridContent* content = m_cells[i]->GetContentPtr();
        CIPtr<IxfHasID> hasId;
        if (content && SUCCEEDED(hasId.QueryFrom(content, IID_IxfHasID)) && hasId && hasId->GetID() == commandId) {
            return ReturnInterface(content, out);
        }
    }
    return false;
}

void CxfToolBar::OnIdleUpdate()
{
    CxfControlBar::OnIdleUpdate();
    CxfCmdUI::UpdateCellsCmdUI(GetTopFrame(), m_cells);
}

void CxfToolBar::ShowKeyboardCues(bool)
{
    CIArray<IxfHorMenuElement> elements;
    GetMenuElements(elements);
    for (INT_PTR i = 0; i < elements.GetSize(); ++i)
        elements[i]->Invalidate();
}

void CxfToolBar::PaintSplitters(CDC* dc)
{
    PaintBar(dc, true);
}

LRESULT CxfToolBar::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_HYBRID_NOTIFY:
        if (wParam == HN_COMBO_CHANGED || wParam == HN_EDIT_ENTER || wParam == HN_SLIDER_POSITION) {
            IHybridCell* cell = reinterpret_cast<IHybridCell*>(lParam);
            if (cell)
                ::PostMessageW(GetTopFrame()->GetSafeHwnd(), WM_COMMAND, static_cast<WPARAM>(cell->GetData()), 0);
            return 0;
        }
        break;
    case WM_HYBRID_ITEMPRESSED: return 0;
    case XFM_FRAMELISTCHANGED: CheckWrap(); return 0;
    case XFM_OPENHOTMENU:
        if (m_pHotElement)
            m_pHotElement->OpenMenu(true, true);
        break;
    default: break;
    }
    return CxfControlBar::WindowProc(message, wParam, lParam);
}
