#include "xf/xfController.h"
#include "xf/xfFrame.h"

IMPLEMENT_DYNAMIC(CxfController, CCmdTarget)

CString CxfController::GetTitle()
{
    return CString();
}

bool CxfController::Open(SxfContext*)
{
    return true;
}

void CxfController::OnAfterOpen(SxfContext*)
{
}

void CxfController::OnStop()
{
}

void CxfController::OnPopupMenu(const SxfMenuPath&, CMenu*)
{
}

void CxfController::OnAttached()
{
}

void CxfController::OnActivate(bool)
{
}

void CxfController::Attach(CxfFrame* frame)
{
    m_pFrame = frame;
    OnAttached();
}

CxfFrame* CxfController::GetTopFrame() const
{
    return m_pFrame ? m_pFrame->GetTopFrame() : nullptr;
}

CWnd* CxfController::GetHostWnd() const
{
    return m_pFrame ? m_pFrame->GetHostWnd() : nullptr;
}

CxfController* CxfController::FindControllerById(int id) const
{
    return m_pFrame ? m_pFrame->FindControllerById(id) : nullptr;
}

CxfPane* CxfController::FindPane(int id) const
{
    return m_pFrame ? m_pFrame->FindPane(id) : nullptr;
}
