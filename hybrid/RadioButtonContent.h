#pragma once
// CRadioButtonContent: a 13 x 13 round box followed by a text, checked by a
// click or Space. Checking one unchecks every other radio button under the
// nearest ancestor cell marked HCB_RADIOGROUP; changes are notification 30.
// Made for the builder letter 'r'; it reports the type letter 'x'.
#include "hybrid/ContentBase.h"
#include "hybrid/IHybridRadioButton.h"

class CRadioButtonContent : public CContentBase<IHybridRadioButton>
{
public:
    CRadioButtonContent() = default;

    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;

    WCHAR GetType() override { return L'x'; }
    bool CanFocus() override { return true; }
    void Draw(CDC* dc, CRect rect) override;
    void OnMouseMove(const CPoint& point) override;
    bool OnLButtonDown(const CPoint& point) override;
    void OnLButtonUp(const CPoint& point) override;
    void OnMouseLeave() override {}
    bool OnKeyDown(UINT virtualKey, UINT keyData) override;
    int GetPreferredHeight(int width) override;

    void SetText(LPCWSTR text) override;
    void SetCheck(bool check, bool notify) override;
    bool GetCheck() override { return m_checked; }
    void SetBitmap(int bitmapId, COLORREF transparent) override;

private:
    void UncheckGroup(bool notify);

    CString m_text;
    bool m_checked = false;
    bool m_pushed = false;
    int m_bitmapId = 0;
    COLORREF m_transparent = 0;
};
