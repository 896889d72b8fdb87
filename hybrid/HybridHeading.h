#pragma once
// CHybridHeading: the column model shared by the rows of a column layout.
// A change of a width or share asks the owning control for a relayout.
#include "platform/mfc/afx.h"
#include "common/Interfaces.h"
#include "hybrid/IHybridHeading.h"

class CHybridCtrl;

class CHybridHeading : public IHybridHeading
{
public:
    struct SItem
    {
        int width;
        int secondValue;
    };

    explicit CHybridHeading(CHybridCtrl* control);

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    void InsertColumn(int index, int width) override;
    int GetCount() override;
    void SetWidth(int index, int width) override;
    int GetWidth(int index) override;
    int GetTotalWidth() override;
    void SetSecondValue(int index, int value) override;
    int GetSecondValue(int index) override;

protected:
    virtual ~CHybridHeading();
    friend class CRefCount; // deletes at the last Release

private:
    void Changed();

    CArray<SItem, const SItem&> m_columns;
    CHybridCtrl* m_control;
    CRefCount m_refs;
};
