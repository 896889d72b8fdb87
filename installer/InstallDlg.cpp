#include "installer/InstallDlg.h"
#include "common/FolderWalk.h"
#include "common/LocalizedString.h"
#include "common/PathUtils.h"
#include "common/ProductInfo.h"
#include "common/StringUtils.h"
#include "common/VersionInfo.h"
#include "hybrid/CellBuilder.h"
#include "hybrid/IHybridHeading.h"
#include "hybrid/TextContent.h"
#include "installer/InstallerIds.h"
#include "installer/SetupHooks.h"
#include "installer/UninstallEntry.h"
#include "xf/xfFrame.h"

namespace {

constexpr int kHeaderPictureWidth = 100;
constexpr COLORREF kWhite = 0xFFFFFF;

} // namespace

CInstallDlg::CInstallDlg() : CLocalizedDlg(IDD_INSTALL_WIZARD), m_pages(true)
{
    // Each page translates its own controls.
    SetLimitDepth(true);
}

CInstallDlg::~CInstallDlg()
{
    // Pages go before the header and the fields they refer to.
    m_pages.RemoveAll();
}

void CInstallDlg::DoDataExchange(CDataExchange* pDX)
{
    CLocalizedDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_WIZARD_LINK, m_link);
}

BOOL CInstallDlg::OnInitDialog()
{
    CLocalizedDlg::OnInitDialog();
    m_comStarted = SUCCEEDED(::CoInitialize(nullptr));
    if (m_sourceFolder.IsEmpty())
        m_sourceFolder = GetModuleDirectory();
    m_appPages = GetSetupHooks().AppInstallPageCount();
    CreateHeader();
    m_requiredBytes = GetFolderSize(m_sourceFolder);

    CString caption;
    GetWindowText(caption);
    CVersionInfo version;
    CString shown = version.GetProductVersion();
    shown.Remove(L' ');
    shown.Replace(L',', L'.');
    caption.Format(L"%s %s %s", static_cast<LPCWSTR>(caption), SProductInfo::GetName(), static_cast<LPCWSTR>(shown));
    SetWindowText(caption);

    m_link.SetLink(LINK_OPEN, SProductInfo::GetWebSiteUrl());
    m_pages.SetSize(m_appPages + 6);
    // A page that cannot be made leaves the wizard without one; Cancel
    // still ends it.
    (void)ShowPage(kWelcome);
    return TRUE;
}

void CInstallDlg::CreateHeader()
{
    CRect line;
    if (CWnd* separator = GetDlgItem(IDC_WIZARD_SEPARATOR)) {
        separator->GetWindowRect(&line);
        ScreenToClient(&line);
    }
    CRect client;
    GetClientRect(&client);
    if (!m_header.Create(this, IDC_HYBRID_VIEW, 0x10000))
        return;
    m_header.SetBkColor(kWhite, true);
    CCellBuilder builder(&m_header);
    CIPtr<IHybridHeading> model;
    builder.AddColumn(kHeaderPictureWidth)
        .AddColumn(client.Width() - kHeaderPictureWidth)
        .ReturnColumnModel(&model)
        .CreateColumnModel();
    CIPtr<IHybridStyle> bold;
    builder.SetFontWeight(FW_BOLD).ReturnStyle(&bold).CreateStyle();
    builder.SetColumnModel(model).AddCell().BeginChildren();
    builder.SetPictureResource(static_cast<UINT>(g_productInfo.installerPictureId), kWhite).AddPicture();
    // A long title wraps onto more lines instead of ending in "...".
    builder.SetStyle(bold).SetStyleBits(HCB_VCENTER, HTB_MULTILINE).ReturnText(&m_title).AddText();
    builder.EndChildren();
    m_header.MoveWindow(0, 0, client.Width(), line.top);
}

CInstallPage* CInstallDlg::GetPage(int index) const
{
    return index >= 0 && index < m_pages.GetSize() ? m_pages.GetAt(index) : nullptr;
}

int CInstallDlg::FindPageIndex(CInstallPage* page) const
{
    for (INT_PTR i = 0; i < m_pages.GetSize(); ++i)
        if (page && m_pages.GetAt(i) == page)
            return static_cast<int>(i);
    return -1;
}

bool CInstallDlg::ShowPage(int index)
{
    if (index == m_current)
        return true;
    CInstallPage* page = GetPage(index);
    if (!page) {
        if (index < 0 || index >= m_pages.GetSize())
            return false;
        page = CreateInstallPage(this, index);
        if (!page)
            return false;
        if (!page->Create(page->GetTemplateId(), this)) {
            delete page;
            return false;
        }
        m_pages.SetAt(index, page);
    }
    for (INT_PTR i = 0; i < m_pages.GetSize(); ++i)
        if (CInstallPage* each = m_pages.GetAt(i))
            each->ShowWindow(each == page ? SW_SHOW : SW_HIDE);
    if (CWnd* area = GetDlgItem(IDC_WIZARD_PAGE_AREA)) {
        CRect rect;
        area->GetWindowRect(&rect);
        ScreenToClient(&rect);
        page->MoveWindow(&rect);
        page->Invalidate();
    }
    m_current = index;
    ShowCancelButton(true);
    ShowBackButton(index > 0);
    page->OnActivate();
    UpdateNextText();
    UpdateData(FALSE);
    UpdateTitle();
    return true;
}

void CInstallDlg::UpdateNextText()
{
    CInstallPage* page = GetPage(m_current);
    UINT id = page ? page->GetNextTextId() : 0;
    if (id == 0)
        id = m_current == m_appPages + 3 ? IDS_INSTALL : IDS_NEXT;
    CLocalizedString text;
    text.LoadString(id);
    SetDlgItemText(IDC_WIZARD_NEXT, text);
}

void CInstallDlg::UpdateTitle()
{
    CInstallPage* page = GetPage(m_current);
    if (m_title && page)
        m_title->SetText(page->GetTitle());
}

CString CInstallDlg::GetInstalledExePath() const
{
    CString path = m_installFolder;
    AddTrailingBackslash(path);
    return path + GetFileNameOfPath(GetModuleFilePath(), true);
}

bool CInstallDlg::WriteUninstallEntry()
{
    return ::WriteUninstallEntry(GetInstalledExePath());
}

void CInstallDlg::ShowCancelButton(bool show)
{
    if (CWnd* button = GetDlgItem(IDCANCEL))
        button->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CInstallDlg::ShowBackButton(bool show)
{
    if (CWnd* button = GetDlgItem(IDC_WIZARD_BACK))
        button->ShowWindow(show ? SW_SHOW : SW_HIDE);
}

void CInstallDlg::Retranslate()
{
    TranslateControls();
    UpdateTitle();
    UpdateNextText();
    for (INT_PTR i = 0; i < m_pages.GetSize(); ++i)
        if (CInstallPage* page = m_pages.GetAt(i))
            page->TranslateControls();
}

void CInstallDlg::OnNext()
{
    CInstallPage* page = GetPage(m_current);
    if (!page)
        return;
    if (m_current < GetFinishedIndex()) {
        // A page that cannot be made keeps the current one: Next can be
        // tried again, or the wizard cancelled.
        if (page->OnLeave())
            (void)ShowPage(m_current + 1);
        return;
    }
    // An aborted or failed copy registers nothing: no uninstall entry, and
    // the pages make no shortcut and start nothing.
    if (!m_aborted && !WriteUninstallEntry())
        XfMessageBox(this, IDS_UNINSTALL_ENTRY_FAILED, MB_OK | MB_ICONEXCLAMATION);
    for (INT_PTR i = 0; i < m_pages.GetSize(); ++i)
        if (CInstallPage* each = m_pages.GetAt(i))
            each->OnFinish();
    EndWizard(IDOK, !m_aborted);
}

void CInstallDlg::EndWizard(int result, bool installed)
{
    if (!installed && !m_createdFolder.IsEmpty())
        ::RemoveDirectoryW(m_createdFolder);
    if (m_comStarted)
        ::CoUninitialize();
    m_comStarted = false;
    EndDialog(result);
}

void CInstallDlg::OnBack()
{
    if (m_current > 0)
        (void)ShowPage(m_current - 1); // as Next: the current page stays
}

void CInstallDlg::OnCancel()
{
    CInstallPage* page = GetPage(m_current);
    if (page && page->IsBusy()) {
        // Ending the wizard now would take the copy's shared state away
        // from under the worker: the page asks about aborting instead.
        page->OnLeave();
        return;
    }
    if (XfMessageBox(this, IDS_CANCEL_QUESTION, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    EndWizard(IDCANCEL, false);
}

void CInstallDlg::OnOK()
{
    // Enter is the Next button (the default button).
    OnNext();
}

LRESULT CInstallDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case IDC_WIZARD_NEXT: OnNext(); return 0;
        case IDC_WIZARD_BACK: OnBack(); return 0;
        default: break;
        }
    }
    return CLocalizedDlg::WindowProc(message, wParam, lParam);
}
