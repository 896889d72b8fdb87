#pragma once
// An MDI area: a frame whose child frames are documents, each filling the
// whole area. It registers with its top-level frame when its tree starts
// and leaves the registry when the tree stops.
#include "xf/xfFrame.h"

class CxfMDIClient : public CxfFrame
{
    DECLARE_DYNAMIC(CxfMDIClient)
public:
    CxfMDIClient();

    int GetMDIId() const { return m_nMDIId; }
    bool IsPrimary() const { return m_bPrimary; }

    void OnParam(SxfParam& param) override;
    void PaintSplitters(CDC* dc) override;
    // An empty area is never tidied away.
    bool CanRemoveWhenEmpty() override { return false; }
    void UpdateFrameListEntry() override;
    void OnStop() override;

protected:
    int m_nMDIId = -1;
    bool m_bPrimary = false;

    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    DECLARE_MESSAGE_MAP()
};
