#pragma once
// The content of a frame: a modeless dialog whose controls the application
// builds in OnInitPane. The factory creates it (its window a child of the
// frame); it deletes itself after its window is destroyed.
//
// A pane is no ordinary dialog: Enter and Escape never end it, it does no
// dialog-key navigation, and a command reaches it only through the frame
// tree, which it never passes on to its parent window.
#include "platform/mfc/afxwin.h"
#include "xf/xfObject.h"

class CxfController;
class CxfMDIClient;
struct IxfToolBarLabel;
struct SxfContext;

class CxfPane : public CDialog, public CxfWnd, public CxfObject
{
    DECLARE_DYNAMIC(CxfPane)
public:
    CxfPane(UINT templateId, CxfFrame* frame);
    ~CxfPane() override;

    [[nodiscard]] virtual bool IsClosable();
    // The pane's preferred thickness inside a control bar; -1 for none.
    virtual int GetPreferredExtent();
    virtual void OnInitPane(SxfContext* request);
    virtual void OnExitPane();
    // Stores the flag.
    virtual void OnActivate(bool active);
    virtual void OnTitleChanged();
    // The smallest size the pane can be given: 50 x 50 pixels.
    virtual void GetMinSize(SIZE& size);
    // Called for every idle message through its frame.
    virtual void OnIdleUpdate();

    // Moves the pane into another frame: the old frame loses it, the window
    // is re-parented (to the desktop for null) and the new frame holds it.
    void SetFrame(CxfFrame* frame) override;
    // "title" gives the frame a caption band (with a close button when the
    // pane is closable); other keys only stay in the list.
    void OnParam(SxfParam& param) override;

    int GetId() const { return m_nId; }
    void SetId(int id) { m_nId = id; }
    [[nodiscard]] bool IsActive() const { return m_bActive; }

    // The frame's title (window text, caption), then OnTitleChanged.
    void SetTitle(LPCWSTR text);
    void SetTitle(UINT stringId);
    CxfFrame* GetTopFrame() const;
    CWnd* GetHostWnd() const;
    // From the pane's frame up the parents: each frame's subtree, depth-first.
    CxfPane* FindPane(int id) const;
    // From the pane's frame up the parents, the first controller with the id.
    CxfController* FindControllerById(int id) const;
    // The frame's message box (owner: the host, caption: the product's
    // name); -1 without a frame or, for a string id, without the string.
    int MessageBox(LPCWSTR text, UINT type);
    int MessageBox(UINT stringId, UINT type);
    // The toolbar content bound to the command, as interface iid, with a
    // reference added; false without a frame, content or interface.
    [[nodiscard]] bool GetControl(UINT commandId, REFIID iid, void** out);

    // Forwarded to the pane's frame; null (nothing) without one.
    CxfController* GetController() const;
    CxfController* GetTopController() const;
    CxfMDIClient* FindMDIClient(int id) const;
    void SetVisibilityCallback(int (*callback)());
    // From the pane's frame upwards, the frame whose parent is an MDI area.
    CxfFrame* GetMDIChildFrame() const;
    // size plus the visible bars' extents of the pane's frame and of every
    // ancestor (left and right bars widen it, the others heighten it).
    SIZE AddBarExtents(SIZE size) const;
    // The toolbar label bound to the command, with a reference added.
    [[nodiscard]] bool FindToolBarLabel(UINT commandId, IxfToolBarLabel** out);
    // Sets that label's text; false without such a label.
    [[nodiscard]] bool SetLabelText(UINT commandId, LPCWSTR text);

    // Only the pane's own message map: never the owner or the parent.
    BOOL OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo) override;
    // A plain window's: no dialog keys.
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    // Enter and Escape never end a pane.
    void OnOK() override {}
    void OnCancel() override {}
    void DoDataExchange(CDataExchange*) override {}
    void PostNcDestroy() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    int OnMouseActivate(CWnd* desktop, UINT hitTest, UINT message);
    DECLARE_MESSAGE_MAP()

    int m_nId = 0;
    bool m_bActive = false;
};

// A new pane of class T (constructed on the frame) with its window made from
// the template in the frame; null, and nothing left, when the window could
// not be made. The pane deletes itself once its window is gone.
template <class T>
T* CreatePaneIn(CxfFrame* frame, UINT templateId)
{
    T* pane = new T(frame);
    if (!pane->Create(templateId, frame)) {
        delete pane;
        return nullptr;
    }
    return pane;
}
