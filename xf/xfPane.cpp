#include "xf/xfPane.h"
#include "xf/xfFrame.h"

IMPLEMENT_DYNAMIC(CxfPane, CDialog)

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

void CxfPane::PostNcDestroy()
{
    delete this;
}
