#pragma once
// The content of a frame: a modeless dialog whose controls the application
// builds in OnInitPane. The factory creates it (its window a child of the
// frame); it deletes itself after its window is destroyed.
#include "platform/mfc/afxwin.h"
#include "xf/xfObject.h"

struct SxfContext;

class CxfPane : public CDialog, public CxfWnd, public CxfObject
{
    DECLARE_DYNAMIC(CxfPane)
public:
    CxfPane(UINT templateId, CxfFrame* frame);
    ~CxfPane() override;

    virtual bool IsClosable();
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

    int GetId() const { return m_nId; }
    void SetId(int id) { m_nId = id; }
    bool IsActive() const { return m_bActive; }

protected:
    // Enter and Escape never end a pane.
    void OnOK() override {}
    void OnCancel() override {}
    void PostNcDestroy() override;

    int m_nId = 0;
    bool m_bActive = false;
};
