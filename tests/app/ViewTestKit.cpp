#include <gtest/gtest.h>
#include "tests/app/ViewTestKit.h"

#include "audio/CreateAudioReader.h"
#include "hybrid/IHybridSubContent.h"
#include "app/TimeContainer.h"
#include "tests/audio/ReaderKit.h"
#include "tests/support/MessagePump.h"
#include "tests/support/TestSupport.h"

namespace viewtest {

namespace {

const wchar_t kFrameClass[] = L"RavelinViewTestHost";
CViewHost* g_host = nullptr;

// One top-level window serves every test: destroying a visible top-level
// window costs seconds under Xvfb without a window manager.
HWND SharedFrame(WNDPROC proc)
{
    static HWND frame = nullptr;
    if (frame && ::IsWindow(frame))
        return frame;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kFrameClass;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    ::RegisterClassExW(&wc);
    frame = ::CreateWindowExW(0, kFrameClass, L"View test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 700, 400, nullptr,
                              nullptr, ::GetModuleHandleW(nullptr), nullptr);
    return frame;
}

} // namespace

CViewHost::CViewHost(int width, int height)
{
    ::GetCursorPos(&m_pointer);
    m_frame = SharedFrame(FrameProc);
    g_host = this;
    ::SetWindowPos(m_frame, HWND_TOP, 0, 0, width + 40, height + 80, SWP_SHOWWINDOW);
    ::SetForegroundWindow(m_frame);
    m_ctrl = new CHybridCtrl;
    EXPECT_TRUE(m_ctrl->Create(CWnd::FromHandle(m_frame), 100, 0));
    m_ctrl->SetShowScrollBar(false);
    m_ctrl->MoveWindow(0, 0, width, height, TRUE);
    Pump();
}

CViewHost::~CViewHost()
{
    if (::GetCapture())
        ::ReleaseCapture();
    m_ctrl->DestroyWindow();
    delete m_ctrl;
    Pump(5);
    g_host = nullptr;
    // The pointer goes back where it was: left over a place where the next
    // program's windows open, it would send them mouse messages.
    ::SetCursorPos(m_pointer.x, m_pointer.y);
}

CIPtr<IHybridCell> CViewHost::Add(IHybridContent* content, DWORD styleBits)
{
    CIPtr<IHybridSubContent> root = m_ctrl->GetRootSubContent();
    CIPtr<IHybridCell> cell;
    root->InsertChild(0, &cell, nullptr);
    cell->SetContent(content);
    content->SetCell(cell);
    content->OnAttach();
    if (styleBits)
        cell->SetStyleBits(static_cast<DWORD>(cell->GetStyleBits()) | styleBits, 0);
    m_ctrl->RecalcLayout(true);
    return cell;
}

void CViewHost::Settle(DWORD ms)
{
    m_ctrl->RecalcLayout(true);
    m_ctrl->InvalidateAll(true);
    ::UpdateWindow(m_ctrl->GetSafeHwnd());
    Pump(ms);
}

void CViewHost::Pump(DWORD ms)
{
    testsupport::PumpFor(m_frame, ms);
}

void CViewHost::Post(UINT message, WPARAM wParam, int x, int y)
{
    POINT screen = {x, y};
    ::ClientToScreen(m_ctrl->GetSafeHwnd(), &screen);
    ::SetCursorPos(screen.x, screen.y);
    ::PostMessageW(m_ctrl->GetSafeHwnd(), message, wParam, MAKELPARAM(x, y));
    Pump(15);
}

void CViewHost::Hover(int x, int y)
{
    Post(WM_MOUSEMOVE, 0, x, y);
}
void CViewHost::Press(int x, int y, UINT keys)
{
    Hover(x, y);
    Post(WM_LBUTTONDOWN, MK_LBUTTON | keys, x, y);
}
void CViewHost::Drag(int x, int y, UINT keys)
{
    Post(WM_MOUSEMOVE, MK_LBUTTON | keys, x, y);
}
void CViewHost::Release(int x, int y, UINT keys)
{
    Post(WM_LBUTTONUP, keys, x, y);
}

void CViewHost::DoubleClick(int x, int y)
{
    Press(x, y);
    Release(x, y);
    Post(WM_LBUTTONDBLCLK, MK_LBUTTON, x, y);
    Release(x, y);
}

void CViewHost::RightClick(int x, int y)
{
    Hover(x, y);
    Post(WM_RBUTTONDOWN, MK_RBUTTON, x, y);
    Post(WM_RBUTTONUP, 0, x, y);
}

void CViewHost::Key(UINT virtualKey)
{
    ::PostMessageW(m_ctrl->GetSafeHwnd(), WM_KEYDOWN, virtualKey, 1);
    ::PostMessageW(m_ctrl->GetSafeHwnd(), WM_KEYUP, virtualKey, 0xC0000001);
    Pump(15);
}

std::vector<SPosted> CViewHost::TakePosted()
{
    Pump(5);
    std::vector<SPosted> out;
    out.swap(m_posted);
    return out;
}

int CViewHost::Count(UINT message)
{
    Pump(5);
    int n = 0;
    for (const SPosted& p : m_posted)
        n += p.message == message;
    return n;
}

LRESULT CALLBACK CViewHost::FrameProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const bool private_ = (message >= WM_APP && message < 0xC000) || message == WM_COMMAND;
    if (g_host && private_ && message != WM_APP + 0xCA) {
        g_host->m_posted.push_back({message, wParam, lParam});
        return 0;
    }
    return ::DefWindowProcW(wnd, message, wParam, lParam);
}

COLORREF CViewHost::Pixel(int x, int y)
{
    HDC dc = ::GetDC(m_ctrl->GetSafeHwnd());
    const COLORREF c = ::GetPixel(dc, x, y);
    ::ReleaseDC(m_ctrl->GetSafeHwnd(), dc);
    return c;
}

// ---- files and models ----

std::wstring SilentWav(int milliseconds)
{
    static const std::wstring dir = testsupport::ScratchDir(L"app-wav"); // emptied once per run
    readerkit::Format format;
    format.channels = 1;
    format.rate = 8000;
    return readerkit::Save(dir, L"silent" + std::to_wstring(milliseconds) + L".wav",
                           readerkit::Canonical(format, readerkit::Bytes(static_cast<size_t>(milliseconds) * 16, 0)));
}

CIPtr<ITimeContainer> MakeModel(const std::wstring& path, LONGLONG scale, LONGLONG position)
{
    CIPtr<ITimeContainer> model(new CTimeContainer);
    CIPtr<IAudioReader> reader;
    if (CreateAudioReader(path.c_str(), &reader, false))
        model->SetReader(reader);
    model->SetScale(scale);
    model->SetPosition(position);
    return model;
}

CIPtr<ITimeContainer> MakeModel(int milliseconds, LONGLONG scale, LONGLONG position)
{
    return MakeModel(SilentWav(milliseconds), scale, position);
}

} // namespace viewtest
