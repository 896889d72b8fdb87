#pragma once
// The toolkit's edit and combo contents as toolbar items: each carries its
// command id and takes its width from its record when installed. A
// committed value (Enter, a chosen item) reaches the application as that
// command; its handler reads the value through the content's interface.
#include "hybrid/ComboContent.h"
#include "hybrid/EditComboContent.h"
#include "hybrid/EditContent.h"
#include "xf/xfContentInterfaces.h"
#include "xf/xfToolBarItem.h"

// Type 4 without flag 0x100000. nParam: width in pixels (at least 25).
class CxfEditComboBox : public CEditComboContent, public IxfHasID
{
public:
    explicit CxfEditComboBox(const SxfToolBarItem* item) : m_item(item) {}
    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return CEditComboContent::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return CEditComboContent::Release(); }
    UINT GetID() override { return m_item->nID; }
    void OnAttach() override;
    // Enter that the base leaves alone commits the text as a choice (21).
    bool OnKeyDown(UINT virtualKey, UINT keyData) override;

private:
    CxfItemCopy m_item;
};

// Type 4 with flag 0x100000. nParam: width in "M" letters of the cell's font.
class CxfDropListComboBox : public CComboContent, public IxfHasID
{
public:
    explicit CxfDropListComboBox(const SxfToolBarItem* item) : m_item(item) {}
    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return CComboContent::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return CComboContent::Release(); }
    UINT GetID() override { return m_item->nID; }
    void OnAttach() override;

private:
    CxfItemCopy m_item;
};

// Type 5: 40 pixels wide unless nParam gives the width in pixels.
class CxfEditBox : public CEditContent, public IxfHasID
{
public:
    explicit CxfEditBox(const SxfToolBarItem* item);
    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return CEditContent::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return CEditContent::Release(); }
    UINT GetID() override { return m_item->nID; }
    void OnAttach() override;

private:
    CxfItemCopy m_item;
};
