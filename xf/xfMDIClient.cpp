#include "xf/xfMDIClient.h"
#include <cwchar>
#include "common/DrawRoutinesDC.h"
#include "common/FileUtils.h"
#include "common/TimeUtils.h"
#include "xf/xfCommands.h"
#include "xf/xfContext.h"
#include "xf/xfDocController.h"
#include "xf/xfMessages.h"

IMPLEMENT_DYNAMIC(CxfMDIClient, CxfFrame)

BEGIN_MESSAGE_MAP(CxfMDIClient, CxfFrame)
    ON_WM_SETCURSOR()
END_MESSAGE_MAP()

CxfMDIClient::CxfMDIClient()
{
    m_nMode = ModeOverlap;
    m_nKind = KindMDIClient;
}

CxfMDIClient::~CxfMDIClient()
{
    LeaveRegistry();
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

void CxfMDIClient::PaintFaceGradient(CDC* dc, const RECT& rect)
{
    const COLORREF face = ::GetSysColor(COLOR_BTNFACE);
    DrawGradientRect(dc, &rect, LightenColour(face, 20), ShadeColour(face, 20), 4);
}

void CxfMDIClient::PaintStateRect(CDC* dc, const RECT& rect, int state, COLORREF fill)
{
    if (state == 1) {
        dc->FillSolidRect(&rect, fill);
    } else if (state == 2 || state == 3) {
        dc->FillSolidRect(&rect, 0xFFF0F0);
        dc->Draw3dRect(&rect, 0x800000, 0x800000);
    }
}

COLORREF CxfMDIClient::GetLightFace()
{
    return LightenColour(::GetSysColor(COLOR_BTNFACE), 5);
}

void CxfMDIClient::UpdateFrameListEntry()
{
    CxfFrame::UpdateFrameListEntry();
    CxfFrame* root = GetTopFrame();
    if (m_pRegistryRoot == root)
        return;
    LeaveRegistry();
    root->m_mdiClients.Add(this);
    m_pRegistryRoot = root;
}

void CxfMDIClient::OnStop()
{
    // The area may have left its tree already (a closing document frame
    // is taken out before it stops): the registry is the one it joined.
    LeaveRegistry();
}

void CxfMDIClient::LeaveRegistry()
{
    if (!m_pRegistryRoot)
        return;
    RemoveFromRegistry(m_pRegistryRoot->m_mdiClients, this);
    m_pRegistryRoot = nullptr;
}

BOOL CxfMDIClient::OnSetCursor(CWnd*, UINT, UINT)
{
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    return TRUE;
}

// ---- documents ------------------------------------------------------------------

CxfFrame* CxfMDIClient::OpenDocumentFrame(int layoutKind, LPCWSTR path, UINT* errorStringId)
{
    SxfContext request(path);
    if (!request.m_path.IsEmpty()) {
        if (!FileExists(request.m_path)) {
            if (errorStringId)
                *errorStringId = IDS_XF_FILE_NOT_FOUND;
            return nullptr;
        }
        for (INT_PTR i = 0; i < m_children.GetSize(); ++i) {
            CxfFrame* child = m_children[i];
            CxfController* c = child->GetController();
            if (c && c->IsKindOf(RUNTIME_CLASS(CxfDocController)) &&
                CompareText(static_cast<CxfDocController*>(c)->GetPathName(), request.m_path) == 0) {
                ActivateDocument(child);
                return child;
            }
        }
    }
    CxfFrame* frame = OpenChildFrame(layoutKind, &request);
    if (frame)
        ActivateDocument(frame);
    return frame;
}

CxfFrame* CxfMDIClient::ShownDocument() const
{
    for (INT_PTR i = 0; i < m_children.GetSize(); ++i)
        if (m_children[i]->IsShown())
            return m_children[i];
    return GetChild(0);
}

void CxfMDIClient::ActivateDocument(CxfFrame* frame)
{
    if (!frame || m_children.Find(frame) < 0)
        return;
    // With a tab strip, picking the frame's tab does the showing.
    if (m_pFrameList && frame->GetController()) {
        m_pFrameList->Activate(frame->GetController());
        return;
    }
    for (INT_PTR i = 0; i < m_children.GetSize(); ++i)
        m_children[i]->SetVisible(m_children[i] == frame);
    frame->ActivateFrame();
}

void CxfMDIClient::ActivateNeighbour(bool next)
{
    if (m_pFrameList) {
        if (next)
            m_pFrameList->ActivateNext();
        else
            m_pFrameList->ActivatePrevious();
        return;
    }
    const int count = GetChildCount();
    if (count == 0)
        return;
    const int i = m_children.Find(ShownDocument());
    ActivateDocument(GetChild(next ? (i + 1) % count : (i + count - 1) % count));
}

void CxfMDIClient::CloseActiveFrame()
{
    CxfFrame* frame = ShownDocument();
    if (m_pFrameList) {
        CxfController* active = m_pFrameList->GetActiveController();
        frame = active ? active->GetFrame() : nullptr;
    }
    if (frame)
        frame->PostMessage(XFM_CLOSEFRAME);
}
