#pragma once
// CHeadingContent: one column header of a list (type letter 'h'): a button
// face with a caption and an optional sort mark, clickable with high style
// bit value 2 (notification 35), and with borders the user drags to resize
// the column and its neighbour in the row's column model (notification 5
// when the drag ends). The column model gives the width.
#include "common/LocalizedString.h"
#include "hybrid/ContentBase.h"
#include "hybrid/IHeadingContent.h"

// High style bits of a heading.
enum : DWORD {
    HHB_FLAT = 0x1,      // gradient face instead of the system push button
    HHB_CLICKABLE = 0x2, // a click notifies 35
    HHB_ROUNDED = 0x4,   // with HHB_FLAT: the upper corners are blunted
};

// Resources of the heading.
enum : UINT {
    IDB_HYBRID_SORT_OTHER = 6010,
    IDB_HYBRID_SORT_1 = 6011,
    IDC_HYBRID_RESIZE = 10025,
};

// Narrowest width a border drag leaves a column.
constexpr int HEADING_MIN_COLUMN = 20;

class CHeadingContent : public CContentBase<IHeadingContent>
{
public:
    CHeadingContent() = default;

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;

    WCHAR GetType() override { return L'h'; }
    int GetPreferredHeight(int width) override;
    void Draw(CDC* dc, CRect rect) override;
    HCURSOR GetCursor(const CPoint& point) override;
    bool OnLButtonDown(const CPoint& point) override;
    void OnMouseMove(const CPoint& point) override;
    void OnLButtonUp(const CPoint& point) override;

    void SetText(LPCWSTR text) override;
    void SetTextID(int id) override;
    void SetSortMark(int mark) override;
    int GetSortMark() override { return m_sortMark; }

    // The border the next press would drag: 0 none, 1 left, 2 right.
    static int GetResizeSide();

private:
    void ResizeStep(const CPoint& point);
    DWORD HighBits() { return static_cast<DWORD>(GetStyleBits() >> 32); }

    int m_textId = -1;
    CLocalizedString m_text;
    bool m_pressed = false;
    bool m_inside = false;
    int m_sortMark = 0;
};
