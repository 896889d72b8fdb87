// CxfFrame: where the keyboard focus goes when frames are hidden and
// activated. Keys go to the window that has the focus; left on a window
// under a hidden frame, they reach something nobody sees (and the dialog
// manager, searching the host for a mnemonic from there, never returns). So
// the focus follows the frame that is shown and active.
#include "xf/xfFrame.h"
#include "xf/xfPane.h"

namespace {

// Whether w is ancestor or lies below it.
bool IsWithin(HWND w, HWND ancestor)
{
    return w && ancestor && (w == ancestor || ::IsChild(ancestor, w));
}

// Whether w and each of its parents up to top carry the visible style, so
// that w shows whenever top does.
bool IsShownUpTo(HWND w, HWND top)
{
    for (; w; w = ::GetParent(w)) {
        if (!(::GetWindowLongW(w, GWL_STYLE) & WS_VISIBLE))
            return false;
        if (w == top)
            return true;
    }
    return false;
}

} // namespace

CxfFrame* CxfFrame::FindActiveFrame()
{
    for (INT_PTR i = 0; i < m_children.GetSize(); ++i) {
        CxfFrame* child = m_children[i];
        if (child->m_bShown && child->m_bActive)
            return child->FindActiveFrame();
    }
    return this;
}

CxfPane* CxfFrame::FindShownPane(bool markedActive)
{
    if (m_pPane && m_pPane->GetSafeHwnd() && (m_pPane->GetStyle() & WS_VISIBLE) &&
        (!markedActive || m_pPane->HasParam(L"active")))
        return m_pPane;
    for (INT_PTR i = 0; i < m_children.GetSize(); ++i)
        if (m_children[i]->m_bShown)
            if (CxfPane* pane = m_children[i]->FindShownPane(markedActive))
                return pane;
    return nullptr;
}

void CxfFrame::FocusActiveFrame()
{
    CxfFrame* active = GetTopFrame()->FindActiveFrame();
    CxfPane* pane = active->FindShownPane(true);
    if (!pane)
        pane = active->FindShownPane(false);
    if (pane)
        pane->SetFocus();
    else if (active->GetSafeHwnd())
        active->SetFocus();
}

void CxfFrame::RescueHiddenFocus()
{
    const HWND root = GetTopFrame()->GetSafeHwnd();
    const HWND focus = ::GetFocus();
    if (IsWithin(focus, root) && !IsShownUpTo(focus, root))
        FocusActiveFrame();
}

void CxfFrame::FocusActivatedFrame()
{
    const HWND root = GetTopFrame()->GetSafeHwnd();
    const HWND host = root ? ::GetParent(root) : nullptr;
    const HWND focus = ::GetFocus();
    // A focus outside the tree (a popup menu, a dialog, another program)
    // is not the tree's to move.
    if (!IsWithin(focus, host ? host : root))
        return;
    // A document brought forward takes the keys.
    const bool document = m_pFrame && m_pFrame->GetKind() == KindMDIClient;
    if (document && !IsWithin(focus, m_hWnd))
        FocusActiveFrame();
    else
        RescueHiddenFocus();
}
