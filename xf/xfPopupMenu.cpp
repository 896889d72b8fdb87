// CxfPopupMenu: building, placement, showing, submenus, commands, closing,
// and the entry points that run a popup.
#include "xf/xfPopupMenu.h"
#include <algorithm>
#include <cstddef>
#include <vector>
#include "common/LocalizedString.h"
#include "common/MessageBlocker.h"
#include "common/ProductInfo.h"
#include "hybrid/CellBuilder.h"
#include "hybrid/HybridMessages.h"
#include "hybrid/IHybridSubContent.h"
#include "xf/xfCentral.h"
#include "xf/xfCmdUI.h"
#include "xf/xfController.h"
#include "xf/xfFrame.h"
#include "xf/xfMenuStyle.h"
#include "xf/xfMessages.h"
#include "xf/xfResources.h"

CovPtrArray<CxfPopupMenu> CxfPopupMenu::s_openPopups;
int CxfPopupMenu::s_nInstances = 0;
CxfPopupMenu::CMouseHook CxfPopupMenu::s_mouseHook;

namespace {

const UINT kSubMenuTimer = 1;
const UINT kShowTimer = 2;
const UINT kSubMenuDelay = 500;
const UINT kShowDelay = 50;
const UINT kSeparatorId = 0;
const UINT kStrutId = 37009;
const UINT kTitleId = 37008;
const DWORD kSubMenuData = static_cast<DWORD>(-1);
const DWORD kTextData = 10;
const DWORD kContentData = 11;
const COLORREF kFrameColour = 0x666666;
// A command row posted later, once the notification that chose it has
// returned into the row control: wParam the command, lParam 1 to close.
const UINT kDeliverLater = WM_APP + 0x13;
// Take the activation back (see OnDeactivate).
const UINT kReactivate = WM_APP + 0x14;

bool IsMouseButtonDown()
{
    return ::GetAsyncKeyState(VK_LBUTTON) < 0 || ::GetAsyncKeyState(VK_RBUTTON) < 0 ||
           ::GetAsyncKeyState(VK_MBUTTON) < 0;
}

// The item's text without what follows a tab: the accelerator column shows
// the command's key from the owner's tables, so a shortcut written into
// the menu text would show twice.
CString MenuText(HMENU menu, UINT i)
{
    WCHAR buffer[256] = {};
    ::GetMenuStringW(menu, i, buffer, 255, MF_BYPOSITION);
    CString text(buffer);
    const int tab = text.Find(L'\t');
    if (tab >= 0)
        text = text.Left(tab);
    TranslateText(text);
    return text;
}

// The row style: the toolbar items' menu font at normal weight, with the
// system's highlight colours for a selected row.
CIPtr<IHybridStyle> MakeRowStyle(CHybridCtrl* control)
{
    return xfMakeMenuStyle(control, FW_NORMAL, true, HYBRID_COLOR_UNSET);
}

} // namespace

CxfPopupMenu::CxfPopupMenu(IxfRootMenuElement* root, CxfSubMenuHolder* parent, const SxfMenuPath& path, int x, int y,
                           CxfFrame* owner, PFN_XF_BEFORESHOW beforeShow)
    : CActiveDlg(IDD_XF_POPUPMENU, owner, false), m_ptOrigin(x, y), m_pOwnerFrame(owner), m_pRootElement(root),
      m_path(path), m_pParentHolder(parent), m_pfnBeforeShow(beforeShow)
{
    ++s_nInstances;
}

CxfPopupMenu::CxfPopupMenu(CMenu* menu, int x, int y, CxfFrame* owner)
    : CxfPopupMenu(nullptr, nullptr, SxfMenuPath(), x, y, owner, nullptr)
{
    m_pGivenMenu = menu;
}

CxfPopupMenu::~CxfPopupMenu()
{
    Forget();
    --s_nInstances;
}

void CxfPopupMenu::Forget()
{
    s_openPopups.Remove(this);
    if (s_openPopups.GetSize() == 0)
        s_mouseHook.Reset();
}

// ---- presses outside the menus ------------------------------------------------

bool CxfPopupMenu::IsPopupWindow(HWND window)
{
    for (INT_PTR i = 0; i < s_openPopups.GetSize(); ++i) {
        HWND popup = s_openPopups[i]->GetSafeHwnd();
        if (popup && (window == popup || ::IsChild(popup, window)))
            return true;
    }
    return false;
}

bool CxfPopupMenu::IsOverPopup(POINT screen)
{
    for (INT_PTR i = 0; i < s_openPopups.GetSize(); ++i) {
        RECT rect{};
        if (s_openPopups[i]->GetSafeHwnd() && ::GetWindowRect(s_openPopups[i]->GetSafeHwnd(), &rect) &&
            ::PtInRect(&rect, screen))
            return true;
    }
    return false;
}

bool CxfPopupMenu::CloseOnPressOutside(HWND target, POINT screen)
{
    // The point decides as much as the window: a press over a popup that
    // has only just been shown may still be reported for the window that
    // was there before it.
    if (s_openPopups.GetSize() == 0 || IsPopupWindow(target) || IsOverPopup(screen))
        return false;
    // The roots of the open chains; a press on the element that opened one
    // (the band entry or the toolbar button) only closes it.
    std::vector<HWND> roots;
    bool onOpener = false;
    for (INT_PTR i = 0; i < s_openPopups.GetSize(); ++i) {
        CxfPopupMenu* popup = s_openPopups[i];
        if (dynamic_cast<CxfPopupMenu*>(popup->m_pParentHolder))
            continue;
        roots.push_back(popup->GetSafeHwnd());
        RECT anchor{};
        if (popup->m_pRootElement) {
            popup->m_pRootElement->GetAnchorRect(&anchor);
            onOpener = onOpener || ::PtInRect(&anchor, screen);
        }
    }
    // Closing a chain may close others: each root is looked up again.
    for (HWND root : roots) {
        for (INT_PTR i = 0; i < s_openPopups.GetSize(); ++i) {
            CxfPopupMenu* popup = s_openPopups[i];
            if (popup->GetSafeHwnd() == root && !popup->m_bClosing) {
                popup->CloseMenuChain();
                break;
            }
        }
    }
    return onOpener;
}

LRESULT CALLBACK CxfPopupMenu::MouseHookProc(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HC_ACTION && lParam) {
        switch (wParam) {
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        case WM_NCMBUTTONDOWN:
        // A second press soon after the first comes as a double click.
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDBLCLK:
        case WM_NCLBUTTONDBLCLK:
        case WM_NCRBUTTONDBLCLK:
        case WM_NCMBUTTONDBLCLK: {
            const auto* info = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
            if (CloseOnPressOutside(info->hwnd, info->pt))
                return 1; // the press that closed its own menu goes no further
            break;
        }
        default: break;
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

bool CxfPopupMenu::CreateModeless()
{
    return Create(IDD_XF_POPUPMENU, m_pOwnerFrame) != FALSE;
}

// ---- building ---------------------------------------------------------------

HMENU CxfPopupMenu::LoadShownMenu()
{
    if (m_pGivenMenu)
        return m_pGivenMenu->GetSafeHmenu();
    if (!m_path.menu.LoadMenu(m_path.nMenuID))
        return nullptr;
    HMENU menu = m_path.menu.GetSafeHmenu();
    for (INT_PTR i = 0; i < m_path.path.GetSize() && menu; ++i) {
        menu = ::GetSubMenu(menu, static_cast<int>(m_path.path[i]));
        if (i == 0 && menu && m_pfnBeforeShow)
            m_pfnBeforeShow(CMenu::FromHandle(menu));
    }
    return menu;
}

BOOL CxfPopupMenu::OnInitDialog()
{
    CActiveDlg::OnInitDialog();
    s_openPopups.Add(this);
    // While a menu is open, a press anywhere else in the program closes it
    // (the activation alone cannot tell such a press, see OnDeactivate).
    if (!s_mouseHook)
        s_mouseHook.Reset(::SetWindowsHookExW(WH_MOUSE, &MouseHookProc, nullptr, ::GetCurrentThreadId()));
    if (!m_ctrl.Create(this, ControlId, 0))
        return FALSE;
    m_ctrl.SetSingleSelect(true);
    m_ctrl.SetBkColor(::GetSysColor(COLOR_MENU), false);
    m_ctrl.SetShowScrollBar(false);
    HMENU menu = m_pOwnerFrame ? LoadShownMenu() : nullptr;
    if (!menu || !BuildRows(menu)) {
        // Nothing to show: the popup ends at once, once this returns.
        PostMessage(XFM_CLOSEPOPUP);
        return FALSE;
    }
    // The focused window must not see its focus leave while we move.
    COVMessageBlocker blocker(CWnd::FromHandle(::GetFocus()), WM_KILLFOCUS);
    Place();
    CxfCmdUI::UpdateCellsCmdUI(m_pOwnerFrame, m_rows);
    for (INT_PTR i = 0; i < m_rows.GetSize(); ++i)
        if (!m_rows[i]->IsEnabled())
            m_rows[i]->SetStyleBits(static_cast<DWORD>(m_rows[i]->GetStyleBits()) & ~HCB_ITEM,
                                    static_cast<DWORD>(m_rows[i]->GetStyleBits() >> 32));
    SetTimer(kShowTimer, kShowDelay, nullptr);
    return TRUE;
}

bool CxfPopupMenu::BuildRows(HMENU menu)
{
    if (CxfController* controller = m_pOwnerFrame->GetController())
        controller->OnPopupMenu(m_path, CMenu::FromHandle(menu));
    CIPtr<IHybridStyle> style = MakeRowStyle(&m_ctrl);
    if (!style)
        return false;
    CIPtr<IHybridHeading> narrow, wide;
    CCellBuilder(&m_ctrl).AddColumns(2).ReturnColumnModel(&narrow).CreateColumnModel();
    CCellBuilder(&m_ctrl).AddColumns(4).ReturnColumnModel(&wide).CreateColumnModel();
    if (!narrow || !wide)
        return false;
    const COLORREF window = ::GetSysColor(COLOR_WINDOW);
    int check = 0, text = 0, accel = 0, arrow = -1;
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const CString itemText = MenuText(menu, static_cast<UINT>(i));
        const UINT id = ::GetMenuItemID(menu, i);
        CIPtr<IHybridContent> custom;
        const bool special = id == kSeparatorId || id == kStrutId || id == kTitleId;
        CIPtr<IHybridCell> row;
        CCellBuilder b(&m_ctrl);
        if (special || (id != kSubMenuData && CxfCentral::Get().CreateContent(id, &custom) && custom)) {
            b.SetColumnModel(narrow).SetBkColor(window).SetData(special ? 0 : id).ReturnCell(&row).AddCell();
            b.BeginChildren().SetIndex(1).SetBkColor(window);
            if (id == kSeparatorId)
                b.SetStyleBits(0, 2).AddSeparator();
            else if (id == kStrutId)
                b.SetStyleBits(0, 0x10).AddSeparator();
            else if (id == kTitleId)
                b.SetText(CString(itemText).Trim(L'_')).SetStdStyle(2).SetStyleBits(0x20, 0).AddText();
            else
                b.SetContent(custom).SetData(kContentData).AddContent();
            b.EndChildren();
        } else {
            CIPtr<IHybridCell> checkCell, textCell, accelCell, arrowCell;
            b.SetColumnModel(wide)
                .SetBkColor(window)
                .SetStyle(style)
                .SetStyleBits(0x800001, 0)
                .SetData(id)
                .ReturnCell(&row)
                .AddCell()
                .BeginChildren();
            b.SetPictureResource(IDB_XF_NOCHECK, RGB(0xFF, 0xFF, 0xFF))
                .SetBkColor(window)
                .SetStyle(style)
                .ReturnCell(&checkCell)
                .AddPicture();
            b.SetText(itemText)
                .SetData(kTextData)
                .SetStyleBits(0, 0x20)
                .SetBkColor(window)
                .SetStyle(style)
                .ReturnCell(&textCell)
                .AddText();
            const CString accelText = id == kSubMenuData ? CString() : GetAcceleratorText(m_pOwnerFrame, id);
            b.SetText(accelText).SetBkColor(window).SetStyle(style).ReturnCell(&accelCell).AddText();
            if (id == kSubMenuData)
                b.SetPictureResource(IDB_XF_SUBMENU_ARROW, RGB(0xFF, 0xFF, 0xFF));
            b.SetBkColor(window).SetStyle(style).ReturnCell(&arrowCell).AddPicture().EndChildren();
            if (checkCell)
                check = std::max(check, checkCell->GetPreferredWidth());
            if (textCell)
                text = std::max(text, textCell->GetPreferredWidth());
            if (accelCell && !accelText.IsEmpty())
                accel = std::max(accel, accelCell->GetPreferredWidth());
            if (arrow < 0 && id == kSubMenuData && arrowCell)
                arrow = arrowCell->GetPreferredWidth();
        }
        if (!row)
            return false;
        m_rows.Add(row);
    }
    arrow = std::max(arrow, 0);
    wide->SetWidth(0, check + 4);
    wide->SetWidth(1, text + 10);
    wide->SetWidth(2, accel + 10);
    wide->SetWidth(3, arrow);
    narrow->SetWidth(0, check + 4);
    narrow->SetWidth(1, (text + 10) + (accel + 10) + arrow);
    m_nContentWidth = (check + 4) + (text + 10) + (accel + 10) + arrow;
    return m_rows.GetSize() > 0;
}

void CxfPopupMenu::Place()
{
    const int w = m_nContentWidth;
    m_ctrl.MoveWindow(0, 0, w, 1000, FALSE);
    m_ctrl.RecalcLayout(true);
    const int width = w + 2, height = m_ctrl.GetContentHeight() + 2;
    CRect screen;
    ::GetWindowRect(::GetDesktopWindow(), &screen);
    CxfPopupMenu* parent = dynamic_cast<CxfPopupMenu*>(m_pParentHolder);
    if (parent && parent->m_bOpenLeft)
        m_bOpenLeft = true;
    if (m_ptOrigin.x + width > screen.right) {
        if (m_pRootElement && !parent)
            m_ptOrigin.x = screen.right - width;
        else if (parent)
            m_bOpenLeft = true;
        else
            m_ptOrigin.x -= width; // a context menu opens left of the point
    }
    if (m_bOpenLeft && parent) {
        CRect parentRect;
        parent->GetWindowRect(&parentRect);
        m_ptOrigin.x = parentRect.left - width;
        if (m_ptOrigin.x < 0) {
            m_ptOrigin.x = parentRect.right;
            m_bOpenLeft = false;
        }
    }
    if (m_ptOrigin.y + height > screen.bottom) {
        if (m_pRootElement && !parent) {
            RECT anchor{};
            m_pRootElement->GetAnchorRect(&anchor);
            m_ptOrigin.y = anchor.top - height; // above its element
        } else if (m_rows.GetSize() > 0) {
            CRect first;
            m_rows[0]->GetRect(&first);
            m_ptOrigin.y -= height - first.Height();
        }
    }
    SetWindowPos(nullptr, m_ptOrigin.x, m_ptOrigin.y, width, height, SWP_NOZORDER | SWP_HIDEWINDOW | SWP_NOACTIVATE);
    m_ctrl.MoveWindow(1, 1, width - 2, height - 2, FALSE);
}

void CxfPopupMenu::Show()
{
    m_ctrl.SetHoverSelect(true);
    KillTimer(kShowTimer);
    // Brought up while still hidden, then shown, which activates it: an
    // active popup is never moved, not even in the z-order (CActiveDlg).
    // A modal run shows its popup on its first idle pass: that one is up
    // and active already.
    if (!IsWindowVisible()) {
        BringWindowToTop();
        SetWindowPos(&CWnd::wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    }
    m_ctrl.SetFocus();
}

// ---- submenus and commands ----------------------------------------------------

void CxfPopupMenu::ScheduleSubMenu(IHybridCell* cell, bool delayed)
{
    if (!cell)
        return;
    const DWORD id = static_cast<DWORD>(cell->GetData());
    if (cell->IsEnabled()) {
        if (cell != m_pOpenCell.Get())
            CloseSubMenu();
        if (id == kSubMenuData && cell != m_pOpenCell.Get()) {
            m_pPendingCell = cell;
            m_ctrl.ClearSelection(0, false);
            cell->SetSelected(true, false);
            SetTimer(kSubMenuTimer, delayed ? kSubMenuDelay : 0, nullptr);
        } else if (id != kSubMenuData) {
            m_pOpenCell = nullptr;
        }
    }
    if (!m_pSubMenu && m_pOwnerFrame)
        m_pOwnerFrame->SetMessageText(id);
}

void CxfPopupMenu::CloseSubMenu()
{
    if (CxfPopupMenu* sub = m_pSubMenu) {
        m_pSubMenu = nullptr;
        sub->SendMessage(XFM_CLOSEPOPUP);
    }
    m_pOpenCell = nullptr;
}

void CxfPopupMenu::OpenPendingSubMenu()
{
    if (!m_pPendingCell)
        return;
    KillTimer(kSubMenuTimer);
    CIPtr<IHybridCell> cell = m_pPendingCell;
    m_pPendingCell = nullptr;
    if (!cell->IsSelected() || m_pSubMenu)
        return;
    const int index = m_rows.Find(cell);
    if (index < 0)
        return;
    CRect rect;
    cell->GetRect(&rect);
    m_ctrl.ClientToScreen(&rect);
    SxfMenuPath path(m_path);
    path.path.Add(static_cast<DWORD>(index));
    CxfPopupMenu* sub =
        new CxfPopupMenu(m_pRootElement, this, path, rect.right, rect.top, m_pOwnerFrame, m_pfnBeforeShow);
    m_pSubMenu = sub;
    m_pOpenCell = cell;
    if (m_pGivenMenu) {
        // A given menu has no path to load: the submenu is handed over.
        sub->m_pGivenMenu = CMenu::FromHandle(::GetSubMenu(m_pGivenMenu->GetSafeHmenu(), index));
    }
    if (!sub->CreateModeless()) {
        m_pSubMenu = nullptr;
        m_pOpenCell = nullptr;
        delete sub;
    }
}

void CxfPopupMenu::DeliverCommand(IHybridCell* cell, bool closeChain)
{
    if (m_pOwnerFrame && cell)
        ::PostMessageW(m_pOwnerFrame->GetSafeHwnd(), WM_COMMAND, static_cast<WPARAM>(cell->GetData()), 0);
    if (closeChain)
        CloseMenuChain();
}

LRESULT CxfPopupMenu::OnHybridNotify(UINT code, IHybridCell* cell)
{
    if (code == HN_LBUTTONUP || code == HN_RBUTTONUP) {
        CIPtr<IHybridCell> row = FirstSelectedRow();
        if (!row || !row->IsEnabled())
            return 0;
        // Only a release over the selected row chooses it: one over a
        // custom row or a separator must not run the row selected before.
        CPoint cursor;
        ::GetCursorPos(&cursor);
        m_ctrl.ScreenToClient(&cursor);
        CRect rowRect;
        row->GetRect(&rowRect);
        if (!rowRect.PtInRect(cursor))
            return 0;
        if (row->GetData() == kSubMenuData)
            ScheduleSubMenu(row, false);
        else // the control is still inside its handler: the popup may close only later
            PostMessage(kDeliverLater, static_cast<WPARAM>(row->GetData()), code == HN_LBUTTONUP);
        return 0;
    }
    if (code == HN_HOVER_SELECT) {
        ScheduleSubMenu(cell, true);
        return 0;
    }
    if (cell && cell->GetData() == kContentData) {
        CIPtr<IHybridCell> parent;
        if (cell->GetParentCell(&parent) && parent)
            DeliverCommand(parent, false);
    }
    return 0;
}

// ---- closing ------------------------------------------------------------------

void CxfPopupMenu::OnSubMenuClosed()
{
    CxfSubMenuHolder::OnSubMenuClosed();
    m_pOpenCell = nullptr;
    if (GetSafeHwnd() && !m_bClosing)
        SetActiveWindow();
}

void CxfPopupMenu::CloseMenuChain()
{
    if (m_pParentHolder)
        m_pParentHolder->CloseMenuChain();
    else
        SendMessage(XFM_CLOSEPOPUP);
}

void CxfPopupMenu::OnClose()
{
    if (m_bClosing)
        return;
    m_bClosing = true;
    KillTimer(kSubMenuTimer);
    CloseSubMenu();
    // The prompt of the row last under the pointer goes with the menu.
    if (!dynamic_cast<CxfPopupMenu*>(m_pParentHolder) && m_pOwnerFrame && m_pOwnerFrame->GetSafeHwnd())
        m_pOwnerFrame->SetMessageText(0);
    if (m_pParentHolder && m_pParentHolder->m_pSubMenu == this)
        m_pParentHolder->OnSubMenuClosed();
    Close(); // a modeless popup is deleted here: nothing may touch it after
}

void CxfPopupMenu::OnCancel()
{
    OnClose();
}

bool CxfPopupMenu::OnDeactivate(HWND other)
{
    // Another popup of the chain (a submenu, or this one's parent) taking
    // the activation closes nothing.
    for (INT_PTR i = 0; i < s_openPopups.GetSize(); ++i)
        if (s_openPopups[i]->GetSafeHwnd() == other)
            return false;
    // The owner's window taking it back without a click is the late echo
    // of a popup that closed just before this one opened (the activation
    // it gave back arrives after ours): this popup takes it again.
    HWND host = m_pOwnerFrame ? ::GetAncestor(m_pOwnerFrame->GetSafeHwnd(), GA_ROOT) : nullptr;
    if (other && other == host && !IsMouseButtonDown()) {
        PostMessage(kReactivate);
        return false;
    }
    // A click anywhere outside the chain closes all of it.
    CloseMenuChain();
    return true;
}

LRESULT CxfPopupMenu::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case XFM_CLOSEPOPUP: OnClose(); return 0;
    case kDeliverLater:
        if (m_pOwnerFrame)
            ::PostMessageW(m_pOwnerFrame->GetSafeHwnd(), WM_COMMAND, wParam, 0);
        if (lParam)
            CloseMenuChain();
        return 0;
    case WM_HYBRID_NOTIFY: return OnHybridNotify(static_cast<UINT>(wParam), reinterpret_cast<IHybridCell*>(lParam));
    case WM_TIMER:
        if (wParam == kShowTimer) {
            Show();
            return 0;
        }
        if (wParam == kSubMenuTimer) {
            OpenPendingSubMenu();
            return 0;
        }
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE && !m_pSubMenu && !m_bClosing && OnDeactivate(reinterpret_cast<HWND>(lParam)))
            return 0;
        break;
    case WM_ACTIVATEAPP:
        // Another program took the activation: every menu closes.
        if (!wParam && !m_bClosing)
            CloseMenuChain();
        return 0;
    case kReactivate:
        if (!m_bClosing && !m_pSubMenu && ::GetActiveWindow() != m_hWnd)
            SetActiveWindow();
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(m_hWnd, &ps);
        CRect client;
        GetClientRect(&client);
        const CBrush brush(kFrameColour);
        ::FrameRect(dc, &client, brush);
        ::EndPaint(m_hWnd, &ps);
        return 0;
    }
    case WM_ERASEBKGND: return TRUE;
    case WM_SIZE: return 0;
    case WM_DESTROY: Forget(); break;
    default: break;
    }
    return CActiveDlg::WindowProc(message, wParam, lParam);
}

// ---- contents -------------------------------------------------------------------

bool CxfPopupMenu::FindContent(UINT id, IHybridContent** out)
{
    for (INT_PTR i = 0; i < m_rows.GetSize(); ++i) {
        if (static_cast<UINT>(m_rows[i]->GetData()) != id)
            continue;
        CIPtr<IHybridSubContent> sub;
        CCellArray children;
        if (m_rows[i]->GetSubContent(&sub) && sub)
            sub->GetChildren(&children);
        for (INT_PTR c = 0; c < children.GetSize(); ++c)
            if (children[c]->GetData() == kContentData && children[c]->GetContent(out) && *out)
                return true;
        return false;
    }
    return false;
}

bool CxfPopupMenu::FindContentInOpen(UINT id, IHybridContent** out)
{
    for (INT_PTR i = 0; i < s_openPopups.GetSize(); ++i)
        if (s_openPopups[i]->FindContent(id, out))
            return true;
    return false;
}

// ---- entry points ---------------------------------------------------------------

namespace {

void RunModal(CxfPopupMenu* popup)
{
    popup->DoModal();
    delete popup;
}

} // namespace

void TrackXfPopupMenu(int nSubMenu, CxfFrame* pOwner, int x, int y, UINT nMenuID, PFN_XF_BEFORESHOW pfnBeforeShow)
{
    if (nMenuID == static_cast<UINT>(-1))
        nMenuID = static_cast<UINT>(SProductInfo::GetPopupMenuId());
    RunModal(new CxfPopupMenu(nullptr, nullptr, SxfMenuPath(nMenuID, nSubMenu), x, y, pOwner, pfnBeforeShow));
}

void TrackXfPopupMenuAtCursor(int nSubMenu, CxfFrame* pOwner, UINT nMenuID, PFN_XF_BEFORESHOW pfnBeforeShow)
{
    POINT cursor{0, 0};
    ::GetCursorPos(&cursor);
    TrackXfPopupMenu(nSubMenu, pOwner, cursor.x, cursor.y, nMenuID, pfnBeforeShow);
}

void TrackXfPopupMenuFromMenu(CMenu* pMenu, int x, int y, CxfFrame* pOwner)
{
    RunModal(new CxfPopupMenu(pMenu, x, y, pOwner));
}
