#pragma once
// Toolbar labels: a line of text (optionally with a bitmap, a frame, a link
// look and centred) bound to a command id that a press posts; and the brand
// label, a fixed red block with a command id.
#include "hybrid/ContentBase.h"
#include "xf/xfContentInterfaces.h"
#include "xf/xfToolBarItem.h"

class CxfToolBarLabel : public CContentBase<IxfToolBarLabel, IxfHasID>
{
public:
    // The text starts as string nParam2 of the record (empty for 0).
    explicit CxfToolBarLabel(const SxfToolBarItem* item);

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;

    // IxfHasID
    UINT GetID() override { return m_item->nID; }

    // IxfToolBarLabel
    void SetText(LPCWSTR text) override;
    LPCWSTR GetText() override { return m_strText; }
    void SetImage(UINT bitmapId, COLORREF mask) override;
    void SetUnderline(bool underline) override;
    IStretchContent* SetLength(int length) override;

    // IHybridContent
    void Draw(CDC* dc, CRect rect) override;
    LPCTSTR GetToolTipText() override { return m_item.GetToolTipText(); }
    bool OnLButtonDown(const CPoint& point) override;
    HCURSOR GetCursor(const CPoint& point) override;
    int GetPreferredWidth() override;
    int GetPreferredHeight(int width) override;

    [[nodiscard]] bool IsUnderlined() const { return m_bUnderline; }

private:
    // Measures once, when both sizes are still 0.
    void Measure();

    int m_cx = 0;
    int m_cy = 0;
    CxfItemCopy m_item;
    int m_nImageId = -1;
    COLORREF m_crImageMask = 0;
    CString m_strText;
    int m_nStretch = 0;
    bool m_bUnderline = false;
};

// A 100 x 20 block filled with red, carrying a command id.
class CxfBrandLabel : public CContentBase<IxfEmptyInterface, IxfHasID>
{
public:
    explicit CxfBrandLabel(const SxfToolBarItem* item) : m_item(item) {}

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    UINT GetID() override { return m_item->nID; }
    void Draw(CDC* dc, CRect rect) override;
    int GetPreferredWidth() override { return 100; }
    int GetPreferredHeight(int) override { return 20; }

private:
    CxfItemCopy m_item;
};
