#include "xf/xfPane.h"
#include "common/LocalizedString.h"
#include "hybrid/IHybridContent.h"
#include "common/Interfaces.h"
#include "xf/xfContentInterfaces.h"
#include "xf/xfControlBar.h"
#include "xf/xfFrame.h"
#include "xf/xfMessages.h"

IMPLEMENT_DYNAMIC(CxfPane, CDialog)

BEGIN_MESSAGE_MAP(CxfPane, CDialog)
    ON_WM_MOUSEACTIVATE()
END_MESSAGE_MAP()

CxfPane::CxfPane(UINT templateId, CxfFrame* frame) : CDialog(templateId, frame), CxfWnd(frame)
{
}

CxfPane::~CxfPane()
{
    if (m_pFrame)
        m_pFrame->ForgetPane(this);
}

bool CxfPane::IsClosable()
{
    return false;
}

int CxfPane::GetPreferredExtent()
{
    return -1;
}

void CxfPane::OnInitPane(SxfContext*)
{
}

void CxfPane::OnExitPane()
{
}

void CxfPane::OnActivate(bool active)
{
    m_bActive = active;
}

void CxfPane::OnTitleChanged()
{
}

void CxfPane::GetMinSize(SIZE& size)
{
    size.cx = 50;
    size.cy = 50;
}

void CxfPane::OnIdleUpdate()
{
}

void CxfPane::SetFrame(CxfFrame* frame)
{
    if (m_pFrame)
        m_pFrame->ForgetPane(this);
    m_pFrame = frame;
    if (m_hWnd)
        ::SetParent(m_hWnd, frame ? frame->GetSafeHwnd() : nullptr);
    if (frame)
        frame->SetPane(this);
}

void CxfPane::OnParam(SxfParam& param)
{
    if (param.key == L"title" && m_pFrame)
        m_pFrame->AddCaptionBand(IsClosable());
}

void CxfPane::PostNcDestroy()
{
    delete this;
}

// ---- finding things through the frame ---------------------------------------

void CxfPane::SetTitle(LPCWSTR text)
{
    if (m_pFrame)
        m_pFrame->SetTitle(text);
    OnTitleChanged();
}

void CxfPane::SetTitle(UINT stringId)
{
    CLocalizedString text;
    text.LoadString(stringId);
    SetTitle(static_cast<LPCWSTR>(text));
}

CxfFrame* CxfPane::GetTopFrame() const
{
    return m_pFrame ? m_pFrame->GetTopFrame() : nullptr;
}

CWnd* CxfPane::GetHostWnd() const
{
    return m_pFrame ? m_pFrame->GetHostWnd() : nullptr;
}

CxfPane* CxfPane::FindPane(int id) const
{
    for (CxfFrame* f = m_pFrame; f; f = f->GetFrame())
        if (CxfPane* pane = f->FindPane(id))
            return pane;
    return nullptr;
}

CxfController* CxfPane::FindControllerById(int id) const
{
    return m_pFrame ? m_pFrame->FindControllerById(id) : nullptr;
}

int CxfPane::MessageBox(LPCWSTR text, UINT type)
{
    return m_pFrame ? m_pFrame->MessageBox(text, type) : -1;
}

int CxfPane::MessageBox(UINT stringId, UINT type)
{
    return m_pFrame ? m_pFrame->MessageBox(stringId, type) : -1;
}

bool CxfPane::GetControl(UINT commandId, REFIID iid, void** out)
{
    if (!out)
        return false;
    *out = nullptr;
    CIPtr<IHybridContent> content;
    if (!m_pFrame || !m_pFrame->FindContent(commandId, &content) || !content)
        return false;
    return SUCCEEDED(content->QueryInterface(iid, out)) && *out;
}

CxfController* CxfPane::GetController() const
{
    return m_pFrame ? m_pFrame->GetController() : nullptr;
}

CxfController* CxfPane::GetTopController() const
{
    return m_pFrame ? m_pFrame->GetTopController() : nullptr;
}

CxfMDIClient* CxfPane::FindMDIClient(int id) const
{
    return m_pFrame ? m_pFrame->FindMDIClient(id) : nullptr;
}

void CxfPane::SetVisibilityCallback(int (*callback)())
{
    if (m_pFrame)
        m_pFrame->SetVisibilityCallback(callback);
}

CxfFrame* CxfPane::GetMDIChildFrame() const
{
    for (CxfFrame* f = m_pFrame; f; f = f->GetFrame())
        if (f->GetFrame() && f->GetFrame()->GetKind() == CxfFrame::KindMDIClient)
            return f;
    return nullptr;
}

SIZE CxfPane::AddBarExtents(SIZE size) const
{
    for (CxfFrame* f = m_pFrame; f; f = f->GetFrame()) {
        const SIZE bars = f->GetBarsExtent();
        size.cx += bars.cx;
        size.cy += bars.cy;
    }
    return size;
}

bool CxfPane::FindToolBarLabel(UINT commandId, IxfToolBarLabel** out)
{
    return GetControl(commandId, IID_IxfToolBarLabel, reinterpret_cast<void**>(out));
}

bool CxfPane::SetLabelText(UINT commandId, LPCWSTR text)
{
    CIPtr<IxfToolBarLabel> label;
    if (!FindToolBarLabel(commandId, &label) || !label)
        return false;
    label->SetText(text);
    return true;
}

// ---- commands and messages ----------------------------------------------------

BOOL CxfPane::OnCmdMsg(UINT id, int code, void* extra, AFX_CMDHANDLERINFO* handlerInfo)
{
    return CCmdTarget::OnCmdMsg(id, code, extra, handlerInfo);
}

BOOL CxfPane::PreTranslateMessage(MSG* msg)
{
    return CWnd::PreTranslateMessage(msg);
}

LRESULT CxfPane::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == XFM_PANECOMMAND) {
        // After a toolbar click the focus comes back to the pane.
        CWnd* focus = CWnd::FromHandlePermanent(::GetFocus());
        if (focus && focus->IsKindOf(RUNTIME_CLASS(CxfControlBar)))
            SetFocus();
    }
    return CDialog::WindowProc(message, wParam, lParam);
}

int CxfPane::OnMouseActivate(CWnd* desktop, UINT hitTest, UINT message)
{
    return CDialog::OnMouseActivate(desktop, hitTest, message);
}
