#pragma once
// Window-message entries of message maps (see afxcmd.h for the map itself).
//
// Each ON_WM_xxx() entry calls the handler of the class whose map holds it,
// with the arguments unpacked from wParam/lParam, and sets the message's
// result. The handler names and signatures:
//
//   ON_WM_CREATE        int  OnCreate(LPCREATESTRUCT)            -1 fails creation
//   ON_WM_DESTROY       void OnDestroy()
//   ON_WM_NCDESTROY     void OnNcDestroy()
//   ON_WM_CLOSE         void OnClose()
//   ON_WM_SIZE          void OnSize(UINT nType, int cx, int cy)
//   ON_WM_MOVE          void OnMove(int x, int y)
//   ON_WM_PAINT         void OnPaint()
//   ON_WM_NCPAINT       void OnNcPaint()
//   ON_WM_ERASEBKGND    BOOL OnEraseBkgnd(CDC*)
//   ON_WM_TIMER         void OnTimer(UINT_PTR nIDEvent)
//   ON_WM_SETCURSOR     BOOL OnSetCursor(CWnd*, UINT nHitTest, UINT message)
//   ON_WM_MOUSEMOVE, ON_WM_[LRM]BUTTON{DOWN,UP,DBLCLK}
//                       void OnXxx(UINT nFlags, CPoint point)   client coordinates
//   ON_WM_MOUSEWHEEL    BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint pt)  screen coordinates
//   ON_WM_MOUSELEAVE    void OnMouseLeave()
//   ON_WM_MOUSEACTIVATE int  OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
//   ON_WM_NCHITTEST     LRESULT OnNcHitTest(CPoint point)
//   ON_WM_NCLBUTTONDOWN void OnNcLButtonDown(UINT nHitTest, CPoint point)
//   ON_WM_SETFOCUS      void OnSetFocus(CWnd* pOldWnd)
//   ON_WM_KILLFOCUS     void OnKillFocus(CWnd* pNewWnd)
//   ON_WM_ACTIVATE      void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
//   ON_WM_NCACTIVATE    BOOL OnNcActivate(BOOL bActive)
//   ON_WM_ACTIVATEAPP   void OnActivateApp(BOOL bActive, DWORD dwThreadID)
//   ON_WM_CHILDACTIVATE void OnChildActivate()
//   ON_WM_KEYDOWN, ON_WM_KEYUP, ON_WM_SYSKEYDOWN, ON_WM_SYSKEYUP, ON_WM_CHAR, ON_WM_SYSCHAR
//                       void OnXxx(UINT nChar, UINT nRepCnt, UINT nFlags)
//   ON_WM_GETDLGCODE    UINT OnGetDlgCode()
//   ON_WM_CONTEXTMENU   void OnContextMenu(CWnd* pWnd, CPoint pos)     screen coordinates
//   ON_WM_DROPFILES     void OnDropFiles(HDROP hDropInfo)
//   ON_WM_SHOWWINDOW    void OnShowWindow(BOOL bShow, UINT nStatus)
//   ON_WM_GETMINMAXINFO void OnGetMinMaxInfo(MINMAXINFO*)
//   ON_WM_WINDOWPOSCHANGING / ON_WM_WINDOWPOSCHANGED  void OnXxx(WINDOWPOS*)
//   ON_WM_HSCROLL / ON_WM_VSCROLL  void OnXScroll(UINT nSBCode, UINT nPos, CScrollBar*)
//   ON_WM_CTLCOLOR      HBRUSH OnCtlColor(CDC*, CWnd*, UINT nCtlColor)   (all WM_CTLCOLORxxx)
//   ON_WM_DRAWITEM      void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT)
//   ON_WM_MEASUREITEM   void OnMeasureItem(int nIDCtl, LPMEASUREITEMSTRUCT)
//   ON_WM_CAPTURECHANGED void OnCaptureChanged(CWnd*)
//   ON_WM_CANCELMODE    void OnCancelMode()
//   ON_WM_ENABLE        void OnEnable(BOOL bEnable)
//   ON_WM_SYSCOMMAND    void OnSysCommand(UINT nID, LPARAM lParam)
//   ON_WM_SYSCOLORCHANGE void OnSysColorChange()
//   ON_WM_INITMENUPOPUP void OnInitMenuPopup(CMenu*, UINT nIndex, BOOL bSysMenu)
//   ON_MESSAGE(msg, f)  LRESULT f(WPARAM, LPARAM)
//   ON_MESSAGE_VOID(msg, f) void f()   (result 0)
#include "platform/mfc/afxcmd.h"

#define AFX_MSG_ENTRY(msg, body) \
    {(UINT)(msg), 0, 0, 0, [](CCmdTarget* t, AFX_MSGARGS& a) -> bool { \
         ThisClass* p = static_cast<ThisClass*>(t); \
         (void)p; \
         (void)a; \
         body; \
         return true; \
     }},

#define AFX_PT(l) CPoint(static_cast<short>(LOWORD(l)), static_cast<short>(HIWORD(l)))
#define AFX_WND(h) CWnd::FromHandle(reinterpret_cast<HWND>(h))
// The control that sent a scroll message (a scroll bar, or a trackbar or
// other control that scrolls the same way), null for the window's own bar.
// The handler sees it as a CScrollBar whatever its class, as the class library
// does: only the members common to CWnd may be used on another control.
#define AFX_SCROLLBAR(h) static_cast<CScrollBar*>(AFX_WND(h))

#define ON_WM_CREATE() AFX_MSG_ENTRY(WM_CREATE, a.lResult = p->OnCreate(reinterpret_cast<LPCREATESTRUCT>(a.lParam)))
#define ON_WM_DESTROY() AFX_MSG_ENTRY(WM_DESTROY, p->OnDestroy())
#define ON_WM_NCDESTROY() AFX_MSG_ENTRY(WM_NCDESTROY, p->OnNcDestroy())
#define ON_WM_CLOSE() AFX_MSG_ENTRY(WM_CLOSE, p->OnClose())
#define ON_WM_SIZE() \
    AFX_MSG_ENTRY(WM_SIZE, p->OnSize(static_cast<UINT>(a.wParam), static_cast<short>(LOWORD(a.lParam)), \
                                     static_cast<short>(HIWORD(a.lParam))))
#define ON_WM_MOVE() \
    AFX_MSG_ENTRY(WM_MOVE, p->OnMove(static_cast<short>(LOWORD(a.lParam)), static_cast<short>(HIWORD(a.lParam))))
#define ON_WM_PAINT() AFX_MSG_ENTRY(WM_PAINT, p->OnPaint())
#define ON_WM_NCPAINT() AFX_MSG_ENTRY(WM_NCPAINT, p->OnNcPaint())
#define ON_WM_ERASEBKGND() \
    AFX_MSG_ENTRY(WM_ERASEBKGND, a.lResult = p->OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(a.wParam))))
#define ON_WM_TIMER() AFX_MSG_ENTRY(WM_TIMER, p->OnTimer(static_cast<UINT_PTR>(a.wParam)))
#define ON_WM_SETCURSOR() \
    AFX_MSG_ENTRY(WM_SETCURSOR, a.lResult = p->OnSetCursor(AFX_WND(a.wParam), LOWORD(a.lParam), HIWORD(a.lParam)))

#define AFX_MOUSE_ENTRY(msg, fn) AFX_MSG_ENTRY(msg, p->fn(static_cast<UINT>(a.wParam), AFX_PT(a.lParam)))
#define ON_WM_MOUSEMOVE() AFX_MOUSE_ENTRY(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_MOUSE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MOUSE_ENTRY(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_MOUSE_ENTRY(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_MOUSE_ENTRY(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_RBUTTONDBLCLK, OnRButtonDblClk)
#define ON_WM_MBUTTONDOWN() AFX_MOUSE_ENTRY(WM_MBUTTONDOWN, OnMButtonDown)
#define ON_WM_MBUTTONUP() AFX_MOUSE_ENTRY(WM_MBUTTONUP, OnMButtonUp)
#define ON_WM_MBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_MBUTTONDBLCLK, OnMButtonDblClk)
#define ON_WM_MOUSEWHEEL() \
    AFX_MSG_ENTRY(WM_MOUSEWHEEL, a.lResult = p->OnMouseWheel(LOWORD(a.wParam), static_cast<short>(HIWORD(a.wParam)), \
                                                             AFX_PT(a.lParam)))
#define ON_WM_MOUSELEAVE() AFX_MSG_ENTRY(WM_MOUSELEAVE, p->OnMouseLeave())
#define ON_WM_MOUSEACTIVATE() \
    AFX_MSG_ENTRY(WM_MOUSEACTIVATE, \
                  a.lResult = p->OnMouseActivate(AFX_WND(a.wParam), LOWORD(a.lParam), HIWORD(a.lParam)))
#define ON_WM_NCHITTEST() AFX_MSG_ENTRY(WM_NCHITTEST, a.lResult = p->OnNcHitTest(AFX_PT(a.lParam)))
#define ON_WM_NCLBUTTONDOWN() \
    AFX_MSG_ENTRY(WM_NCLBUTTONDOWN, p->OnNcLButtonDown(static_cast<UINT>(a.wParam), AFX_PT(a.lParam)))

#define ON_WM_SETFOCUS() AFX_MSG_ENTRY(WM_SETFOCUS, p->OnSetFocus(AFX_WND(a.wParam)))
#define ON_WM_KILLFOCUS() AFX_MSG_ENTRY(WM_KILLFOCUS, p->OnKillFocus(AFX_WND(a.wParam)))
#define ON_WM_ACTIVATE() \
    AFX_MSG_ENTRY(WM_ACTIVATE, p->OnActivate(LOWORD(a.wParam), AFX_WND(a.lParam), HIWORD(a.wParam) != 0))
#define ON_WM_NCACTIVATE() AFX_MSG_ENTRY(WM_NCACTIVATE, a.lResult = p->OnNcActivate(static_cast<BOOL>(a.wParam)))
#define ON_WM_ACTIVATEAPP() \
    AFX_MSG_ENTRY(WM_ACTIVATEAPP, p->OnActivateApp(static_cast<BOOL>(a.wParam), static_cast<DWORD>(a.lParam)))
#define ON_WM_CHILDACTIVATE() AFX_MSG_ENTRY(WM_CHILDACTIVATE, p->OnChildActivate())

#define AFX_KEY_ENTRY(msg, fn) \
    AFX_MSG_ENTRY(msg, p->fn(static_cast<UINT>(a.wParam), LOWORD(a.lParam), HIWORD(a.lParam)))
#define ON_WM_KEYDOWN() AFX_KEY_ENTRY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() AFX_KEY_ENTRY(WM_KEYUP, OnKeyUp)
#define ON_WM_SYSKEYDOWN() AFX_KEY_ENTRY(WM_SYSKEYDOWN, OnSysKeyDown)
#define ON_WM_SYSKEYUP() AFX_KEY_ENTRY(WM_SYSKEYUP, OnSysKeyUp)
#define ON_WM_CHAR() AFX_KEY_ENTRY(WM_CHAR, OnChar)
#define ON_WM_SYSCHAR() AFX_KEY_ENTRY(WM_SYSCHAR, OnSysChar)
#define ON_WM_GETDLGCODE() AFX_MSG_ENTRY(WM_GETDLGCODE, a.lResult = p->OnGetDlgCode())

#define ON_WM_CONTEXTMENU() AFX_MSG_ENTRY(WM_CONTEXTMENU, p->OnContextMenu(AFX_WND(a.wParam), AFX_PT(a.lParam)))
#define ON_WM_DROPFILES() AFX_MSG_ENTRY(WM_DROPFILES, p->OnDropFiles(reinterpret_cast<HDROP>(a.wParam)))
#define ON_WM_SHOWWINDOW() \
    AFX_MSG_ENTRY(WM_SHOWWINDOW, p->OnShowWindow(static_cast<BOOL>(a.wParam), static_cast<UINT>(a.lParam)))
#define ON_WM_GETMINMAXINFO() \
    AFX_MSG_ENTRY(WM_GETMINMAXINFO, p->OnGetMinMaxInfo(reinterpret_cast<MINMAXINFO*>(a.lParam)))
#define ON_WM_WINDOWPOSCHANGING() \
    AFX_MSG_ENTRY(WM_WINDOWPOSCHANGING, p->OnWindowPosChanging(reinterpret_cast<WINDOWPOS*>(a.lParam)))
#define ON_WM_WINDOWPOSCHANGED() \
    AFX_MSG_ENTRY(WM_WINDOWPOSCHANGED, p->OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(a.lParam)))
#define ON_WM_HSCROLL() \
    AFX_MSG_ENTRY(WM_HSCROLL, p->OnHScroll(LOWORD(a.wParam), HIWORD(a.wParam), AFX_SCROLLBAR(a.lParam)))
#define ON_WM_VSCROLL() \
    AFX_MSG_ENTRY(WM_VSCROLL, p->OnVScroll(LOWORD(a.wParam), HIWORD(a.wParam), AFX_SCROLLBAR(a.lParam)))
#define AFX_CTLCOLOR_ENTRY(msg, kind) \
    AFX_MSG_ENTRY(msg, a.lResult = reinterpret_cast<LRESULT>( \
                           p->OnCtlColor(CDC::FromHandle(reinterpret_cast<HDC>(a.wParam)), AFX_WND(a.lParam), kind)))
#define ON_WM_CTLCOLOR() \
    AFX_CTLCOLOR_ENTRY(WM_CTLCOLORMSGBOX, CTLCOLOR_MSGBOX) \
    AFX_CTLCOLOR_ENTRY(WM_CTLCOLOREDIT, CTLCOLOR_EDIT) \
    AFX_CTLCOLOR_ENTRY(WM_CTLCOLORLISTBOX, CTLCOLOR_LISTBOX) \
    AFX_CTLCOLOR_ENTRY(WM_CTLCOLORBTN, CTLCOLOR_BTN) \
    AFX_CTLCOLOR_ENTRY(WM_CTLCOLORDLG, CTLCOLOR_DLG) \
    AFX_CTLCOLOR_ENTRY(WM_CTLCOLORSCROLLBAR, CTLCOLOR_SCROLLBAR) \
    AFX_CTLCOLOR_ENTRY(WM_CTLCOLORSTATIC, CTLCOLOR_STATIC)
#define ON_WM_DRAWITEM() \
    AFX_MSG_ENTRY(WM_DRAWITEM, \
                  p->OnDrawItem(static_cast<int>(a.wParam), reinterpret_cast<LPDRAWITEMSTRUCT>(a.lParam)); \
                  a.lResult = TRUE)
#define ON_WM_MEASUREITEM() \
    AFX_MSG_ENTRY(WM_MEASUREITEM, \
                  p->OnMeasureItem(static_cast<int>(a.wParam), reinterpret_cast<LPMEASUREITEMSTRUCT>(a.lParam)); \
                  a.lResult = TRUE)
#define ON_WM_CAPTURECHANGED() AFX_MSG_ENTRY(WM_CAPTURECHANGED, p->OnCaptureChanged(AFX_WND(a.lParam)))
#define ON_WM_CANCELMODE() AFX_MSG_ENTRY(WM_CANCELMODE, p->OnCancelMode())
#define ON_WM_ENABLE() AFX_MSG_ENTRY(WM_ENABLE, p->OnEnable(static_cast<BOOL>(a.wParam)))
#define ON_WM_SYSCOMMAND() AFX_MSG_ENTRY(WM_SYSCOMMAND, p->OnSysCommand(static_cast<UINT>(a.wParam), a.lParam))
#define ON_WM_SYSCOLORCHANGE() AFX_MSG_ENTRY(WM_SYSCOLORCHANGE, p->OnSysColorChange())
#define ON_WM_INITMENUPOPUP() \
    AFX_MSG_ENTRY(WM_INITMENUPOPUP, p->OnInitMenuPopup(CMenu::FromHandle(reinterpret_cast<HMENU>(a.wParam)), \
                                                       LOWORD(a.lParam), HIWORD(a.lParam) != 0))

#define ON_MESSAGE(message, memberFxn) AFX_MSG_ENTRY(message, a.lResult = (p->*(memberFxn))(a.wParam, a.lParam))
#define ON_MESSAGE_VOID(message, memberFxn) AFX_MSG_ENTRY(message, (p->*(memberFxn))())

// Kinds handed to OnCtlColor.
#ifndef CTLCOLOR_MSGBOX
#define CTLCOLOR_MSGBOX 0
#define CTLCOLOR_EDIT 1
#define CTLCOLOR_LISTBOX 2
#define CTLCOLOR_BTN 3
#define CTLCOLOR_DLG 4
#define CTLCOLOR_SCROLLBAR 5
#define CTLCOLOR_STATIC 6
#endif
