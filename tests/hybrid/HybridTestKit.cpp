#include "HybridTestKit.h"

#include "hybrid/IHybridText.h"
#include "tests/support/MessagePump.h"

namespace hybridtest {

int CBoxContent::s_alive = 0;

namespace {

const wchar_t kHostClass[] = L"RavelinHybridTestHost";

// A new cell in column `column` of parent's sub-content (the root's when
// parent is null).
CIPtr<IHybridCell> NewCell(CHybridCtrl* ctrl, IHybridCell* parent, int column)
{
    CIPtr<IHybridSubContent> sub;
    if (parent)
        parent->GetSubContent(&sub);
    else
        sub = ctrl->GetRootSubContent();
    CIPtr<IHybridCell> cell;
    sub->InsertChild(column, &cell, nullptr);
    return cell;
}

} // namespace

// One top-level window serves every test: hiding or destroying a visible
// top-level window costs seconds under Xvfb without a window manager.
static HWND SharedFrame()
{
    static HWND frame = nullptr;
    if (frame && ::IsWindow(frame))
        return frame;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = CTestHost::ParentProc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kHostClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    ::RegisterClassExW(&wc);
    frame = ::CreateWindowExW(0, kHostClass, L"Hybrid test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400, 300,
                              nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    return frame;
}

CTestHost::CTestHost(int width, int height, DWORD ctrlStyle)
{
    m_parent = SharedFrame();
    ::SetWindowLongPtrW(m_parent, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowPos(m_parent, nullptr, 10, 10, width + 40, height + 80, SWP_NOZORDER);
    ::SetForegroundWindow(m_parent);
    m_ctrl = new CHybridCtrl;
    EXPECT_TRUE(m_ctrl->Create(CWnd::FromHandle(m_parent), 100, ctrlStyle));
    m_ctrl->MoveWindow(0, 0, width, height, TRUE);
    Pump();
}

CTestHost::~CTestHost()
{
    m_ctrl->DestroyWindow();
    delete m_ctrl;
    Pump(5);
    ::SetWindowLongPtrW(m_parent, GWLP_USERDATA, 0);
}

void CTestHost::Resize(int width, int height)
{
    m_ctrl->MoveWindow(0, 0, width, height, TRUE);
    Pump();
}

void CTestHost::Pump(DWORD ms)
{
    testsupport::PumpFor(m_parent, ms);
}

bool CTestHost::PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs)
            return false;
        Pump(10);
    }
    return true;
}

CIPtr<IHybridCell> CTestHost::AddBox(IHybridCell* parent, int width, int height, COLORREF colour, DWORD low, int column,
                                     CBoxContent** contentOut)
{
    CIPtr<IHybridCell> cell = NewCell(m_ctrl, parent, column);
    CIPtr<CBoxContent> content(new CBoxContent(width, height, colour));
    cell->SetContent(content);
    content->SetCell(cell);
    content->OnAttach();
    if (low)
        cell->SetStyleBits(static_cast<DWORD>(cell->GetStyleBits()) | low, 0);
    if (contentOut)
        *contentOut = content;
    return cell;
}

CIPtr<IHybridCell> CTestHost::AddContainer(IHybridCell* parent, int kind, IHybridHeading* model, DWORD low, int column)
{
    CIPtr<IHybridCell> cell = NewCell(m_ctrl, parent, column);
    cell->SetSubContent(model, kind);
    if (low)
        cell->SetStyleBits(static_cast<DWORD>(cell->GetStyleBits()) | low, 0);
    return cell;
}

void CTestHost::Post(UINT message, WPARAM wParam, LPARAM lParam)
{
    ::PostMessageW(m_ctrl->GetSafeHwnd(), message, wParam, lParam);
}

void CTestHost::Click(int x, int y, UINT keys)
{
    Post(WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(x, y));
    Post(WM_LBUTTONUP, keys, MAKELPARAM(x, y));
    Pump();
}

CRect CTestHost::RectOf(IHybridCell* cell)
{
    CRect rect;
    cell->GetRect(&rect);
    return rect;
}

std::vector<SNotification> CTestHost::TakeNotifications()
{
    std::vector<SNotification> out;
    out.swap(m_notifications);
    return out;
}

std::vector<UINT> CTestHost::Codes() const
{
    std::vector<UINT> codes;
    for (const SNotification& n : m_notifications)
        codes.push_back(n.code);
    return codes;
}

std::vector<UINT> CTestHost::ContentCodes() const
{
    std::vector<UINT> codes;
    for (const SNotification& n : m_notifications)
        if (n.code >= HN_LINK_CLICKED && n.code <= HN_HEADING_CLICKED)
            codes.push_back(n.code);
    return codes;
}

void CTestHost::MoveTo(CPoint p, WPARAM keys)
{
    POINT screen = p;
    ::ClientToScreen(m_ctrl->GetSafeHwnd(), &screen);
    ::SetCursorPos(screen.x, screen.y);
    Post(WM_MOUSEMOVE, keys, MAKELPARAM(p.x, p.y));
    Pump();
}

CIPtr<IHybridCell> ColumnOf(IHybridCell* row, int index)
{
    CIPtr<IHybridSubContent> sub;
    CIPtr<IHybridCell> cell;
    if (row && row->GetSubContent(&sub) && sub)
        sub->GetColumnCell(index, &cell);
    return cell;
}

CString TextOf(IHybridCell* cell)
{
    CIPtr<IHybridText> text;
    if (!cell || FAILED(text.QueryFrom(cell->GetContentPtr(), IID_IHybridText)) || !text)
        return L"<none>";
    return text->GetText();
}

bool CTestHost::Saw(UINT code) const
{
    for (const SNotification& n : m_notifications)
        if (n.code == code)
            return true;
    return false;
}

LRESULT CALLBACK CTestHost::ParentProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* host = reinterpret_cast<CTestHost*>(::GetWindowLongPtrW(wnd, GWLP_USERDATA));
    if (host && message == WM_HYBRID_NOTIFY) {
        host->m_notifications.push_back({static_cast<UINT>(wParam), reinterpret_cast<IHybridCell*>(lParam)});
        if (wParam == HN_RUBBERBAND_START)
            return host->m_answer17;
        if (wParam == HN_DRAG_MOVE)
            return host->m_answer38;
        return 0;
    }
    if (host && message == WM_HYBRID_ITEMPRESSED) {
        host->m_itemPresses.push_back(wParam);
        return 0;
    }
    return ::DefWindowProcW(wnd, message, wParam, lParam);
}

COLORREF ScreenPixel(HWND wnd, int x, int y)
{
    HDC dc = ::GetDC(wnd);
    COLORREF c = ::GetPixel(dc, x, y);
    ::ReleaseDC(wnd, dc);
    return c;
}

} // namespace hybridtest
