#include "xf/xfMDIClient.h"
#include <cwchar>

IMPLEMENT_DYNAMIC(CxfMDIClient, CxfFrame)

BEGIN_MESSAGE_MAP(CxfMDIClient, CxfFrame)
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CxfMDIClient::CxfMDIClient()
{
    m_nMode = ModeOverlap;
    m_nKind = KindMDIClient;
}

void CxfMDIClient::OnParam(SxfParam& param)
{
    CxfFrame::OnParam(param);
    if (_wcsicmp(param.key, L"mdiID") == 0)
        m_nMDIId = _wtoi(param.value);
    else if (_wcsicmp(param.key, L"PrimaryMDI") == 0)
        m_bPrimary = true;
}

void CxfMDIClient::PaintSplitters(CDC* dc)
{
    CRect client;
    GetClientRect(&client);
    dc->FillSolidRect(&client, RGB(0xA3, 0xA3, 0xA3));
}

void CxfMDIClient::UpdateFrameListEntry()
{
    CxfFrame::UpdateFrameListEntry();
    CxfFrame* root = GetTopFrame();
    if (root->m_mdiClients.Find(this) < 0)
        root->m_mdiClients.Add(this);
}

void CxfMDIClient::OnStop()
{
    CxfFrame* root = GetTopFrame();
    const int i = root->m_mdiClients.Find(this);
    if (i >= 0)
        root->m_mdiClients.RemoveAt(i);
}

BOOL CxfMDIClient::OnSetCursor(CWnd*, UINT, UINT)
{
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    return TRUE;
}
