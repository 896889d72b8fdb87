#pragma once
// Toolbars and the status bar: control bars whose items are Hybrid contents
// in one embedded control, built from an item table of the factory. A bar
// turns item notifications into posted commands for its top-level frame,
// refreshes its items' command states at idle time, shares spare length
// between stretchable items and runs the keyboard menu mode of a menu band.
#include "common/Interfaces.h"
#include "common/PtrArrays.h"
#include "hybrid/CellArray.h"
#include "hybrid/HybridCtrl.h"
#include "hybrid/IStretchContent.h"
#include "xf/xfContentInterfaces.h"
#include "xf/xfControlBar.h"

struct SxfToolBarItem;

class CxfToolBar : public CxfControlBar
{
    DECLARE_DYNAMIC(CxfToolBar)
public:
    enum EBkKind { BkDefault = 0, BkMenu = 1, BkWhite = 2 };
    static const UINT ControlId = 6028;

    CxfToolBar();
    ~CxfToolBar() override;

    // (Re)builds every item from the factory's table; a table the factory
    // does not have leaves the bar empty and relays nothing out.
    void BuildItems(int table);
    // Keyboard menu mode; true when the key was used.
    bool HandleMenuKey(const MSG* msg);
    bool IsInMenuMode() const { return m_pHotElement != nullptr; }
    // Leaves the keyboard menu mode: no entry stays lit for the keys.
    void EndMenuMode() { SetHotElement(nullptr); }
    bool HasMenuBand();
    // After a change of the interface language: the menu band's entries are
    // read again and the bar laid out anew.
    void RetranslateMenuBand();

    int GetBkKind() const { return m_nBkKind; }
    // The sum of the items' widths; measures the bar first when it has
    // items but no measure yet.
    int GetLength();
    // Takes cell out of the item list (the control keeps it).
    void RemoveItemCell(IHybridCell* cell);
    CHybridCtrl& GetCtrl() { return m_ctrl; }
    const CCellArray& GetItemCells() const { return m_cells; }

    int GetDockExtent() override;
    int GetBorderWidth() override;
    bool FindContent(UINT commandId, IHybridContent** out) override;
    COLORREF GetBkColor() override;
    void OnParam(SxfParam& param) override;
    void RecalcLayout() override;
    void OnIdleUpdate() override;
    void ShowKeyboardCues(bool show) override;
    void PaintSplitters(CDC* dc) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    CHybridCtrl m_ctrl;
    CIPtr<IHybridCell> m_pRootCell;
    int m_nThickness = 0;
    int m_nWrappedHeight = 0;
    CCellArray m_cells;
    int m_nBkKind = BkDefault;
    CIArray<IStretchContent> m_stretch;
    CIPtr<IxfHorMenuElement> m_pHotElement;
    int m_nTableId = -1;

    int OnCreate(LPCREATESTRUCT cs);
    void OnSize(UINT type, int cx, int cy);
    void OnDestroy();
    DECLARE_MESSAGE_MAP()

private:
    // The largest cross extent of the items (step 1 of the layout).
    void MeasureThickness();
    void SpreadSpareLength();
    // Relayouts the control and asks the parent for a new layout when the
    // items need another height than the inner rectangle gives.
    void CheckWrap();
    // A new cell under the root cell holding content, appended to m_cells.
    bool InstallItem(IHybridContent* content, const SxfToolBarItem& item, IHybridStyle* style);
    // The menu-band elements, in cell order.
    void GetMenuElements(CIArray<IxfHorMenuElement>& out);
    void SetHotElement(IxfHorMenuElement* element);
};

// A toolbar always docked at the bottom, without a gripper, with a size
// grip in its right corner that starts sizing the host window.
class CxfStatusBar : public CxfToolBar
{
    DECLARE_DYNAMIC(CxfStatusBar)
public:
    static const int GripZone = 15;

    CxfStatusBar();
    // Whether the status bar's own window is maximized.
    bool IsHostZoomed() { return IsZoomed() != FALSE; }
    int GetDockExtent() override;
    int GetBorderWidth() override;
    // 15 while the host window is not maximized.
    int GetGripMargin() override;
    void PaintSplitters(CDC* dc) override;

protected:
    bool IsHostMaximized();
    bool InGripZone(CPoint clientPoint);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT, CPoint) {}
    void OnMouseMove(UINT, CPoint) {}
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    DECLARE_MESSAGE_MAP()
};
