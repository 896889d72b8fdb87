#pragma once
// Popup menus: a borderless popup dialog that shows one submenu of a menu
// resource as rows of an embedded Hybrid control (check mark, text,
// accelerator text, submenu arrow), places itself on the screen and lets
// the user pick a row by mouse or keyboard. A submenu row opens a further
// popup beside it after a hover delay; the popups open at one time form a
// chain whose links are sub-menu holders. A chosen command is posted as
// WM_COMMAND to the owner frame and closes the whole chain.
//
// Ownership: a modeless popup (band drop-down, submenu) closes, destroys
// and deletes itself inside its own close handler; a modal one
// (TrackXfPopupMenu, a toolbar button's drop-down) is deleted by its
// creator after its run. User-interface thread only.
#include "common/ActiveDlg.h"
#include "common/DWordArrayEx.h"
#include "common/Interfaces.h"
#include "common/ScopedHandle.h"
#include "common/PtrArrays.h"
#include "hybrid/CellArray.h"
#include "hybrid/HybridCtrl.h"
#include "platform/mfc/afxmenu.h"
#include "xf/xfContentInterfaces.h"

class CxfFrame;
class CxfPopupMenu;

typedef void (*PFN_XF_BEFORESHOW)(CMenu* menu);

// The parent side of a popup: reports its closing, closes the chain it
// belongs to, and takes the keys the popup did not use.
class CxfSubMenuHolder
{
public:
    virtual ~CxfSubMenuHolder() = default;
    virtual void OnSubMenuClosed() { m_pSubMenu = nullptr; }
    virtual void CloseMenuChain() = 0;
    virtual bool OnMenuKey(const MSG* msg) = 0;

    CxfPopupMenu* m_pSubMenu = nullptr;
};

// Which submenu of which menu resource a popup shows: the first index
// picks a top-level entry, each further one a submenu of the previous.
// A copy takes the id and the indexes, never the loaded menu.
struct SxfMenuPath
{
    UINT nMenuID = 0;
    CDWordArrayEx path;
    CMenu menu;

    SxfMenuPath() = default;
    SxfMenuPath(UINT id, int index) : nMenuID(id) { path.Add(static_cast<DWORD>(index)); }
    SxfMenuPath(const SxfMenuPath& other) : nMenuID(other.nMenuID) { path.CopyFrom(other.path); }
    SxfMenuPath& operator=(const SxfMenuPath& other)
    {
        nMenuID = other.nMenuID;
        path.CopyFrom(other.path);
        return *this;
    }
};

class CxfPopupMenu : public CActiveDlg, public CxfSubMenuHolder
{
public:
    static const UINT ControlId = 6028;

    CxfPopupMenu(IxfRootMenuElement* root, CxfSubMenuHolder* parent, const SxfMenuPath& path, int x, int y,
                 CxfFrame* owner, PFN_XF_BEFORESHOW beforeShow);
    // Shows the given menu instead of loading a path.
    CxfPopupMenu(CMenu* menu, int x, int y, CxfFrame* owner);
    ~CxfPopupMenu() override;

    // Modeless creation with the owner frame as parent; false when the
    // window could not be made (the object is then the caller's to delete).
    bool CreateModeless();

    // The custom content of the first row for the command, with a reference.
    bool FindContent(UINT id, IHybridContent** out);
    // Asks every open popup.
    static bool FindContentInOpen(UINT id, IHybridContent** out);
    static bool AnyExists() { return s_nInstances > 0; }
    static int GetOpenCount() { return static_cast<int>(s_openPopups.GetSize()); }
    static CxfPopupMenu* GetOpen(int i) { return s_openPopups.GetAt(i); }

    // The rows, in menu order (tests and the key handling read them).
    const CCellArray& GetRows() const { return m_rows; }
    CHybridCtrl& GetCtrl() { return m_ctrl; }
    bool IsOpenLeft() const { return m_bOpenLeft; }

    void OnSubMenuClosed() override;
    void CloseMenuChain() override;
    bool OnMenuKey(const MSG* msg) override;

    BOOL OnInitDialog() override;
    // The plain window pre-translation (no dialog keys), then the menu's
    // own keys, then Escape and Cancel.
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void OnCancel() override;
    void OnOK() override {}

private:
    // The embedded control: keys are the menu's, never the control's own
    // navigation.
    class CRowCtrl : public CHybridCtrl
    {
    public:
        BOOL PreTranslateMessage(MSG*) override { return FALSE; }
    };

    HMENU LoadShownMenu();
    bool BuildRows(HMENU menu);
    void Place();
    void Show();
    void ScheduleSubMenu(IHybridCell* cell, bool delayed);
    void CloseSubMenu();
    void OpenPendingSubMenu();
    // Posts the row's command to the owner frame; with closeChain, closes
    // the chain (this popup may be gone afterwards).
    void DeliverCommand(IHybridCell* cell, bool closeChain);
    void OnClose();
    // WA_INACTIVE: true when the chain was closed.
    bool OnDeactivate(HWND other);
    LRESULT OnHybridNotify(UINT code, IHybridCell* cell);
    // Selection helpers for the keys.
    IHybridCell* FirstSelectedRow();
    int FindSelectable(int from, int step);
    void SelectRow(IHybridCell* row);
    // Acts on a row as Enter does; false when nothing was done.
    bool ActivateRow(IHybridCell* row);
    bool MatchMnemonic(WCHAR ch);

    CPoint m_ptOrigin;
    CxfFrame* m_pOwnerFrame;
    CIPtr<IxfRootMenuElement> m_pRootElement;
    CRowCtrl m_ctrl;
    CIPtr<IHybridCell> m_pPendingCell;
    CIPtr<IHybridCell> m_pOpenCell;
    SxfMenuPath m_path;
    CMenu* m_pGivenMenu = nullptr;
    CCellArray m_rows;
    CxfSubMenuHolder* m_pParentHolder;
    bool m_bClosing = false;
    PFN_XF_BEFORESHOW m_pfnBeforeShow;
    bool m_bOpenLeft = false;
    int m_nContentWidth = 0;

    // Leaves the list of open popups; the last one takes the hook down.
    void Forget();
    // A press outside every open popup closes every chain; true when it hit
    // the element that opened one (that press goes no further).
    static bool CloseOnPressOutside(HWND target, POINT screen);
    static bool IsPopupWindow(HWND window);
    static bool IsOverPopup(POINT screen);
    static LRESULT CALLBACK MouseHookProc(int code, WPARAM wParam, LPARAM lParam);

    using CMouseHook = CScopedHandle<HHOOK, &::UnhookWindowsHookEx>;

    static CGCPtrArray<CxfPopupMenu> s_openPopups;
    static int s_nInstances;
    // The thread's mouse hook, installed while any popup is open.
    static CMouseHook s_mouseHook;
};

// Shows submenu nSubMenu of menu nMenuID (-1: the product's popup menu) at
// the screen point and returns when it has closed; a chosen command
// arrives at the owner's window as a posted WM_COMMAND afterwards.
void TrackXfPopupMenu(int nSubMenu, CxfFrame* pOwner, int x, int y, UINT nMenuID = static_cast<UINT>(-1),
                      PFN_XF_BEFORESHOW pfnBeforeShow = nullptr);
// The same at the cursor position.
void TrackXfPopupMenuAtCursor(int nSubMenu, CxfFrame* pOwner, UINT nMenuID = static_cast<UINT>(-1),
                              PFN_XF_BEFORESHOW pfnBeforeShow = nullptr);
// Shows a menu the caller built (and still owns).
void TrackXfPopupMenuFromMenu(CMenu* pMenu, int x, int y, CxfFrame* pOwner);

// The accelerator text of a command as the owner's tables bind it
// ("Shift+Ctrl+S", "F5", "Del"); empty when there is none.
CString GetAcceleratorText(CxfFrame* owner, UINT id);
// The text of one accelerator entry.
CString FormatAccelerator(BYTE flags, WORD key);
