#include "xf/xfFrameListContent.h"
#include <algorithm>
#include "common/DrawRoutinesDC.h"
#include "hybrid/CellBuilder.h"
#include "hybrid/ContentDrawing.h"
#include "xf/xfDocController.h"
#include "xf/xfMessages.h"
#include "xf/xfResources.h"
#include "xf/xfToolBar.h"
#include "xf/xfToolBarContents.h"

namespace {

// Unframed items placed at the bottom of their row.
const DWORD kTabStyle = HCB_ITEM | HCB_VBOTTOM | HCB_NOFRAME;
const COLORREF kActiveTop = 0x2C8BE6;
const COLORREF kActiveGlow = 0x3CC8FF;
const COLORREF kInactiveText = 0xA3A3A3;

CxfController* ControllerOf(IHybridCell* cell)
{
    return cell ? reinterpret_cast<CxfController*>(cell->GetData()) : nullptr;
}

} // namespace

// ---- the list -------------------------------------------------------------------

STDMETHODIMP CxfFrameListContent::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out,
                       {Primary(IID_IHybridContent), Primary(IID_IxfFrameListContent), Primary(IID_IStretchContent)});
}

IStretchContent* CxfFrameListContent::SetLength(int length)
{
    m_nStretch = length;
    RequestRelayout();
    return this;
}

void CxfFrameListContent::OnAttach()
{
    CreateFlowRow(GetCtrl(), m_cell, &m_pRowCell);
}

void CxfFrameListContent::PostHeightChanged()
{
    CHybridCtrl* control = GetCtrl();
    if (CWnd* bar = control ? control->GetParent() : nullptr)
        bar->PostMessage(XFM_FRAMELISTCHANGED, 0, 0);
}

int CxfFrameListContent::IndexOf(CxfController* controller) const
{
    for (INT_PTR i = 0; i < m_cells.GetSize(); ++i)
        if (ControllerOf(m_cells[i]) == controller)
            return static_cast<int>(i);
    return -1;
}

void CxfFrameListContent::AddEntry(CxfController* controller)
{
    CHybridCtrl* control = GetCtrl();
    if (!control || !controller || !m_pRowCell)
        return;
    CIPtr<IHybridContent> entry(static_cast<IxfFrameListEntry*>(new CxfFrameListEntry));
    CIPtr<IHybridCell> cell;
    CCellBuilder(control)
        .SetParent(m_pRowCell)
        .SetData(reinterpret_cast<DWORD_PTR>(controller))
        .SetStyleBits(kTabStyle, 0)
        .SetContent(entry)
        .ReturnCell(&cell)
        .AddContent();
    if (!cell)
        return;
    m_cells.Add(cell);
    if (m_cells.GetSize() == 1)
        Activate(controller);
    UpdateTitles();
    PostHeightChanged();
}

void CxfFrameListContent::RemoveEntry(CxfController* controller)
{
    CHybridCtrl* control = GetCtrl();
    int i = IndexOf(controller);
    if (i < 0 || !control)
        return;
    control->DetachCell(m_cells[i]);
    m_cells.RemoveAt(i);
    PostHeightChanged();
    if (i >= m_cells.GetSize())
        --i;
    if (i >= 0) {
        // The control's current-cell notification activates the tab's frame.
        m_cells[i]->SetSelected(true, true);
        control->SetActiveCell(m_cells[i], false, false);
    }
}

void CxfFrameListContent::RemoveAll()
{
    if (CHybridCtrl* control = GetCtrl())
        control->DetachCells(m_cells, true);
    m_cells.RemoveAll();
}

void CxfFrameListContent::UpdateTitles()
{
    for (INT_PTR i = 0; i < m_cells.GetSize(); ++i) {
        IHybridCell* cell = m_cells[i];
        if (!cell)
            break;
        IHybridContent* content = cell->GetContentPtr();
        if (!content)
            continue;
        CxfController* controller = ControllerOf(cell);
        CIPtr<IxfFrameListEntry> entry;
        entry.QueryFrom(content, IID_IxfFrameListEntry);
        if (!controller || !entry)
            break;
        CString title = controller->GetTitle();
        if (title.IsEmpty())
            title.LoadString(IDS_XF_UNTITLED);
        if (auto* document = dynamic_cast<CxfDocController*>(controller); document && document->IsModified())
            title += L" *";
        entry->SetTitle(title);
    }
}

CxfController* CxfFrameListContent::GetActiveController()
{
    CHybridCtrl* control = GetCtrl();
    return control ? ControllerOf(control->GetSelectedCell()) : nullptr;
}

int CxfFrameListContent::GetActiveIndex()
{
    CHybridCtrl* control = GetCtrl();
    IHybridCell* current = control ? control->GetSelectedCell() : nullptr;
    return current ? m_cells.Find(current) : -1;
}

void CxfFrameListContent::SetActiveIndex(int index)
{
    CHybridCtrl* control = GetCtrl();
    if (!control || index < 0 || index >= m_cells.GetSize())
        return;
    control->ClearSelection(0, true);
    // A change of the current cell comes back as notification 6, which
    // activates the tab's frame; no second (user) notification is raised.
    m_cells[index]->SetSelected(true, true);
    control->SetActiveCell(m_cells[index], false, false);
}

void CxfFrameListContent::Activate(CxfController* controller)
{
    const int i = IndexOf(controller);
    if (i < 0)
        return;
    SetActiveIndex(i);
    CxfFrame* frame = controller->GetFrame();
    if (!frame)
        return;
    frame->BringWindowToTop();
    if (LPCWSTR menu = frame->GetParam(L"ActiveMenu")) {
        const int table = _wtoi(menu);
        for (CxfFrame* f = frame; f; f = f->GetFrame())
            for (int b = 0; b < f->GetBarCount(); ++b)
                if (CxfToolBar* bar = dynamic_cast<CxfToolBar*>(f->GetBar(b)))
                    if (bar->HasParam(L"ActiveFrameMenu"))
                        bar->BuildItems(table);
    }
    // The tabs as they are now: activation may change the list.
    std::vector<CxfController*> controllers;
    for (INT_PTR t = 0; t < m_cells.GetSize(); ++t)
        controllers.push_back(ControllerOf(m_cells[t]));
    for (CxfController* c : controllers) {
        if (!c)
            break;
        CxfFrame* f = c->GetFrame();
        if (!f)
            continue;
        f->SetVisible(f == frame);
        if (f == frame)
            f->ActivateFrame();
    }
}

void CxfFrameListContent::ActivateNext()
{
    const int n = GetCount();
    if (n == 0)
        return;
    const int i = GetActiveIndex();
    SetActiveIndex(i >= n - 1 ? 0 : i + 1);
}

void CxfFrameListContent::ActivatePrevious()
{
    const int n = GetCount();
    if (n == 0)
        return;
    const int i = GetActiveIndex();
    SetActiveIndex(i > 0 ? i - 1 : n - 1);
}

LRESULT CxfFrameListContent::OnChildNotify(UINT code, IHybridCell*, bool* handled)
{
    if (code != HN_CURRENT)
        return 0;
    Invalidate();
    CHybridCtrl* control = GetCtrl();
    if (control && control->GetSelectedCell())
        Activate(ControllerOf(control->GetSelectedCell()));
    if (handled)
        *handled = true;
    return 0;
}

int CxfFrameListContent::GetPreferredHeight(int)
{
    int height = 0;
    for (INT_PTR i = 0; i < m_cells.GetSize(); ++i)
        if (IHybridContent* content = m_cells[i]->GetContentPtr())
            height = std::max(height, content->GetPreferredHeight(0));
    return 1 + height;
}

void CxfFrameListContent::Draw(CDC* dc, CRect rect)
{
    if (!(GetStyleBits() & HCB_TRANSPARENT))
        dc->FillSolidRect(&rect, GetBkColor());
    if (m_cells.GetSize() == 0)
        return;
    CHybridCtrl* control = GetCtrl();
    CxfControlBar* bar = ParentOf<CxfControlBar>(control);
    const int y = bar && bar->m_dock.side == CxfFrame::SideTop ? rect.bottom - 1 : rect.top;
    DrawLine(dc, rect.left, y, rect.right, y, ShadeColour(::GetSysColor(COLOR_3DFACE), 10), PS_SOLID, 1);
    if (IHybridCell* current = control ? control->GetSelectedCell() : nullptr) {
        CRect r;
        current->GetRect(&r);
        DrawLine(dc, r.left + 1, y, r.right - 1, y, ::GetSysColor(COLOR_WINDOW), PS_SOLID, 1);
    }
}

// ---- one tab --------------------------------------------------------------------

STDMETHODIMP CxfFrameListEntry::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out, {Primary(IID_IHybridContent), Primary(IID_IxfFrameListEntry)});
}

void CxfFrameListEntry::ResetSize()
{
    m_cx = m_cy = 0;
    if (CxfFrame* bar = ParentOf<CxfFrame>(GetCtrl()))
        bar->RequestLayout(false);
}

void CxfFrameListEntry::SetTitle(LPCWSTR text)
{
    if (!text || m_strTitle == text)
        return;
    m_strTitle = text;
    ResetSize();
}

void CxfFrameListEntry::SetImage(UINT bitmapId, COLORREF mask)
{
    if (static_cast<int>(bitmapId) == m_nImageId && mask == m_crImageMask)
        return;
    m_nImageId = static_cast<int>(bitmapId);
    m_crImageMask = mask;
    m_nFrame = 0;
    const SIZE size = GetBitmapResourceSize(bitmapId);
    m_cxImage = size.cx;
    m_cyImage = size.cy;
    ResetSize();
}

void CxfFrameListEntry::Measure()
{
    if (m_cx != 0 && m_cy != 0)
        return;
    CHybridCtrl* control = GetCtrl();
    if (!ParentOf<CxfControlBar>(control))
        return;
    const CSize extent = MeasureStyleText(control, control->GetStdStyle(HCS_NORMAL), m_strTitle);
    m_cx = std::min<int>(extent.cx + 12, MaxWidth);
    m_cy = std::max<int>(extent.cy + 6, MinHeight);
    if (m_nImageId != -1)
        m_cx += m_cyImage;
}

int CxfFrameListEntry::GetPreferredWidth()
{
    Measure();
    return m_cx;
}

int CxfFrameListEntry::GetPreferredHeight(int)
{
    Measure();
    return m_cy;
}

void CxfFrameListEntry::OnTimer(UINT_PTR)
{
    if (m_cyImage <= 0 || m_cxImage <= m_cyImage)
        return;
    if (++m_nFrame >= m_cxImage / m_cyImage)
        m_nFrame = 0;
    Invalidate();
}

void CxfFrameListEntry::Draw(CDC* dc, CRect rect)
{
    CHybridCtrl* control = GetCtrl();
    if (!ParentOf<CxfControlBar>(control))
        return;
    const COLORREF bk = control->GetBkColor();
    const bool active = m_cell && control->GetSelectedCell() && IsSameObject(control->GetSelectedCell(), m_cell);
    if (!(GetStyleBits() & HCB_TRANSPARENT))
        dc->FillSolidRect(&rect, bk);
    if (!active) {
        rect.top += 2;
        rect.left += 1;
        rect.right -= 1;
    }
    DrawGradientRect(dc, &rect, active ? RGB(0xFF, 0xFF, 0xFF) : RGB(0xF0, 0xF0, 0xF0), ::GetSysColor(COLOR_WINDOW), 4);
    if (active) {
        dc->Draw3dRect(&rect, RGB(0xC0, 0xC0, 0xC0), RGB(0xC0, 0xC0, 0xC0));
        DrawLine(dc, rect.left + 1, rect.bottom - 1, rect.right - 1, rect.bottom - 1, ::GetSysColor(COLOR_WINDOW),
                 PS_SOLID, 1);
        DrawLine(dc, rect.left, rect.top, rect.right, rect.top, kActiveTop, PS_SOLID, 1);
        DrawLine(dc, rect.left + 1, rect.top + 1, rect.right - 1, rect.top + 1, kActiveGlow, PS_SOLID, 1);
        DrawLine(dc, rect.left + 1, rect.top + 2, rect.right - 1, rect.top + 2, kActiveGlow, PS_SOLID, 1);
    }
    dc->SetPixel(rect.left, rect.top, bk);
    dc->SetPixel(rect.right - 1, rect.top, bk);
    rect.DeflateRect(3, 1);
    Measure();
    CFontSelector font(dc->GetSafeHdc(), StyleFont(control->GetStdStyle(HCS_NORMAL)));
    CRect text = rect;
    if (m_nImageId != -1) {
        const CRect source(m_nFrame * m_cyImage, 0, (m_nFrame + 1) * m_cyImage, m_cyImage);
        const CRect target(rect.left, rect.top, rect.left + m_cyImage, rect.bottom);
        DrawBitmapTransparentCentred(static_cast<UINT>(m_nImageId), dc, &target, m_crImageMask, &source);
        text.left = target.right;
    }
    dc->SetTextColor(active ? RGB(0, 0, 0) : kInactiveText);
    dc->SetBkMode(TRANSPARENT);
    dc->DrawText(m_strTitle, &text, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
}
