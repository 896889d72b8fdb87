#pragma once
// The command target that belongs to a frame: it gets the frame's commands
// before the pane, gives the frame a title, and hears when its frame's tree
// starts, stops and (de)activates. Made by the factory ("controller"
// parameter), owned and deleted by its frame.
#include "platform/mfc/afxwin.h"

class CxfFrame;
class CxfPane;
struct SxfContext;
struct SxfMenuPath;

class CxfController : public CCmdTarget
{
    DECLARE_DYNAMIC(CxfController)
public:
    CxfController() = default;
    ~CxfController() override = default;

    virtual CString GetTitle();
    // False fails the start of the frame's tree.
    [[nodiscard]] virtual bool Open(SxfContext* request);
    // After the frame's whole subtree has started.
    virtual void OnAfterOpen(SxfContext* request);
    virtual void OnStop();
    // A popup menu of the frame, before its rows are built: the controller
    // may change the menu.
    virtual void OnPopupMenu(const SxfMenuPath& path, CMenu* menu);
    // At the end of Attach.
    virtual void OnAttached();
    // When the frame's active flag changes.
    virtual void OnActivate(bool active);

    // Binds the controller to its frame, then OnAttached.
    void Attach(CxfFrame* frame);
    CxfFrame* GetFrame() const { return m_pFrame; }
    int GetId() const { return m_nId; }
    // The root of the frame's tree; null without a frame.
    CxfFrame* GetTopFrame() const;
    // The window that hosts the frame's tree; null without a frame.
    CWnd* GetHostWnd() const;
    // From the frame up the parents, the first controller with the id.
    CxfController* FindControllerById(int id) const;
    // Depth-first in the frame's subtree.
    CxfPane* FindPane(int id) const;

protected:
    CxfFrame* m_pFrame = nullptr;
    int m_nId = -1;
};
