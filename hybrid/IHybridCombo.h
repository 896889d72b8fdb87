#pragma once
// The combo contents' own operations (type letter 'c'): a list of strings
// with item data, a current item and a drop-down list.
#include "hybrid/IStretchContent.h"

struct IHybridCombo : public IStretchContent
{
    virtual int AddStringID(UINT id) = 0;
    virtual int AddString(LPCWSTR text) = 0;
    virtual LPCWSTR GetString(int index) = 0;
    virtual int GetCurSel() = 0;
    virtual void SetCurSel(int index, bool notify) = 0;
    virtual int SelectString(LPCWSTR text, bool notify) = 0;
    virtual int SelectItemData(DWORD value) = 0;
    virtual void ResetContent() = 0;
    virtual int GetCount() = 0;
    virtual void ShowDropDown(bool show, bool lostActivation) = 0;
    virtual LPCWSTR GetEditText() = 0;
    virtual void SetEditText(LPCWSTR text) = 0;
    virtual void SetItemData(int index, DWORD value) = 0;
    virtual DWORD GetItemData(int index) = 0;
    virtual void SetPromptText(LPCWSTR text) = 0;
    [[nodiscard]] virtual bool IsValidIndex(int index) = 0;
};
