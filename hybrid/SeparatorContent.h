#pragma once
// CSeparatorContent: a horizontal rule or spacer between cells (type letter
// 's'); its height and look come from the cell's high style bits.
#include "hybrid/ContentBase.h"
#include "hybrid/IHybridSeparator.h"

// High style bits of a separator (first match wins for the height).
enum : DWORD {
    HSB_NOMARGINS = 0x1,        // at attachment: all margins 0
    HSB_GREY_LINE = 0x2,        // one 0xA3A3A3 line
    HSB_ETCHED = 0x4,           // grey line over a white one
    HSB_THIN_SEPARATOR = 0x8,   // 1 pixel, no line
    HSB_HEIGHT2 = 0x10,         // 2 pixels
    HSB_ETCHED_RULE = 0x20,     // 2-pixel etched rule over the whole width, nothing else
    HSB_SHADED_LINE = 0x40,     // one line, the background darkened by 10
    HSB_THICK_SEPARATOR = 0x80, // 3 pixels, no line
};

class CSeparatorContent : public CContentBase<IHybridSeparator>
{
public:
    CSeparatorContent() = default;

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;

    WCHAR GetType() override { return L's'; }
    void OnAttach() override;
    int GetPreferredHeight(int width) override;
    void Draw(CDC* dc, CRect rect) override;

    void SetMargins(int left, int top, int right, int bottom) override;

private:
    DWORD HighBits() { return static_cast<DWORD>(GetStyleBits() >> 32); }

    int m_left = 3, m_top = 3, m_right = 3, m_bottom = 3;
};
