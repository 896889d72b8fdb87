#include "hybrid/HybridCtrl.h"
#include <algorithm>
#include <memory>
#include <commctrl.h>
#include "common/CritSecLock.h"
#include "hybrid/CellBuilder.h"
#include "hybrid/HandlerSlot.h"
#include "hybrid/HybridCell.h"
#include "hybrid/IHybridText.h"

namespace {

const wchar_t kClassName[] = L"Orlek_HybridCtrl";
const UINT kToolId = 39002;

// Registers the window class once per process; an existing class of the
// name counts as registered.
bool RegisterHybridClass()
{
    static bool registered = false;
    if (registered)
        return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS | CS_OWNDC;
    wc.lpfnWndProc = AfxWndProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kClassName;
    if (!::RegisterClassExW(&wc) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;
    registered = true;
    return true;
}

} // namespace

BEGIN_MESSAGE_MAP(CHybridCtrl, CWnd)
    ON_WM_PAINT()
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_ERASEBKGND()
    ON_WM_RBUTTONDOWN()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_WM_MOUSEWHEEL()
    ON_WM_RBUTTONUP()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

bool CHybridCtrl::SImplantedWnd::operator==(const SImplantedWnd& other) const
{
    return wnd == other.wnd && IsSameObject(cell, other.cell);
}

CHybridCtrl::CHybridCtrl()
    : m_bkColor(::GetSysColor(COLOR_WINDOW)), m_fullRepaintPending(false), m_scrollBarWidth(0), m_contentHeight(0),
      m_scrollPos(-1), m_scrollBarShown(false), m_alwaysShowScrollBar(false), m_cursor(nullptr),
      m_hoverTimerRunning(false), m_cursorFrozen(false), m_redrawRects(true), m_lineStep(1),
      m_relayoutPending(false), m_implantedUpdatePending(false), m_singleSelect(false), m_hoverSelect(false),
      m_dragEnabled(false), m_dragging(false), m_dropAnswer(-1), m_rubberBandDrawn(false),
      m_rubberBandTracking(false), m_autoScrollRunning(false), m_rubberBand(0, 0, 0, 0), m_pressPoint(0, 0),
      m_showScrollBar(true), m_selectionNotifyPending(false), m_layoutWindowStart(0), m_layoutRequests(0),
      m_destroying(false), m_hasFocus(false), m_implanted(true)
{
}

CHybridCtrl::~CHybridCtrl()
{
    if (GetSafeHwnd())
        DestroyWindow();
    // A control that never got its WM_DESTROY still breaks the cell cycles.
    if (m_rootCell)
        RemoveAllCells(false);
    if (m_handler) {
        CIPtr<IHybridHandler> handler(m_handler);
        m_handler = nullptr;
        handler->Detach();
    }
}

bool CHybridCtrl::Create(CWnd* parent, UINT id, DWORD style)
{
    if (!RegisterHybridClass())
        return false;
    // The caller's style doubles as extended style (WS_TABSTOP is
    // WS_EX_CONTROLPARENT, WS_GROUP is WS_EX_STATICEDGE).
    return CreateEx(style, kClassName, L"HybridCtrl", style | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN,
                    CRect(0, 0, 0, 0), parent, id) != FALSE;
}

void CHybridCtrl::MoveToDlgItem(UINT id)
{
    HWND parent = ::GetParent(GetSafeHwnd());
    HWND item = parent ? ::GetDlgItem(parent, static_cast<int>(id)) : nullptr;
    if (!item)
        return;
    CRect rect;
    ::GetWindowRect(item, &rect);
    ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    MoveWindow(&rect, TRUE);
}

void CHybridCtrl::CreateRootCell()
{
    m_rootCell = new CHybridCell(this, nullptr);
    m_rootCell->SetSubContent(nullptr, 2);
    m_rootCell->GetSubContent(&m_rootSub);
}

void CHybridCtrl::RemoveAllCells(bool recreate)
{
    SetActiveCell(nullptr, true);
    SetActiveCell(nullptr, false);
    if (m_rootSub) {
        CIPtr<IHybridCell> root(m_rootCell);
        DetachCell(root);
        m_rootCell = nullptr;
        m_rootSub = nullptr;
        if (recreate)
            CreateRootCell();
    }
    CCritSecLock lock(&m_redrawLock);
    m_redrawCells.RemoveAll();
    m_redrawRects.RemoveAll();
}

void CHybridCtrl::DetachCell(IHybridCell* cell)
{
    if (!cell)
        return;
    CIPtr<IHybridCell> keep(cell);
    if (IsSameObject(cell, m_focusCell))
        SetActiveCell(nullptr, true);
    if (IsSameObject(cell, m_currentCell))
        SetActiveCell(nullptr, false);
    if (IsCaptureCell(cell))
        ReleaseCaptureCell(cell);
    cell->Detach();
}

void CHybridCtrl::DetachCells(CCellArray& cells, bool empty)
{
    for (int i = 0; i < cells.GetSize(); ++i)
        if (IHybridCell* cell = cells.GetAt(i))
            DetachCell(cell);
    if (empty)
        cells.RemoveAll();
}

bool CHybridCtrl::IsRootCell(IHybridCell* cell)
{
    return cell && IsSameObject(cell, m_rootCell);
}

IHybridStyle* CHybridCtrl::GetStdStyle(int number)
{
    switch (number) {
    case HCS_NORMAL: return m_styles[0];
    case HCS_BOLD: return m_styles[1];
    case HCS_LARGE: return m_styles[2];
    case HCS_SMALL: return m_styles[3];
    default: return nullptr;
    }
}

void CHybridCtrl::SetBkColor(COLORREF colour, bool recursive)
{
    m_bkColor = colour;
    if (m_styles[0] && m_rootCell) {
        m_styles[0]->SetBkColor(colour);
        m_rootCell->SetBkColor(colour, recursive);
    }
    InvalidateAll(false);
}

void CHybridCtrl::SetDialogBkColor() { SetBkColor(::GetSysColor(COLOR_BTNFACE), false); }

void CHybridCtrl::SetHandler(IHybridHandler* handler)
{
    if (!IsSameObject(handler, m_handler))
        ReplaceHandler(m_handler, handler, this, nullptr);
}

bool CHybridCtrl::GetHandler(IHybridHandler** out) { return ReturnInterface(m_handler, out); }

int CHybridCtrl::OnCreate(LPCREATESTRUCT create)
{
    if (CWnd::OnCreate(create) == -1)
        return -1;
    CreateRootCell();
    CCellBuilder builder(this);
    const COLORREF text = ::GetSysColor(COLOR_WINDOWTEXT);
    builder.SetTextColor(text).ReturnStyle(&m_styles[0]).CreateStyle();
    builder.SetTextColor(text).SetFontWeight(700).ReturnStyle(&m_styles[1]).CreateStyle();
    builder.SetTextColor(text).SetFontPercent(200).ReturnStyle(&m_styles[2]).CreateStyle();
    builder.SetTextColor(text).SetFontPercent(50).ReturnStyle(&m_styles[3]).CreateStyle();
    m_scrollBar.Create(WS_CHILD | SBS_VERT | SBS_RIGHTALIGN, CRect(0, 0, 0, 0), this, 1);
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&init);
    if (m_toolTip.Create(this, TTS_ALWAYSTIP))
        m_toolTip.Activate(TRUE);
    return 0;
}

void CHybridCtrl::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    m_layoutRequests = 0;
    if (m_scrollBar.GetSafeHwnd()) {
        CRect bar;
        m_scrollBar.GetWindowRect(&bar);
        m_scrollBarWidth = bar.Width() > 0 ? bar.Width() : ::GetSystemMetrics(SM_CXVSCROLL);
        m_scrollBar.MoveWindow(cx - m_scrollBarWidth, 0, m_scrollBarWidth, cy, TRUE);
        UpdateScrollBar();
    }
    UpdateLayout(false);
}

void CHybridCtrl::OnDestroy()
{
    m_destroying = true;
    // Scroll-into-view requests still queued carry a reference to their
    // cell that only the handler would release; the destroyed window never
    // gets them.
    MSG pending;
    while (::PeekMessageW(&pending, GetSafeHwnd(), WM_HYBRID_ENSUREVISIBLE, WM_HYBRID_ENSUREVISIBLE, PM_REMOVE))
        if (pending.wParam)
            reinterpret_cast<IHybridCell*>(pending.wParam)->Release();
    for (int i = 0; i < m_timers.GetSize(); ++i)
        KillTimerCallback(static_cast<UINT_PTR>(i));
    m_timers.RemoveAll();
    if (m_scrollBar.GetSafeHwnd())
        m_scrollBar.DestroyWindow();
    for (CIPtr<IHybridStyle>& style : m_styles)
        style = nullptr;
    RemoveAllCells(false);
    m_hoverCell = nullptr;
    m_captureCell = nullptr;
    m_rubberBandCell = nullptr;
    m_implanted.RemoveAll();
    if (m_toolTip.GetSafeHwnd())
        m_toolTip.DestroyWindow();
    {
        CCritSecLock lock(&m_layoutLock);
        m_relayoutPending = false;
    }
    CWnd::OnDestroy();
}

BOOL CHybridCtrl::OnEraseBkgnd(CDC*) { return TRUE; }

LRESULT CHybridCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_VSCROLL:
        OnVScroll(LOWORD(wParam));
        return 0;
    case WM_HYBRID_RELAYOUT:
        {
            CCritSecLock lock(&m_layoutLock);
            m_relayoutPending = false;
        }
        RecalcLayout(false);
        return 0;
    case WM_HYBRID_ENSUREVISIBLE:
        if (!wParam)
            break;
        {
            CIPtr<IHybridCell> cell;
            cell.Attach(reinterpret_cast<IHybridCell*>(wParam)); // the sender's reference
            ScrollCellIntoView(cell);
        }
        return 0;
    case WM_HYBRID_DRAWQUEUED:
        DrawQueuedCells();
        return 0;
    case WM_HYBRID_SELCHANGED:
        m_selectionNotifyPending = false;
        NotifyParent(HN_SELCHANGED, nullptr);
        break;
    case WM_HYBRID_PLACEIMPLANTED:
        PlaceImplantedWnds();
        m_implantedUpdatePending = false;
        return 0;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

// Layout

void CHybridCtrl::UpdateLayout(bool force)
{
    if (!GetSafeHwnd() || !::IsWindow(GetSafeHwnd()))
        return;
    CCritSecLock lock(&m_layoutLock);
    if (m_relayoutPending)
        return;
    if (!force && !AllowLayout()) {
        InvalidateAll(true);
        return;
    }
    if (PostMessage(WM_HYBRID_RELAYOUT, 0, 0))
        m_relayoutPending = true;
}

void CHybridCtrl::RequestLayout(bool now)
{
    if (now)
        UpdateLayout(true);
}

bool CHybridCtrl::AllowLayout()
{
    const DWORD now = ::GetTickCount();
    if (now - m_layoutWindowStart >= 334) {
        m_layoutRequests = 0;
        m_layoutWindowStart = now;
        return true;
    }
    if (m_layoutRequests < 20) {
        ++m_layoutRequests;
        return true;
    }
    return false;
}

void CHybridCtrl::RecalcLayout(bool force)
{
    if (!m_rootCell)
        return;
    CRect area;
    GetCellAreaRect(&area);
    if (area.Width() == 0 && !force)
        return;
    CIPtr<IHybridCell> root(m_rootCell);
    root->SetRect(CRect(0, 0, area.Width(), 0));
    const int saved = GetScrollPos();
    m_scrollPos = 0; // cells lay out in document coordinates
    m_contentHeight = root->Layout(true);
    m_scrollPos = saved;
    UpdateScrollBar();
    RequestImplantedUpdate();
}

void CHybridCtrl::GetCellAreaRect(CRect* out)
{
    if (!out)
        return;
    out->SetRectEmpty();
    if (!GetSafeHwnd())
        return;
    GetClientRect(out);
    if (m_scrollBarShown)
        out->right = std::max(out->left, out->right - m_scrollBarWidth);
}

void CHybridCtrl::UpdateScrollBar()
{
    if (!m_scrollBar.GetSafeHwnd())
        return;
    CRect area;
    GetCellAreaRect(&area);
    const int overflow = m_contentHeight - area.Height();
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    ::GetScrollInfo(m_scrollBar.GetSafeHwnd(), SB_CTL, &si);
    const bool shown = (m_alwaysShowScrollBar || overflow >= 1) && m_showScrollBar;
    const bool changed = shown != m_scrollBarShown;
    m_scrollBarShown = shown;
    m_scrollBar.ShowWindow(shown ? SW_SHOW : SW_HIDE);
    if (!shown || overflow > 0) {
        m_scrollBar.EnableWindow(shown);
        si.fMask = SIF_RANGE | SIF_PAGE;
        si.nMin = 0;
        si.nMax = shown ? m_contentHeight : 0;
        si.nPage = shown ? static_cast<UINT>(area.Height()) : 0;
        ::SetScrollInfo(m_scrollBar.GetSafeHwnd(), SB_CTL, &si, TRUE);
        m_scrollPos = -1;
        GetScrollPos();
    } else {
        if (m_scrollPos != 0 || ::GetScrollPos(m_scrollBar.GetSafeHwnd(), SB_CTL) != 0) {
            m_scrollPos = 0;
            ::SetScrollPos(m_scrollBar.GetSafeHwnd(), SB_CTL, 0, TRUE);
        }
        // Shown but with nothing to scroll: an empty range, so that no
        // position request (wheel, keys, scroll into view) moves the
        // content off its place by a range left from earlier overflow.
        si.fMask = SIF_RANGE | SIF_PAGE;
        si.nMin = si.nMax = 0;
        si.nPage = 0;
        ::SetScrollInfo(m_scrollBar.GetSafeHwnd(), SB_CTL, &si, TRUE);
        m_scrollBar.EnableWindow(FALSE);
    }
    if (changed) {
        // The cell area's width changed with the scroll bar.
        UpdateLayout(false);
    } else {
        InvalidateAll(false);
        m_scrollBar.Invalidate();
    }
}

// Scrolling

int CHybridCtrl::GetScrollPos()
{
    if (m_scrollPos == -1)
        m_scrollPos = m_scrollBar.GetSafeHwnd() ? ::GetScrollPos(m_scrollBar.GetSafeHwnd(), SB_CTL) : 0;
    return m_scrollPos;
}

bool CHybridCtrl::SetScrollPos(int pos, bool redraw)
{
    HWND bar = m_scrollBar.GetSafeHwnd();
    if (!bar)
        return false;
    SCROLLINFO si{};
    si.cbSize = sizeof(si);
    si.fMask = SIF_ALL;
    ::GetScrollInfo(bar, SB_CTL, &si);
    if (si.nMin == 0 && si.nMax == 0)
        return false;
    const int limit = si.nPage > 0 ? si.nMax - static_cast<int>(si.nPage) + 1 : si.nMax;
    pos = std::max(0, std::min(pos, std::max(limit, 0)));
    const int old = GetScrollPos();
    if (pos == old)
        return false;
    CRect area;
    GetCellAreaRect(&area);
    ScrollWindow(0, -(pos - old), &area, nullptr);
    ::SetScrollPos(bar, SB_CTL, pos, redraw);
    m_scrollPos = -1;
    POINT cursor;
    if (::GetCursorPos(&cursor))
        ::SetCursorPos(cursor.x, cursor.y);
    RequestImplantedUpdate();
    return true;
}

void CHybridCtrl::OnVScroll(UINT code)
{
    int pos = GetScrollPos();
    switch (code) {
    case SB_LINEUP: pos -= m_lineStep; break;
    case SB_LINEDOWN: pos += m_lineStep; break;
    // A page click moves by the content height less one, so that it
    // reaches the end of the range.
    case SB_PAGEUP: pos -= m_contentHeight - 1; break;
    case SB_PAGEDOWN: pos += m_contentHeight - 1; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        SCROLLINFO si{};
        si.cbSize = sizeof(si);
        si.fMask = SIF_ALL | SIF_TRACKPOS;
        ::GetScrollInfo(m_scrollBar.GetSafeHwnd(), SB_CTL, &si);
        pos = si.nTrackPos;
        break;
    }
    case SB_TOP: pos = 0; break;
    case SB_BOTTOM: pos = m_contentHeight - 1; break;
    default: break;
    }
    if (pos != -1)
        SetScrollPos(pos, true);
}

void CHybridCtrl::ScrollCellIntoView(IHybridCell* cell)
{
    CRect area, rect;
    GetCellAreaRect(&area);
    cell->GetRect(&rect);
    const int scroll = GetScrollPos();
    if (rect.bottom > area.bottom)
        SetScrollPos(rect.bottom + scroll - area.Height(), true);
    else if (rect.top < area.top)
        SetScrollPos(rect.top + scroll, true);
}

void CHybridCtrl::EnsureVisible(IHybridCell* cell)
{
    if (!cell || !GetSafeHwnd())
        return;
    cell->AddRef();
    if (!PostMessage(WM_HYBRID_ENSUREVISIBLE, reinterpret_cast<WPARAM>(cell), 0))
        cell->Release();
}

// Painting

void CHybridCtrl::OnPaint()
{
    m_fullRepaintPending = false;
    bool viaWindowDC = m_rubberBandTracking;
    {
        CPaintDC dc(this);
        if (!viaWindowDC)
            DrawAll(&dc);
    }
    if (viaWindowDC)
        DrawAll(nullptr);
}

void CHybridCtrl::DrawAll(CDC* dc)
{
    std::unique_ptr<CClientDC> own;
    if (!dc) {
        own.reset(new CClientDC(this));
        dc = own.get();
    }
    const bool wasDrawn = m_rubberBandDrawn;
    if (wasDrawn)
        ToggleRubberBand();
    if (m_rootCell) {
        CIPtr<IHybridCell> root(m_rootCell);
        root->Draw(dc);
    }
    CRect area;
    GetCellAreaRect(&area);
    const int bottom = m_contentHeight - GetScrollPos();
    if (bottom < area.Height())
        dc->FillSolidRect(area.left, std::max(bottom, 0), area.Width(), area.Height() - std::max(bottom, 0), m_bkColor);
    own.reset();
    if ((wasDrawn || m_rubberBandTracking) && !m_rubberBandDrawn)
        ToggleRubberBand();
}

void CHybridCtrl::InvalidateAll(bool erase)
{
    m_fullRepaintPending = true;
    if (GetSafeHwnd())
        Invalidate(erase);
}

bool CHybridCtrl::IsRepaintPending()
{
    if (m_fullRepaintPending)
        return true;
    CCritSecLock lock(&m_layoutLock);
    return m_relayoutPending;
}

void CHybridCtrl::QueueCellRedraw(IHybridCell* cell, CRect* clip)
{
    if (!cell || !GetSafeHwnd() || IsRepaintPending()) {
        delete clip;
        return;
    }
    CCritSecLock lock(&m_redrawLock);
    const bool wasEmpty = m_redrawCells.GetSize() == 0;
    m_redrawCells.Add(cell);
    m_redrawRects.Add(clip);
    if (wasEmpty)
        PostMessage(WM_HYBRID_DRAWQUEUED, 0, 0);
}

void CHybridCtrl::DrawQueuedCells()
{
    {
        CCritSecLock lock(&m_redrawLock);
        if (m_redrawCells.GetSize() == 0)
            return;
    }
    const bool wasDrawn = m_rubberBandDrawn;
    if (wasDrawn)
        ToggleRubberBand();
    {
        CClientDC dc(this);
        for (;;) {
            CIPtr<IHybridCell> cell;
            CRect clip;
            bool clipped = false;
            {
                CCritSecLock lock(&m_redrawLock);
                if (m_redrawCells.GetSize() == 0)
                    break;
                cell = m_redrawCells.GetAt(0);
                if (CRect* rect = m_redrawRects.GetAt(0)) {
                    clip = *rect;
                    clipped = true;
                }
                m_redrawCells.RemoveAt(0);
                m_redrawRects.RemoveAt(0);
            }
            if (!cell)
                continue;
            const int saved = dc.SaveDC();
            if (clipped)
                dc.IntersectClipRect(&clip);
            cell->Draw(&dc);
            dc.RestoreDC(saved);
        }
    }
    if (wasDrawn)
        ToggleRubberBand();
}

// Active cells, selection and notifications

void CHybridCtrl::SetActiveCell(IHybridCell* cell, bool focus, bool notify)
{
    CIPtr<IHybridCell>& target = focus ? m_focusCell : m_currentCell;
    if (focus && cell && (static_cast<DWORD>(cell->GetStyleBits()) & HCB_NOFOCUS))
        return;
    if (IsSameObject(target, cell))
        return;
    if (focus && cell) {
        IHybridContent* content = cell->GetContentPtr();
        if (content && (!content->CanFocus() || !content->IsEnabled()))
            return;
    }
    CIPtr<IHybridCell> keep(cell);
    if (CIPtr<IHybridCell> old = target) {
        if (CIPtr<IHybridContent> content = old->GetContentPtr())
            content->OnActivate(false);
        old->Notify(HN_DEACTIVATED, old);
        old->Invalidate();
    }
    target = cell;
    if (!cell)
        return;
    if (CIPtr<IHybridContent> content = cell->GetContentPtr())
        content->OnActivate(true);
    cell->Invalidate();
    if (!focus) {
        cell->Notify(HN_CURRENT, cell);
        if (notify)
            cell->Notify(HN_CURRENT_BY_USER, cell);
    }
}

void CHybridCtrl::SelectCell(IHybridCell* cell)
{
    SetActiveCell(cell, false, false);
    if (cell)
        cell->SetSelected(true, true);
}

void CHybridCtrl::ClearSelection(int, bool notify)
{
    if (CIPtr<IHybridSubContent> root = m_rootSub)
        root->SelectAll(false, notify);
}

void CHybridCtrl::PostSelectionChanged()
{
    if (m_selectionNotifyPending || !GetSafeHwnd())
        return;
    if (PostMessage(WM_HYBRID_SELCHANGED, 0, 0))
        m_selectionNotifyPending = true;
}

LRESULT CHybridCtrl::NotifyParent(UINT code, IHybridCell* sender)
{
    if (m_handler) {
        CIPtr<IHybridHandler> handler(m_handler);
        bool handled = false;
        return handler->OnNotify(code, sender, &handled);
    }
    HWND parent = GetSafeHwnd() ? ::GetParent(GetSafeHwnd()) : nullptr;
    if (!parent)
        return 0;
    return ::SendMessageW(parent, WM_HYBRID_NOTIFY, code, reinterpret_cast<LPARAM>(sender));
}

bool CHybridCtrl::GetFocusCell(IHybridCell** out) { return ReturnInterface(m_focusCell, out); }

// Timers

UINT_PTR CHybridCtrl::SetTimerCallback(UINT elapse, ITimerCallback* callback)
{
    if (!callback || !GetSafeHwnd())
        return static_cast<UINT_PTR>(-1);
    INT_PTR id = 0;
    while (id < m_timers.GetSize() && m_timers.GetAt(id))
        ++id;
    m_timers.SetAtGrow(id, callback);
    ::SetTimer(GetSafeHwnd(), static_cast<UINT_PTR>(id), elapse, nullptr);
    return static_cast<UINT_PTR>(id);
}

void CHybridCtrl::KillTimerCallback(UINT_PTR id)
{
    if (id >= static_cast<UINT_PTR>(m_timers.GetSize()) || !m_timers.GetAt(static_cast<INT_PTR>(id)))
        return;
    if (GetSafeHwnd())
        ::KillTimer(GetSafeHwnd(), id);
    m_timers.SetAt(static_cast<INT_PTR>(id), nullptr);
}

void CHybridCtrl::KillTimersOf(IUnknown* object)
{
    if (!object)
        return;
    for (INT_PTR i = 0; i < m_timers.GetSize(); ++i)
        if (m_timers.GetAt(i) && IsSameObject(m_timers.GetAt(i), object))
            KillTimerCallback(static_cast<UINT_PTR>(i));
}

void CHybridCtrl::OnTimer(UINT_PTR id)
{
    if (id == HYBRID_TIMER_HOVER) {
        OnHoverTimer();
        return;
    }
    if (id == HYBRID_TIMER_AUTOSCROLL) {
        OnAutoScrollTimer();
        return;
    }
    if (id >= static_cast<UINT_PTR>(m_timers.GetSize()))
        return;
    // Held for the call: the callback may kill its own timer.
    CIPtr<ITimerCallback> callback(m_timers.GetAt(static_cast<INT_PTR>(id)));
    if (callback)
        callback->OnTimer(id);
}

// Implanted windows

void CHybridCtrl::AddImplantedWnd(IHybridCell* cell, HWND wnd)
{
    if (!cell || !wnd)
        return;
    SImplantedWnd entry{cell, wnd};
    for (int i = 0; i < m_implanted.GetSize(); ++i)
        if (m_implanted.GetAt(i) && *m_implanted.GetAt(i) == entry)
            return;
    m_implanted.Add(new SImplantedWnd(entry));
    RequestImplantedUpdate();
}

void CHybridCtrl::RemoveImplantedWnd(IHybridCell* cell, HWND wnd)
{
    SImplantedWnd entry{cell, wnd};
    for (int i = 0; i < m_implanted.GetSize(); ++i) {
        if (m_implanted.GetAt(i) && *m_implanted.GetAt(i) == entry) {
            m_implanted.RemoveAt(i);
            return;
        }
    }
}

void CHybridCtrl::RequestImplantedUpdate()
{
    if (m_implantedUpdatePending || !GetSafeHwnd())
        return;
    if (PostMessage(WM_HYBRID_PLACEIMPLANTED, 0, 0))
        m_implantedUpdatePending = true;
}

void CHybridCtrl::PlaceImplantedWnds()
{
    for (int i = 0; i < m_implanted.GetSize(); ++i) {
        SImplantedWnd* entry = m_implanted.GetAt(i);
        if (!entry)
            break;
        if (entry->cell && entry->cell->IsVisible()) {
            CRect rect;
            entry->cell->GetRect(&rect);
            ::ShowWindow(entry->wnd, SW_SHOW);
            ::MoveWindow(entry->wnd, rect.left, rect.top, rect.Width(), rect.Height(), TRUE);
        } else {
            ::ShowWindow(entry->wnd, SW_HIDE);
        }
    }
}

// Enumeration

void CHybridCtrl::EnumCells(CCellVisitor& visitor, DWORD flags, IHybridCell* start)
{
    if (!m_rootCell)
        return;
    CIPtr<IHybridCell> cell(start ? start : m_rootCell.Get());
    bool visit = false;
    if (flags & HCE_ALL) {
        visit = true;
    } else {
        IHybridContent* content = cell->GetContentPtr();
        if ((flags & HCE_FOCUSABLE) && content && content->CanFocus() && content->IsEnabled() && cell->IsVisible())
            visit = true;
        // An item cell without a content counts as enabled when the cell is.
        const bool enabled = content ? content->IsEnabled() : cell->IsEnabled();
        if ((flags & HCE_ITEMS) && (static_cast<DWORD>(cell->GetStyleBits()) & HCB_ITEM) && enabled && cell->IsVisible())
            visit = true;
    }
    if (visit)
        visitor.Visit(cell);
    CIPtr<IHybridSubContent> sub;
    if (cell->GetSubContent(&sub) && sub) {
        CCellArray children;
        sub->GetChildren(&children);
        for (int i = 0; i < children.GetSize(); ++i)
            EnumCells(visitor, flags, children.GetAt(i));
    }
}

void CHybridCtrl::EnumSelectedCells(CCellVisitor& visitor, IHybridCell* start)
{
    if (!m_rootCell)
        return;
    CIPtr<IHybridCell> cell(start ? start : m_rootCell.Get());
    if (static_cast<DWORD>(cell->GetStyleBits()) & HCB_ITEM) {
        if (cell->IsSelected())
            visitor.Visit(cell);
        return;
    }
    CIPtr<IHybridSubContent> sub;
    if (cell->GetSubContent(&sub) && sub) {
        CCellArray children;
        sub->GetChildren(&children);
        for (int i = 0; i < children.GetSize(); ++i)
            EnumSelectedCells(visitor, children.GetAt(i));
    }
}

void CHybridCtrl::InvalidateSelectedCells()
{
    CCellArray cells;
    CCellCollector collector(cells);
    EnumSelectedCells(collector);
    for (int i = 0; i < cells.GetSize(); ++i)
        cells.GetAt(i)->Invalidate();
}

void CHybridCtrl::PopToolTip()
{
    if (m_toolTip.GetSafeHwnd())
        m_toolTip.SendMessage(TTM_POP, 0, 0);
}

bool FindTextContentByData(IHybridCell* cell, DWORD_PTR data, IHybridText** out)
{
    if (!cell || !out)
        return false;
    if (cell->GetData() == data) {
        IHybridContent* content = cell->GetContentPtr();
        if (content && SUCCEEDED(content->QueryInterface(IID_IHybridText, reinterpret_cast<void**>(out))))
            return true;
    }
    CIPtr<IHybridSubContent> sub;
    if (!cell->GetSubContent(&sub) || !sub)
        return false;
    CCellArray children;
    sub->GetChildren(&children);
    for (int i = 0; i < children.GetSize(); ++i)
        if (FindTextContentByData(children.GetAt(i), data, out))
            return true;
    return false;
}
