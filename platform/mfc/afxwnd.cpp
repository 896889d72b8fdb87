// CWnd core: the handle map, creation with its hook, subclassing, the window
// procedure and dispatch, destruction.
#include "platform/mfc/afxwnd.h"
#include "platform/mfc/afxstate.h"
#include "platform/mfc/afxctl.h"
#include "platform/mfc/afxapp.h"
#include <mutex>
#include <set>
#include <string>

IMPLEMENT_DYNAMIC(CWnd, CCmdTarget)

const CWnd CWnd::wndTop(HWND_TOP);
const CWnd CWnd::wndBottom(HWND_BOTTOM);
const CWnd CWnd::wndTopMost(HWND_TOPMOST);
const CWnd CWnd::wndNoTopMost(HWND_NOTOPMOST);

namespace {

// Permanent objects by handle. Windows belong to their creating thread, but
// lookups (FromHandle) may come from any thread, so the map has a lock.
struct PermanentMap
{
    std::mutex lock;
    std::unordered_map<HWND, CWnd*> map;
};

PermanentMap& Permanent()
{
    static PermanentMap* p = new PermanentMap; // never destroyed: windows may outlive statics
    return *p;
}

void MapWindow(HWND h, CWnd* p)
{
    PermanentMap& pm = Permanent();
    std::lock_guard<std::mutex> g(pm.lock);
    pm.map[h] = p;
}

void UnmapWindow(HWND h, CWnd* p)
{
    PermanentMap& pm = Permanent();
    std::lock_guard<std::mutex> g(pm.lock);
    auto it = pm.map.find(h);
    if (it != pm.map.end() && it->second == p)
        pm.map.erase(it);
}

bool IsImeWindow(HWND h)
{
    wchar_t name[32] = {};
    ::GetClassNameW(h, name, 32);
    return ::lstrcmpiW(name, L"IME") == 0 || ::lstrcmpiW(name, L"MSCTFIME UI") == 0;
}

} // namespace

// ---- creation hook ------------------------------------------------------------

LRESULT CALLBACK AfxCbtFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    AFX_THREAD_STATE& st = AfxGetThreadState();
    if (code == HCBT_CREATEWND && st.pWndInit) {
        HWND h = reinterpret_cast<HWND>(wParam);
        // The system may create helper windows (input method) on the way;
        // the first other window is the one being created.
        if (!IsImeWindow(h)) {
            CWnd* p = st.pWndInit;
            st.pWndInit = nullptr;
            p->AttachCreated(h);
        }
    }
    return ::CallNextHookEx(st.hHookCbt, code, wParam, lParam);
}

void AfxHookWindowCreate(CWnd* pWnd)
{
    AFX_THREAD_STATE& st = AfxGetThreadState();
    if (st.nHookUsers++ == 0 && !st.hHookCbt)
        st.hHookCbt = ::SetWindowsHookExW(WH_CBT, AfxCbtFilterHook, nullptr, ::GetCurrentThreadId());
    st.pWndInit = pWnd;
}

void AfxUnhookWindowCreate()
{
    AFX_THREAD_STATE& st = AfxGetThreadState();
    st.pWndInit = nullptr;
    if (--st.nHookUsers == 0 && st.hHookCbt) {
        ::UnhookWindowsHookEx(st.hHookCbt);
        st.hHookCbt = nullptr;
    }
}

void CWnd::AttachCreated(HWND hWnd)
{
    MapWindow(hWnd, this);
    m_hWnd = hWnd;
    WNDPROC old = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hWnd, GWLP_WNDPROC));
    if (old != AfxWndProc) {
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc));
        m_pfnSuper = old;
    }
}

// ---- class registration -------------------------------------------------------

BOOL AfxRegisterClass(WNDCLASSW* lpWndClass)
{
    WNDCLASSW existing{};
    if (::GetClassInfoW(lpWndClass->hInstance, lpWndClass->lpszClassName, &existing))
        return TRUE;
    if (::RegisterClassW(lpWndClass))
        return TRUE;
    return ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

LPCWSTR AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    static std::mutex lock;
    static std::set<std::wstring>* names = new std::set<std::wstring>;
    wchar_t name[96];
    ::wsprintfW(name, L"RvWnd:%p:%x:%p:%p:%p", static_cast<void*>(AfxGetInstanceHandle()), nClassStyle,
                static_cast<void*>(hCursor), static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
    std::lock_guard<std::mutex> g(lock);
    auto it = names->find(name);
    if (it != names->end())
        return it->c_str();
    WNDCLASSW wc{};
    wc.style = nClassStyle;
    wc.lpfnWndProc = AfxWndProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = hCursor;
    wc.hbrBackground = hbrBackground;
    wc.hIcon = hIcon;
    wc.lpszClassName = name;
    if (!AfxRegisterClass(&wc))
        return nullptr;
    return names->insert(name).first->c_str();
}

// ---- handle map -----------------------------------------------------------------

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    PermanentMap& pm = Permanent();
    std::lock_guard<std::mutex> g(pm.lock);
    auto it = pm.map.find(hWnd);
    return it == pm.map.end() ? nullptr : it->second;
}

CWnd* CWnd::FromHandle(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    if (CWnd* p = FromHandlePermanent(hWnd))
        return p;
    auto& temps = AfxGetThreadState().tempWnd;
    auto it = temps.find(hWnd);
    if (it != temps.end())
        return it->second;
    // A control gets a wrapper of its own class, so casting GetDlgItem's
    // answer to CButton*, CEdit*... is sound.
    CWnd* p = AfxNewControlWrapper(hWnd);
    p->m_hWnd = hWnd;
    temps.emplace(hWnd, p);
    return p;
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (!hWndNew || m_hWnd || FromHandlePermanent(hWndNew))
        return FALSE;
    MapWindow(hWndNew, this);
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND h = m_hWnd;
    if (h)
        UnmapWindow(h, this);
    m_hWnd = nullptr;
    return h;
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    WNDPROC old =
        reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
    m_pfnSuper = old == AfxWndProc ? nullptr : old;
    PreSubclassWindow();
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND h = ::GetDlgItem(pParent->GetSafeHwnd(), static_cast<int>(nID));
    return h ? SubclassWindow(h) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    if (!m_hWnd)
        return nullptr;
    if (m_pfnSuper)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

// ---- creation -------------------------------------------------------------------

BOOL CWnd::Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                  UINT nID, CCreateContext*)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect, pParentWnd, nID);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                    CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, pParentWnd->GetSafeHwnd(),
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, int x, int y,
                    int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam)
{
    if (m_hWnd)
        return FALSE; // one window per object
    CREATESTRUCTW cs{};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs))
        return FALSE;
    m_bCreating = true;
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style), cs.x, cs.y,
                                  cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    AfxUnhookWindowCreate();
    return EndCreate(hWnd);
}

BOOL CWnd::EndCreate(HWND hWnd)
{
    m_bCreating = false;
    if (hWnd)
        return TRUE;
    // Bound by the hook but never given its last message: unbound here, so
    // that the object holds no dead handle.
    if (m_hWnd) {
        m_pfnSuper = nullptr;
        Detach();
    }
    return FALSE;
}

BOOL CWnd::PreCreateWindow(CREATESTRUCTW& cs)
{
    if (!cs.lpszClass) {
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)),
                                           reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
        if (!cs.lpszClass)
            return FALSE;
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    HWND h = m_hWnd;
    if (!h)
        return FALSE;
    // The object may be deleted by PostNcDestroy inside this call.
    return ::DestroyWindow(h);
}

CWnd::~CWnd()
{
    if (m_hWnd && FromHandlePermanent(m_hWnd) == this) {
        // Derived parts are gone already: only this class's handling runs.
        ::DestroyWindow(m_hWnd);
    }
    if (m_hWnd) {
        // Not destroyed (another thread's window, or only attached): unbind.
        if (m_pfnSuper && reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC)) == AfxWndProc)
            ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        Detach();
    }
}

void CWnd::FinishNcDestroy()
{
    HWND h = m_hWnd;
    if (h && m_pfnSuper && reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(h, GWLP_WNDPROC)) == AfxWndProc)
        ::SetWindowLongPtrW(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    Detach();
    // No thread keeps pointing at a main window that is gone.
    for (CWinThread* t : {AfxGetThread(), static_cast<CWinThread*>(AfxGetApp())}) {
        if (!t)
            continue;
        if (t->m_pMainWnd == this)
            t->m_pMainWnd = nullptr;
        if (t->m_pActiveWnd == this)
            t->m_pActiveWnd = nullptr;
    }
    if (!m_bCreating)
        PostNcDestroy(); // may delete this
}

void CWnd::OnNcDestroy()
{
    Default();
    FinishNcDestroy();
}

// ---- dispatch ---------------------------------------------------------------------

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd)
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    AFX_THREAD_STATE& st = AfxGetThreadState();
    MSG current{};
    current.hwnd = hWnd;
    current.message = message;
    current.wParam = wParam;
    current.lParam = lParam;
    const MSG* previous = st.pCurrentMsg;
    st.pCurrentMsg = &current;
    ++st.nTempMapLock;
    LRESULT result;
    try {
        result = pWnd->WindowProc(message, wParam, lParam);
    } catch (CException* e) {
        // A class-library exception must not unwind through the system's
        // dispatch: the user is told, and a failed creation fails.
        e->ReportError();
        e->Delete();
        result = message == WM_CREATE ? -1 : 0;
    }
    // pWnd may be gone now. After the last message of the window, an object
    // that is still bound (no OnNcDestroy in its map) is unbound here.
    if (message == WM_NCDESTROY && CWnd::FromHandlePermanent(hWnd) == pWnd)
        pWnd->FinishNcDestroy();
    --st.nTempMapLock;
    st.pCurrentMsg = previous;
    return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default()
{
    const MSG* m = AfxGetThreadState().pCurrentMsg;
    if (!m || m->hwnd != m_hWnd)
        return 0;
    return DefWindowProc(m->message, m->wParam, m->lParam);
}

const MSG* CWnd::GetCurrentMessage()
{
    return AfxGetThreadState().pCurrentMsg;
}

namespace {

// The control a parent-bound control message comes from, or null.
HWND ControlOfMessage(UINT message, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: return reinterpret_cast<HWND>(lParam);
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        return item && item->CtlType != ODT_MENU ? item->hwndItem : nullptr;
    }
    default: return nullptr;
    }
}

} // namespace

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*)
{
    return FALSE;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    // Nothing of this object is touched after a handler ran: it may be gone.
    if (HWND control = ControlOfMessage(message, lParam)) {
        CWnd* child = FromHandlePermanent(control);
        if (child && child != this && child->OnChildNotify(message, wParam, lParam, pResult))
            return TRUE;
    }
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 1;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        const NMHDR* nm = reinterpret_cast<const NMHDR*>(lParam);
        LRESULT r = 0;
        if (!nm || !nm->hwndFrom || !OnNotify(wParam, lParam, &r))
            return FALSE;
        *pResult = r;
        return TRUE;
    }
    const AFX_MSGMAP_ENTRY* e = FindMessageEntry(message);
    if (!e)
        return FALSE;
    AFX_MSGARGS args{message, wParam, lParam, 0, 0, nullptr, 0};
    e->pfnDispatch(this, args);
    *pResult = args.lResult;
    return TRUE;
}

namespace {

// Records what an update handler decides about a command; touches no
// element. A command nobody updates stays enabled.
class CEnableProbe : public CCmdUI
{
public:
    BOOL m_bEnabled = TRUE;
    void Enable(BOOL bOn) override
    {
        m_bEnabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int) override {}
    void SetRadio(BOOL) override {}
    void SetText(LPCWSTR) override {}
};

} // namespace

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    // Menus (code 0) and accelerators (code 1) are commands; a control's
    // notification keeps its code.
    int nCode = lParam ? static_cast<int>(HIWORD(wParam)) : CN_COMMAND;
    if (nID == 0)
        return FALSE;
    if (!lParam) {
        // The element that sent it may be stale (a key, a posted command):
        // a command its update handler disables now is swallowed unrun.
        CEnableProbe state;
        state.m_nID = nID;
        OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state, nullptr);
        if (!state.m_bEnabled)
            return TRUE;
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* nm = reinterpret_cast<NMHDR*>(lParam);
    AFX_NOTIFY notify{pResult, nm};
    // Notifications stay with this window's own map.
    return CCmdTarget::OnCmdMsg(static_cast<UINT>(nm->idFrom), CN_NOTIFY_ENTRY, &notify, nullptr);
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg)
{
    for (HWND h = pMsg->hwnd; h; h = ::GetParent(h)) {
        CWnd* p = FromHandlePermanent(h);
        if (p && p->PreTranslateMessage(pMsg))
            return TRUE;
        if (h == hWndStop)
            break;
    }
    return FALSE;
}

// ---- modal loop -----------------------------------------------------------------

BOOL CWnd::ContinueModal()
{
    return m_bContinueModal;
}

void CWnd::EndModalLoop(int nResult)
{
    m_nModalResult = nResult;
    if (m_bContinueModal) {
        m_bContinueModal = false;
        PostMessage(WM_NULL); // wake the loop if it waits for a message
    }
}

int CWnd::RunModalLoop(DWORD dwFlags)
{
    const HWND hWnd = m_hWnd;
    bool showOnIdle = (dwFlags & MLF_SHOWONIDLE) && !(GetStyle() & WS_VISIBLE);
    const HWND hParent = ::GetParent(hWnd);
    m_bContinueModal = true;
    bool idle = true;
    LONG idleCount = 0;
    for (;;) {
        MSG peek;
        while (idle && !::PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE)) {
            if (showOnIdle) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                showOnIdle = false;
            }
            if (!(dwFlags & MLF_NOIDLEMSG) && hParent && idleCount == 0)
                ::SendMessageW(hParent, WM_ENTERIDLE, MSGF_DIALOGBOX, reinterpret_cast<LPARAM>(hWnd));
            if ((dwFlags & MLF_NOKICKIDLE) || !::SendMessageW(hWnd, WM_KICKIDLE, MSGF_DIALOGBOX, idleCount++))
                idle = false;
        }
        do {
            if (!AfxPumpMessage()) {
                // WM_QUIT: end this loop and let the outer loop see it too.
                ::PostQuitMessage(static_cast<int>(AfxGetCurrentPumpMessage()->wParam));
                m_bContinueModal = false;
                return -1;
            }
            const MSG* pumped = AfxGetCurrentPumpMessage();
            if (showOnIdle && (pumped->message == 0x0118 /* system timer */ || pumped->message == WM_SYSKEYDOWN)) {
                ShowWindow(SW_SHOWNORMAL);
                UpdateWindow();
                showOnIdle = false;
            }
            // A window destroyed under the loop ends it (with the result so far).
            if (!::IsWindow(hWnd)) {
                m_bContinueModal = false;
                return m_nModalResult;
            }
            if (!ContinueModal())
                return m_nModalResult;
            if (AfxIsIdleMessage(const_cast<MSG*>(pumped))) {
                idle = true;
                idleCount = 0;
            }
        } while (::PeekMessageW(&peek, nullptr, 0, 0, PM_NOREMOVE));
    }
}
