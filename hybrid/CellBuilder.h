#pragma once
// CCellBuilder: the chained builder that fills a CHybridCtrl with cells.
// Setters store values for the next cell and return the builder; a finisher
// named after a content kind creates one cell with that content, applies
// the stored values, hands requested objects out through the Return*
// out-pointers (a reference added for the caller) and clears the per-cell
// values. BeginChildren / EndChildren nest cells under the cell just made.
// Two finishers make objects that are not cells: CreateColumnModel and
// CreateStyle. User-interface thread only.
#include <vector>
#include "platform/mfc/afxwin.h"
#include "common/DWordArrayEx.h"
#include "common/Interfaces.h"
#include "common/LocalizedString.h"
#include "hybrid/IHybridCell.h"
#include "hybrid/IHybridHandler.h"
#include "hybrid/IHybridHeading.h"
#include "hybrid/IHybridProgress.h"
#include "hybrid/IHybridStyle.h"
#include "hybrid/SeparatorContent.h"

class CHybridCtrl;
struct IHybridButton;
struct IHybridEdit;
struct IHybridSlider;
struct IHybridCombo;
struct IHybridCheckBox;
struct IHybridRadioButton;
struct IHybridTreeItem;
struct IHybridImplantedWnd;
struct IHybridText;
struct IHeadingContent;
struct IHybridPicture;

// Colour value meaning "unset" for the builder and the cells.
constexpr COLORREF HYBRID_COLOR_UNSET = 0xFEFEFE;

class CCellBuilder
{
public:
    explicit CCellBuilder(CHybridCtrl* control);
    CCellBuilder(const CCellBuilder&) = delete;
    CCellBuilder& operator=(const CCellBuilder&) = delete;

    // Per-cell values. Text pointers must stay valid until the finisher.
    CCellBuilder& SetText(LPCWSTR text)
    {
        m_text = text;
        return *this;
    }
    // The string resource in the current language; the heading's id too.
    CCellBuilder& SetTextID(UINT id);
    CCellBuilder& SetTextNumber(int number);
    CCellBuilder& SetPictureFile(LPCWSTR path)
    {
        m_pictureFile = path;
        return *this;
    }
    CCellBuilder& SetPictureResource(UINT id, COLORREF mask)
    {
        m_pictureId = id;
        m_pictureMask = mask;
        return *this;
    }
    // Both handles stay the caller's.
    CCellBuilder& SetPictureIcon(HICON icon)
    {
        m_pictureIcon = icon;
        return *this;
    }
    CCellBuilder& SetPictureBitmap(HBITMAP bitmap)
    {
        m_pictureBitmap = bitmap;
        return *this;
    }
    CCellBuilder& SetStyle(IHybridStyle* style)
    {
        m_style = style;
        return *this;
    }
    // The control's standard style 1, 2, 3 or 5; any other number changes nothing.
    CCellBuilder& SetStdStyle(int number);
    // Low bit 26 (HCB_SHOWSELECTED) also makes the cell start hidden.
    CCellBuilder& SetStyleBits(DWORD low, DWORD high = 0);
    CCellBuilder& SetColumnModel(IHybridHeading* model)
    {
        m_columnModel = model;
        return *this;
    }
    CCellBuilder& SetSubContentKind(int kind)
    {
        m_subContentKind = kind;
        return *this;
    }
    CCellBuilder& SetBkColor(COLORREF colour)
    {
        m_bkColor = colour;
        return *this;
    }
    CCellBuilder& SetParent(IHybridCell* parent)
    {
        m_parent = parent;
        return *this;
    }
    // The children cell of a tree item (nothing when `item` is none).
    CCellBuilder& SetParentTreeItem(IUnknown* item);
    CCellBuilder& SetContent(IHybridContent* content)
    {
        m_content = content;
        return *this;
    }
    CCellBuilder& SetData(DWORD_PTR data)
    {
        m_data = data;
        return *this;
    }
    CCellBuilder& SetChildGap(int left)
    {
        m_leftGap = left;
        return *this;
    }
    CCellBuilder& SetChildGap2(int left, int right)
    {
        m_leftGap = left;
        m_rightGap = right;
        return *this;
    }
    CCellBuilder& SetMargins(DWORD margins)
    {
        m_margins = margins;
        return *this;
    }
    // Column or position of the next cell; -1 uses the running child counter.
    CCellBuilder& SetIndex(int index)
    {
        m_index = index;
        return *this;
    }
    CCellBuilder& SetInsertBefore(IHybridCell* cell)
    {
        m_insertBefore = cell;
        return *this;
    }
    CCellBuilder& SetHandler(IHybridHandler* handler)
    {
        m_handler = handler;
        return *this;
    }
    CCellBuilder& SetChecked(int checked)
    {
        m_checked = checked;
        return *this;
    }
    CCellBuilder& SetSliderRange(int minimum, int maximum)
    {
        m_sliderMin = minimum;
        m_sliderMax = maximum;
        return *this;
    }
    CCellBuilder& SetWindow(HWND wnd)
    {
        m_window = wnd;
        return *this;
    }
    CCellBuilder& SetProgressTextCallback(PFN_PROGRESS_TEXT callback)
    {
        m_progressText = callback;
        return *this;
    }
    CCellBuilder& CreateIf(bool create)
    {
        if (!create)
            m_create = false;
        return *this;
    }
    CCellBuilder& ShowIf(bool show)
    {
        if (!show)
            m_hidden = true;
        return *this;
    }
    CCellBuilder& Hide()
    {
        m_hidden = true;
        return *this;
    }
    CCellBuilder& AddColumn(int width)
    {
        m_columnWidths.Add(static_cast<DWORD>(width));
        return *this;
    }
    CCellBuilder& AddColumns(int count);

    // Style values, kept until CreateStyle.
    CCellBuilder& SetFontWeight(int weight)
    {
        m_fontWeight = weight;
        return *this;
    }
    CCellBuilder& SetFontPercent(int percent)
    {
        m_fontPercent = percent;
        return *this;
    }
    CCellBuilder& SetTextColor(COLORREF colour)
    {
        m_textColor = colour;
        return *this;
    }
    CCellBuilder& SetSelBkColor(COLORREF colour)
    {
        m_selBkColor = colour;
        return *this;
    }
    CCellBuilder& SetSelTextColor(COLORREF colour)
    {
        m_selTextColor = colour;
        return *this;
    }

    // Out-pointers (the caller's pointer receives the object with a reference).
    CCellBuilder& ReturnCell(IHybridCell** target)
    {
        m_cellTarget = target;
        return *this;
    }
    CCellBuilder& ReturnButton(IHybridButton** target)
    {
        m_buttonTarget = target;
        return *this;
    }
    CCellBuilder& ReturnColumnModel(IHybridHeading** target)
    {
        m_columnModelTarget = target;
        return *this;
    }
    CCellBuilder& ReturnEdit(IHybridEdit** target)
    {
        m_editTarget = target;
        return *this;
    }
    CCellBuilder& ReturnProgress(IHybridProgress** target)
    {
        m_progressTarget = target;
        return *this;
    }
    CCellBuilder& ReturnSlider(IHybridSlider** target)
    {
        m_sliderTarget = target;
        return *this;
    }
    CCellBuilder& ReturnCombo(IHybridCombo** target)
    {
        m_comboTarget = target;
        return *this;
    }
    CCellBuilder& ReturnCheckBox(IHybridCheckBox** target)
    {
        m_checkBoxTarget = target;
        return *this;
    }
    CCellBuilder& ReturnRadioButton(IHybridRadioButton** target)
    {
        m_radioTarget = target;
        return *this;
    }
    CCellBuilder& ReturnTreeItem(IHybridTreeItem** target)
    {
        m_treeItemTarget = target;
        return *this;
    }
    CCellBuilder& ReturnImplantedWnd(IHybridImplantedWnd** target)
    {
        m_implantedTarget = target;
        return *this;
    }
    CCellBuilder& ReturnText(IHybridText** target)
    {
        m_textTarget = target;
        return *this;
    }
    // Stays set across finishers.
    CCellBuilder& ReturnHeading(IHeadingContent** target)
    {
        m_headingTarget = target;
        return *this;
    }
    CCellBuilder& ReturnPicture(IHybridPicture** target)
    {
        m_pictureTarget = target;
        return *this;
    }
    CCellBuilder& ReturnStyle(IHybridStyle** target)
    {
        m_styleTarget = target;
        return *this;
    }

    // Cell finishers.
    CCellBuilder& AddCell();
    // Installs the content given by SetContent in a new container cell.
    CCellBuilder& AddContent();
    CCellBuilder& AddText();
    CCellBuilder& AddEdit();
    CCellBuilder& AddCombo();
    CCellBuilder& AddButton();
    CCellBuilder& AddHeading();
    CCellBuilder& AddSeparator();
    CCellBuilder& AddThinSeparator();
    CCellBuilder& AddThickSeparator();
    CCellBuilder& AddPicture();
    CCellBuilder& AddProgress();
    CCellBuilder& AddSlider();
    CCellBuilder& AddCheckBox();
    CCellBuilder& AddRadioButton();
    CCellBuilder& AddTreeItem();
    CCellBuilder& AddImplantedWnd();

    // A column model with the collected widths, to the column-model target.
    CCellBuilder& CreateColumnModel();
    // Makes a style from the GUI font with the stored weight, height percent
    // and colours, hands it to the style target and resets the style fields
    // and the per-cell fields.
    CCellBuilder& CreateStyle();

    // Nesting.
    CCellBuilder& BeginChildren();
    CCellBuilder& EndChildren();
    // Like BeginChildren with the tree item's item cell (or children cell)
    // of the last cell made on this level as the parent.
    CCellBuilder& BeginTreeItemCell();
    CCellBuilder& BeginTreeItemChildren();
    CCellBuilder& EndTreeItem() { return EndChildren(); }

private:
    // One nesting level: its parent (none: the control's root), the tree
    // anchor and the child counter of the level it replaced.
    struct SLevel
    {
        CIPtr<IHybridCell> parent;
        CIPtr<IHybridCell> savedAnchor;
        int savedCounter;
    };

    // The common step of the cell finishers; false when no cell was made.
    [[nodiscard]] bool CreateCell(WCHAR letter);
    void BeginLevel(IHybridCell* parent);
    void ClearCellFields();
    // Hands the new content out as I when it answers iid.
    template <class I>
    [[nodiscard]] bool HandOut(REFIID iid, I** target, CIPtr<I>& object);

    CHybridCtrl* m_control;
    LPCWSTR m_text;
    LPCWSTR m_pictureFile;
    int m_textId;
    DWORD m_lowBits, m_highBits;
    CIPtr<IHybridStyle> m_style;
    CIPtr<IHybridHeading> m_columnModel;
    int m_subContentKind;
    UINT m_pictureId;
    COLORREF m_pictureMask;
    COLORREF m_bkColor;
    CIPtr<IHybridCell> m_parent;
    CIPtr<IHybridContent> m_content;
    DWORD_PTR m_data;
    int m_leftGap, m_rightGap;
    int m_sliderMin, m_sliderMax;
    IHybridCell** m_cellTarget;
    IHybridButton** m_buttonTarget;
    IHybridHeading** m_columnModelTarget;
    IHybridEdit** m_editTarget;
    IHybridProgress** m_progressTarget;
    IHybridSlider** m_sliderTarget;
    IHybridCombo** m_comboTarget;
    IHybridCheckBox** m_checkBoxTarget;
    IHybridRadioButton** m_radioTarget;
    IHybridTreeItem** m_treeItemTarget;
    IHybridImplantedWnd** m_implantedTarget;
    IHybridText** m_textTarget;
    IHeadingContent** m_headingTarget;
    IHybridPicture** m_pictureTarget;
    CIPtr<IHybridHandler> m_handler;
    CIPtr<IHybridCell> m_insertBefore;
    int m_index;
    bool m_create;
    bool m_hidden;
    int m_checked;
    DWORD m_margins;
    int m_fontWeight;
    int m_fontPercent;
    COLORREF m_textColor;
    COLORREF m_selBkColor;
    COLORREF m_selTextColor;
    IHybridStyle** m_styleTarget;
    PFN_PROGRESS_TEXT m_progressText;
    CLocalizedString m_textBuffer;
    CDWordArrayEx m_columnWidths;
    CIPtr<IHybridCell> m_newCell;
    CIPtr<IHybridContent> m_newContent;
    CIPtr<IHybridCell> m_lastCell;
    CIPtr<IHybridCell> m_treeAnchor;
    std::vector<SLevel> m_levels;
    int m_childCounter;
    HICON m_pictureIcon;
    HBITMAP m_pictureBitmap;
    HWND m_window;
};
