#pragma once
// CHybridCtrl: the one real window of the toolkit. It owns a tree of
// windowless cells, lays it out, paints and scrolls it, keeps the focus,
// current, hover and capture cells, routes timers to contents, places
// implanted child windows over cells and delivers notifications to an
// attached handler or to its parent window (WM_APP+0xCA).
#include <deque>
#include "platform/mfc/afxwin.h"
#include "common/Interfaces.h"
#include "common/PtrArrays.h"
#include "hybrid/CellArray.h"
#include "hybrid/IHybridCell.h"
#include "hybrid/IHybridContent.h"
#include "hybrid/IHybridSubContent.h"
#include "hybrid/IHybridStyle.h"
#include "hybrid/IHybridHandler.h"
#include "hybrid/ITimerCallback.h"
#include "hybrid/HybridMessages.h"

struct IHybridText;

// Visitor of CHybridCtrl::EnumCells.
class CCellVisitor
{
public:
    virtual ~CCellVisitor() {}
    virtual void Visit(IHybridCell* cell) = 0;
};

// The control's own visitor: collects the visited cells.
class CCellCollector : public CCellVisitor
{
public:
    explicit CCellCollector(CCellArray& cells) : m_cells(cells) {}
    void Visit(IHybridCell* cell) override { m_cells.Add(cell); }

private:
    CCellArray& m_cells;
};

// Flags of CHybridCtrl::EnumCells.
enum : DWORD {
    HCE_ALL = 1,       // every cell
    HCE_FOCUSABLE = 2, // visible cells whose enabled content accepts the focus
    HCE_ITEMS = 4,     // visible item cells with an enabled content
};

class CHybridCtrl : public CWnd
{
public:
    // A real child window covering a cell.
    struct SImplantedWnd
    {
        CIPtr<IHybridCell> cell;
        HWND wnd;
        bool operator==(const SImplantedWnd& other) const;
    };

    CHybridCtrl();
    ~CHybridCtrl() override;

    // Creation and content.
    [[nodiscard]] bool Create(CWnd* parent, UINT id, DWORD style = 0);
    void MoveToDlgItem(UINT id);
    void CreateRootCell();
    void RemoveAllCells(bool recreate);
    void DetachCell(IHybridCell* cell);
    void DetachCells(CCellArray& cells, bool empty);
    [[nodiscard]] bool IsRootCell(IHybridCell* cell);
    IHybridCell* GetRootCell() { return m_rootCell; }
    IHybridSubContent* GetRootSubContent() { return m_rootSub; }
    IHybridStyle* GetDefaultStyle() { return m_styles[0]; }
    IHybridStyle* GetBoldStyle() { return m_styles[1]; }
    IHybridStyle* GetLargeStyle() { return m_styles[2]; }
    IHybridStyle* GetSmallStyle() { return m_styles[3]; }
    // Standard style by number (1, 2, 3, 5); null for any other number.
    IHybridStyle* GetStdStyle(int number);
    void SetBkColor(COLORREF colour, bool recursive);
    void SetDialogBkColor();
    COLORREF GetBkColor() const { return m_bkColor; }
    void SetSingleSelect(bool on) { m_singleSelect = on; }
    void SetHoverSelect(bool on) { m_hoverSelect = on; }
    void SetShowScrollBar(bool on) { m_scroll.show = on; }
    CHybridCtrl& SetDragEnabled(bool on)
    {
        m_dragEnabled = on;
        return *this;
    }
    CHybridCtrl& SetAlwaysShowScrollBar(bool on)
    {
        m_scroll.alwaysShow = on;
        return *this;
    }
    void SetLineStep(int step) { m_lineStep = step; }
    void SetCursorFrozen(bool frozen) { m_cursorFrozen = frozen; }
    void SetHandler(IHybridHandler* handler);
    [[nodiscard]] bool GetHandler(IHybridHandler** out);

    // Requests of cells, contents and handlers.
    void UpdateLayout(bool force);
    void RequestLayout(bool now);
    void RecalcLayout(bool force);
    // Queues a cell to draw outside WM_PAINT, clipped to a copy of `clip`
    // (client coordinates) when given.
    void QueueCellRedraw(IHybridCell* cell, const CRect* clip);
    void InvalidateAll(bool erase);
    void SetActiveCell(IHybridCell* cell, bool focus, bool notify = false);
    void SelectCell(IHybridCell* cell);
    void ClearSelection(int reserved, bool notify);
    void EnsureVisible(IHybridCell* cell);
    void PostSelectionChanged();
    LRESULT NotifyParent(UINT code, IHybridCell* sender);
    UINT_PTR SetTimerCallback(UINT elapse, ITimerCallback* callback);
    void KillTimerCallback(UINT_PTR id);
    // Kills every timer registered by this object (COM identity).
    void KillTimersOf(IUnknown* object);
    void AddImplantedWnd(IHybridCell* cell, HWND wnd);
    void RemoveImplantedWnd(IHybridCell* cell, HWND wnd);
    void RequestImplantedUpdate();
    void PlaceImplantedWnds();
    void SetCaptureCell(IHybridCell* cell);
    void ReleaseCaptureCell(IHybridCell* cell);
    [[nodiscard]] bool IsCaptureCell(IHybridCell* cell);
    void GetRubberBandRect(CRect* out);
    void EnumCells(CCellVisitor& visitor, DWORD flags, IHybridCell* start = nullptr);
    void EnumSelectedCells(CCellVisitor& visitor, IHybridCell* start = nullptr);
    // Appends the selected item cells (tree order) to `cells`.
    void EnumSelectedCells(CCellArray& cells, IHybridCell* start = nullptr);
    void InvalidateSelectedCells();
    void DrawAll(CDC* dc);
    void DrawQueuedCells();

    // Accessors.
    int GetContentHeight() const { return m_contentHeight; }
    IHybridCell* GetSelectedCell() { return m_currentCell; }
    [[nodiscard]] bool GetFocusCell(IHybridCell** out);
    IHybridCell* GetHoverCell() { return m_hoverCell; }
    void GetCellAreaRect(CRect* out);
    int GetScrollPos();
    bool SetScrollPos(int pos, bool redraw);
    [[nodiscard]] bool IsRubberBandVisible() const { return m_rubberBand.drawn; }
    [[nodiscard]] bool IsRubberBandTracking() const { return m_rubberBand.tracking; }
    [[nodiscard]] bool IsRepaintPending();
    [[nodiscard]] bool IsDestroying() const { return m_destroying; }
    [[nodiscard]] bool IsDragging() const { return m_dragging; }
    [[nodiscard]] bool HasFocus() const { return m_hasFocus; }
    [[nodiscard]] bool IsScrollBarShown() const { return m_scroll.shown; }
    int GetLineStep() const { return m_lineStep; }
    void PopToolTip();

    // Input (keyboard entry point and navigation helpers).
    BOOL PreTranslateMessage(MSG* msg) override;
    IHybridCell* FindNeighbourCell(UINT virtualKey);
    IHybridCell* PrevItemCell(IHybridCell* cell);
    IHybridCell* NextCell(IHybridCell* cell);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    void OnPaint();
    int OnCreate(LPCREATESTRUCT create);
    void OnSize(UINT type, int cx, int cy);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnLButtonDblClk(UINT flags, CPoint point);
    BOOL OnEraseBkgnd(CDC* dc);
    void OnRButtonDown(UINT flags, CPoint point);
    void OnDestroy();
    void OnTimer(UINT_PTR id);
    BOOL OnMouseWheel(UINT flags, short delta, CPoint point);
    void OnRButtonUp(UINT flags, CPoint point);
    void OnSetFocus(CWnd* oldWnd);
    void OnKillFocus(CWnd* newWnd);
    // The arrow keys are the control's own (its pre-translation navigates
    // the cells with them): a dialog around it must not move the focus
    // away with them as well.
    UINT OnGetDlgCode();
    DECLARE_MESSAGE_MAP()

private:
    void OnMouseButtonDown(UINT flags, CPoint point, bool left);
    // The steps of PreTranslateMessage for a key going down, in order.
    [[nodiscard]] bool OfferKeyToCaptureCell(UINT key, UINT keyData);
    [[nodiscard]] bool CycleFocusByTab(UINT key, bool shift, bool ctrl);
    [[nodiscard]] bool OfferKeyToFocusChain(UINT key, UINT keyData);
    [[nodiscard]] bool NavigateItems(UINT key, bool shift, bool ctrl);
    void RelayToToolTip(MSG* msg);
    void OnVScroll(UINT code);
    void ScrollCellIntoView(IHybridCell* cell);
    void UpdateScrollBar();
    [[nodiscard]] bool AllowLayout();
    void ResetMouseState();
    bool EndDrag();
    void UpdateCursorAndToolTip();
    // Gives the tooltip's one tool the text (none: no tool) over rect.
    void UpdateToolTipTool(LPCTSTR text, const CRect& rect);
    void ToggleRubberBand();
    void OnFocusArrival();
    void OnHoverTimer();
    void OnAutoScrollTimer();
    void OnTrailingRelayout();
    // The cell at a client point, or none.
    bool HitTest(CPoint point, IHybridCell** out);
    // The hit cell replaced by its nearest enabled ancestor-or-self that is
    // a mouse target.
    bool TargetCell(CPoint point, IHybridCell** out);
    void SetHoverCell(IHybridCell* cell, CPoint point, bool moved);
    int IndexOfCell(CCellArray& cells, IHybridCell* cell);

    CIPtr<IHybridCell> m_focusCell;
    CIPtr<IHybridCell> m_currentCell;
    CIPtr<IHybridCell> m_hoverCell;
    CIPtr<IHybridCell> m_captureCell;
    COLORREF m_bkColor;
    bool m_fullRepaintPending;
    int m_contentHeight;
    int m_scrollPos;
    CToolTipCtrl m_toolTip;
    // The tool of the hover cell as the tooltip holds it: it is changed only
    // when its text or rectangle changes, for taking it out and adding it
    // again at every pointer move hides the tip before it ever shows.
    bool m_toolAdded = false;
    CString m_toolText;
    CRect m_toolRect;
    CIArray<ITimerCallback> m_timers;
    HCURSOR m_cursor;
    bool m_hoverTimerRunning;
    bool m_cursorFrozen;
    // Cells to draw outside WM_PAINT (WM_HYBRID_DRAWQUEUED), in order.
    struct SRedrawQueue
    {
        struct SEntry
        {
            CIPtr<IHybridCell> cell;
            CRect clip;
            bool clipped;
        };
        CCriticalSection lock;
        std::deque<SEntry> entries;
    };
    SRedrawQueue m_redraw;
    int m_lineStep;
    bool m_implantedUpdatePending;
    CIPtr<IHybridHandler> m_handler;
    // The vertical scroll bar and when it shows.
    struct SScrollBarState
    {
        CScrollBar bar;
        int width = 0;
        bool show = true;        // shown when the cells overflow the window
        bool alwaysShow = false; // shown (with an empty range) without overflow too
        bool shown = false;      // shown now
    };
    SScrollBarState m_scroll;
    // The rubber band of a drag selection, in client coordinates.
    struct SRubberBand
    {
        CRect rect{0, 0, 0, 0};
        CIPtr<IHybridCell> cell; // the cell the band started on
        bool drawn = false;
        bool tracking = false;
    };
    SRubberBand m_rubberBand;
    // Relayout requests: one posted at a time, rate limited, none during a pass.
    struct SLayoutRequests
    {
        CCriticalSection lock;
        bool pending = false;
        DWORD windowStart = 0;
        int requests = 0;
        bool layingOut = false; // a layout pass is running
        bool trailing = false;  // the rate limit's trailing relayout is set
    };
    SLayoutRequests m_layout;
    bool m_singleSelect;
    bool m_hoverSelect;
    bool m_dragEnabled;
    bool m_dragging;
    LRESULT m_dropAnswer;
    bool m_autoScrollRunning;
    CPoint m_pressPoint;
    bool m_selectionNotifyPending;
    bool m_destroying;
    CIPtr<IHybridCell> m_rootCell;
    CIPtr<IHybridSubContent> m_rootSub;
    CIPtr<IHybridStyle> m_styles[4];
    bool m_hasFocus;
    CGCPtrArray<SImplantedWnd> m_implanted;
};

// Depth first from `cell`: the text content of the first cell whose user
// data equals `data`, with a reference added.
[[nodiscard]] bool FindTextContentByData(IHybridCell* cell, DWORD_PTR data, IHybridText** out);
