#pragma once
// The content of a toolbar's root cell: the bar's background, with a
// gradient behind the area its items cover in the default background kind.
#include "hybrid/ContentBase.h"
#include "xf/xfContentInterfaces.h"

class CxfToolbarBk : public CContentBase<IxfEmptyInterface>
{
public:
    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    void Draw(CDC* dc, CRect rect) override;
    // The width of the control's cell area.
    int GetPreferredWidth() override;
    int GetPreferredHeight(int) override { return 1; }
};
