// A window with a scrolling Hybrid control holding a few hundred cells:
// rows of three percentage columns and a flow of tags. Not part of the
// program; "/close N" closes it after N milliseconds (for headless runs).
#include <cstdio>
#include <cwchar>
#include <string>
#include "hybrid/HybridCtrl.h"
#include "hybrid/HybridHeading.h"
#include "DemoContents.h"

namespace {

const wchar_t kFrameClass[] = L"RavelinHybridDemo";
CHybridCtrl* g_ctrl = nullptr;

void Fill(CHybridCtrl& ctrl)
{
    IHybridCell* root = ctrl.GetRootCell();
    CIPtr<IHybridHeading> model(new CHybridHeading(&ctrl));
    model->InsertColumn(0, 24);
    model->InsertColumn(1, 40);
    model->InsertColumn(2, 60);
    AddContentCell(root, new CDemoLabel(L"Fragments"), 0)->SetStyle(ctrl.GetLargeStyle());
    for (int i = 0; i < 300; ++i) {
        CIPtr<IHybridSubContent> rootSub(ctrl.GetRootSubContent());
        CIPtr<IHybridCell> row;
        rootSub->InsertChild(0, &row, nullptr);
        row->SetSubContent(model, 1);
        row->SetStyleBits(HCB_ITEM | HCB_PERCENT | 0x2000 | HCB_VSTRETCH, 0); // first column fixed
        row->SetData(static_cast<DWORD_PTR>(i + 1));
        AddContentCell(row, new CDemoSwatch(RGB((i * 37) & 0xFF, (i * 91) & 0xFF, (i * 53) & 0xFF), 24, 18), 0);
        AddContentCell(row, new CDemoLabel(L"Fragment " + std::to_wstring(i + 1)), 1);
        AddContentCell(row, new CDemoLabel(L"00:" + std::to_wstring(10 + i % 50) + L".250 - loop at 0.8x"), 2);
        if (i % 25 == 24) {
            CIPtr<IHybridCell> flow;
            rootSub->InsertChild(0, &flow, nullptr);
            flow->SetSubContent(nullptr, 4);
            flow->SetMargins(0x04000000);
            for (int t = 0; t < 12; ++t)
                AddContentCell(flow, new CDemoLabel(L"tag " + std::to_wstring(t * (i + 1))), 0, HCB_ITEM);
        }
    }
    ctrl.UpdateLayout(true);
}

LRESULT CALLBACK FrameProc(HWND wnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_SIZE:
        if (g_ctrl && g_ctrl->GetSafeHwnd())
            g_ctrl->MoveWindow(0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_TIMER: ::DestroyWindow(wnd); return 0;
    case WM_DESTROY: ::PostQuitMessage(0); return 0;
    default: return ::DefWindowProcW(wnd, message, wParam, lParam);
    }
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int show)
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = instance;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kFrameClass;
    ::RegisterClassExW(&wc);
    HWND frame = ::CreateWindowExW(0, kFrameClass, L"Hybrid control demo", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                   CW_USEDEFAULT, 520, 480, nullptr, nullptr, instance, nullptr);
    CHybridCtrl ctrl;
    g_ctrl = &ctrl;
    if (!ctrl.Create(CWnd::FromHandle(frame), 1, WS_TABSTOP))
        return 1;
    Fill(ctrl);
    CRect client;
    ::GetClientRect(frame, &client);
    ctrl.MoveWindow(&client, TRUE);
    ::ShowWindow(frame, show);
    const wchar_t* close = std::wcsstr(commandLine, L"/close");
    if (close)
        ::SetTimer(frame, 1, static_cast<UINT>(std::wcstoul(close + 6, nullptr, 10)), nullptr);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (CWnd::WalkPreTranslateTree(frame, &msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    std::printf("content height %d\n", ctrl.GetContentHeight());
    g_ctrl = nullptr;
    return 0;
}
