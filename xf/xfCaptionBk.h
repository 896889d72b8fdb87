#pragma once
// A caption-like background: a horizontal gradient from the active or
// inactive caption colour to the face colour, its corners cut.
#include "hybrid/ContentBase.h"
#include "xf/xfContentInterfaces.h"

class CxfCaptionBk : public CContentBase<IxfCaptionBack>
{
public:
    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    // Repaints on a change only.
    void SetActive(bool active) override;
    [[nodiscard]] bool IsActive() override { return m_bActive; }
    void Draw(CDC* dc, CRect rect) override;
    int GetPreferredWidth() override { return 0; }
    int GetPreferredHeight(int) override { return 1; }

private:
    bool m_bActive = false;
};
