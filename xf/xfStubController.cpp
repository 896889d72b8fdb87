#include "xf/xfStubController.h"
#include "xf/xfFrame.h"

IMPLEMENT_DYNAMIC(CxfStubController, CxfController)

CString CxfStubController::GetTitle()
{
    if (m_pFrame && m_pFrame->m_hWnd)
        m_pFrame->GetWindowText(m_strTitle);
    return m_strTitle;
}
