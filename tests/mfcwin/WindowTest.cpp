// Window objects: creation, message-map dispatch with unpacked arguments,
// subclassing, self-deleting handlers, pre-translation order.
#include "MfcWinTest.h"
#include "platform/mfc/afxstate.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class CProbeWnd : public CWnd
{
public:
    bool boundAtNcCreate = false;
    bool boundAtCreate = false;
    std::wstring createName;
    int createCx = 0;
    std::vector<CSize> sizes;
    int paints = 0;
    int erases = 0;
    UINT downFlags = 0;
    CPoint downPoint{-100, -100};
    CPoint movePoint{-100, -100};
    short wheelDelta = 0;
    CPoint wheelPoint;
    std::vector<UINT_PTR> timers;
    LRESULT privateResult = 0;
    WPARAM privateW = 0;
    LPARAM privateL = 0;
    UINT keyChar = 0, keyRepeat = 0;
    bool closed = false;

protected:
    LRESULT OnNcCreateMsg(WPARAM, LPARAM)
    {
        boundAtNcCreate = FromHandlePermanent(m_hWnd) == this;
        return Default();
    }
    int OnCreate(LPCREATESTRUCT cs)
    {
        if (CWnd::OnCreate(cs) == -1)
            return -1;
        boundAtCreate = FromHandlePermanent(m_hWnd) == this && m_hWnd != nullptr;
        createName = cs->lpszName ? cs->lpszName : L"";
        createCx = cs->cx;
        return 0;
    }
    void OnSize(UINT, int cx, int cy) { sizes.emplace_back(cx, cy); }
    void OnPaint()
    {
        CPaintDC dc(this);
        ++paints;
    }
    BOOL OnEraseBkgnd(CDC* pDC)
    {
        if (pDC && pDC->GetSafeHdc())
            ++erases;
        return TRUE;
    }
    void OnLButtonDown(UINT nFlags, CPoint point)
    {
        downFlags = nFlags;
        downPoint = point;
    }
    void OnMouseMove(UINT, CPoint point) { movePoint = point; }
    BOOL OnMouseWheel(UINT, short zDelta, CPoint pt)
    {
        wheelDelta = zDelta;
        wheelPoint = pt;
        return TRUE;
    }
    void OnTimer(UINT_PTR nIDEvent)
    {
        timers.push_back(nIDEvent);
        KillTimer(nIDEvent);
    }
    void OnKeyDown(UINT nChar, UINT nRepCnt, UINT)
    {
        keyChar = nChar;
        keyRepeat = nRepCnt;
    }
    void OnClose() { closed = true; } // no default: the window stays
    LRESULT OnPrivate(WPARAM w, LPARAM l)
    {
        privateW = w;
        privateL = l;
        return 0x1234;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CProbeWnd, CWnd)
    ON_MESSAGE(WM_NCCREATE, &CProbeWnd::OnNcCreateMsg)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSEWHEEL()
    ON_WM_TIMER()
    ON_WM_KEYDOWN()
    ON_WM_CLOSE()
    ON_MESSAGE(WM_APP + 5, &CProbeWnd::OnPrivate)
END_MESSAGE_MAP()

LPCWSTR ProbeClass()
{
    return AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)),
                               static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
}

} // namespace

TEST(MfcWindow, HandlersGetCreationSizePaintMouseTimerArguments)
{
    CProbeWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, ProbeClass(), L"Probe", WS_POPUP | WS_VISIBLE, CRect(20, 20, 320, 220), nullptr, 0));
    EXPECT_TRUE(wnd.boundAtNcCreate);
    EXPECT_TRUE(wnd.boundAtCreate);
    EXPECT_EQ(L"Probe", wnd.createName);
    EXPECT_EQ(300, wnd.createCx);
    EXPECT_EQ(&wnd, CWnd::FromHandle(wnd.m_hWnd));

    wnd.SetWindowPos(&CWnd::wndTopMost, 0, 0, 200, 120, SWP_NOMOVE | SWP_NOACTIVATE);
    EXPECT_TRUE(wnd.GetExStyle() & WS_EX_TOPMOST);
    ASSERT_FALSE(wnd.sizes.empty());
    EXPECT_EQ(CSize(200, 120), wnd.sizes.back());

    wnd.Invalidate();
    wnd.UpdateWindow();
    EXPECT_GE(wnd.paints, 1);
    EXPECT_GE(wnd.erases, 1);

    // Posted input goes through the pump; coordinates keep their sign.
    wnd.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON | MK_SHIFT, MAKELPARAM(15, 25));
    wnd.PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(-5, 7));
    wnd.PostMessage(WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, -240), MAKELPARAM(100, 200));
    wnd.PostMessage(WM_KEYDOWN, VK_F3, MAKELPARAM(2, 0x3D));
    EXPECT_TRUE(PumpUntil([&] { return wnd.keyChar != 0; }));
    EXPECT_EQ(static_cast<UINT>(MK_LBUTTON | MK_SHIFT), wnd.downFlags);
    EXPECT_EQ(CPoint(15, 25), wnd.downPoint);
    EXPECT_EQ(CPoint(-5, 7), wnd.movePoint);
    EXPECT_EQ(-240, wnd.wheelDelta);
    EXPECT_EQ(CPoint(100, 200), wnd.wheelPoint);
    EXPECT_EQ(static_cast<UINT>(VK_F3), wnd.keyChar);
    EXPECT_EQ(2u, wnd.keyRepeat);

    wnd.SetTimer(7, 10);
    EXPECT_TRUE(PumpUntil([&] { return !wnd.timers.empty(); }));
    EXPECT_EQ(7u, wnd.timers.front());

    EXPECT_EQ(0x1234, wnd.SendMessage(WM_APP + 5, 11, -3));
    EXPECT_EQ(11u, wnd.privateW);
    EXPECT_EQ(-3, wnd.privateL);

    // A handler without the default processing keeps the window.
    wnd.SendMessage(WM_CLOSE);
    EXPECT_TRUE(wnd.closed);
    EXPECT_TRUE(::IsWindow(wnd.m_hWnd));

    HWND h = wnd.m_hWnd;
    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(nullptr, wnd.m_hWnd);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(h));
}

namespace {

class CFailWnd : public CWnd
{
public:
    int postNcDestroy = 0;
    HWND seen = nullptr;
    bool refuseInOnCreate = true;

protected:
    int OnCreate(LPCREATESTRUCT)
    {
        seen = m_hWnd;
        return refuseInOnCreate ? -1 : 0;
    }
    void PostNcDestroy() override { ++postNcDestroy; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFailWnd, CWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

// Refuses every window this thread creates while it lives (as a system
// without a display does), after the object was bound.
LRESULT CALLBACK RefuseCreation(int code, WPARAM wParam, LPARAM lParam)
{
    return code == HCBT_CREATEWND ? 1 : ::CallNextHookEx(nullptr, code, wParam, lParam);
}

} // namespace

TEST(MfcWindow, FailedCreationLeavesTheObjectUnboundAndToItsCreator)
{
    // Refused by its own OnCreate, by the system, or by an unknown class:
    // the object is unbound and PostNcDestroy does not run, so that whoever
    // made it deletes it (once).
    {
        CFailWnd wnd;
        EXPECT_FALSE(wnd.CreateEx(0, ProbeClass(), L"Fail", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
        EXPECT_NE(nullptr, wnd.seen);
        EXPECT_EQ(nullptr, wnd.m_hWnd);
        EXPECT_EQ(0, wnd.postNcDestroy);
        EXPECT_FALSE(::IsWindow(wnd.seen));
        EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(wnd.seen));
    }
    {
        CFailWnd wnd;
        wnd.refuseInOnCreate = false;
        HHOOK hook = ::SetWindowsHookExW(WH_CBT, RefuseCreation, nullptr, ::GetCurrentThreadId());
        ASSERT_TRUE(hook);
        const BOOL made = wnd.CreateEx(0, ProbeClass(), L"Fail", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0);
        ::UnhookWindowsHookEx(hook);
        EXPECT_FALSE(made);
        EXPECT_EQ(nullptr, wnd.m_hWnd);
        EXPECT_EQ(0, wnd.postNcDestroy);
    }
    {
        CFailWnd wnd;
        EXPECT_FALSE(wnd.CreateEx(0, L"NoSuchClass", L"Fail", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
        EXPECT_EQ(nullptr, wnd.m_hWnd);
        EXPECT_EQ(0, wnd.postNcDestroy);
    }
    // Once made, the window's end runs it as always.
    CFailWnd made;
    made.refuseInOnCreate = false;
    ASSERT_TRUE(made.CreateEx(0, ProbeClass(), L"Made", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    made.DestroyWindow();
    EXPECT_EQ(1, made.postNcDestroy);
}

namespace {

// An edit control subclassed after creation: characters pass its map first,
// then the control's own procedure.
class CSubEdit : public CEdit
{
public:
    std::vector<UINT> chars;
    int rightClicks = 0;

protected:
    void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
    {
        chars.push_back(nChar);
        CEdit::OnChar(nChar, nRepCnt, nFlags);
    }
    void OnRButtonDown(UINT, CPoint) { ++rightClicks; } // swallowed
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSubEdit, CEdit)
    ON_WM_CHAR()
    ON_WM_RBUTTONDOWN()
END_MESSAGE_MAP()

} // namespace

TEST(MfcWindow, SubclassedChildRoutesThroughItsMapAndFallsBack)
{
    CProbeWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, ProbeClass(), L"Parent", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 0));
    HWND hEdit = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 5, 5, 150, 20, parent.m_hWnd,
                                   reinterpret_cast<HMENU>(40), ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, hEdit);
    LONG_PTR original = ::GetWindowLongPtrW(hEdit, GWLP_WNDPROC);

    CSubEdit edit;
    ASSERT_TRUE(edit.SubclassWindow(hEdit));
    EXPECT_EQ(&edit, CWnd::FromHandle(hEdit));
    EXPECT_FALSE(edit.SubclassWindow(hEdit)); // bound already

    edit.SendMessage(WM_CHAR, L'a', 1);
    edit.SendMessage(WM_CHAR, L'b', 1);
    edit.SendMessage(WM_RBUTTONDOWN, 0, 0);
    ASSERT_EQ(2u, edit.chars.size());
    EXPECT_EQ(static_cast<UINT>(L'a'), edit.chars[0]);
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(CString(L"ab"), text); // the edit control's own procedure ran
    EXPECT_EQ(1, edit.rightClicks);
    // Messages without an entry go straight to the old procedure.
    edit.SetWindowText(L"xyz");
    EXPECT_EQ(3, edit.GetWindowTextLength());
    edit.SetSel(0, -1);
    EXPECT_EQ(MAKELONG(0, 3), static_cast<LONG>(edit.GetSel()));

    EXPECT_EQ(hEdit, edit.UnsubclassWindow());
    EXPECT_EQ(original, ::GetWindowLongPtrW(hEdit, GWLP_WNDPROC));
    ::SendMessageW(hEdit, WM_CHAR, L'c', 1);
    EXPECT_EQ(2u, edit.chars.size());
    // A foreign control is wrapped in its own class.
    EXPECT_NE(nullptr, dynamic_cast<CEdit*>(parent.GetDlgItem(40)));
    parent.DestroyWindow();
}

namespace {

int g_deleted = 0;
int g_postNcDestroy = 0;

// Deletes itself from inside its own handlers.
class CSelfDeleter : public CWnd
{
public:
    ~CSelfDeleter() override { ++g_deleted; }

protected:
    void OnLButtonUp(UINT, CPoint)
    {
        DestroyWindow(); // WM_NCDESTROY runs inside; the object is still alive
        delete this;
    }
    void OnRButtonUp(UINT, CPoint) { delete this; } // the destructor destroys the window
    void OnCmdDelete() { delete this; }
    void PostNcDestroy() override { ++g_postNcDestroy; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSelfDeleter, CWnd)
    ON_WM_LBUTTONUP()
    ON_WM_RBUTTONUP()
    ON_COMMAND(500, &CSelfDeleter::OnCmdDelete)
END_MESSAGE_MAP()

// Owns itself: deletes itself after its window is gone.
class CHeapWnd : public CWnd
{
public:
    ~CHeapWnd() override { ++g_deleted; }

protected:
    void PostNcDestroy() override { delete this; }
};

} // namespace

TEST(MfcWindow, HandlerThatDeletesItsObjectDoesNotCrashThePump)
{
    g_deleted = 0;
    g_postNcDestroy = 0;
    CProbeWnd witness;
    ASSERT_TRUE(witness.CreateEx(0, ProbeClass(), L"W", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));

    HWND handles[4] = {};
    for (int i = 0; i < 3; ++i) {
        auto* p = new CSelfDeleter;
        ASSERT_TRUE(p->CreateEx(0, ProbeClass(), L"Self", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
        handles[i] = p->m_hWnd;
    }
    ::PostMessageW(handles[0], WM_LBUTTONUP, 0, 0);
    ::PostMessageW(handles[1], WM_RBUTTONUP, 0, 0);
    ::PostMessageW(handles[2], WM_COMMAND, 500, 0);
    auto* heap = new CHeapWnd;
    ASSERT_TRUE(heap->CreateEx(0, ProbeClass(), L"Heap", WS_POPUP, CRect(0, 0, 50, 50), nullptr, 0));
    handles[3] = heap->m_hWnd;
    ::PostMessageW(handles[3], WM_CLOSE, 0, 0); // default close destroys; PostNcDestroy deletes
    // The pump goes on after all of them: a later message still arrives.
    witness.PostMessage(WM_APP + 5, 1, 2);
    EXPECT_TRUE(PumpUntil([&] { return witness.privateW == 1; }));
    EXPECT_EQ(4, g_deleted);
    // Only the window destroyed before its object was deleted reaches the
    // derived PostNcDestroy; the destructor's destruction can't.
    EXPECT_EQ(1, g_postNcDestroy);
    for (HWND h : handles) {
        EXPECT_FALSE(::IsWindow(h));
        EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(h));
    }
}

namespace {

std::vector<std::wstring> g_order;

class CKeyChild : public CWnd
{
public:
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
            g_order.push_back(L"child-pre " + std::to_wstring(pMsg->wParam));
        return FALSE;
    }

protected:
    void OnKeyDown(UINT nChar, UINT, UINT) { g_order.push_back(L"child-key " + std::to_wstring(nChar)); }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CKeyChild, CWnd)
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

class CKeyParent : public CWnd
{
public:
    HWND child = nullptr;
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message != WM_KEYDOWN || pMsg->hwnd != child)
            return FALSE;
        g_order.push_back(L"parent-pre " + std::to_wstring(pMsg->wParam));
        return pMsg->wParam == VK_F5; // takes F5, lets F6 through
    }
};

} // namespace

TEST(MfcWindow, ParentPreTranslatesChildKeysBeforeTheChildGetsThem)
{
    g_order.clear();
    CKeyParent parent;
    ASSERT_TRUE(parent.CreateEx(0, ProbeClass(), L"P", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 100), nullptr, 0));
    CKeyChild child;
    ASSERT_TRUE(child.Create(ProbeClass(), L"C", WS_VISIBLE, CRect(10, 10, 60, 60), &parent, 3));
    parent.child = child.m_hWnd;
    child.PostMessage(WM_KEYDOWN, VK_F5, 1);
    child.PostMessage(WM_KEYDOWN, VK_F6, 1);
    EXPECT_TRUE(PumpUntil([] { return g_order.size() >= 5; }));
    std::vector<std::wstring> expected = {L"child-pre 116", L"parent-pre 116", L"child-pre 117", L"parent-pre 117",
                                          L"child-key 117"};
    EXPECT_EQ(expected, g_order);
}

TEST(MfcWindow, TemporaryWrappersLiveUntilTheIdlePass)
{
    HWND h = ::CreateWindowExW(0, L"STATIC", L"t", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(nullptr, h);
    CWnd* temp = CWnd::FromHandle(h);
    ASSERT_NE(nullptr, temp);
    EXPECT_NE(nullptr, dynamic_cast<CStatic*>(temp));
    EXPECT_EQ(temp, CWnd::FromHandle(h)); // one wrapper per handle
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(h));
    EXPECT_TRUE(AfxGetThreadState().tempWnd.count(h));
    TestApp().OnIdle(0);
    TestApp().OnIdle(1);
    EXPECT_FALSE(AfxGetThreadState().tempWnd.count(h));
    EXPECT_TRUE(::IsWindow(h)); // the wrapper never destroyed the window
    ::DestroyWindow(h);
}

namespace {

// Records what OnHScroll is handed: a pointer for every control that sends
// the message (scroll bar or not), null only for the window's own bar.
class CScrollProbeWnd : public CWnd
{
public:
    int calls = 0;
    UINT code = 0xFFFF;
    HWND from = reinterpret_cast<HWND>(1);

protected:
    void OnHScroll(UINT nSBCode, UINT, CScrollBar* pScrollBar)
    {
        ++calls;
        code = nSBCode;
        from = pScrollBar ? pScrollBar->m_hWnd : nullptr;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CScrollProbeWnd, CWnd)
    ON_WM_HSCROLL()
END_MESSAGE_MAP()

} // namespace

TEST(MfcWindow, ScrollMessagesHandTheSendingControlEvenWhenItIsNoScrollBar)
{
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_BAR_CLASSES};
    ASSERT_TRUE(::InitCommonControlsEx(&icc));
    CScrollProbeWnd parent;
    ASSERT_TRUE(parent.CreateEx(0, ProbeClass(), L"S", WS_POPUP | WS_VISIBLE, CRect(0, 0, 300, 100), nullptr, 0));
    HWND hTrack = ::CreateWindowExW(0, TRACKBAR_CLASSW, L"", WS_CHILD | WS_VISIBLE, 5, 5, 200, 30, parent.m_hWnd,
                                    reinterpret_cast<HMENU>(9), nullptr, nullptr);
    ASSERT_NE(nullptr, hTrack);
    ::SendMessageW(hTrack, TBM_SETRANGE, TRUE, MAKELPARAM(0, 10));
    // The trackbar tells its parent through WM_HSCROLL with itself in lParam.
    ::SendMessageW(hTrack, WM_KEYDOWN, VK_RIGHT, 0);
    ASSERT_GE(parent.calls, 1);
    EXPECT_EQ(static_cast<UINT>(TB_LINEDOWN), parent.code);
    EXPECT_EQ(hTrack, parent.from);

    HWND hBar = ::CreateWindowExW(0, L"SCROLLBAR", L"", WS_CHILD | WS_VISIBLE | SBS_HORZ, 5, 50, 200, 16, parent.m_hWnd,
                                  reinterpret_cast<HMENU>(10), nullptr, nullptr);
    ASSERT_NE(nullptr, hBar);
    parent.SendMessage(WM_HSCROLL, SB_PAGERIGHT, reinterpret_cast<LPARAM>(hBar));
    EXPECT_EQ(static_cast<UINT>(SB_PAGERIGHT), parent.code);
    EXPECT_EQ(hBar, parent.from);

    parent.SendMessage(WM_HSCROLL, SB_LINELEFT, 0); // the window's own bar
    EXPECT_EQ(static_cast<UINT>(SB_LINELEFT), parent.code);
    EXPECT_EQ(nullptr, parent.from);
    parent.DestroyWindow();
}
