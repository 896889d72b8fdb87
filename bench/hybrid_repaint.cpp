// Repaint time of a Hybrid control against plain GDI drawing the same
// things into the same rectangles, one full repaint per run. Two scenes:
//   text: 500 text cells (50 rows of 10 columns), all visible;
//   mix:  the text scene with the first rows replaced by one row of each
//         other content kind (button, check box, radio button, slider,
//         progress, picture).
// The two repaints run in turn (ours, plain, ours, plain, ...); prints the
// median of each and of the per-pair ratios, with the ratios' spread.
//   scripts/wine-env <build> run <build>/bench/bench_hybrid_repaint.exe
#include <cstdio>
#include <string>
#include <vector>
#include "bench/InterleavedRounds.h"
#include "common/DrawRoutines.h"
#include "hybrid/CellBuilder.h"
#include "hybrid/HybridCtrl.h"
#include "hybrid/HybridResources.h"
#include "hybrid/IHybridProgress.h"
#include "hybrid/IHybridSlider.h"

namespace {

const int kRows = 50, kColumns = 10, kWidth = 1000, kHeight = 870;
const int kRuns = 40;               // repaints of each side, in pairs
const wchar_t kKinds[] = L"BxrLpP"; // the rows of the mix, by content letter

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

// One cell of the scene as plain GDI draws it.
struct SPlainCell
{
    WCHAR kind;
    std::wstring text;
    CRect rect;
};

// Fills the control: kRows rows of kColumns cells; with `mix`, row i < 6
// holds contents of kind kKinds[i] instead of texts.
std::vector<SPlainCell> Fill(CHybridCtrl& ctrl, bool mix)
{
    CCellBuilder builder(&ctrl);
    CIPtr<IHybridHeading> model;
    for (int c = 0; c < kColumns; ++c)
        builder.AddColumn(kWidth / kColumns);
    builder.ReturnColumnModel(&model).CreateColumnModel();
    std::vector<CIPtr<IHybridCell>> cells;
    std::vector<SPlainCell> plain;
    std::vector<std::wstring> texts;
    texts.reserve(kRows * kColumns);
    for (int r = 0; r < kRows; ++r) {
        builder.SetColumnModel(model).AddCell().BeginChildren();
        const WCHAR kind = mix && r < 6 ? kKinds[r] : L'T';
        for (int c = 0; c < kColumns; ++c) {
            texts.push_back(CellText(r, c));
            CIPtr<IHybridCell> cell;
            CIPtr<IHybridSlider> slider;
            CIPtr<IHybridProgress> progress;
            builder.ReturnCell(&cell).SetText(texts.back().c_str());
            switch (kind) {
            case L'B': builder.AddButton(); break;
            case L'x': builder.SetChecked(c % 2).AddCheckBox(); break;
            case L'r': builder.AddRadioButton(); break;
            case L'L':
                builder.ReturnSlider(&slider).SetSliderRange(0, 9).AddSlider();
                slider->SetPos(c);
                break;
            case L'p':
                builder.ReturnProgress(&progress).AddProgress();
                progress->SetTotal(9);
                progress->SetPos(c);
                break;
            case L'P': builder.SetPictureResource(IDB_HYBRID_THUMB_H, 0xFFFFFF).AddPicture(); break;
            default: builder.AddText(); break;
            }
            cells.push_back(cell);
            plain.push_back(SPlainCell{kind, texts.back(), CRect()});
        }
        builder.EndChildren();
    }
    ctrl.UpdateLayout(true);
    for (int i = 0; i < 20; ++i) {
        Pump();
        ::Sleep(5);
    }
    for (size_t k = 0; k < cells.size(); ++k)
        cells[k]->GetRect(&plain[k].rect);
    return plain;
}

// Plain GDI: every cell drawn with the primitives of its kind, the font
// selected once.
void DrawPlain(CDC& mem, const std::vector<SPlainCell>& cells, HFONT font)
{
    HDC dc = mem.GetSafeHdc();
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, 0);
    for (const SPlainCell& cell : cells) {
        CRect rect = cell.rect;
        switch (cell.kind) {
        case L'B':
            ::DrawFrameControl(dc, &rect, DFC_BUTTON, DFCS_BUTTONPUSH);
            ::DrawTextW(dc, cell.text.c_str(), -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
            break;
        case L'x':
        case L'r': {
            mem.FillSolidRect(&rect, RGB(255, 255, 255));
            CRect box(rect.left, rect.top + (rect.Height() - 13) / 2, rect.left + 13,
                      rect.top + (rect.Height() - 13) / 2 + 13);
            ::DrawFrameControl(dc, &box, DFC_BUTTON, cell.kind == L'x' ? DFCS_BUTTONCHECK : DFCS_BUTTONRADIO);
            rect.left += 16;
            ::DrawTextW(dc, cell.text.c_str(), -1, &rect, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
            break;
        }
        case L'L':
            mem.FillSolidRect(&rect, RGB(255, 255, 255));
            mem.Draw3dRect(rect.left + 7, rect.top + rect.Height() / 2 - 2, rect.Width() - 14, 4, 0xA3A3A3, 0xFFFFFF);
            DrawBitmapTransparentCentred(IDB_HYBRID_THUMB_H, dc,
                                         CRect(rect.left, rect.top, rect.left + 14, rect.bottom), 0xFFFFFF);
            break;
        case L'p':
            DrawGradientRect(dc, rect, 0xFF0000, 0xFFC8C8, 2);
            ::DrawTextW(dc, L"50 %", -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
            break;
        case L'P':
            mem.FillSolidRect(&rect, RGB(255, 255, 255));
            DrawBitmapTransparentCentred(IDB_HYBRID_THUMB_H, dc, rect, 0xFFFFFF);
            break;
        default:
            mem.FillSolidRect(&rect, RGB(255, 255, 255));
            rect.DeflateRect(3, 0);
            ::DrawTextW(dc, cell.text.c_str(), static_cast<int>(cell.text.size()), &rect,
                        DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
            break;
        }
    }
    ::SelectObject(dc, oldFont);
}

void RunScene(HWND frame, bool mix)
{
    CHybridCtrl ctrl;
    if (!ctrl.Create(CWnd::FromHandle(frame), 1, 0)) {
        std::printf("control not created\n");
        return;
    }
    ctrl.MoveWindow(0, 0, kWidth, kHeight, TRUE);
    const std::vector<SPlainCell> plain = Fill(ctrl, mix);
    CRect area;
    ctrl.GetCellAreaRect(&area);
    int visible = 0;
    for (const SPlainCell& cell : plain) {
        CRect meet;
        visible += meet.IntersectRect(&cell.rect, &area) ? 1 : 0;
    }
    CClientDC screen(&ctrl);
    CDC mem;
    CBitmap bitmap;
    if (!mem.CreateCompatibleDC(&screen) || !bitmap.CreateCompatibleBitmap(&screen, kWidth, kHeight)) {
        std::printf("no memory bitmap to paint into\n");
        return;
    }
    CBitmap* old = mem.SelectObject(&bitmap);

    // Each repaint is flushed before its time is taken: GDI may batch calls.
    HFONT font = static_cast<HFONT>(ctrl.GetDefaultStyle()->GetFont()->GetSafeHandle());
    const Measure ours = WallTime([&] {
        ctrl.DrawAll(&mem);
        ::GdiFlush();
    });
    const Measure baseline = WallTime([&] {
        DrawPlain(mem, plain, font);
        ::GdiFlush();
    });
    const Measure window = WallTime([&] {
        ctrl.InvalidateAll(false);
        ctrl.UpdateWindow();
        ::GdiFlush();
    });
    // One untimed repaint of each warms the caches.
    ours();
    baseline();
    window();
    const CInterleavedRounds pairs(kRuns, {ours, baseline});
    const CInterleavedRounds windowRuns(kRuns, {window});
    mem.SelectObject(old);

    const char* scene = mix ? "mix" : "text";
    std::printf("[%s] visible cells: %d of %d (control %dx%d)\n", scene, visible, static_cast<int>(plain.size()),
                kWidth, kHeight);
    std::printf("[%s] hybrid full repaint into memory: %.2f ms (median of %d)\n", scene, pairs.Spread(0).median * 1000,
                kRuns);
    std::printf("[%s] hybrid full repaint of the window (WM_PAINT): %.2f ms (median of %d)\n", scene,
                windowRuns.Spread(0).median * 1000, kRuns);
    std::printf("[%s] plain GDI, same cells and rectangles: %.2f ms (median of %d, each after one of ours)\n", scene,
                pairs.Spread(1).median * 1000, kRuns);
    std::printf("[%s] ratio hybrid/plain: %s\n", scene, SpreadText(pairs.RatioSpread(0, 1)).c_str());
    ctrl.DestroyWindow();
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
    HWND frame = ::CreateWindowExW(0, wc.lpszClassName, L"bench", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr,
                                   nullptr, wc.hInstance, nullptr);
    RunScene(frame, false);
    RunScene(frame, true);
    ::DestroyWindow(frame);
    return 0;
}
