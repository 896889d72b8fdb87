#include "app/WaveDisplayContent.h"

#include <algorithm>
#include <vector>
#include "common/BitUtils.h"
#include "app/LineBatch.h"
#include "app/ViewResources.h"

namespace {

const COLORREF kGrey = RGB(163, 163, 163);
const COLORREF kCursorBack = RGB(153, 177, 243);
const COLORREF kWave = RGB(153, 177, 243);
const COLORREF kSelectedWave = RGB(0, 0, 128);
const COLORREF kDots = RGB(192, 192, 192);
const UINT kProgressPeriod = 500;
const DWORD kSampleBufferBytes = 65536;

} // namespace

CWaveDisplayContent::CWaveDisplayContent(ITimeContainer* container, bool drawFromSamples)
    : CDisplayContent<IDisplay>(container), m_drawFromSamples(drawFromSamples)
{
}

CWaveDisplayContent::~CWaveDisplayContent()
{
    m_peaks = nullptr;
    m_reader = nullptr;
}

STDMETHODIMP CWaveDisplayContent::QueryInterface(REFIID riid, void** out)
{
    return AnswerQuery(riid, out, {Primary(IID_IHybridContent), Primary(IID_IDisplay)});
}

void CWaveDisplayContent::SetReader(IAudioReader* reader)
{
    m_peaks = nullptr;
    m_reader = reader;
    if (!reader)
        return;
    if (reader->GetPeakContainer(&m_peaks, nullptr) && m_peaks)
        m_peaks->AddListener(this);
}

void CWaveDisplayContent::OnDetach()
{
    if (m_peaks)
        m_peaks->RemoveListener(this);
    if (m_progressTimer == static_cast<UINT_PTR>(-1))
        return;
    StopProgressTimer();
    if (m_peaks)
        m_peaks->StopAndWait();
}

void CWaveDisplayContent::StopProgressTimer()
{
    if (CHybridCtrl* control = GetCtrl())
        control->KillTimerCallback(m_progressTimer);
    m_progressTimer = static_cast<UINT_PTR>(-1);
}

void CWaveDisplayContent::OnTimer(UINT_PTR id)
{
    if (id == m_progressTimer)
        Invalidate();
}

// ---- painting ----

void CWaveDisplayContent::Paint(CDC* dc, CRect r, int, int)
{
    dc->FillSolidRect(&r, kGrey);
    if (!m_peaks || !m_reader)
        return;
    if (!m_peaks->IsComplete()) {
        DrawProgress(dc, r);
        return;
    }
    if (m_progressTimer != static_cast<UINT_PTR>(-1))
        StopProgressTimer();
    const LONGLONG cursor = m_container ? m_container->GetPlayCursor() : -1;
    const int cursorColumn = cursor == -1 || !m_container ? -1 : m_container->TimeToPixel(cursor, true);
    // Only the columns the device context lets through are worked out
    // (a queued redraw of the play cursor's two columns is clipped to them).
    int first = 0, last = r.right;
    CRect clip;
    if (dc->GetClipBox(&clip) != ERROR && !clip.IsRectEmpty()) {
        first = std::max(first, static_cast<int>(clip.left));
        last = std::min(last, static_cast<int>(clip.right));
    }
    // Columns without peaks keep the grey just filled.
    DrawColumns(dc->GetSafeHdc(), r, first, last, cursorColumn, false);
}

void CWaveDisplayContent::DrawProgress(CDC* dc, CRect r)
{
    if (m_progressTimer == static_cast<UINT_PTR>(-1))
        if (CHybridCtrl* control = GetCtrl())
            m_progressTimer = control->SetTimerCallback(kProgressPeriod, this);
    // Shown as stored in the string table: the numbers' format must not
    // depend on a translation.
    DWORD percent = 0;
    CString text;
    if (!m_reader->IsReady(&percent)) {
        CString format;
        format.LoadString(IDS_READING_FILE);
        text.Format(format, static_cast<int>(percent), L'%');
    } else {
        const int count = m_peaks->GetPeakCount();
        const int done = count ? static_cast<int>(static_cast<LONGLONG>(m_peaks->GetCurrentIndex()) * 100 / count) : 0;
        CString format;
        format.LoadString(IDS_BUILDING_PEAKS);
        text.Format(format, done, L'%');
    }
    dc->DrawText(text, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

CWaveDisplayContent::SColumn CWaveDisplayContent::ComputeColumn(int x, const CRect& r, bool isCursor,
                                                                const SSelection& selection)
{
    SColumn c;
    if (x < 0 || !m_container)
        return c;
    const LONGLONG t1 = m_container->PixelToTime(x, true);
    const LONGLONG t2 = m_container->PixelToTime(x + 1, true);
    SPeak peak;
    if (m_drawFromSamples) {
        if (!m_reader)
            return c;
        c.found = PeakFromSamples(t1, t2, peak);
    } else {
        c.found = m_peaks && m_peaks->GetPeak(t1, t2, &peak);
    }
    c.drawn = true;
    if (!c.found)
        return c;
    const int h = r.Height();
    const int cy = (r.top + r.bottom) / 2;
    const int yb = r.bottom - 1;
    c.background = isCursor ? kCursorBack : RGB(255, 255, 255);
    c.yTop = std::max(static_cast<int>(r.top), cy - (peak.max * h) / 256);
    c.yBottom = std::min(yb, cy - (peak.min * h) / 256);
    if (isCursor)
        c.wave = RGB(255, 255, 255);
    else
        c.wave = selection.Contains(t1) ? kSelectedWave : kWave;
    return c;
}

void CWaveDisplayContent::DrawColumns(HDC dc, const CRect& r, int first, int last, int cursorColumn, bool paintMissing)
{
    // The selection is read once for the whole stretch, so every column
    // sees the same one.
    SSelection selection;
    if (m_container && m_container->HasSelection()) {
        selection.has = true;
        selection.min = m_container->GetSelMin();
        selection.max = m_container->GetSelMax();
    }
    // Three layers: the backgrounds as runs of rectangles (each column's
    // background line ends one row above the bottom), the waves in one
    // batch, then the grey dots of the centre line and both edges as
    // horizontal runs.
    const int cy = (r.top + r.bottom) / 2;
    const int yb = r.bottom - 1;
    std::vector<std::pair<RECT, COLORREF>> fills;
    CLineBatch waves, dots;
    int runStart = -1;
    auto endRun = [&](int end) {
        if (runStart < 0)
            return;
        for (int y : {cy, static_cast<int>(r.top), yb})
            dots.Add(kDots, runStart, y, end, y);
        runStart = -1;
    };
    for (int x = first; x <= last; ++x) {
        const SColumn c = ComputeColumn(x, r, x == cursorColumn, selection);
        if (!c.drawn || !c.found) {
            endRun(x);
            if (c.drawn && paintMissing)
                fills.push_back({RECT{x, r.top, x + 1, r.bottom}, kGrey});
            continue;
        }
        if (!fills.empty() && fills.back().second == c.background && fills.back().first.right == x &&
            fills.back().first.bottom == yb)
            fills.back().first.right = x + 1;
        else
            fills.push_back({RECT{x, r.top, x + 1, yb}, c.background});
        waves.Add(c.wave, x, c.yTop, x, c.yBottom);
        if (runStart < 0)
            runStart = x;
    }
    endRun(last + 1);
    CDC* cdc = CDC::FromHandle(dc);
    for (const auto& fill : fills)
        cdc->FillSolidRect(&fill.first, fill.second);
    waves.Flush(dc);
    dots.Flush(dc);
}

bool CWaveDisplayContent::PeakFromSamples(LONGLONG t1, LONGLONG t2, SPeak& peak)
{
    const LONGLONG frames = m_reader->GetFrameCount();
    const LONGLONG d = m_reader->GetDuration() * 1000;
    const SAudioFormat* format = m_reader->GetFormat();
    if (d <= 0 || frames <= 0 || !format || t1 < 0 || t2 < 0)
        return false;
    const unsigned long long f1 = static_cast<unsigned long long>(t1) * frames / d;
    unsigned long long f2 = static_cast<unsigned long long>(t2) * frames / d;
    if (f1 > static_cast<unsigned long long>(frames))
        return false;
    f2 = std::min(f2, static_cast<unsigned long long>(frames));
    // Only 16-bit samples are read; a format not set yet reads nothing.
    if (format->nBitsPerSample != 16 || format->nChannels < 1 || format->nChannels > 32)
        return true;
    const DWORD channels = format->nChannels;
    const DWORD frameBytes = channels * 2;
    if (!m_reader->Seek(static_cast<LONGLONG>(f1)))
        return true;
    std::vector<int16_t> buffer(kSampleBufferBytes / 2);
    for (unsigned long long p = f1; p < f2;) {
        const DWORD want = static_cast<DWORD>(std::min<unsigned long long>((f2 - p) * frameBytes, kSampleBufferBytes));
        DWORD got = 0;
        if (!m_reader->Read(buffer.data(), want - want % frameBytes, &got))
            break;
        const DWORD whole = got / frameBytes;
        if (whole == 0)
            break;
        for (DWORD i = 0; i < whole * channels; ++i) {
            const auto v = static_cast<int8_t>(buffer[i] >> 8);
            peak.min = std::min(peak.min, v);
            peak.max = std::max(peak.max, v);
        }
        p += whole;
    }
    return true;
}

void CWaveDisplayContent::OnPlayCursorChanged()
{
    if (m_drawFromSamples || !m_container)
        return;
    // Told inside the time model's lock, usually on the playback thread,
    // while the control may be going away.
    CCritSecLock lock(&m_cellLock);
    HWND wnd = GetCtrlWindow();
    if (!wnd)
        return;
    const CRect r = GetRect();
    const LONGLONG previous = m_container->GetPrevPlayCursor();
    const LONGLONG cursor = m_container->GetPlayCursor();
    const int oldColumn = previous == -1 ? -1 : m_container->TimeToPixel(previous, true);
    const int newColumn = cursor == -1 ? -1 : m_container->TimeToPixel(cursor, true);
    if (::GetWindowThreadProcessId(wnd, nullptr) != ::GetCurrentThreadId()) {
        // Another thread must not wait for the control's thread here: that
        // thread may itself be waiting for the time model's lock (a paint
        // asks for the selection). The two columns are queued for the
        // control's own thread instead, which never blocks.
        // The queue keeps a copy of the column.
        for (int x : {oldColumn, newColumn})
            if (x >= 0) {
                const CRect column(x, r.top, x + 1, r.bottom);
                GetCtrl()->QueueCellRedraw(m_cell, &column);
            }
        return;
    }
    CViewDC dc(wnd);
    if (!dc.Get())
        return;
    if (previous != -1)
        DrawColumns(dc.Get(), r, oldColumn, oldColumn, -1, true);
    if (cursor != -1)
        DrawColumns(dc.Get(), r, newColumn, newColumn, newColumn, true);
}

// ---- selecting with the mouse ----

HCURSOR CWaveDisplayContent::GetCursor(const CPoint& point)
{
    if (!HasMouseCapture() && m_container) {
        m_dragMode = 0;
        const int a = m_container->TimeToPixel(m_container->GetSelStart(), true);
        const int b = m_container->TimeToPixel(m_container->GetSelEnd(), true);
        if (IsWithinTolerance(point.x, a, 10))
            m_dragMode = 1;
        else if (IsWithinTolerance(point.x, b, 10))
            m_dragMode = 2;
    }
    if (m_dragMode == 1 || m_dragMode == 2)
        return ::LoadCursorW(nullptr, IDC_SIZEWE);
    return ::LoadCursorW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDC_WAVE_IBEAM));
}

bool CWaveDisplayContent::OnLButtonDown(const CPoint& point)
{
    if (!m_container)
        return true;
    const int a = m_container->TimeToPixel(m_container->GetSelStart(), true);
    const int b = m_container->TimeToPixel(m_container->GetSelEnd(), true);
    m_anchorX = m_dragMode == 1 ? b : m_dragMode == 2 ? a : point.x;
    m_movingX = point.x;
    CaptureMouse();
    DrawDragLines();
    return true;
}

void CWaveDisplayContent::OnMouseMove(const CPoint& point)
{
    if (!HasMouseCapture() || !m_container)
        return;
    DrawDragLines();
    const CRect r = GetRect();
    m_movingX = std::max(static_cast<int>(r.left), std::min(static_cast<int>(point.x), static_cast<int>(r.right)));
    DrawDragLines();
}

void CWaveDisplayContent::OnLButtonUp(const CPoint& point)
{
    if (!HasMouseCapture())
        return;
    DrawDragLines();
    CDisplayContent<IDisplay>::OnLButtonUp(point);
    if (!m_container)
        return;
    m_container->SetSelection(m_container->PixelToTime(m_anchorX, true), m_container->PixelToTime(m_movingX, true));
    Invalidate();
}

void CWaveDisplayContent::DrawDragLines()
{
    DrawXorLines(m_anchorX, m_movingX, RGB(255, 255, 255));
}
