#pragma once
// A spacer between toolbar items; with flag 0x100000 it draws an etched
// line skin. It always takes the skin's size unless the bar stretches it.
#include "common/MiniSkin.h"
#include "hybrid/ContentBase.h"
#include "hybrid/IStretchContent.h"
#include "xf/xfToolBarItem.h"

class CxfToolBarSeparator : public CContentBase<IStretchContent>
{
public:
    explicit CxfToolBarSeparator(const SxfToolBarItem* item) : m_item(item) {}

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    IStretchContent* SetLength(int length) override;

    // On a toolbar: takes the bar's orientation and loads the skin.
    void OnAttach() override;
    void Draw(CDC* dc, CRect rect) override;
    int GetPreferredWidth() override;
    int GetPreferredHeight(int width) override;

private:
    CxfItemCopy m_item;
    int m_nStretch = 0;
    CMiniSkin m_skin;
    bool m_bVertical = false;
};
