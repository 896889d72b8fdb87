// Full repaint of the waveform view, 1200 columns of a five-minute file, at
// three zooms (whole file, 1 s per 100 px, 10 ms per 100 px), against a
// plain Polyline through the same peaks into the same device context.
// Both paths ask the peak container for every column. Run for a memory DC
// (the view's cell is painted off-screen in the program) and a window DC.
// The two paints run in turn (view, polyline, view, polyline, ...); prints
// the median of each, and the median and spread of the per-pair ratios.
//   scripts/wine-env <build> run <build>/bench/bench_waveform_repaint.exe <test-data folder>
#include <cstdio>
#include <string>
#include <vector>
#include "audio/CreateAudioReader.h"
#include "bench/InterleavedRounds.h"
#include "app/TimeContainer.h"
#include "app/WaveDisplayContent.h"

namespace {

const int kWidth = 1200, kHeight = 150;
const int kRuns = 60; // paints of each side, in pairs

// The baseline: the same peaks as a zig-zag polyline, one call.
void PlainPaint(HDC dc, ITimeContainer* model, IPeakContainer* peaks)
{
    RECT r = {0, 0, kWidth, kHeight};
    ::SetBkColor(dc, RGB(163, 163, 163));
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    std::vector<POINT> points;
    points.reserve(2 * kWidth + 2);
    const int cy = kHeight / 2;
    for (int x = 0; x <= kWidth; ++x) {
        SPeak peak;
        if (!peaks->GetPeak(model->PixelToTime(x, true), model->PixelToTime(x + 1, true), &peak))
            continue;
        points.push_back({x, cy - peak.max * kHeight / 256});
        points.push_back({x, cy - peak.min * kHeight / 256});
    }
    HPEN pen = ::CreatePen(PS_SOLID, 1, RGB(153, 177, 243));
    HGDIOBJ old = ::SelectObject(dc, pen);
    ::Polyline(dc, points.data(), static_cast<int>(points.size()));
    ::SelectObject(dc, old);
    ::DeleteObject(pen);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const std::wstring folder = argc > 1 ? argv[1] : L".";
    const std::wstring path = folder + L"\\tone440_5m.wav";
    CIPtr<IAudioReader> reader;
    if (!CreateAudioReader(path.c_str(), &reader, false)) {
        std::fwprintf(stderr, L"cannot open %ls\n", path.c_str());
        return 1;
    }
    CIPtr<ITimeContainer> model(new CTimeContainer);
    model->SetReader(reader);
    CIPtr<CWaveDisplayContent> view(new CWaveDisplayContent(model, false));
    view->SetReader(reader);
    CIPtr<IPeakContainer> peaks;
    reader->GetPeakContainer(&peaks, nullptr);
    while (!peaks->IsComplete())
        ::Sleep(20);
    // A selection over part of the screen, as while working.
    model->SetSelection(model->GetLength() / 3, model->GetLength() / 2);

    HWND wnd = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, kWidth, kHeight, nullptr, nullptr,
                                 nullptr, nullptr);
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, kWidth, kHeight);
    HGDIOBJ oldBitmap = ::SelectObject(memory, bitmap);
    HDC window = ::GetDC(wnd);

    struct SZoom
    {
        const wchar_t* name;
        LONGLONG scale;
    };
    const SZoom zooms[] = {
        {L"whole file", model->GetLength() / kWidth / 10}, {L"1 s per 100 px", 1000}, {L"10 ms per 100 px", 10}};
    struct SDc
    {
        const wchar_t* name;
        HDC dc;
    };
    const SDc dcs[] = {{L"memory DC", memory}, {L"window DC", window}};
    std::wprintf(L"%-18ls %-10ls %9ls %12ls  %ls\n", L"zoom", L"dc", L"view ms", L"polyline ms",
                 L"ratio view/polyline (per pair)");
    for (const SDc& d : dcs)
        for (const SZoom& z : zooms) {
            model->SetScale(z.scale);
            // The middle of the file, so no column lies outside it.
            model->SetPosition(z.scale == zooms[0].scale ? 0 : model->GetLength() / 2);
            CDC* dc = CDC::FromHandle(d.dc);
            // Each paint is flushed before its time is taken: GDI may batch calls.
            const Measure ours = WallTime([&] {
                view->Draw(dc, CRect(0, 0, kWidth, kHeight));
                ::GdiFlush();
            });
            const Measure plain = WallTime([&] {
                PlainPaint(d.dc, model, peaks);
                ::GdiFlush();
            });
            ours(); // warm up
            plain();
            const CInterleavedRounds pairs(kRuns, {ours, plain});
            std::wprintf(L"%-18ls %-10ls %9.3f %12.3f  %hs\n", z.name, d.name, pairs.Spread(0).median * 1000,
                         pairs.Spread(1).median * 1000, SpreadText(pairs.RatioSpread(0, 1)).c_str());
        }

    ::ReleaseDC(wnd, window);
    ::SelectObject(memory, oldBitmap);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
    ::DestroyWindow(wnd);
    model->Clear();
    return 0;
}
