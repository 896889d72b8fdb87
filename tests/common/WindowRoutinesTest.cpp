// Window routines on real windows: the message blocker, window placement,
// the tab-stop walk, key translation, transparency and the clipboard.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "common/Clipboard.h"
#include "common/KeyRoutines.h"
#include "common/MessageBlocker.h"
#include "common/OVRegKey.h"
#include "common/ProductInfo.h"
#include "common/RegSettings.h"
#include "common/WindowRoutines.h"
#include "common/WndPos.h"
#include "platform/mfc/afxwin.h"
#include "tests/common/TestWindows.h"
#include "tests/support/TestSupport.h"

namespace {

using wintest::CTestWindow;
using wintest::ProcOf;

const UINT kM1 = WM_APP + 5;
const UINT kM2 = WM_APP + 6;

TEST(MessageBlocker, SwallowsOneMessageWhileItLives)
{
    CTestWindow w;
    WNDPROC original = ProcOf(w.Handle());
    EXPECT_EQ(42, SendMessageW(w.Handle(), kM1, 0, 0));
    {
        COVMessageBlocker blocker(w.Handle(), kM1);
        w.Forget();
        EXPECT_EQ(0, SendMessageW(w.Handle(), kM1, 0, 0));
        EXPECT_EQ(0, w.Seen(kM1));
        EXPECT_EQ(42, SendMessageW(w.Handle(), kM2, 0, 0));
        EXPECT_EQ(1, w.Seen(kM2));
    }
    EXPECT_EQ(original, ProcOf(w.Handle()));
    EXPECT_EQ(42, SendMessageW(w.Handle(), kM1, 0, 0));
    EXPECT_EQ(1, w.Seen(kM1));

    // The class-library form blocks the window it wraps.
    CWnd wnd;
    ASSERT_TRUE(wnd.Attach(w.Handle()));
    {
        COVMessageBlocker blocker(&wnd, WM_KILLFOCUS);
        w.Forget();
        SendMessageW(w.Handle(), WM_KILLFOCUS, 0, 0);
        EXPECT_EQ(0, w.Seen(WM_KILLFOCUS));
    }
    SendMessageW(w.Handle(), WM_KILLFOCUS, 0, 0);
    EXPECT_EQ(1, w.Seen(WM_KILLFOCUS));
    wnd.Detach();

    COVMessageBlocker none(static_cast<HWND>(nullptr), kM1);
    COVMessageBlocker noneWnd(static_cast<CWnd*>(nullptr), kM1);
}

TEST(MessageBlocker, TwoBlockersInEitherOrderAndAWindowDestroyedFirst)
{
    CTestWindow w;
    WNDPROC original = ProcOf(w.Handle());
    {
        auto* first = new COVMessageBlocker(w.Handle(), kM1);
        COVMessageBlocker second(w.Handle(), kM2);
        EXPECT_EQ(0, SendMessageW(w.Handle(), kM1, 0, 0));
        EXPECT_EQ(0, SendMessageW(w.Handle(), kM2, 0, 0));
        delete first; // the older one goes first
        EXPECT_EQ(42, SendMessageW(w.Handle(), kM1, 0, 0));
        EXPECT_EQ(0, SendMessageW(w.Handle(), kM2, 0, 0));
        EXPECT_NE(original, ProcOf(w.Handle()));
    }
    EXPECT_EQ(original, ProcOf(w.Handle()));
    EXPECT_EQ(42, SendMessageW(w.Handle(), kM2, 0, 0));

    {
        COVMessageBlocker first(w.Handle(), kM1);
        {
            COVMessageBlocker same(w.Handle(), kM1);
        }
        EXPECT_EQ(0, SendMessageW(w.Handle(), kM1, 0, 0)); // still blocked by the first
    }
    EXPECT_EQ(42, SendMessageW(w.Handle(), kM1, 0, 0));

    // The window destroyed while blocked: the blocker's end is harmless.
    auto* gone = new CTestWindow;
    const HWND hwnd = gone->Handle();
    COVMessageBlocker blocker(hwnd, kM1);
    delete gone;
    EXPECT_FALSE(IsWindow(hwnd));
}

TEST(WndPos, CaptureApplyAndRegistryRoundTrip)
{
    CTestWindow w(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 120, 90, 333, 222);
    testsupport::PumpMessages(50);
    SWndPos pos;
    pos.Capture(w.Handle());
    EXPECT_FALSE(pos.maximised || pos.minimised);
    EXPECT_EQ(CRect(120, 90, 453, 312), CRect(pos.rect));

    // Stored and loaded whole as a 24-byte binary value.
    const wchar_t* key = L"Software\\Velmora\\Ravelin\\CommonUiWndPosTest";
    SRegTableEntry table[] = {{L"rMainWndPos", &pos, RRT_BINARY, sizeof pos}, {nullptr, nullptr, RRT_END}};
    ASSERT_TRUE(SerializeRegTable(table, HKEY_CURRENT_USER, key, false));
    SWndPos loaded;
    SRegTableEntry loadTable[] = {{L"rMainWndPos", &loaded, RRT_BINARY, sizeof loaded}, {nullptr, nullptr, RRT_END}};
    ASSERT_TRUE(SerializeRegTable(loadTable, HKEY_CURRENT_USER, key, true));
    RegDeleteKeyW(HKEY_CURRENT_USER, key);
    EXPECT_EQ(0, memcmp(&pos, &loaded, sizeof pos));

    CTestWindow other(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 10, 10, 100, 100);
    CWnd wnd;
    ASSERT_TRUE(wnd.Attach(other.Handle()));
    SWndPos::Apply(&loaded, &wnd, 20, 0, 0);
    RECT r = {};
    GetWindowRect(other.Handle(), &r);
    EXPECT_EQ(0, memcmp(&r, &loaded.rect, sizeof r));

    // A maximised record maximises through a posted system command, and its
    // normal rectangle survives the next capture.
    loaded.maximised = TRUE;
    SWndPos::Apply(&loaded, &wnd, 20, 0, 0);
    testsupport::PumpMessages(100);
    EXPECT_TRUE(IsZoomed(other.Handle()));
    SWndPos again;
    again.Capture(other.Handle());
    EXPECT_TRUE(again.maximised);
    EXPECT_EQ(0, memcmp(&again.rect, &pos.rect, sizeof again.rect));
    wnd.Detach();

    SWndPos::Apply(&loaded, nullptr, 20, 0, 0); // no window: nothing
}

TEST(WndPos, FirstStartFillsTheWorkAreaWithinLimits)
{
    CTestWindow w(WS_OVERLAPPEDWINDOW, nullptr, 5, 5, 100, 100);
    CWnd wnd;
    ASSERT_TRUE(wnd.Attach(w.Handle()));
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    SWndPos::Apply(nullptr, &wnd, 10, 800, 0);
    RECT r = {};
    GetWindowRect(w.Handle(), &r);
    int workW = work.right - work.left, workH = work.bottom - work.top;
    EXPECT_EQ(std::min(800, workW - 20), r.right - r.left);
    EXPECT_EQ(workH - 20, r.bottom - r.top);
    // Centred on the screen.
    EXPECT_LE(std::abs((r.left + r.right) / 2 - (work.left + work.right) / 2), 1);
    EXPECT_LE(std::abs((r.top + r.bottom) / 2 - (work.top + work.bottom) / 2), 1);
    wnd.Detach();
}

TEST(WindowRoutines, PostSizeMessageCarriesTheClientSize)
{
    CTestWindow w(WS_POPUP, nullptr, 0, 0, 150, 70);
    testsupport::PumpMessages(20);
    w.Forget();
    PostSizeMessage(w.Handle());
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, w.Handle(), WM_SIZE, WM_SIZE, PM_REMOVE));
    EXPECT_EQ(WPARAM(SIZE_RESTORED), msg.wParam);
    EXPECT_EQ(150, LOWORD(msg.lParam));
    EXPECT_EQ(70, HIWORD(msg.lParam));
    PostSizeMessage(static_cast<HWND>(nullptr));
}

int g_menuItems = -1;
UINT g_cutState = 0;

void PrepareMenu(CMenu* menu)
{
    g_menuItems = menu->GetMenuItemCount();
    menu->EnableMenuItem(36002, MF_BYCOMMAND | MF_DISABLED | MF_GRAYED);
    g_cutState = menu->GetMenuState(36002, MF_BYCOMMAND);
}

void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    EndMenu();
}

TEST(WindowRoutines, PopupMenuAtCursorPreparesShowsAndPostsNull)
{
    CTestWindow w(WS_OVERLAPPEDWINDOW | WS_VISIBLE, nullptr, 50, 50, 300, 200);
    CWnd owner;
    ASSERT_TRUE(owner.Attach(w.Handle()));
    testsupport::PumpMessages(30);
    g_productInfo.popupMenuId = 61050; // the default menu of the routine
    for (int menuId : {61050, -1}) {
        g_menuItems = -1;
        SetTimer(nullptr, 0, 300, CloseMenu);
        TrackPopupMenuAtCursor(0, &owner, menuId, PrepareMenu);
        EXPECT_EQ(2, g_menuItems) << menuId;
        EXPECT_TRUE(g_cutState & MF_GRAYED);
        MSG msg;
        EXPECT_TRUE(PeekMessageW(&msg, w.Handle(), WM_NULL, WM_NULL, PM_REMOVE));
    }
    g_productInfo.popupMenuId = 0;
    g_menuItems = -1;
    TrackPopupMenuAtCursor(0, &owner, 61097, PrepareMenu); // no such menu: nothing
    EXPECT_EQ(-1, g_menuItems);
    owner.Detach();
}

TEST(WindowRoutines, TransparencyOnAndOff)
{
    ASSERT_TRUE(IsTransparencySupported());
    CTestWindow w(WS_POPUP | WS_VISIBLE, nullptr, 0, 0, 50, 50);
    SetWindowTransparency(w.Handle(), 128);
    EXPECT_TRUE(GetWindowLongPtrW(w.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
    BYTE alpha = 0;
    DWORD flags = 0;
    if (GetLayeredWindowAttributes(w.Handle(), nullptr, &alpha, &flags)) {
        EXPECT_EQ(128, alpha);
        EXPECT_TRUE(flags & LWA_ALPHA);
    }
    SetWindowTransparency(w.Handle(), 255);
    EXPECT_FALSE(GetWindowLongPtrW(w.Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
}

TEST(KeyRoutines, TabStopWalkWithoutWrapping)
{
    CTestWindow parent(WS_OVERLAPPEDWINDOW);
    CTestWindow a(WS_CHILD | WS_TABSTOP, parent.Handle());
    CTestWindow b(WS_CHILD, parent.Handle());
    CTestWindow c(WS_CHILD | WS_TABSTOP | WS_DISABLED, parent.Handle());
    CTestWindow d(WS_CHILD, parent.Handle());
    EXPECT_EQ(c.Handle(), FindNextTabStopWindow(a.Handle(), false));
    EXPECT_EQ(nullptr, FindNextTabStopWindow(c.Handle(), false));
    EXPECT_EQ(a.Handle(), FindNextTabStopWindow(c.Handle(), true));
    EXPECT_EQ(c.Handle(), FindNextTabStopWindow(d.Handle(), true));
    EXPECT_EQ(nullptr, FindNextTabStopWindow(a.Handle(), true));
    EXPECT_EQ(nullptr, FindNextTabStopWindow(nullptr, false));
}

TEST(KeyRoutines, KeysTranslateThroughTheKeyboardLayout)
{
    BYTE state[256] = {};
    SetKeyboardState(state);
    LPARAM aScan = LPARAM(MapVirtualKeyW('A', MAPVK_VK_TO_VSC)) << 16;
    EXPECT_EQ(L'a', GetCharFromVirtualKey('A', aScan));
    MSG msg = {};
    msg.message = WM_KEYDOWN;
    msg.wParam = '5';
    msg.lParam = LPARAM(MapVirtualKeyW('5', MAPVK_VK_TO_VSC)) << 16 | 1;
    EXPECT_EQ(L'5', GetCharFromKeyMsg(&msg));
    msg.wParam = VK_F1;
    msg.lParam = LPARAM(MapVirtualKeyW(VK_F1, MAPVK_VK_TO_VSC)) << 16 | 1;
    EXPECT_EQ(0, GetCharFromKeyMsg(&msg));
    EXPECT_EQ(0, GetCharFromKeyMsg(nullptr));
    state[VK_SHIFT] = 0x80;
    SetKeyboardState(state);
    EXPECT_TRUE(IsShiftDown());
    EXPECT_FALSE(IsCtrlDown());
    EXPECT_EQ(L'A', GetCharFromVirtualKey('A', aScan));
    state[VK_SHIFT] = 0;
    SetKeyboardState(state);
    EXPECT_FALSE(IsShiftDown());
}

TEST(Clipboard, UnicodeTextRoundTripAndAnsiFallback)
{
    const wchar_t text[] = L"Gr\u00fc\u00dfe \u20ac \u65e5\u672c \u0416";
    SetClipboardText(text);
    EXPECT_STREQ(text, GetClipboardText());
    SetClipboardText(nullptr); // leaves the clipboard as it is
    EXPECT_STREQ(text, GetClipboardText());

    // Only ANSI text on the clipboard: read through the code page.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const char ansi[] = "plain ansi";
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, sizeof ansi);
    memcpy(GlobalLock(mem), ansi, sizeof ansi);
    GlobalUnlock(mem);
    SetClipboardData(CF_TEXT, mem);
    CloseClipboard();
    EXPECT_STREQ(L"plain ansi", GetClipboardText());

    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    EXPECT_STREQ(L"", GetClipboardText());
    SetClipboardText(L"");
    EXPECT_STREQ(L"", GetClipboardText());
}

} // namespace
