#include "xf/xfController.h"

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
