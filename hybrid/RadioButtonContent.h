#pragma once
// CRadioButtonContent: a 13 x 13 round box followed by a text, checked by a
// click or Space. Checking one unchecks every other radio button under the
// nearest ancestor cell marked HCB_RADIOGROUP; changes are notification 30.
// Made for the builder letter 'r'; it reports the type letter 'x'.
#include "hybrid/BoxButtonContent.h"
#include "hybrid/IHybridRadioButton.h"

class CRadioButtonContent : public CBoxButtonContent<IHybridRadioButton>
{
public:
    CRadioButtonContent() = default;

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;

    void Draw(CDC* dc, CRect rect) override;
    void SetCheck(bool check, bool notify) override;
    [[nodiscard]] bool GetCheck() override { return m_checked; }
    void SetBitmap(int bitmapId, COLORREF transparent) override;

protected:
    void OnPress() override { SetCheck(true, true); }

private:
    void UncheckGroup(bool notify);

    bool m_checked = false;
    int m_bitmapId = 0;
    COLORREF m_transparent = 0;
};
