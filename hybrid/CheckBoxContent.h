#pragma once
// CCheckBoxContent: a 13 x 13 system check box followed by one line of text
// (type letter 'x'). A left click or Space toggles it; every change of the
// state is reported as notification 29.
#include "hybrid/BoxButtonContent.h"
#include "hybrid/IHybridCheckBox.h"

class CCheckBoxContent : public CBoxButtonContent<IHybridCheckBox>
{
public:
    CCheckBoxContent() = default;

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;

    void Draw(CDC* dc, CRect rect) override;
    int GetPreferredWidth() override;

    void SetCheck(int state, bool notify) override;
    int GetCheck() override { return m_state; }

    // 0 -> 1 -> 0; the indeterminate state (set by the program) goes to 0.
    void Toggle();

protected:
    void OnPress() override { Toggle(); }

private:
    int m_state = 0;
    bool m_threeState = false;
};
