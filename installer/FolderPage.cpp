#include "common/ByteSize.h"
#include "common/FileUtils.h"
#include "common/FolderWalk.h"
#include "common/LocalizedString.h"
#include "common/OVRegKey.h"
#include "common/PathUtils.h"
#include "common/ProductInfo.h"
#include "common/StringUtils.h"
#include "hybrid/CellBuilder.h"
#include "hybrid/IHybridCell.h"
#include "hybrid/IHybridHeading.h"
#include "installer/InstallDlg.h"
#include "installer/InstallPages.h"
#include "installer/InstallerIds.h"
#include "installer/UninstallEntry.h"
#include "xf/xfFrame.h"

namespace {

// Message the drive list posts with the clicked row's data value.
constexpr UINT WM_DRIVE_ROW_CLICKED = 0x8039;
constexpr int kDriveColumns = 4;
constexpr int kDriveColumnPercent = 25;

bool StartsWithDrive(const CString& folder)
{
    return folder.GetLength() >= 2 && iswalpha(folder[0]) && folder[1] == L':';
}

} // namespace

CFolderInstallPage::CFolderInstallPage(CInstallDlg* wizard) : CInstallPage(IDD_PAGE_FOLDER, wizard)
{
}

CString CFolderInstallPage::GetTitle()
{
    CLocalizedString text;
    text.Format(IDS_FOLDER_TITLE, SProductInfo::GetName());
    return text;
}

UINT CFolderInstallPage::GetNextTextId()
{
    return IDS_NEXT;
}

void CFolderInstallPage::DoDataExchange(CDataExchange* pDX)
{
    const bool outer = !m_exchanging;
    m_exchanging = true;
    CInstallPage::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_FOLDER_EDIT, m_folderEdit);
    DDX_Text(pDX, IDC_FOLDER_EDIT, m_folder);
    DDX_Text(pDX, IDC_FREE_TEXT, m_freeText);
    DDX_Text(pDX, IDC_REQUIRED_TEXT, m_requiredText);
    DDX_Check(pDX, IDC_LOCAL_DRIVES, m_localOnly);
    if (outer)
        m_exchanging = false;
}

void CFolderInstallPage::ChooseDefaultFolder()
{
    CString program;
    if (ReadUninstallProgram(program) && FileExists(program)) {
        m_folder = GetDirectoryOfPath(program);
        RemoveTrailingBackslash(m_folder);
        if (CWnd* note = GetDlgItem(IDC_EXISTING_NOTE))
            note->ShowWindow(SW_SHOW);
        return;
    }
    COVRegKey key;
    CString programFiles;
    if (key.OpenRead(HKEY_LOCAL_MACHINE, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion") &&
        key.GetString(L"ProgramFilesDir", programFiles, false)) {
        AddTrailingBackslash(programFiles);
        m_folder = programFiles + SProductInfo::GetFolderName();
    }
}

BOOL CFolderInstallPage::OnInitDialog()
{
    CInstallPage::OnInitDialog();
    ChooseDefaultFolder();
    if (m_drives.Create(this, IDC_HYBRID_VIEW, 0x20000)) {
        m_drives.SetSingleSelect(true);
        m_drives.MoveToDlgItem(IDC_DRIVE_FRAME);
    }
    m_exchanging = false;
    UpdateData(FALSE);
    FillDriveList();
    UpdateSpaceTexts();
    return TRUE;
}

void CFolderInstallPage::FillDriveList()
{
    if (!m_drives.GetSafeHwnd())
        return;
    m_drives.RemoveAllCells(true);
    CCellBuilder builder(&m_drives);
    CIPtr<IHybridHeading> model;
    builder.AddColumns(kDriveColumns).ReturnColumnModel(&model).CreateColumnModel();
    // Each column takes a quarter of the list.
    CRect area;
    m_drives.GetClientRect(&area);
    if (model)
        for (int i = 0; i < kDriveColumns; ++i)
            model->SetWidth(i, area.Width() * kDriveColumnPercent / 100);
    builder.SetColumnModel(model).AddCell().BeginChildren();
    for (UINT id : {IDS_DRIVE, IDS_DRIVE_NAME, IDS_FILE_SYSTEM, IDS_FREE_SPACE})
        builder.SetStdStyle(2).SetTextID(id).AddHeading();
    builder.EndChildren();

    const DWORD mask = ::GetLogicalDrives();
    const wchar_t wanted = m_folder.IsEmpty() ? 0 : static_cast<wchar_t>(towupper(m_folder[0]));
    CIPtr<IHybridCell> chosen;
    int bit = 0;
    for (DWORD value = 1; value != 0; value <<= 1, ++bit) {
        if (!(mask & value))
            continue;
        const wchar_t letter = static_cast<wchar_t>(L'A' + bit);
        CString root;
        root.Format(L"%c:\\", letter);
        const UINT type = ::GetDriveTypeW(root);
        if (!(type == DRIVE_FIXED || (!m_localOnly && type == DRIVE_REMOTE)))
            continue;
        CString volume, fileSystem;
        (void)GetVolumeInfo(letter, volume, fileSystem); // unreadable: shown with empty names
        if (type == DRIVE_REMOTE && volume.IsEmpty())
            volume = CLocalizedString(IDS_NETWORK_DRIVE);
        CIPtr<IHybridCell> row;
        builder.SetColumnModel(model).SetData(letter).SetStyleBits(HCB_ITEM).ReturnCell(&row).AddCell().BeginChildren();
        CString shown;
        shown.Format(L"%c", letter);
        builder.SetStdStyle(2).SetText(shown).AddText();
        builder.SetText(volume).AddText();
        builder.SetText(fileSystem).AddText();
        builder.SetText(FormatByteSize(static_cast<__int64>(GetDriveFreeSpace(letter)))).AddText();
        builder.EndChildren();
        if (letter == wanted)
            chosen = row;
    }
    if (chosen) {
        chosen->SetSelected(true, false);
        m_drives.SetActiveCell(chosen, false);
        m_drives.EnsureVisible(chosen);
    }
    m_drives.RecalcLayout(true);
}

void CFolderInstallPage::UpdateSpaceTexts()
{
    UpdateData(TRUE);
    m_requiredText = FormatByteSize(static_cast<__int64>(GetWizard()->GetRequiredBytes()));
    m_freeBytes = 0;
    m_freeText.Empty();
    if (!m_folder.IsEmpty() && iswalpha(m_folder[0])) {
        m_freeBytes = static_cast<long long>(GetDriveFreeSpace(m_folder[0]));
        m_freeText = FormatByteSize(m_freeBytes);
    }
    UpdateData(FALSE);
}

void CFolderInstallPage::OnDriveClicked(wchar_t letter)
{
    UpdateData(TRUE);
    if (StartsWithDrive(m_folder))
        m_folder.SetAt(0, letter);
    UpdateData(FALSE);
    UpdateSpaceTexts();
}

bool CFolderInstallPage::OnLeave()
{
    UpdateData(TRUE);
    if (m_freeBytes <= static_cast<long long>(GetWizard()->GetRequiredBytes())) {
        XfMessageBox(this, IDS_NOT_ENOUGH_SPACE, MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    if (!DirectoryExists(m_folder)) {
        CLocalizedString question;
        question.Format(IDS_CREATE_FOLDER_QUESTION, m_folder);
        if (XfMessageBox(this, question, MB_YESNO | MB_ICONQUESTION) != IDYES)
            return false;
        if (!::CreateDirectoryW(m_folder, nullptr)) {
            CLocalizedString failure;
            failure.Format(IDS_CANNOT_CREATE_FOLDER, m_folder);
            XfMessageBox(this, failure, MB_OK | MB_ICONEXCLAMATION);
            return false;
        }
        GetWizard()->SetCreatedFolder(m_folder);
    }
    GetWizard()->SetInstallFolder(m_folder);
    return true;
}

LRESULT CFolderInstallPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_FOLDER_EDIT && HIWORD(wParam) == EN_CHANGE && !m_exchanging) {
            UpdateSpaceTexts();
            return 0;
        }
        if (LOWORD(wParam) == IDC_LOCAL_DRIVES && HIWORD(wParam) == BN_CLICKED) {
            UpdateData(TRUE);
            FillDriveList();
            return 0;
        }
        break;
    case WM_DRIVE_ROW_CLICKED: OnDriveClicked(static_cast<wchar_t>(wParam)); return 0;
    default: break;
    }
    return CInstallPage::WindowProc(message, wParam, lParam);
}
