#pragma once
// CCheckBoxContent: a 13 x 13 system check box followed by one line of text
// (type letter 'x'). A left click or Space toggles it; every change of the
// state is reported as notification 29.
#include "hybrid/ContentBase.h"
#include "hybrid/IHybridCheckBox.h"

class CCheckBoxContent : public CContentBase<IHybridCheckBox>
{
public:
    CCheckBoxContent() = default;

    STDMETHODIMP QueryInterface(REFIID riid, void** out) override;

    WCHAR GetType() override { return L'x'; }
    bool CanFocus() override { return true; }
    void Draw(CDC* dc, CRect rect) override;
    void OnMouseMove(const CPoint& point) override;
    bool OnLButtonDown(const CPoint& point) override;
    void OnLButtonUp(const CPoint& point) override;
    bool OnKeyDown(UINT virtualKey, UINT keyData) override;
    int GetPreferredWidth() override;
    int GetPreferredHeight(int width) override;

    void SetText(LPCWSTR text) override;
    void SetCheck(int state, bool notify) override;
    int GetCheck() override { return m_state; }

    // 0 -> 1 -> 0; the indeterminate state (set by the program) goes to 0.
    void Toggle();

private:
    CString m_text;
    int m_state = 0;
    bool m_pressed = false;
    bool m_threeState = false;
};
