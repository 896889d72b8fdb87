// CHybridCtrl's window: class registration and creation, the root cell and
// the standard styles, handler attachment, destruction, dispatch of the
// control's private messages and delivery of notifications.
#include "hybrid/HybridCtrl.h"
#include <commctrl.h>
#include "common/CritSecLock.h"
#include "hybrid/CellBuilder.h"
#include "hybrid/HandlerSlot.h"
#include "hybrid/HybridCell.h"

namespace {

const wchar_t kClassName[] = L"Orlek_HybridCtrl";

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
    ON_WM_GETDLGCODE()
END_MESSAGE_MAP()

bool CHybridCtrl::SImplantedWnd::operator==(const SImplantedWnd& other) const
{
    return wnd == other.wnd && IsSameObject(cell, other.cell);
}

CHybridCtrl::CHybridCtrl()
    : m_bkColor(::GetSysColor(COLOR_WINDOW)), m_fullRepaintPending(false), m_contentHeight(0), m_scrollPos(-1),
      m_cursor(nullptr), m_hoverTimerRunning(false), m_cursorFrozen(false), m_lineStep(1),
      m_implantedUpdatePending(false), m_singleSelect(false), m_hoverSelect(false), m_dragEnabled(false),
      m_dragging(false), m_dropAnswer(-1), m_autoScrollRunning(false), m_pressPoint(0, 0),
      m_selectionNotifyPending(false), m_destroying(false), m_hasFocus(false), m_implanted(true)
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
    CCritSecLock lock(&m_redraw.lock);
    m_redraw.entries.clear();
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

void CHybridCtrl::SetDialogBkColor()
{
    SetBkColor(::GetSysColor(COLOR_BTNFACE), false);
}

void CHybridCtrl::SetHandler(IHybridHandler* handler)
{
    if (!IsSameObject(handler, m_handler))
        ReplaceHandler(m_handler, handler, this, nullptr);
}

bool CHybridCtrl::GetHandler(IHybridHandler** out)
{
    return ReturnInterface(m_handler, out);
}

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
    // Without its bar the control still scrolls by keys and wheel: every use
    // of the bar looks for its window first.
    (void)m_scroll.bar.Create(WS_CHILD | SBS_VERT | SBS_RIGHTALIGN, CRect(0, 0, 0, 0), this, 1);
    INITCOMMONCONTROLSEX init{sizeof(init), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&init);
    if (m_toolTip.Create(this, TTS_ALWAYSTIP))
        m_toolTip.Activate(TRUE);
    return 0;
}

void CHybridCtrl::OnSize(UINT type, int cx, int cy)
{
    CWnd::OnSize(type, cx, cy);
    m_layout.requests = 0;
    if (m_scroll.bar.GetSafeHwnd()) {
        CRect bar;
        m_scroll.bar.GetWindowRect(&bar);
        m_scroll.width = bar.Width() > 0 ? bar.Width() : ::GetSystemMetrics(SM_CXVSCROLL);
        m_scroll.bar.MoveWindow(cx - m_scroll.width, 0, m_scroll.width, cy, TRUE);
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
    while (::PeekMessageW(&pending, GetSafeHwnd(), WM_HYBRID_ENSUREVISIBLE, WM_HYBRID_ENSUREVISIBLE, PM_REMOVE)) {
        CIPtr<IHybridCell> dropped;
        dropped.Attach(reinterpret_cast<IHybridCell*>(pending.wParam)); // the sender's reference
    }
    for (int i = 0; i < m_timers.GetSize(); ++i)
        KillTimerCallback(static_cast<UINT_PTR>(i));
    m_timers.RemoveAll();
    if (m_scroll.bar.GetSafeHwnd())
        m_scroll.bar.DestroyWindow();
    for (CIPtr<IHybridStyle>& style : m_styles)
        style = nullptr;
    RemoveAllCells(false);
    m_hoverCell = nullptr;
    m_captureCell = nullptr;
    m_rubberBand.cell = nullptr;
    m_implanted.RemoveAll();
    if (m_toolTip.GetSafeHwnd())
        m_toolTip.DestroyWindow();
    m_toolAdded = false;
    {
        CCritSecLock lock(&m_layout.lock);
        m_layout.pending = false;
    }
    CWnd::OnDestroy();
}

LRESULT CHybridCtrl::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_VSCROLL: OnVScroll(LOWORD(wParam)); return 0;
    case WM_HYBRID_RELAYOUT: {
        CCritSecLock lock(&m_layout.lock);
        m_layout.pending = false;
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
    case WM_HYBRID_DRAWQUEUED: DrawQueuedCells(); return 0;
    case WM_HYBRID_SELCHANGED:
        m_selectionNotifyPending = false;
        NotifyParent(HN_SELCHANGED, nullptr);
        break;
    case WM_HYBRID_PLACEIMPLANTED:
        PlaceImplantedWnds();
        m_implantedUpdatePending = false;
        return 0;
    default: break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
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
