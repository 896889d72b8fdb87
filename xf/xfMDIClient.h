#pragma once
// An MDI area: a frame whose child frames are documents, each filling the
// whole area, one of them shown and active at a time. It registers with its
// top-level frame when its tree starts and leaves that same registry when
// the tree stops (or the area dies), wherever the area has moved since.
#include "xf/xfFrame.h"

class CxfMDIClient : public CxfFrame
{
    DECLARE_DYNAMIC(CxfMDIClient)
public:
    CxfMDIClient();
    ~CxfMDIClient() override;

    int GetMDIId() const { return m_nMDIId; }
    [[nodiscard]] bool IsPrimary() const { return m_bPrimary; }

    // The document frame for path: the open frame of that path (letter case
    // ignored) made active, else a new child frame built from the layout kind
    // whose controllers open the path. Null for a path that does not exist
    // (7029 stored through errorStringId when given) or a failed open (no
    // error id). An empty path always builds a new frame.
    CxfFrame* OpenDocumentFrame(int layoutKind, LPCWSTR path, UINT* errorStringId);
    // Shows the child frame, hides the others and makes it the active frame.
    void ActivateDocument(CxfFrame* frame);
    // The child frame after (or before) the shown one, wrapping around.
    void ActivateNeighbour(bool next);
    // Asks the active document frame to close (save question first).
    void CloseActiveFrame();

    // Painting helpers for the area's surroundings: a gradient from the
    // face colour lightened by 20 to it shaded by 20 (top to bottom); a
    // state rectangle (1: filled with fill; 2 and 3: filled light blue and
    // framed dark blue; others: nothing); the face colour lightened by 5.
    static void PaintFaceGradient(CDC* dc, const RECT& rect);
    static void PaintStateRect(CDC* dc, const RECT& rect, int state, COLORREF fill);
    static COLORREF GetLightFace();

    void OnParam(SxfParam& param) override;
    void PaintSplitters(CDC* dc) override;
    // An empty area is never tidied away.
    [[nodiscard]] bool CanRemoveWhenEmpty() override { return false; }
    void UpdateFrameListEntry() override;
    void OnStop() override;

protected:
    friend class CxfFrame;
    int m_nMDIId = -1;
    bool m_bPrimary = false;
    // The top-level frame whose registry holds this area, or null.
    CxfFrame* m_pRegistryRoot = nullptr;

    void LeaveRegistry();
    // The shown child frame, else the first; null without children.
    CxfFrame* ShownDocument() const;
    BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
    DECLARE_MESSAGE_MAP()
};
