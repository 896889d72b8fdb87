#include "common/StaticHyperLink.h"
#include <shellapi.h>
#include "common/PathUtils.h"
#include "common/UiText.h"

namespace {

const COLORREF kLinkColour = 0xFF0000;    // blue
const COLORREF kVisitedColour = 0x800080; // purple
const COLORREF kBackground = 0xFFFFFF;
const UINT kHandCursor = 10024;
const UINT_PTR kToolId = 39002;
// "Can't open file": one line, so that a language file can translate it;
// the target follows on the next line of the message.
const UINT kCantOpenText = 10116;

bool IsTextStatic(DWORD style)
{
    switch (style & SS_TYPEMASK) {
    case SS_LEFT:
    case SS_CENTER:
    case SS_RIGHT:
    case SS_SIMPLE:
    case SS_LEFTNOWORDWRAP: return true;
    default: return false;
    }
}

} // namespace

CStaticHyperLink::CStaticHyperLink()
    : m_linkColour(kLinkColour), m_visitedColour(kVisitedColour), m_bkColour(kBackground), m_visited(false),
      m_useTextAsTarget(true), m_setUpDone(false), m_handCursor(nullptr), m_kind(LINK_HELP)
{
}

void CStaticHyperLink::SetLink(int kind, LPCWSTR target, LPCWSTR parameters, LPCWSTR directory)
{
    m_kind = kind;
    m_target = target ? target : L"";
    m_parameters = parameters ? parameters : L"";
    m_directory = directory ? directory : L"";
    m_toolTipText = m_target;
    if (m_toolTip.GetSafeHwnd())
        m_toolTip.UpdateTipText(m_toolTipText, this, kToolId);
}

void CStaticHyperLink::SetLink(LPCWSTR helpFile)
{
    wchar_t current[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, current);
    SetLink(LINK_HELP, helpFile, nullptr, current);
}

void CStaticHyperLink::PreSubclassWindow()
{
    CStatic::PreSubclassWindow();
    SetUp();
}

void CStaticHyperLink::SetUp()
{
    if (m_setUpDone)
        return;
    m_setUpDone = true;
    ModifyStyle(0, SS_NOTIFY);
    m_handCursor = ::LoadCursorW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kHandCursor));
    if (m_toolTipText.IsEmpty())
        GetWindowText(m_toolTipText);
    if (!m_toolTip.Create(this))
        return;
    CRect client;
    GetClientRect(&client);
    m_toolTip.AddTool(this, m_toolTipText, &client, kToolId);
}

BOOL CStaticHyperLink::PreTranslateMessage(MSG* msg)
{
    if (m_toolTip.GetSafeHwnd())
        m_toolTip.RelayEvent(msg);
    return CStatic::PreTranslateMessage(msg);
}

LRESULT CStaticHyperLink::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SETCURSOR:
        if (m_handCursor) {
            ::SetCursor(m_handCursor);
            return TRUE;
        }
        break;
    case WM_ERASEBKGND: {
        CRect client;
        GetClientRect(&client);
        ::FillRect(reinterpret_cast<HDC>(wParam), &client, ::GetSysColorBrush(COLOR_BTNFACE));
        return TRUE;
    }
    case WM_DESTROY:
        if (m_toolTip.GetSafeHwnd())
            m_toolTip.DestroyWindow();
        break;
    default: break;
    }
    return CStatic::WindowProc(message, wParam, lParam);
}

BOOL CStaticHyperLink::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)
{
    if (message == WM_CTLCOLORSTATIC) {
        HBRUSH brush = OnCtlColour(reinterpret_cast<HDC>(wParam));
        if (!brush)
            return FALSE;
        *result = reinterpret_cast<LRESULT>(brush);
        return TRUE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == STN_CLICKED) {
        Click();
        *result = 0;
        return TRUE;
    }
    (void)lParam;
    return FALSE;
}

HBRUSH CStaticHyperLink::OnCtlColour(HDC dc)
{
    if (!(GetStyle() & SS_NOTIFY))
        ModifyStyle(0, SS_NOTIFY);
    if (!IsTextStatic(GetStyle()))
        return nullptr;
    if (!m_underlined.GetSafeHandle()) {
        LOGFONTW font{};
        HFONT current = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
        if (!current || !::GetObjectW(current, sizeof(font), &font))
            ::GetObjectW(::GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
        font.lfUnderline = TRUE;
        (void)m_underlined.CreateFontIndirect(&font); // checked just below
    }
    if (m_underlined.GetSafeHandle())
        ::SelectObject(dc, m_underlined);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, GetTextColour());
    return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
}

SHyperLinkAction CStaticHyperLink::GetClickAction() const
{
    SHyperLinkAction action{m_kind, m_target, m_parameters, m_directory};
    if (action.target.IsEmpty() && m_useTextAsTarget && m_hWnd)
        GetWindowText(action.target);
    if (m_kind == LINK_HELP)
        action.target = GetHelpPagePath(action.target);
    else if (m_kind == LINK_MAIL)
        action.target = L"mailto:" + action.target;
    return action;
}

void CStaticHyperLink::Click()
{
    Perform(GetClickAction());
    m_visited = true;
    if (m_hWnd)
        Invalidate();
}

bool CStaticHyperLink::Perform(const SHyperLinkAction& action)
{
    const HWND parent = m_hWnd ? ::GetParent(m_hWnd) : nullptr;
    switch (action.kind) {
    case LINK_NOTIFY:
        return parent && ::PostMessageW(parent, WM_HYPERLINK_CLICKED, static_cast<WPARAM>(GetDlgCtrlID()), 0);
    case LINK_HELP: return ShowHelpFile(parent, action.target);
    case LINK_OPEN:
    case LINK_MAIL: {
        const HINSTANCE result = ::ShellExecuteW(
            parent, L"open", action.target, action.parameters.IsEmpty() ? nullptr : action.parameters.GetString(),
            action.directory.IsEmpty() ? nullptr : action.directory.GetString(), SW_SHOWNORMAL);
        if (reinterpret_cast<INT_PTR>(result) > 32)
            return true;
        const CString message = LoadUiText(kCantOpenText, L"Can't open file") + L"\n" + action.target;
        ::MessageBoxW(parent, message, nullptr, MB_OK | MB_ICONWARNING);
        return false;
    }
    default: return false;
    }
}
