// CxfFrame: creation, structure, parameters, title and messages.
#include "xf/xfFrame.h"
#include <algorithm>
#include <cwchar>
#include "common/LocalizedString.h"
#include "common/ProductInfo.h"
#include "xf/xfApp.h"
#include "xf/xfCentral.h"
#include "xf/xfCommands.h"
#include "xf/xfControlBar.h"
#include "xf/xfController.h"
#include "xf/xfLayout.h"
#include "xf/xfMDIClient.h"
#include "xf/xfMessages.h"
#include "xf/xfPane.h"
#include "xf/xfPopupMenu.h"
#include "xf/xfStubController.h"

IMPLEMENT_DYNAMIC(CxfFrame, CWnd)

BEGIN_MESSAGE_MAP(CxfFrame, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_SETCURSOR()
    ON_WM_MOUSEACTIVATE()
    ON_WM_RBUTTONDBLCLK()
END_MESSAGE_MAP()

namespace {

const wchar_t kFrameClass[] = L"Orlek_xfFrame";

// Nesting of frame layouts pulled in by "id" parameters: a layout that
// (directly or not) includes itself stops here instead of recursing on.
int g_layoutInclusions = 0;
const int kMaxLayoutInclusions = 16;

bool RegisterFrameClass()
{
    WNDCLASSW wc{};
    wc.style = CS_OWNDC | CS_DBLCLKS;
    wc.lpfnWndProc = AfxWndProc;
    wc.hInstance = AfxGetInstanceHandle();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kFrameClass;
    return AfxRegisterClass(&wc) != FALSE;
}

} // namespace

CxfFrame::CxfFrame() = default;

CxfFrame::~CxfFrame()
{
    // Normally the tree was torn down first; a frame that dies with its
    // host's windows still leaves every list that points to it.
    DetachFromParent();
    if (m_bRegistered)
        if (CxfApp* app = CxfApp::Get())
            app->UnregisterFrame(this);
    for (INT_PTR i = 0; i < m_children.GetSize(); ++i)
        if (CxfFrame* child = m_children[i]; child && child->m_pFrame == this)
            child->m_pFrame = nullptr;
    for (INT_PTR i = 0; i < m_bars.GetSize(); ++i)
        if (CxfFrame* bar = m_bars[i]; bar && bar->m_pFrame == this)
            bar->m_pFrame = nullptr;
    if (m_pPane && m_pPane->GetFrame() == this)
        m_pPane->CxfWnd::SetFrame(nullptr);
    for (INT_PTR i = 0; i < m_mdiClients.GetSize(); ++i)
        if (m_mdiClients[i]->m_pRegistryRoot == this)
            m_mdiClients[i]->m_pRegistryRoot = nullptr;
    m_pController.reset();
}

bool CxfFrame::Create(CxfFrame* parent, CWnd* parentWnd)
{
    if (!parent)
        return false;
    m_pFrame = parent;
    return CreateWnd(parentWnd ? parentWnd : parent);
}

bool CxfFrame::CreateWnd(CWnd* parentWnd)
{
    if (!RegisterFrameClass())
        return false;
    // A frame marked hidden is made without WS_VISIBLE: the system would
    // show it after WM_CREATE whatever that did.
    const DWORD visible = m_bHiddenAtCreation ? 0 : WS_VISIBLE;
    if (!CreateEx(0, kFrameClass, L"xfFrame", WS_CHILD | visible | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, CRect(0, 0, 0, 0),
                  parentWnd, 0))
        return false;
    if (!m_pFrame) {
        if (CxfApp* app = CxfApp::Get()) {
            app->RegisterFrame(this);
            m_bRegistered = true;
        }
        SetTimer(XF_LAYOUT_TIMER, XF_LAYOUT_PERIOD_MS);
    }
    return true;
}

void CxfFrame::PostNcDestroy()
{
    if (!m_bKeepObject)
        delete this;
}

// ---- structure ------------------------------------------------------------

void CxfFrame::AddChildFrame(CxfFrame* frame)
{
    InsertChildAt(GetChildCount(), frame);
}

void CxfFrame::InsertChildAt(int index, CxfFrame* frame)
{
    if (!frame || index < 0)
        return;
    m_children.InsertAt(std::min(index, GetChildCount()), frame);
    RequestLayout(true);
}

void CxfFrame::InsertChildBefore(CxfFrame* frame, CxfFrame* existing)
{
    const int i = existing ? m_children.Find(existing) : -1;
    if (i >= 0)
        InsertChildAt(i, frame);
}

void CxfFrame::InsertChildAfter(CxfFrame* frame, CxfFrame* existing)
{
    const int i = existing ? m_children.Find(existing) : -1;
    if (i >= 0)
        InsertChildAt(i + 1, frame);
}

void CxfFrame::ReplaceChild(CxfFrame* oldFrame, CxfFrame* newFrame)
{
    const int i = oldFrame && newFrame ? m_children.Find(oldFrame) : -1;
    if (i >= 0) {
        m_children.SetAt(i, newFrame);
        RequestLayout(true);
    }
}

void CxfFrame::RemoveChildFrame(CxfFrame* frame)
{
    const int i = frame ? m_children.Find(frame) : -1;
    if (i >= 0) {
        m_children.RemoveAt(i);
        RequestLayout(true);
    }
}

void CxfFrame::AddControlBar(CxfControlBar* bar)
{
    if (!bar)
        return;
    m_bars.Add(bar);
    RequestLayout(true);
}

void CxfFrame::SetPane(CxfPane* pane)
{
    m_pPane = pane;
    OnPaneChanged();
}

void CxfFrame::ForgetPane(CxfPane* pane)
{
    if (m_pPane == pane && pane)
        SetPane(nullptr);
}

void CxfFrame::DetachFromParent()
{
    if (!m_pFrame)
        return;
    const int i = m_pFrame->m_children.Find(this);
    if (i >= 0) {
        m_pFrame->RemoveChildFrame(this);
        return;
    }
    for (INT_PTR b = 0; b < m_pFrame->m_bars.GetSize(); ++b) {
        if (static_cast<CxfFrame*>(m_pFrame->m_bars[b]) == this) {
            m_pFrame->m_bars.RemoveAt(b);
            m_pFrame->RequestLayout(true);
            return;
        }
    }
}

void CxfFrame::SetFrame(CxfFrame* newParent)
{
    DetachFromParent();
    m_pFrame = newParent;
    if (m_hWnd)
        ::SetParent(m_hWnd, newParent ? newParent->m_hWnd : nullptr);
}

CxfFrame* CxfFrame::GetTopFrame()
{
    CxfFrame* f = this;
    while (f->m_pFrame)
        f = f->m_pFrame;
    return f;
}

CWnd* CxfFrame::GetHostWnd()
{
    HWND root = GetTopFrame()->m_hWnd;
    return root ? CWnd::FromHandle(::GetParent(root)) : nullptr;
}

CxfController* CxfFrame::GetNearestController()
{
    for (CxfFrame* f = this; f; f = f->m_pFrame)
        if (f->m_pController)
            return f->m_pController.get();
    return nullptr;
}

CxfController* CxfFrame::GetTopController()
{
    return m_pFrame ? GetTopFrame()->m_pController.get() : nullptr;
}

CxfController* CxfFrame::FindControllerById(int id)
{
    for (CxfFrame* f = this; f; f = f->m_pFrame)
        if (f->m_pController && f->m_pController->GetId() == id)
            return f->m_pController.get();
    return nullptr;
}

CxfPane* CxfFrame::FindPane(int id)
{
    if (m_pPane && m_pPane->GetId() == id)
        return m_pPane;
    for (INT_PTR i = 0; i < m_children.GetSize(); ++i)
        if (CxfPane* p = m_children[i]->FindPane(id))
            return p;
    return nullptr;
}

CxfPane* CxfFrame::FindActivePane()
{
    if (m_pPane && m_pPane->HasParam(L"active"))
        return m_pPane;
    for (INT_PTR i = 0; i < m_children.GetSize(); ++i)
        if (CxfPane* p = m_children[i]->FindActivePane())
            return p;
    return nullptr;
}

bool CxfFrame::GetActivator(IHybridContent** out)
{
    return ReturnInterface(m_pActivator.Get(), out);
}

void CxfFrame::RemoveFromRegistry(CovPtrArray<CxfMDIClient>& registry, CxfFrame* frame)
{
    for (INT_PTR i = 0; i < registry.GetSize(); ++i) {
        if (static_cast<CxfFrame*>(registry[i]) == frame) {
            registry.RemoveAt(i);
            return;
        }
    }
}

CxfMDIClient* CxfFrame::FindMDIClient(int id)
{
    if (id == -1) {
        for (CxfFrame* f = m_pFrame; f; f = f->m_pFrame)
            if (f->m_nKind == KindMDIClient)
                return static_cast<CxfMDIClient*>(f);
        return nullptr;
    }
    CxfFrame* root = GetTopFrame();
    return root->m_mdiClients.FindIf([id](CxfMDIClient& m) { return m.GetMDIId() == id; });
}

bool CxfFrame::FindContent(UINT commandId, IHybridContent** out, CxfFrame* skip, bool downOnly)
{
    if (!out)
        return false;
    for (INT_PTR i = 0; i < m_bars.GetSize(); ++i)
        if (m_bars[i]->FindContent(commandId, out))
            return true;
    for (INT_PTR i = 0; i < m_children.GetSize(); ++i)
        if (m_children[i] != skip && m_children[i]->FindContent(commandId, out, nullptr, true))
            return true;
    if (!downOnly && m_pFrame)
        return m_pFrame->FindContent(commandId, out, this, false);
    // The custom contents of open popup menus take their command states too.
    return !downOnly && CxfPopupMenu::FindContentInOpen(commandId, out);
}

void CxfFrame::SetMessageText(UINT stringId)
{
    CIPtr<IHybridContent> content;
    CIPtr<IxfToolBarLabel> label;
    if (!GetTopFrame()->FindContent(ID_XF_STATUS_INFO, &content, nullptr, true) || !content ||
        FAILED(label.QueryFrom(content, IID_IxfToolBarLabel)) || !label)
        return;
    CLocalizedString text; // in the current language, as every other text
    if (stringId != 0 && text.LoadString(stringId)) {
        const int lineBreak = text.Find(L'\n');
        if (lineBreak >= 0)
            text = text.Left(lineBreak);
    }
    label->SetText(text);
}

bool CxfFrame::GetFrameList(IxfFrameListContent** out)
{
    return ReturnInterface(m_pFrameList.Get(), out);
}

IxfFrameListContent* CxfFrame::GetParentFrameList() const
{
    return m_pFrame && m_pFrame->m_nKind == KindMDIClient ? m_pFrame->m_pFrameList.Get() : nullptr;
}

void CxfFrame::LeaveFrameList()
{
    if (IxfFrameListContent* list = GetParentFrameList())
        if (m_pController)
            list->RemoveEntry(m_pController.get());
}

void CxfFrame::RefreshFrameListEntry()
{
    // A title set anywhere inside a listed frame belongs to that frame's tab.
    CxfMDIClient* area = FindMDIClient(-1);
    CIPtr<IxfFrameListContent> list;
    if (area && area->GetFrameList(&list) && list)
        list->UpdateTitles();
}

// ---- parameters -------------------------------------------------------------

void CxfFrame::OnParam(SxfParam& param)
{
    const CString& key = param.key;
    if (key == L"id") {
        CxfFrame* parent = m_pFrame;
        if (!parent || g_layoutInclusions >= kMaxLayoutInclusions)
            return;
        const CString layout = CxfCentral::Get().GetLayout(_wtoi(param.value));
        if (layout.IsEmpty())
            return;
        ++g_layoutInclusions;
        CxfFrame* last = nullptr;
        ParseLayout(parent, layout, &last);
        --g_layoutInclusions;
        if (last)
            last->AddParam(L"id", param.value, true);
    } else if (key == L"ver") {
        m_nMode = ModeSideBySide;
    } else if (key == L"hor") {
        m_nMode = ModeStacked;
    } else if (key == L"overlap") {
        m_nMode = ModeOverlap;
    } else if (key == L"controller") {
        if (m_pController)
            return;
        if (CxfController* c = CxfCentral::Get().CreateController(_wtoi(param.value))) {
            m_pController.reset(c);
            c->Attach(this);
        }
    } else if (key == L"hidden") {
        m_bHiddenAtCreation = true;
    } else if (key == L"title") {
        SetTitle(static_cast<UINT>(_wtoi(param.value)));
    }
}

// ---- title, message boxes, state --------------------------------------------

void CxfFrame::SetTitle(LPCWSTR text)
{
    if (m_hWnd)
        SetWindowText(text ? text : L"");
    m_bTitleSet = true;
    RefreshFrameListEntry();
    OnTitleChanged();
}

void CxfFrame::SetTitle(UINT stringId)
{
    CLocalizedString text;
    text.LoadString(stringId);
    SetTitle(static_cast<LPCWSTR>(text));
}

void CxfFrame::OnTitleChanged()
{
    if (!m_pCaptionLabel || !m_hWnd)
        return;
    CString text;
    GetWindowText(text);
    m_pCaptionLabel->SetText(text);
}

void CxfFrame::AddCaptionBand(bool closable)
{
    if (!m_pPane)
        return;
    CString layout;
    FormatLayoutString(layout, L"T(top,tb=%i,nogripper,menuBk)",
                       closable ? XF_TABLE_CLOSABLE_CAPTION : XF_TABLE_CAPTION);
    ParseLayout(this, layout);
    CIPtr<IHybridContent> content;
    CIPtr<IxfToolBarLabel> label;
    if (!FindContent(ID_XF_PANE_TITLE, &content) || !content || FAILED(label.QueryFrom(content, IID_IxfToolBarLabel)) ||
        !label)
        return;
    m_pCaptionLabel = label;
    // A title given before the band existed (the frame's own "title") shows
    // at once; the window's class text never does.
    if (m_bTitleSet)
        OnTitleChanged();
}

bool CxfFrame::GetCaptionLabel(IxfToolBarLabel** out)
{
    return ReturnInterface(m_pCaptionLabel.Get(), out);
}

int XfMessageBox(CWnd* owner, LPCWSTR text, UINT type)
{
    return ::MessageBoxW(owner->GetSafeHwnd(), text ? text : L"", SProductInfo::GetName(), type);
}

int XfMessageBox(CWnd* owner, UINT stringId, UINT type)
{
    CLocalizedString text;
    if (!text.LoadString(stringId))
        return -1;
    return XfMessageBox(owner, static_cast<LPCWSTR>(text), type);
}

int CxfFrame::MessageBox(LPCWSTR text, UINT type)
{
    return XfMessageBox(GetHostWnd(), text, type);
}

int CxfFrame::MessageBox(UINT stringId, UINT type)
{
    return XfMessageBox(GetHostWnd(), stringId, type);
}

void CxfFrame::SetVisible(bool visible)
{
    if (visible == m_bShown)
        return;
    // Keys must not go on reaching a window that can no longer be seen.
    const HWND focus = ::GetFocus();
    const bool hadFocus = !visible && m_pFrame && m_hWnd && focus && (focus == m_hWnd || ::IsChild(m_hWnd, focus));
    m_bShown = visible;
    if (m_hWnd)
        ShowWindow(visible ? SW_SHOW : SW_HIDE);
    if (m_pFrame)
        m_pFrame->RequestLayout(true);
    if (hadFocus)
        FocusActiveFrame();
}

void CxfFrame::SetActive(bool active)
{
    if (active == m_bActive)
        return;
    m_bActive = active;
    if (m_pController)
        m_pController->OnActivate(active);
    if (m_pPane)
        m_pPane->OnActivate(active);
}

void CxfFrame::SetVisibilityCallback(int (*callback)())
{
    m_pfnVisibility = callback;
    SetVisible(false);
}

COLORREF CxfFrame::GetBkColor()
{
    return ::GetSysColor(COLOR_BTNFACE);
}

void CxfFrame::OnPaneChanged()
{
}

bool CxfFrame::CanRemoveWhenEmpty()
{
    return true;
}

void CxfFrame::OnIdleUpdate()
{
    if (m_nKind == KindFrame && m_pPane)
        m_pPane->OnIdleUpdate();
}

void CxfFrame::UpdateFrameListEntry()
{
    IxfFrameListContent* list = m_nKind == KindFrame ? GetParentFrameList() : nullptr;
    if (!list)
        return;
    // The tab is keyed by the controller: a frame without one gets a stub.
    if (!m_pController) {
        m_pController = std::make_unique<CxfStubController>();
        m_pController->Attach(this);
    }
    list->AddEntry(m_pController.get());
}

void CxfFrame::EnableLayout()
{
    m_bLayoutEnabled = true;
    RequestLayout(true);
}

void CxfFrame::OnStop()
{
}

void CxfFrame::ShowKeyboardCues(bool show)
{
    for (INT_PTR i = 0; i < m_children.GetSize(); ++i)
        m_children[i]->ShowKeyboardCues(show);
    for (INT_PTR i = 0; i < m_bars.GetSize(); ++i)
        m_bars[i]->ShowKeyboardCues(show);
}

// ---- messages ---------------------------------------------------------------

LRESULT CxfFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == XFM_IDLEUPDATE) {
        OnIdleUpdate();
        return 0;
    }
    if (message == XFM_CLOSEFRAME) {
        CloseFrame(); // the object is gone afterwards
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

int CxfFrame::OnCreate(LPCREATESTRUCT cs)
{
    if (CWnd::OnCreate(cs) == -1)
        return -1;
    if (m_bHiddenAtCreation)
        SetVisible(false);
    return 0;
}

BOOL CxfFrame::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CxfFrame::OnPaint()
{
    CPaintDC dc(this);
    PaintSplitters(&dc);
}

void CxfFrame::OnSize(UINT, int, int)
{
    RequestLayout(false);
}

void CxfFrame::OnTimer(UINT_PTR id)
{
    if (id == XF_LAYOUT_TIMER && !m_pFrame)
        LayoutPendingFrames(this);
    else
        CWnd::OnTimer(id);
}

int CxfFrame::OnMouseActivate(CWnd* desktop, UINT hitTest, UINT message)
{
    const int answer = CWnd::OnMouseActivate(desktop, hitTest, message);
    if (m_pPane)
        ActivateFrame();
    return answer;
}
