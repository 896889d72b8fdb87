#include "common/ActiveDlg.h"
#include "platform/mfc/afxdc.h"
#include "platform/mfc/afxmsg.h"
#include <map>

namespace {

typedef CActiveDlg::SSubclassInfo SInfo;

CGCPtrArray<SInfo>& Registry()
{
    static CGCPtrArray<SInfo> registry(true);
    return registry;
}

// Windows whose subclassing could not be taken off because somebody
// subclassed them after a popup did: their messages are passed on.
std::map<HWND, WNDPROC>& Retired()
{
    static std::map<HWND, WNDPROC> retired;
    return retired;
}

SInfo* FindInfo(HWND hwnd)
{
    return Registry().FindIf([hwnd](const SInfo& info) { return info.hwnd == hwnd; });
}

LRESULT CALLBACK PopupOwnerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (SInfo* info = FindInfo(hwnd)) {
        if (message == WM_NCACTIVATE && wParam == FALSE)
            return 1;
        if (message == WM_ACTIVATE && LOWORD(wParam) == WA_INACTIVE)
            return 1;
        WNDPROC saved = info->savedProc;
        if (message == WM_NCDESTROY)
            Registry().Remove(info); // the window goes: put its procedure back
        return CallWindowProcW(saved, hwnd, message, wParam, lParam);
    }
    auto retired = Retired().find(hwnd);
    if (retired != Retired().end()) {
        WNDPROC saved = retired->second;
        if (message == WM_NCDESTROY)
            Retired().erase(retired);
        return CallWindowProcW(saved, hwnd, message, wParam, lParam);
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

} // namespace

CActiveDlg::SSubclassInfo::SSubclassInfo(HWND window) : hwnd(window), savedProc(nullptr)
{
    // A window whose earlier subclassing could not be taken off still has
    // the popup procedure in its chain: that one takes the window back, for
    // a second one would find this record again and call itself forever.
    auto retired = Retired().find(window);
    if (retired != Retired().end()) {
        savedProc = retired->second;
        Retired().erase(retired);
        return;
    }
    savedProc =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PopupOwnerProc)));
}

CActiveDlg::SSubclassInfo::~SSubclassInfo()
{
    if (!IsWindow(hwnd))
        return;
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(hwnd, GWLP_WNDPROC)) == PopupOwnerProc)
        SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(savedProc));
    else
        Retired()[hwnd] = savedProc;
}

BEGIN_MESSAGE_MAP(CActiveDlg, CDialog)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CActiveDlg::CActiveDlg(UINT templateId, CWnd* owner, bool drawBorder)
    : CDialog(templateId, owner), m_owner(owner), m_drawBorder(drawBorder), m_previousActive(::GetActiveWindow()),
      m_previousFocus(::GetFocus())
{
}

CActiveDlg::~CActiveDlg() = default;

bool CActiveDlg::IsSubclassed(HWND hwnd)
{
    return FindInfo(hwnd) != nullptr;
}

INT_PTR CActiveDlg::DoModal()
{
    if (!CreateModalWindow(m_owner->GetSafeHwnd()))
        return -1;
    RunModalWindow();
    int result = m_nModalResult;
    m_bContinueModal = false;
    DestroyWindow();
    return result;
}

BOOL CActiveDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    for (HWND h = m_owner->GetSafeHwnd(); h != nullptr; h = ::GetParent(h)) {
        if (FindInfo(h) == nullptr)
            Registry().Add(new SSubclassInfo(h));
    }
    return TRUE;
}

LRESULT CActiveDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    // Under Wine's X11 driver a top-level window that is active, or is
    // activated, when it is shown or moved becomes a window of the window
    // manager, and hiding such a window waits for the window manager to
    // withdraw it: two seconds without one, the program frozen and the
    // popup left on the screen after the click that closed it. So a popup
    // is never active while it is hidden, and it is shown and moved
    // without activation, taking the activation once it shows.
    switch (message) {
    case WM_INITDIALOG: {
        // The dialog's default focus would activate the hidden popup.
        const LRESULT defaultFocus = CDialog::WindowProc(message, wParam, lParam);
        return IsWindowVisible() ? defaultFocus : FALSE;
    }
    case WM_WINDOWPOSCHANGING: {
        auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
        if (!(pos->flags & (SWP_NOACTIVATE | SWP_HIDEWINDOW)))
            m_activateWhenPlaced = true;
        pos->flags |= SWP_NOACTIVATE;
        break;
    }
    case WM_WINDOWPOSCHANGED:
        if (m_activateWhenPlaced) {
            m_activateWhenPlaced = false;
            if (IsWindowVisible() && ::GetActiveWindow() != m_hWnd)
                SetActiveWindow();
        }
        break;
    default: break;
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

void CActiveDlg::Close()
{
    if (m_closing)
        return;
    m_closing = true;
    OnClosing();
    Registry().RemoveAll();
    if (m_previousActive != nullptr && ::IsWindow(m_previousActive))
        ::SetActiveWindow(m_previousActive);
    if (m_previousFocus != nullptr && ::IsWindow(m_previousFocus))
        ::SetFocus(m_previousFocus);
    if (m_bContinueModal) {
        EndDialog(0);
    } else {
        DestroyWindow();
        delete this;
    }
}

void CActiveDlg::OnPaint()
{
    CPaintDC dc(this);
    if (m_drawBorder) {
        CRect client;
        GetClientRect(&client);
        dc.Draw3dRect(&client, RGB(0xFF, 0xFF, 0xFF), RGB(0xA3, 0xA3, 0xA3));
    }
}
