#pragma once
// CWaveDisplayContent: the waveform of the open file over the time range the
// time model makes visible, with the selection and the play cursor; shows
// the progress while the file loads and its peaks are built, and makes or
// changes the selection with the left mouse button. Control column x is
// time-line pixel x, so the view sits at the left edge of its control.
#include "audio/IAudioReader.h"
#include "audio/IPeakContainer.h"
#include "app/DisplayContent.h"

class CLineBatch;

class CWaveDisplayContent : public CDisplayContent<IDisplay>
{
public:
    // drawFromSamples: each column from samples read from the reader
    // instead of from the peaks.
    CWaveDisplayContent(ITimeContainer* container, bool drawFromSamples);
    ~CWaveDisplayContent() override;

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;

    void OnDetach() override;
    void OnMouseMove(const CPoint& point) override;
    bool OnLButtonDown(const CPoint& point) override;
    void OnLButtonUp(const CPoint& point) override;
    HCURSOR GetCursor(const CPoint& point) override;
    int GetPreferredHeight(int) override { return 150; }
    void SetReader(IAudioReader* reader) override;
    void OnPlayCursorChanged() override;
    void OnTimer(UINT_PTR id) override;
    void Paint(CDC* dc, CRect rect, int firstColumn, int columnCount) override;

    // The selection drag's mode: 0 new, 1 move the start, 2 move the end.
    int GetDragMode() const { return m_dragMode; }

private:
    // The look of one column, decided before anything is drawn.
    struct SColumn
    {
        bool drawn = false; // false: nothing at all (negative column)
        bool found = false; // false: grey from top to bottom
        COLORREF background = 0;
        COLORREF wave = 0;
        int yTop = 0, yBottom = 0;
    };
    struct SSelection
    {
        bool has = false;
        LONGLONG min = 0, max = 0;
        [[nodiscard]] bool Contains(LONGLONG t) const { return has && min <= t && t <= max; }
    };
    SColumn ComputeColumn(int x, const CRect& r, bool isCursor, const SSelection& selection);
    [[nodiscard]] bool PeakFromSamples(LONGLONG t1, LONGLONG t2, SPeak& peak);
    // Draws columns [first, last] into dc, each layer in one batch.
    // paintMissing: columns without peaks are painted grey too (else they
    // keep what is there).
    void DrawColumns(HDC dc, const CRect& r, int first, int last, int cursorColumn, bool paintMissing);
    void DrawProgress(CDC* dc, CRect r);
    void DrawDragLines();
    void StopProgressTimer();

    CIPtr<IAudioReader> m_reader;
    CIPtr<IPeakContainer> m_peaks;
    const bool m_drawFromSamples;
    UINT_PTR m_progressTimer = static_cast<UINT_PTR>(-1);
    int m_anchorX = 0;
    int m_movingX = 0;
    int m_dragMode = 0;
};
