#pragma once
// A strip of tabs in one toolbar cell. Picking a tab posts the item's
// command to the top-level frame, whose handler asks the strip for the
// active tab and its data value. Tabs take the look of the bar's side.
#include "common/DWordArrayEx.h"
#include "hybrid/ContentBase.h"
#include "xf/xfContentInterfaces.h"
#include "xf/xfToolBarItem.h"

class CxfTabContent : public CContentBase<IxfTab, IxfHasID>
{
public:
    explicit CxfTabContent(const SxfToolBarItem* item) : m_item(item) {}

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    UINT GetID() override { return m_item->nID; }

    IStretchContent* SetLength(int length) override;
    int GetTabCount() override;
    void RemoveAllTabs() override;
    void AddTab(LPCWSTR text, UINT bitmapId, COLORREF mask, DWORD data) override;
    void AddTab(LPCWSTR text, DWORD data) override { AddTab(text, 0, 0, data); }
    DWORD GetTabData(int index) override;
    void SetActiveTab(int index) override;
    int GetActiveTab() override;
    // The colour of the strip's cell; 0 without a cell.
    COLORREF GetCellColour() { return GetBkColor(); }

    void OnAttach() override;
    void Draw(CDC* dc, CRect rect) override;
    int GetPreferredWidth() override;
    int GetPreferredHeight(int width) override;
    LRESULT OnChildNotify(UINT code, IHybridCell* sender, bool* handled) override;

private:
    CxfItemCopy m_item;
    CIPtr<IHybridCell> m_pRow;
    int m_nStretch = 0;
    CCellArray m_tabs;
    CDWordArrayEx m_data;
};

// One tab: its text (and picture), measured once, drawn with the skin of
// its side.
class CxfTabEntryContent : public CContentBase<IxfTabEntry>
{
public:
    explicit CxfTabEntryContent(int side) : m_nSide(side) {}

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    void SetText(LPCWSTR text) override;
    void SetPicture(UINT bitmapId, COLORREF mask);

    LPCTSTR GetToolTipText() override { return m_strText; }
    void Draw(CDC* dc, CRect rect) override;
    int GetPreferredWidth() override;
    int GetPreferredHeight(int width) override;

private:
    void Measure();
    void RequestFrameLayout();
    // The text's and picture's parts of the tab.
    void SplitRect(const CRect& rect, CRect& picture, CRect& text) const;

    int m_cx = 0;
    int m_cy = 0;
    CString m_strText;
    int m_nSide;
    UINT m_nBitmap = 0;
    COLORREF m_crMask = 0;
    CSize m_picture{0, 0};
};
