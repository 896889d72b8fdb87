#pragma once
// A frame: one window of the frame tree that fills a host window's client
// area. A frame holds either one pane or child frames laid out side by side
// (mode 3, vertical splitters), stacked (mode 2, horizontal splitters) or on
// top of each other (mode 1, overlap), with 6-pixel splitters the user can
// drag; control bars dock on its four sides around that area. Layout is
// deferred: changes mark a frame's layout pending and the top-level frame's
// 100 ms timer lays the tree out.
//
// Ownership: a frame owns its controller and deletes itself after its
// window is destroyed (unless its keep flag is set). Panes and bars are
// windows of their own that delete themselves.
#include <memory>
#include <vector>
#include "platform/mfc/afxwin.h"
#include "common/PtrArrays.h"
#include "common/Interfaces.h"
#include "xf/xfContentInterfaces.h"
#include "xf/xfObject.h"

class CxfController;
class CxfControlBar;
class CxfMDIClient;
class CxfPane;
class CxfTgtPosIndicator;
struct IHybridContent;
struct SxfDockPos;
struct SxfContext;

class CxfFrame : public CWnd, public CxfObject, public CxfWnd
{
    DECLARE_DYNAMIC(CxfFrame)
public:
    enum EMode { ModeNone = 0, ModeOverlap = 1, ModeStacked = 2, ModeSideBySide = 3 };
    enum EKind { KindFrame = 0, KindMDIClient = 1, KindControlBar = 2, KindToolBar = 3 };
    enum ESide { SideLeft = 1, SideTop = 2, SideRight = 3, SideBottom = 4 };
    static const int SplitterWidth = 6;

    CxfFrame();
    ~CxfFrame() override;

    // ---- creation ---------------------------------------------------------
    // False for a null parent frame. The window becomes a child of
    // parentWnd, or of the parent frame's window when parentWnd is null.
    [[nodiscard]] bool Create(CxfFrame* parent, CWnd* parentWnd = nullptr);
    // Creates the window as a child of parentWnd. A frame without a parent
    // frame then registers with the application and starts the layout timer.
    [[nodiscard]] bool CreateWnd(CWnd* parentWnd);

    // ---- structure (each change requests a layout with sizes reset) -------
    void AddChildFrame(CxfFrame* frame);
    void RemoveChildFrame(CxfFrame* frame);
    void InsertChildAt(int index, CxfFrame* frame);
    void InsertChildBefore(CxfFrame* frame, CxfFrame* existing);
    void InsertChildAfter(CxfFrame* frame, CxfFrame* existing);
    void ReplaceChild(CxfFrame* oldFrame, CxfFrame* newFrame);
    int GetChildCount() const { return static_cast<int>(m_children.GetSize()); }
    CxfFrame* GetChild(int i) const { return m_children.IsValidIndex(i) ? m_children.GetAt(i) : nullptr; }
    void AddControlBar(CxfControlBar* bar);
    int GetBarCount() const { return static_cast<int>(m_bars.GetSize()); }
    CxfControlBar* GetBar(int i) const { return m_bars.IsValidIndex(i) ? m_bars.GetAt(i) : nullptr; }
    void SetPane(CxfPane* pane);
    CxfPane* GetPane() const { return m_pPane; }
    // Called by a pane that leaves this frame or dies.
    void ForgetPane(CxfPane* pane);
    CxfController* GetController() const { return m_pController.get(); }

    // Leaves the old parent frame (children or bars) and re-parents the
    // window (to the desktop for null); does not join the new parent's list.
    void SetFrame(CxfFrame* newParent) override;
    CxfFrame* GetTopFrame();
    // The class-library object of the root frame's parent window.
    CWnd* GetHostWnd();
    CxfController* GetNearestController();
    // The root's controller; null when this frame is the root.
    CxfController* GetTopController();
    CxfController* FindControllerById(int id);
    CxfPane* FindPane(int id);
    // Depth-first: the first pane that carries the parameter "active".
    CxfPane* FindActivePane();
    // The toolbar button that activates this frame, with a reference;
    // false when there is none.
    [[nodiscard]] bool GetActivator(IHybridContent** out);
    // A toolbar button clicked anywhere in the tree stores itself here, on
    // the top-level frame (a reference is kept).
    void SetActivator(IHybridContent* button) { m_pActivator = button; }
    CxfMDIClient* FindMDIClient(int id);
    // This frame's bars' contents, then each child's except skip (down
    // only); unless downOnly, then the parent's with this frame as skip.
    [[nodiscard]] bool FindContent(UINT commandId, IHybridContent** out, CxfFrame* skip = nullptr,
                                   bool downOnly = false);

    int GetMode() const { return m_nMode; }
    void SetMode(int mode) { m_nMode = mode; }
    int GetKind() const { return m_nKind; }
    // The constructors of the frame kinds set it themselves.
    void SetKind(int kind) { m_nKind = kind; }
    [[nodiscard]] bool IsShown() const { return m_bShown; }
    [[nodiscard]] bool IsActive() const { return m_bActive; }
    [[nodiscard]] bool IsLayoutEnabled() const { return m_bLayoutEnabled; }
    [[nodiscard]] bool IsLayoutPending() const { return m_bLayoutPending; }
    void SetKeepObject(bool keep) { m_bKeepObject = keep; }
    const RECT& GetAreaRect() const { return m_rcArea; }
    // The children's extents along the split direction (one per child).
    const std::vector<int>& GetSizes() const { return m_sizes; }

    // The tab strip of an MDI area, with a reference; false without one.
    [[nodiscard]] bool GetFrameList(IxfFrameListContent** out);
    void SetFrameList(IxfFrameListContent* list) { m_pFrameList = list; }
    // The frame list of the MDI area that holds this frame directly, or null.
    IxfFrameListContent* GetParentFrameList() const;
    // Refreshes the titles of the tabs of the nearest enclosing MDI area.
    void RefreshFrameListEntry();
    // Removes this frame's tab from the list of the MDI area that holds it.
    void LeaveFrameList();

    // ---- title, messages, state ------------------------------------------
    void SetTitle(LPCWSTR text);
    void SetTitle(UINT stringId);
    // Docks a caption band on top of a frame that holds a pane: toolbar
    // table 1001 (title and close button) for a closable pane, 1000 (title
    // only) otherwise. Its title label becomes the caption label, which
    // shows the frame's title from then on. Nothing without a pane.
    void AddCaptionBand(bool closable);
    // The caption band's title label, with a reference; false without one.
    bool GetCaptionLabel(IxfToolBarLabel** out);
    // MessageBoxW owned by the host window, captioned with the product's
    // name; the string-id form answers -1 when the string does not exist.
    int MessageBox(LPCWSTR text, UINT type);
    int MessageBox(UINT stringId, UINT type);
    // Shows or hides the window and asks the parent for a new layout. A
    // frame hidden with the keyboard focus in it hands the focus to the
    // visible active frame.
    void SetVisible(bool visible);
    // Stores the flag and tells the controller and the pane, on a change.
    void SetActive(bool active);
    // Makes this frame and its ancestors the only active frames of the tree.
    // A document frame (a child of an MDI area) takes the keyboard focus
    // when the tree has it elsewhere; a focus under a hidden frame moves.
    void ActivateFrame();

    // ---- keyboard focus (xfFrameFocus.cpp) --------------------------------
    // From this frame down, the deepest frame that is shown and active.
    CxfFrame* FindActiveFrame();
    // Depth-first through the shown frames from this one: the first pane
    // whose window has the visible style (and, when markedActive, carries
    // the parameter "active").
    CxfPane* FindShownPane(bool markedActive);
    // Gives the keyboard focus to the tree's visible active frame: its
    // first shown pane marked "active", else its first shown pane, else the
    // frame's own window.
    void FocusActiveFrame();
    // When the focus lies in this tree under a hidden window, it moves into
    // the visible active frame.
    void RescueHiddenFocus();
    // Marks the layout pending (and the sizes invalid); ignored while
    // layout is disabled.
    void RequestLayout(bool resetSizes);

    // ---- the tree as a whole ---------------------------------------------
    // Starts (enable layout, open controllers, initialise panes) or stops a
    // tree; false when a controller's Open failed. The first frame met with
    // a pane is noted in *firstPaneFrame when given and still null.
    [[nodiscard]] static bool Start(CxfFrame* frame, SxfContext* request, bool start,
                                    CxfFrame** firstPaneFrame = nullptr);
    // Removes empty child frames and merges single children, bottom-up.
    static void Tidy(CxfFrame* frame);
    // UpdateFrameListEntry on every frame of the tree.
    static void UpdateFrameListEntries(CxfFrame* frame);
    // Children first: leave lists, unregister a root, delete controllers,
    // destroy child, pane and bar windows.
    static void TearDown(CxfFrame* frame);

    // A new child frame built from the factory's layout kind and started
    // with the request; null (and nothing left behind) when that fails, null
    // with the empty child kept when the kind has no layout.
    CxfFrame* OpenChildFrame(int layoutKind, SxfContext* request);
    // The same with a request made from path.
    CxfFrame* OpenChildFrameForPath(int layoutKind, LPCWSTR path);
    // Drops this frame on a side of target (1 left, 2 top, 3 right,
    // 4 bottom): the target splits into this frame and a new frame holding
    // the target's old content. Nothing for a target inside this frame.
    void DockFrame(CxfFrame* target, int side);
    // The frame and side a dragged frame would dock on for a cursor at
    // screenPoint; false when none.
    [[nodiscard]] bool HitTestDock(POINT screenPoint, CxfFrame** frame, int* side);
    // The frame and docking place (row of the bar under the point, the
    // point's x in that frame's client coordinates, side) a dragged bar
    // would dock on; only the bands above a frame's area count.
    [[nodiscard]] bool HitTestBarDock(POINT screenPoint, CxfFrame** frame, SxfDockPos* dock);
    // Moves bar into this frame's bars, before the first bar of the row
    // that dock names, with that docking place. Nothing when that first bar
    // is the bar itself, for a side outside 1-4, or when this frame lies
    // inside the bar.
    void DockControlBar(CxfControlBar* bar, const SxfDockPos& dock);
    // The drop indicator over a 20-pixel strip along side of the area
    // (of the window when the frame has no children; the whole of it for
    // another side), or over the band of the bar row dock names. Showing
    // replaces the indicator this frame had; hiding destroys it.
    void ShowDropIndicator(int side);
    void ShowBarIndicator(const SxfDockPos& dock);
    void HideDropIndicator();
    CxfTgtPosIndicator* GetDropIndicator() const { return m_pIndicator.get(); }
    // Removes the first entry of registry that is frame.
    static void RemoveFromRegistry(CovPtrArray<CxfMDIClient>& registry, CxfFrame* frame);
    // Whether this frame is ancestor or lies below it.
    [[nodiscard]] bool IsInside(const CxfFrame* ancestor) const;
    // The visible bars' extents: left and right bars in cx, the others in cy.
    SIZE GetBarsExtent() const;

    // ---- virtual operations ----------------------------------------------
    virtual void OnTitleChanged();
    virtual void PaintSplitters(CDC* dc);
    virtual void OnPaneChanged();
    virtual void RecalcLayout();
    [[nodiscard]] virtual bool CanRemoveWhenEmpty();
    virtual void OnIdleUpdate();
    // The status-information label (command 37003) shows the part of the
    // string before its first line break; empty for a missing string.
    virtual void SetMessageText(UINT stringId);
    virtual void UpdateFrameListEntry();
    virtual void EnableLayout();
    virtual void OnStop();
    virtual void ShowKeyboardCues(bool show);
    virtual void GetMinSize(SIZE& size, bool barsOnly);
    virtual void SetVisibilityCallback(int (*callback)());
    virtual COLORREF GetBkColor();

    // ---- commands and keys (xfFrameRouting.cpp) ---------------------------
    // Commands enter the tree at the top-level frame, which offers them to
    // the application, the host window and then down the tree (each frame's
    // controller, pane and bars, then its children, shown-and-active first).
    // The first handler ends the search unless the factory declares the
    // command a broadcast. A frame with a parent answers false itself.
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
    // The low word of wParam as a command; the rest is not read.
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    // On the top-level frame: keyboard cues, then the accelerator tables.
    BOOL PreTranslateMessage(MSG* msg) override;
    // The controller, the pane and the bars; true when one handled the
    // command and it is no broadcast.
    [[nodiscard]] bool RouteToOwn(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo);
    // RouteToOwn, then the children (shown and active ones first).
    [[nodiscard]] bool RouteDown(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo);
    // On the top-level frame: the first entry for the command in the
    // accelerator tables, in search order.
    [[nodiscard]] bool FindAccelerator(UINT commandId, ACCEL* out);

    void OnParam(SxfParam& param) override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    // A move with the capture after a press outside the area rectangle has
    // become a frame drag (the capture is already released).
    virtual void OnFrameDrag(CPoint pressPoint);
    // Whether the pointer at `point`, pressed at `start`, has moved far
    // enough to drag: the product of the offsets, not the distance, so a
    // move along one axis alone never starts a drag.
    [[nodiscard]] static bool IsDragMove(CPoint start, CPoint point)
    {
        const long long dx = point.x - start.x, dy = point.y - start.y;
        return (dx * dy > 9) || (dx * dy < -9);
    }
    void PostNcDestroy() override;

    // Registry of the MDI areas of a top-level frame.
    friend class CxfMDIClient;
    CovPtrArray<CxfMDIClient> m_mdiClients;

    // Owned; handed to the parent when a child frame is merged away.
    std::unique_ptr<CxfController> m_pController;
    CxfPane* m_pPane = nullptr;
    CPoint m_ptDragStart{0, 0};
    struct SIndicatorDeleter
    {
        void operator()(CxfTgtPosIndicator* indicator) const;
    };
    std::unique_ptr<CxfTgtPosIndicator, SIndicatorDeleter> m_pIndicator;
    CovPtrArray<CxfFrame> m_children;
    std::vector<int> m_sizes;
    // Per child, the share of the available space the user gave it by
    // dragging a splitter (0: never dragged); a percent-sized child keeps
    // that share at later layouts instead of its percentage, any other
    // keeps its dragged size. Forgotten when the sizes are reset.
    std::vector<double> m_draggedShares;
    bool m_bSizesInvalid = true;
    int m_nSplitter = -1;
    CovPtrArray<CxfControlBar> m_bars;
    CIPtr<IxfToolBarLabel> m_pCaptionLabel;
    bool m_bTitleSet = false; // SetTitle ran: the caption label shows the window text
    CIPtr<IxfFrameListContent> m_pFrameList;
    CIPtr<IHybridContent> m_pActivator;
    int m_nMode = ModeNone;
    bool m_bLayoutPending = false;
    CRect m_rcClient{0, 0, 0, 0};
    CRect m_rcArea{0, 0, 0, 0};
    int m_nKind = KindFrame;
    bool m_bShown = true;
    bool m_bHiddenAtCreation = false;
    bool m_bActive = false;
    bool m_bLayoutEnabled = false;
    int (*m_pfnVisibility)() = nullptr;
    int m_nLastClientWidth = 0;
    int m_nLastClientHeight = 0;
    bool m_bKeepObject = false;
    bool m_bRegistered = false; // in the application's top-level list

    // Accelerator tables of the whole tree, in search order (top-level
    // frame only); rebuilt at every activation.
    struct SAccelDeleter
    {
        void operator()(HACCEL table) const { ::DestroyAcceleratorTable(table); }
    };
    std::vector<std::unique_ptr<HACCEL__, SAccelDeleter>> m_accelerators;

    int OnCreate(LPCREATESTRUCT cs);
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnSize(UINT type, int cx, int cy);
    void OnTimer(UINT_PTR id);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    int OnMouseActivate(CWnd* desktop, UINT hitTest, UINT message);
    void OnRButtonDblClk(UINT, CPoint) {}
    DECLARE_MESSAGE_MAP()

private:
    // Layout helpers (xfFrameLayout.cpp).
    void PlaceBars();
    void PositionChildren();
    std::vector<int> VisibleChildren() const;
    // The splitter (index into the visible children) under a client point.
    int HitTestSplitter(CPoint point) const;
    CRect SplitterRect(int splitter) const;
    void DragSplitter(CPoint point);
    static void LayoutPendingFrames(CxfFrame* frame);

    // A new drop indicator over screenRect, replacing the old one.
    void ShowIndicatorAt(const RECT& screenRect);
    // Tree helpers (xfFrameTree.cpp).
    void MoveContentTo(CxfFrame* target);
    void Merge(CxfFrame* child);
    void CloseFrame();
    // The save question of a modified document; false keeps the frame.
    [[nodiscard]] bool QuerySaveBeforeClose();
    // Routing helpers (xfFrameRouting.cpp).
    void RebuildAccelerators();
    void AppendChildAccelerators();
    [[nodiscard]] bool RouteOwn(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo, bool broadcast);
    [[nodiscard]] bool RouteDown(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo, bool broadcast);
    CxfMDIClient* KeySwitchArea() const;
    void DetachFromParent();
    void ClearActive();
    // After ActivateFrame: where the keyboard focus goes (xfFrameFocus.cpp).
    void FocusActivatedFrame();
};

// MessageBoxW with any owner (null allowed), captioned with the product's
// name; -1 for a string id that does not exist.
int XfMessageBox(CWnd* owner, LPCWSTR text, UINT type);
int XfMessageBox(CWnd* owner, UINT stringId, UINT type);
