#include "xf/xfDocController.h"
#include "common/Pickers.h"
#include "common/PathUtils.h"
#include "common/ProductInfo.h"
#include "xf/xfCommands.h"
#include "xf/xfContext.h"
#include "xf/xfFrame.h"

IMPLEMENT_DYNAMIC(CxfDocController, CxfController)

BEGIN_MESSAGE_MAP(CxfDocController, CxfController)
    ON_COMMAND(ID_XF_FILE_OPEN, &CxfDocController::OnOpenCommand)
    ON_UPDATE_COMMAND_UI(ID_XF_FILE_OPEN, &CxfDocController::OnUpdateAlwaysEnabled)
    ON_COMMAND(ID_XF_FILE_SAVE, &CxfDocController::OnSave)
    ON_UPDATE_COMMAND_UI(ID_XF_FILE_SAVE, &CxfDocController::OnUpdateSave)
    ON_COMMAND(ID_XF_FILE_SAVE_AS, &CxfDocController::OnSaveAs)
    ON_UPDATE_COMMAND_UI(ID_XF_FILE_SAVE_AS, &CxfDocController::OnUpdateAlwaysEnabled)
END_MESSAGE_MAP()

CxfDocController::CxfDocController() : m_strTypeName(L"!!! No type name !!!")
{
}

bool CxfDocController::SaveDocument(LPCWSTR)
{
    return false;
}

CString CxfDocController::GetTitle()
{
    return m_strTitle;
}

bool CxfDocController::Open(SxfContext* request)
{
    if (!request)
        return false;
    if (request->m_path.IsEmpty())
        return true;
    const CString path = request->m_path; // the request may not outlive the call
    if (!OpenDocument(path, request))
        return false;
    SetPathName(path);
    return true;
}

void CxfDocController::SetTypeInfo(LPCWSTR extensions, LPCWSTR typeName)
{
    if (!extensions || !typeName)
        return;
    m_extensions.clear();
    CString part;
    for (const wchar_t* p = extensions;; ++p) {
        if (*p == L'/' || *p == L'\\' || *p == 0) {
            m_extensions.push_back(part);
            part.Empty();
            if (*p == 0)
                break;
        } else {
            part += *p;
        }
    }
    m_strTypeName = typeName;
}

void CxfDocController::SetPathName(LPCWSTR path)
{
    m_strPath = path ? path : L"";
    m_strTitle = GetFileNameOfPath(m_strPath, true);
    ShowTitleInHost();
    if (m_pFrame)
        m_pFrame->RefreshFrameListEntry();
}

CString CxfDocController::GetHostCaption() const
{
    CString caption;
    caption.Format(L"%s - %s", static_cast<LPCWSTR>(m_strTitle), SProductInfo::GetName());
    return caption;
}

void CxfDocController::ShowTitleInHost()
{
    if (CWnd* host = GetHostWnd()) {
        m_hCaptionHost = host->GetSafeHwnd();
        host->SetWindowText(GetHostCaption());
    }
}

void CxfDocController::OnActivate(bool active)
{
    CxfController::OnActivate(active);
    if (active && HasPath())
        ShowTitleInHost();
}

void CxfDocController::OnStop()
{
    // A closed document's name leaves the caption, unless another document
    // took the caption over meanwhile. The window is the one named when the
    // caption was set: a closing frame has already left its tree.
    if (m_hCaptionHost && ::IsWindow(m_hCaptionHost)) {
        WCHAR caption[512] = {};
        ::GetWindowTextW(m_hCaptionHost, caption, 511);
        if (GetHostCaption() == caption)
            ::SetWindowTextW(m_hCaptionHost, SProductInfo::GetName());
    }
    m_hCaptionHost = nullptr;
    CxfController::OnStop();
}

void CxfDocController::SetModified(bool modified)
{
    if (modified == m_bModified)
        return;
    m_bModified = modified;
    if (m_pFrame)
        m_pFrame->RefreshFrameListEntry();
}

bool CxfDocController::OnOpenCommand()
{
    bool ok = false;
    if (!m_extensions.empty()) {
        CString list;
        for (const CString& ext : m_extensions)
            list += (list.IsEmpty() ? L"*." : L";*.") + ext;
        CString filter;
        filter.Format(L"%s (%s)|%s||", static_cast<LPCWSTR>(m_strTypeName), static_cast<LPCWSTR>(list),
                      static_cast<LPCWSTR>(list));
        CWnd* host = GetHostWnd();
        const CString path = BrowseForFile(filter, true, host->GetSafeHwnd(), m_extensions.front());
        if (path.IsEmpty())
            return true; // cancelled: nothing to report
        ok = OpenDocument(path, nullptr);
        if (ok) {
            SetPathName(path);
            SetModified(false);
        }
    }
    if (!ok)
        XfMessageBox(GetHostWnd(), IDS_XF_CANT_OPEN_FILE, MB_OK);
    return ok;
}

bool CxfDocController::Save(bool saveAs)
{
    if ((!m_bModified && !saveAs) || m_extensions.empty())
        return false;
    const CString& ext = m_extensions.front();
    CString path = m_strPath;
    const bool inPlace = HasPath() && !saveAs && GetFileExtension(m_strPath).CompareNoCase(ext) == 0;
    if (!inPlace) {
        CString filter;
        filter.Format(L"%s (*.%s)|*.%s||", static_cast<LPCWSTR>(m_strTypeName), static_cast<LPCWSTR>(ext),
                      static_cast<LPCWSTR>(ext));
        path = BrowseForFile(filter, false, GetHostWnd()->GetSafeHwnd(), ext);
        if (path.IsEmpty())
            return false;
    }
    if (!SaveDocument(path))
        return false;
    if (!inPlace)
        SetPathName(path);
    SetModified(false);
    return true;
}

void CxfDocController::OnUpdateAlwaysEnabled(CCmdUI* cmdUI)
{
    cmdUI->Enable(TRUE);
}

void CxfDocController::OnUpdateSave(CCmdUI* cmdUI)
{
    cmdUI->Enable(m_bModified);
}
