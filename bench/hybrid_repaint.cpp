// Repaint time of a Hybrid control showing 500 cells (50 rows of 10 text
// columns), against plain GDI drawing the same 500 texts into the same
// rectangles. Prints both figures and their ratio.
//   scripts/wine-env <build> run <build>/bench/bench_hybrid_repaint.exe
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>
#include "hybrid/HybridCtrl.h"
#include "hybrid/HybridHeading.h"
#include "tests/hybrid_demo/DemoContents.h"

namespace {

const int kRows = 50, kColumns = 10, kWidth = 1000, kHeight = 870;
const int kRuns = 40;

double MillisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void Pump()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

std::wstring CellText(int row, int column)
{
    return L"cell " + std::to_wstring(row) + L"." + std::to_wstring(column);
}

} // namespace

int wmain()
{
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"RavelinBenchFrame";
    ::RegisterClassExW(&wc);
    HWND frame = ::CreateWindowExW(0, wc.lpszClassName, L"bench", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight,
                                   nullptr, nullptr, wc.hInstance, nullptr);
    CHybridCtrl ctrl;
    if (!ctrl.Create(CWnd::FromHandle(frame), 1, 0)) {
        std::printf("control not created\n");
        return 1;
    }
    ctrl.MoveWindow(0, 0, kWidth, kHeight, TRUE);
    CIPtr<IHybridHeading> model(new CHybridHeading(&ctrl));
    for (int c = 0; c < kColumns; ++c)
        model->InsertColumn(c, kWidth / kColumns);
    std::vector<CIPtr<IHybridCell>> cells;
    for (int r = 0; r < kRows; ++r) {
        CIPtr<IHybridCell> row;
        ctrl.GetRootSubContent()->InsertChild(0, &row, nullptr);
        row->SetSubContent(model, 1);
        for (int c = 0; c < kColumns; ++c)
            cells.push_back(AddContentCell(row, new CDemoLabel(CellText(r, c)), c));
    }
    ctrl.UpdateLayout(true);
    for (int i = 0; i < 20; ++i) {
        Pump();
        ::Sleep(5);
    }
    int visible = 0;
    CRect area;
    ctrl.GetCellAreaRect(&area);
    for (auto& cell : cells) {
        CRect rect, meet;
        cell->GetRect(&rect);
        visible += meet.IntersectRect(&rect, &area) ? 1 : 0;
    }

    // Our path 1: the whole tree into a memory device context.
    CClientDC screen(&ctrl);
    CDC mem;
    mem.CreateCompatibleDC(&screen);
    CBitmap bitmap;
    bitmap.CreateCompatibleBitmap(&screen, kWidth, kHeight);
    CBitmap* old = mem.SelectObject(&bitmap);
    ctrl.DrawAll(&mem);
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRuns; ++i)
        ctrl.DrawAll(&mem);
    ::GdiFlush();
    const double ours = MillisecondsSince(start) / kRuns;

    // Our path 2: a full repaint of the window (WM_PAINT with the whole
    // client invalid).
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRuns; ++i) {
        ctrl.InvalidateAll(false);
        ctrl.UpdateWindow();
    }
    ::GdiFlush();
    const double window = MillisecondsSince(start) / kRuns;

    // Baseline: plain GDI draws the same texts into the same rectangles.
    IHybridStyle* style = ctrl.GetDefaultStyle();
    std::vector<std::wstring> texts;
    std::vector<CRect> rects;
    for (int r = 0; r < kRows; ++r)
        for (int c = 0; c < kColumns; ++c) {
            texts.push_back(CellText(r, c));
            CRect rect;
            cells[static_cast<size_t>(r * kColumns + c)]->GetRect(&rect);
            rects.push_back(rect);
        }
    HDC dc = mem.GetSafeHdc();
    HGDIOBJ oldFont = ::SelectObject(dc, style->GetFont()->GetSafeHandle());
    start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRuns; ++i) {
        for (size_t k = 0; k < texts.size(); ++k) {
            CRect rect = rects[k];
            mem.FillSolidRect(&rect, RGB(255, 255, 255));
            ::SetBkMode(dc, TRANSPARENT);
            ::SetTextColor(dc, 0);
            rect.DeflateRect(3, 0);
            ::DrawTextW(dc, texts[k].c_str(), static_cast<int>(texts[k].size()), &rect,
                        DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
        }
    }
    ::GdiFlush();
    const double baseline = MillisecondsSince(start) / kRuns;
    ::SelectObject(dc, oldFont);
    mem.SelectObject(old);

    std::printf("visible cells: %d of %d (control %dx%d)\n", visible, static_cast<int>(cells.size()), kWidth, kHeight);
    std::printf("hybrid full repaint into memory: %.2f ms\n", ours);
    std::printf("hybrid full repaint of the window (WM_PAINT): %.2f ms\n", window);
    std::printf("plain GDI, same texts and rectangles: %.2f ms\n", baseline);
    std::printf("ratio hybrid/plain: %.2f\n", baseline > 0 ? ours / baseline : 0.0);
    ctrl.DestroyWindow();
    ::DestroyWindow(frame);
    return 0;
}
