#pragma once
// A flat toolbar button (item types 1 and 2): a three-column image strip
// (normal, hot, disabled), an optional text beside or under the image, and
// optionally a drop-down part that opens a popup menu under the button. A
// click posts the item's command to the top-level frame.
#include "hybrid/ButtonContent.h"
#include "xf/xfContentInterfaces.h"
#include "xf/xfToolBarItem.h"

class CxfFrame;
class CxfToolBar;

class CxfToolBarButton : public CButtonContent, public IxfRootMenuElement, public IxfHasID
{
public:
    static const DWORD DropDownFlag = 0x100000;
    static const DWORD DropDownOnlyFlag = 0x200000;
    static const int DropDownWidth = 13;

    CxfToolBarButton(const SxfToolBarItem* item, CxfFrame* frame);

    [[nodiscard]] STDMETHODIMP QueryInterface(REFIID riid, void** out) override;
    STDMETHODIMP_(ULONG) AddRef() override { return CButtonContent::AddRef(); }
    STDMETHODIMP_(ULONG) Release() override { return CButtonContent::Release(); }

    UINT GetID() override { return m_record->nID; }
    void GetAnchorRect(RECT* out) override;

    [[nodiscard]] bool CanFocus() override { return false; }
    void OnAttach() override;
    LPCTSTR GetToolTipText() override { return m_record.GetToolTipText(); }
    bool OnLButtonDblClk(const CPoint& point) override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;
    void Draw(CDC* dc, CRect rect) override;
    int GetPreferredWidth() override;
    int GetPreferredHeight(int width) override;
    void OnClick() override;
    // A command-UI handler may change the text and the image shown.
    void SetText(LPCWSTR text) override;
    void SetImage(UINT bitmapId, COLORREF colourKey) override;
    LPCWSTR GetText() const { return m_text; }

    [[nodiscard]] bool IsDropDownOnly() const
    {
        return m_record.HasFlag(DropDownFlag) && m_record.HasFlag(DropDownOnlyFlag);
    }
    [[nodiscard]] bool IsSplitButton() const
    {
        return m_record.HasFlag(DropDownFlag) && !m_record.HasFlag(DropDownOnlyFlag);
    }
    [[nodiscard]] bool IsDropDownOpen() const { return m_bDropDownOpen; }

private:
    CxfToolBar* GetBar();
    [[nodiscard]] bool IsInVerticalBar();
    CSize ImageSize();
    void DrawImage(CDC* dc, const CRect& box, int column);
    void DrawButtonText(CDC* dc, CRect rect, bool pressed, int imageWidth, int imageHeight);
    void MeasureText();
    void OpenDropDown();

    CxfItemCopy m_record;
    CxfFrame* m_pPromptFrame;
    CSize m_textSize{0, 0};
    bool m_bDropDownOpen = false;
    bool m_bHasText = false;
    CString m_text;
    COLORREF m_mask;
};
