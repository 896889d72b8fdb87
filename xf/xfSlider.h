#pragma once
// The toolkit's slider as a toolbar item: it carries its command id (its
// moves reach the application as that command), turns vertical on a bar
// docked left or right and may take a fixed length from its record.
#include "hybrid/SliderContent.h"
#include "xf/xfContentInterfaces.h"
#include "xf/xfToolBarItem.h"

class CxfSlider : public CHybridSlider, public IxfHasID
{
public:
    explicit CxfSlider(const SxfToolBarItem* item) : m_item(item) {}

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return CHybridSlider::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return CHybridSlider::Release(); }
    UINT GetID() override { return m_item->nID; }
    void OnAttach() override;

private:
    CxfItemCopy m_item;
};
