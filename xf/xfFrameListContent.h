#pragma once
// The tab strip of an MDI area: one tab per document frame, keyed by the
// frame's controller (kept in the tab cell's data). Picking a tab brings
// its frame forward, shows it, hides the other listed frames and makes it
// the active frame of the tree.
#include "hybrid/ContentBase.h"
#include "xf/xfContentInterfaces.h"
#include "xf/xfToolBarItem.h"

class CxfFrameListContent : public CContentBase<IxfFrameListContent>
{
public:
    explicit CxfFrameListContent(const SxfToolBarItem* item) : m_item(item) {}

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;

    // IStretchContent, IxfFrameListContent
    IStretchContent* SetLength(int length) override;
    void AddEntry(CxfController* controller) override;
    void RemoveEntry(CxfController* controller) override;
    void RemoveAll() override;
    void UpdateTitles() override;
    CxfController* GetActiveController() override;
    int GetActiveIndex() override;
    void SetActiveIndex(int index) override;
    void Activate(CxfController* controller) override;
    void ActivateNext() override;
    void ActivatePrevious() override;

    // IHybridContent
    void OnAttach() override;
    void Draw(CDC* dc, CRect rect) override;
    int GetPreferredWidth() override { return m_nStretch; }
    int GetPreferredHeight(int width) override;
    LRESULT OnChildNotify(UINT code, IHybridCell* sender, bool* handled) override;

    int GetCount() const { return static_cast<int>(m_cells.GetSize()); }

private:
    int IndexOf(CxfController* controller) const;
    void SelectTab(int index, bool clearFirst);
    void PostHeightChanged();

    CxfItemCopy m_item;
    CIPtr<IHybridCell> m_pRowCell;
    int m_nStretch = 0;
    CCellArray m_cells;
};

// One tab: its frame's title (and an optional image strip), measured once.
class CxfFrameListEntry : public CContentBase<IxfFrameListEntry>
{
public:
    static const int MaxWidth = 150;
    static const int MinHeight = 20;

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    void SetTitle(LPCWSTR text) override;
    void SetImage(UINT bitmapId, COLORREF mask) override;
    LPCWSTR GetTitle() const { return m_strTitle; }

    void Draw(CDC* dc, CRect rect) override;
    int GetPreferredWidth() override;
    int GetPreferredHeight(int width) override;
    // A right-button release over a tab goes no further.
    bool OnRButtonUp(const CPoint&) override { return true; }
    void OnTimer(UINT_PTR id) override;

private:
    void Measure();
    void ResetSize();

    int m_cx = 0;
    int m_cy = 0;
    int m_cxImage = 0;
    int m_cyImage = 0;
    CString m_strTitle;
    int m_nImageId = -1;
    COLORREF m_crImageMask = 0;
    int m_nFrame = 0;
};
