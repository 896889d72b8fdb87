#pragma once
// A cell: the unit of layout, painting, selection and notification inside a
// CHybridCtrl. It may hold one content and one sub-content (its children).
// Operations marked "-> this" return the cell for chaining.
#include <windows.h>
#include <unknwn.h>
#include <cstdint>
#include "hybrid/HybridIIDs.h"

class CDC;
class CHybridCtrl;
struct IHybridContent;
struct IHybridSubContent;
struct IHybridHeading;
struct IHybridStyle;
struct IHybridHandler;

// Low style bits of a cell read by the cell, its containers and the control.
enum : DWORD {
    HCB_ITEM = 0x1, // unit of selection and focus; framed unless HCB_NOFRAME
    HCB_NEVERSELECT = 0x2,
    HCB_TRANSPARENT = 0x4,     // no frame, no gap filling; repaints go to an opaque ancestor;
                               // unhandled mouse and wheel input goes on to the parent
    HCB_PERCENT = 0x200,       // columns in percentages; the HCB_FIXED_* bits keep some fixed
    HCB_FIXED_LAST = 0x400,    // the last column keeps its width
    HCB_FIXED_LAST2 = 0x800,   // the last two (with more than two columns)
    HCB_FIXED_LAST3 = 0x1000,  // the last three (with more than three columns)
    HCB_FIXED_FIRST = 0x2000,  // the first column
    HCB_FIXED_FIRST2 = 0x4000, // the first two
    HCB_FIXED_ENDS = 0x8000,   // the first and the last
    HCB_VSTRETCH = 0x10000,
    HCB_VTOP = 0x20000,
    HCB_VBOTTOM = 0x40000,
    HCB_VCENTER = 0x80000,
    HCB_VPLACEMENT = 0xF0000,
    HCB_ANIMATE = 0x200000,
    HCB_NOFOCUS = 0x400000, // refuses the keyboard focus
    HCB_NOFRAME = 0x800000,
    HCB_OFFSCREEN = 0x1000000,
    HCB_STOP_RUBBERBAND = 0x2000000, // the rubber-band request (17) stops here
    HCB_SHOWSELECTED = 0x4000000,
    HCB_NOHIT = 0x8000000, // not a target of mouse input
    HCB_RADIOGROUP = 0x10000000,
    HCB_ALIGNBOTTOM = 0x20000000,
    HCB_ALIGNCENTER = 0x40000000,
    HCB_FILLAREA = 0x80000000,
};

// Cell state flags.
enum : DWORD {
    HCF_SELECTED = 0x2,
    HCF_DISABLED = 0x8,
    HCF_SHOWN = 0x10,
    HCF_PARENTHIDDEN = 0x40,
    HCF_LOCKED = 0x80,
};

struct IHybridCell : public IUnknown
{
    virtual void SetContent(IHybridContent* content) = 0;
    virtual void CreateContent(WORD letter, uint64_t styleBits) = 0;
    [[nodiscard]] virtual bool GetContent(IHybridContent** out) = 0;
    virtual IHybridContent* GetContentPtr() = 0;
    virtual WCHAR GetContentType() = 0;
    virtual void SetSubContent(IHybridHeading* columnModel, int kind) = 0;
    [[nodiscard]] virtual bool GetSubContent(IHybridSubContent** out) = 0;
    virtual int Layout(bool storeBottom) = 0;
    virtual int GetPreferredHeight(int width, bool contentOnly) = 0;
    virtual int GetPreferredWidth() = 0;
    virtual void SetRect(const RECT& rect) = 0;
    // Client coordinates (document rectangle moved up by the scroll position).
    virtual void GetRect(RECT* out) = 0;
    virtual void GetContentRect(RECT* out) = 0;
    virtual bool HitTest(POINT point, IHybridCell** out) = 0;
    virtual IHybridCell* SetStyleBits(DWORD low, DWORD high) = 0;
    virtual uint64_t GetStyleBits() = 0;
    virtual void SetStyle(IHybridStyle* style) = 0;
    virtual IHybridStyle* GetStyle() = 0;
    virtual IHybridCell* SetFlags(DWORD flags) = 0;
    virtual DWORD GetFlags() = 0;
    virtual void Draw(CDC* dc) = 0;
    virtual void Invalidate() = 0;
    virtual void SelectInRect(const RECT* documentRect, int flag) = 0;
    [[nodiscard]] virtual bool IsSelected() = 0;
    virtual void SetSelected(bool select, bool notify) = 0;
    [[nodiscard]] virtual bool GetItemCell(IHybridCell** out) = 0;
    [[nodiscard]] virtual bool IsHot(bool byControl) = 0;
    [[nodiscard]] virtual bool HasParent() = 0;
    [[nodiscard]] virtual bool GetParentCell(IHybridCell** out) = 0;
    [[nodiscard]] virtual bool FindAncestor(WORD letter, IHybridCell** outCell, IHybridContent** outContent) = 0;
    virtual CHybridCtrl* GetCtrl() = 0;
    // User data is pointer-sized: callers may keep pointers in it.
    virtual IHybridCell* SetData(DWORD_PTR data) = 0;
    virtual DWORD_PTR GetData() = 0;
    // Packed margins: byte 0 left, 1 top, 2 right, 3 bottom.
    virtual IHybridCell* SetMargins(DWORD margins) = 0;
    virtual DWORD GetMargins() = 0;
    virtual void Detach() = 0;
    // The answer is pointer-sized (code 16 answers a text pointer).
    virtual LRESULT Notify(int code, IHybridCell* sender) = 0;
    virtual void SetHandler(IHybridHandler* handler) = 0;
    [[nodiscard]] virtual bool GetHandler(IHybridHandler** out) = 0;
    virtual void SetBkColor(COLORREF colour, bool recursive) = 0;
    virtual COLORREF GetBkColor() = 0;
    virtual void Show(bool show, bool fromParent) = 0;
    [[nodiscard]] virtual bool IsShown() = 0;
    [[nodiscard]] virtual bool IsVisible() = 0;
    [[nodiscard]] virtual bool IsEnabled() = 0;
    virtual void Enable(bool enable) = 0;
    virtual IHybridCell* LockSelection(bool lock) = 0;
    virtual void SetNext(IHybridCell* cell) = 0;
    virtual IHybridCell* GetPrev() = 0;
    virtual void SetPrev(IHybridCell* cell) = 0;
    virtual IHybridCell* GetNext() = 0;
};
