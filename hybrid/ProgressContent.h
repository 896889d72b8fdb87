#pragma once
// CProgressContent: a bar showing how far a 64-bit position has come
// towards a 64-bit total, with a centred percentage or an owner's text
// (type letter 'p'). High style bits: 0x1 flat colours, 0x2 no height from
// the text, 0x4 no text.
#include "hybrid/ContentBase.h"
#include "hybrid/IHybridProgress.h"

enum : DWORD {
    HPB_FLAT = 0x1,
    HPB_NOHEIGHT = 0x2,
    HPB_NOTEXT = 0x4,
};

class CProgressContent : public CContentBase<IHybridProgress>
{
public:
    CProgressContent() = default;

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;

    WCHAR GetType() override { return L'p'; }
    void Draw(CDC* dc, CRect rect) override;
    int GetPreferredHeight(int width) override;

    void SetTotal(int64_t total) override;
    void SetPos(int64_t position) override;
    int64_t GetPos() override { return m_position; }
    int64_t GetTotal() override { return m_total; }
    IHybridProgress* SetTextCallback(PFN_PROGRESS_TEXT callback) override;

    // The label drawn over the bar: the callback's text, else "<percent> %".
    CString GetLabel();
    // Width of the bar in a rectangle `width` pixels wide.
    int BarWidth(int width) const;

private:
    int64_t m_total = 0;
    int64_t m_position = 0;
    PFN_PROGRESS_TEXT m_textCallback = nullptr;
};
