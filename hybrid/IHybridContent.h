#pragma once
// The content interface: a windowless, reference-counted object that draws
// itself into its cell's rectangle, states its preferred size and receives the
// events the control and the cell route to it. Every content kind adds its own
// interface derived from this one.
#include <windows.h>
#include <unknwn.h>
#include <cstdint>
#include "hybrid/HybridIIDs.h"

class CDC;
class CRect;
class CPoint;
class CHybridCtrl;
struct IHybridCell;
struct IHybridStyle;
struct IHybridHandler;
struct IHybridSubContent;
struct ITimerCallback;

struct IHybridContent : public IUnknown
{
    // Type letter of the content kind ('U' when unknown).
    virtual WCHAR GetType() = 0;
    // May the control's keyboard navigation give this content's cell the focus?
    [[nodiscard]] virtual bool CanFocus() = 0;
    virtual void SetCell(IHybridCell* cell) = 0;
    // The owning cell, no reference added.
    virtual IHybridCell* GetCell() = 0;
    // rect: the content rectangle in the device context's coordinates.
    virtual void Draw(CDC* dc, CRect rect) = 0;
    virtual void Invalidate() = 0;
    virtual LPCTSTR GetToolTipText() = 0;
    // Called once the content is installed in its cell.
    virtual void OnAttach() = 0;
    // First notice while the cell is being detached.
    virtual void OnDetach() = 0;
    // Called by the cell's layout after it has measured the content.
    virtual void OnLayout() = 0;
    virtual void OnShow(bool shown) = 0;
    // Points are client coordinates of the control window. The bool results
    // tell whether the content consumed the event.
    virtual void OnMouseMove(const CPoint& point) = 0;
    virtual bool OnMouseWheel(short delta) = 0;
    virtual bool OnLButtonDown(const CPoint& point) = 0;
    virtual bool OnLButtonDblClk(const CPoint& point) = 0;
    virtual void OnLButtonUp(const CPoint& point) = 0;
    virtual bool OnRButtonDown(const CPoint& point, bool* maySelect) = 0;
    virtual bool OnRButtonUp(const CPoint& point) = 0;
    virtual void OnMouseEnter() = 0;
    virtual void OnMouseLeave() = 0;
    // true when this content's cell becomes the control's focus or current
    // cell (or the control gains the keyboard focus), false when it stops.
    virtual void OnActivate(bool active) = 0;
    virtual void OnEnable(bool enabled) = 0;
    virtual bool OnKeyDown(UINT virtualKey, UINT keyData) = 0;
    virtual void OnKeyUp(UINT virtualKey, UINT keyData) = 0;
    // null: the control's default cursor.
    virtual HCURSOR GetCursor(const CPoint& point) = 0;
    virtual int GetPreferredWidth() = 0;
    virtual int GetPreferredHeight(int width) = 0;
    // Last notice before the detaching cell drops the content.
    virtual void OnRelease() = 0;
    [[nodiscard]] virtual bool IsEnabled() = 0;
    virtual void Enable(bool enable) = 0;
    virtual void Show(bool show, bool secondFlag) = 0;
    [[nodiscard]] virtual bool IsShown() = 0;
    // The cell's style, no reference added.
    virtual IHybridStyle* GetStyle() = 0;
    virtual uint64_t GetStyleBits() = 0;
    // A notification climbing from a child cell. The answer is pointer-sized:
    // some codes answer a pointer (the tooltip text of code 16).
    virtual LRESULT OnChildNotify(UINT code, IHybridCell* sender, bool* handled) = 0;
    // The cell rectangle in client coordinates; empty without a cell.
    virtual CRect GetRect() = 0;
    [[nodiscard]] virtual bool IsSelected() = 0;
};
