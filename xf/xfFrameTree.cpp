// CxfFrame: the tree as a whole: starting and stopping, tidying, tear-down,
// activation, child frames opened from a layout, docking.
#include "xf/xfFrame.h"
#include "xf/xfApp.h"
#include "xf/xfCentral.h"
#include "xf/xfControlBar.h"
#include "common/LocalizedString.h"
#include "xf/xfCommands.h"
#include "xf/xfContext.h"
#include "xf/xfController.h"
#include "xf/xfDocController.h"
#include "xf/xfLayout.h"
#include "xf/xfPane.h"

bool CxfFrame::Start(CxfFrame* frame, SxfContext* request, bool start, CxfFrame** firstPaneFrame)
{
    if (!frame)
        return false;
    if (start)
        frame->EnableLayout();
    else
        frame->OnStop();
    if (CxfController* c = frame->m_pController.get()) {
        if (start) {
            if (!c->Open(request))
                return false;
        } else {
            c->OnStop();
        }
    }
    for (INT_PTR i = 0; i < frame->m_children.GetSize(); ++i)
        if (!Start(frame->m_children[i], request, start, firstPaneFrame))
            return false;
    for (INT_PTR i = 0; i < frame->m_bars.GetSize(); ++i) {
        if (start)
            frame->m_bars[i]->EnableLayout();
        else
            frame->m_bars[i]->OnStop();
    }
    if (CxfPane* pane = frame->m_pPane) {
        if (start) {
            if (firstPaneFrame && !*firstPaneFrame)
                *firstPaneFrame = frame;
            pane->OnInitPane(request);
        } else {
            pane->OnExitPane();
        }
    }
    if (start && frame->m_pController)
        frame->m_pController->OnAfterOpen(request);
    return true;
}

void CxfFrame::Merge(CxfFrame* child)
{
    m_nMode = child->m_nMode;
    // The children, at the child's place and in their order.
    int at = m_children.Find(child);
    while (child->GetChildCount() > 0) {
        CxfFrame* grandChild = child->GetChild(0);
        grandChild->SetFrame(this);
        InsertChildAt(++at, grandChild);
    }
    while (child->GetBarCount() > 0) {
        CxfControlBar* bar = child->GetBar(0);
        bar->SetFrame(this);
        AddControlBar(bar);
    }
    if (CxfPane* pane = child->m_pPane)
        pane->SetFrame(this);
    // The controller moves before the parameters, so that a "controller"
    // key arriving with them finds it in place instead of making a second
    // one; "id" only records where a layout came from and is not run again.
    if (!m_pController && child->m_pController) {
        m_pController = std::move(child->m_pController);
        m_pController->Attach(this);
    }
    for (int i = 0; i < child->GetCount(); ++i) {
        const SxfParam& p = child->GetParamAt(i);
        AddParam(p.key, p.value, p.key.CompareNoCase(L"id") == 0);
    }
    RemoveChildFrame(child);
    RequestLayout(true);
}

void CxfFrame::Tidy(CxfFrame* frame)
{
    if (!frame)
        return;
    for (int i = frame->GetChildCount() - 1; i >= 0; --i) {
        if (i >= frame->GetChildCount())
            continue;
        CxfFrame* child = frame->GetChild(i);
        Tidy(child);
        const bool empty = !child->m_pPane && child->GetChildCount() == 0 && !child->m_pController &&
                           child->m_nKind != KindMDIClient && child->CanRemoveWhenEmpty();
        bool remove = empty;
        if (!empty) {
            // An MDI area is never merged: its parent would take its
            // documents but not its kind, and the area would be gone.
            const bool mergeable = frame->GetChildCount() == 1 && child->m_nKind != KindMDIClient &&
                                   !child->HasParam(L"AccelTable") &&
                                   !(frame->GetBarCount() > 0 && child->GetBarCount() > 0) &&
                                   (child->m_nMode == frame->m_nMode || frame->m_nMode == ModeNone) &&
                                   (!frame->m_pController || !child->m_pController);
            if (mergeable) {
                frame->Merge(child);
                remove = true;
            }
        }
        if (remove) {
            // Emptied and out of the tree: its window goes now instead of
            // lingering hidden until the whole tree is destroyed.
            frame->RemoveChildFrame(child);
            child->m_pFrame = nullptr;
            child->DestroyWindow();
        }
    }
}

void CxfFrame::UpdateFrameListEntries(CxfFrame* frame)
{
    if (!frame)
        return;
    frame->UpdateFrameListEntry();
    for (INT_PTR i = 0; i < frame->m_children.GetSize(); ++i)
        UpdateFrameListEntries(frame->m_children[i]);
}

void CxfFrame::TearDown(CxfFrame* frame)
{
    if (!frame)
        return;
    frame->LeaveFrameList();
    if (!frame->m_pFrame && frame->m_bRegistered) {
        frame->m_bRegistered = false;
        if (CxfApp* app = CxfApp::Get())
            app->UnregisterFrame(frame);
    }
    while (frame->GetChildCount() > 0) {
        CxfFrame* child = frame->GetChild(frame->GetChildCount() - 1);
        TearDown(child);
        frame->RemoveChildFrame(child);
        child->m_pFrame = nullptr;
        child->DestroyWindow();
    }
    frame->m_pController.reset();
    if (CxfPane* pane = frame->m_pPane) {
        frame->SetPane(nullptr);
        pane->CxfWnd::SetFrame(nullptr);
        pane->DestroyWindow();
    }
    while (frame->GetBarCount() > 0) {
        CxfControlBar* bar = frame->GetBar(frame->GetBarCount() - 1);
        TearDown(bar);
        frame->m_bars.RemoveAt(frame->GetBarCount() - 1);
        bar->m_pFrame = nullptr;
        bar->DestroyWindow();
    }
}

void CxfFrame::ClearActive()
{
    SetActive(false);
    for (INT_PTR i = 0; i < m_children.GetSize(); ++i)
        m_children[i]->ClearActive();
}

void CxfFrame::ActivateFrame()
{
    GetTopFrame()->ClearActive();
    for (CxfFrame* f = this; f; f = f->m_pFrame)
        f->SetActive(true);
    GetTopFrame()->RebuildAccelerators();
    FocusActivatedFrame();
}

bool CxfFrame::QuerySaveBeforeClose()
{
    CxfController* c = m_pController.get();
    if (!c || !c->IsKindOf(RUNTIME_CLASS(CxfDocController)))
        return true;
    CxfDocController* doc = static_cast<CxfDocController*>(c);
    if (!doc->IsModified())
        return true;
    CLocalizedString question;
    question.Format(IDS_XF_SAVE_CHANGES, doc->GetTitle());
    switch (MessageBox(question, MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDNO: return true;
    case IDYES:
        // A failed save keeps the document open.
        return doc->Save(false) || !doc->IsModified();
    default: return false; // Cancel, or no box could be shown: nothing is lost
    }
}

void CxfFrame::CloseFrame()
{
    if (!QuerySaveBeforeClose())
        return;
    // The keyboard must not go with the window that had it: without a
    // focus the keys reach no frame and no accelerator works.
    HWND focus = ::GetFocus();
    const bool hadFocus = focus && (focus == m_hWnd || ::IsChild(m_hWnd, focus));
    CxfFrame* top = m_pFrame ? GetTopFrame() : nullptr;
    // While it still has its area: the neighbouring tab becomes active.
    LeaveFrameList();
    if (m_pFrame)
        m_pFrame->RemoveChildFrame(this);
    m_pFrame = nullptr;
    (void)Start(this, nullptr, false); // stopping opens nothing: it cannot fail
    TearDown(this);
    DestroyWindow(); // deletes this object unless it is kept
    if (hadFocus && top && top->GetSafeHwnd())
        top->FocusActiveFrame();
}

CxfFrame* CxfFrame::OpenChildFrame(int layoutKind, SxfContext* request)
{
    CxfFrame* frame = new CxfFrame;
    if (!frame->Create(this)) {
        delete frame;
        return nullptr;
    }
    AddChildFrame(frame);
    const CString layout = CxfCentral::Get().GetLayout(layoutKind);
    if (layout.IsEmpty())
        return nullptr;
    ParseLayout(frame, layout);
    Tidy(frame);
    UpdateFrameListEntries(frame);
    if (Start(frame, request, true)) {
        RequestLayout(true);
        return frame;
    }
    TearDown(frame);
    RemoveChildFrame(frame);
    frame->m_pFrame = nullptr;
    frame->DestroyWindow();
    return nullptr;
}

CxfFrame* CxfFrame::OpenChildFrameForPath(int layoutKind, LPCWSTR path)
{
    SxfContext request(path);
    return OpenChildFrame(layoutKind, &request);
}

void CxfFrame::MoveContentTo(CxfFrame* target)
{
    if (CxfPane* pane = m_pPane) {
        pane->SetFrame(target);
        return;
    }
    while (GetChildCount() > 0) {
        CxfFrame* child = GetChild(0);
        child->SetFrame(target);
        target->AddChildFrame(child);
    }
}

void CxfFrame::DockFrame(CxfFrame* target, int side)
{
    if (!target || target == this || side < SideLeft || side > SideBottom)
        return;
    // A frame cannot move into its own subtree.
    if (target->IsInside(this))
        return;
    CxfFrame* root = target->GetTopFrame();
    root->ShowWindow(SW_HIDE);

    CxfFrame* holder = new CxfFrame;
    if (!holder->Create(target)) {
        delete holder;
        root->ShowWindow(SW_SHOW);
        return;
    }
    holder->m_nMode = target->m_nMode;
    target->m_nMode = side == SideLeft || side == SideRight ? ModeSideBySide : ModeStacked;
    target->MoveContentTo(holder);

    SetFrame(target);
    if (side == SideLeft || side == SideTop) {
        target->AddChildFrame(this);
        target->AddChildFrame(holder);
    } else {
        target->AddChildFrame(holder);
        target->AddChildFrame(this);
    }
    if (target->m_bLayoutEnabled)
        holder->EnableLayout();

    Tidy(root);
    struct SWalk
    {
        static void Request(CxfFrame* f)
        {
            f->RequestLayout(false);
            for (INT_PTR i = 0; i < f->m_children.GetSize(); ++i)
                Request(f->m_children[i]);
        }
    };
    SWalk::Request(root);
    root->ShowWindow(SW_SHOW);
}
