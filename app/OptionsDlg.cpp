#include "app/OptionsDlg.h"

#include "common/LocalizedString.h"
#include "common/ProductInfo.h"
#include "hybrid/CellBuilder.h"
#include "xf/xfFrame.h"
#include "app/AppHooks.h"

namespace {

const UINT IDD_OPTIONS = 10008;
const UINT IDC_LIST = 6028, IDC_PAGE_AREA = 10054, IDC_APPLY = 10055, IDC_LIST_AREA = 10067;
const UINT IDS_OPTIONS_CAPTION = 10277, IDS_SETTINGS_NOT_SAVED = 10118;
const WPARAM kSelectionChanged = 8;

COptionsDlg* g_optionsDialog = nullptr;

// The template has no WS_VISIBLE: the dialog is shown once it is built and
// placed, and every later request brings it back to the top.
void BringToTop(CWnd& dialog)
{
    dialog.ShowWindow(SW_SHOW);
    dialog.BringWindowToTop();
    ::SetForegroundWindow(dialog.GetSafeHwnd());
    dialog.SetActiveWindow();
}

} // namespace

COptionsDlg::COptionsDlg(int firstPage) : CLocalizedDlg(IDD_OPTIONS, nullptr), m_firstPage(firstPage)
{
}

BOOL COptionsDlg::OnInitDialog()
{
    CLocalizedDlg::OnInitDialog();
    ModifyStyle(WS_MAXIMIZEBOX, WS_THICKFRAME);
    CLocalizedString caption;
    caption.Format(IDS_OPTIONS_CAPTION, SProductInfo::GetName());
    ::SetWindowTextW(m_hWnd, caption);
    CenterWindow(GetDesktopWindow());

    if (!m_list.Create(this, IDC_LIST, 0x10000)) {
        EndDialog(IDCANCEL); // nothing to show without its list
        return TRUE;
    }
    m_list.MoveToDlgItem(IDC_LIST_AREA);
    CCellBuilder builder(&m_list);
    for (int i = 0; i < GetAppOptionsPageCount(); ++i) {
        CIPtr<IHybridCell> row;
        builder.SetText(CLocalizedString(GetAppOptionsPageTitleId(i)))
            .SetStyleBits(1)
            .SetData(i)
            .ReturnCell(&row)
            .AddText();
        m_rows.Add(row);
        m_pages.Add(nullptr);
    }
    SelectPage(m_firstPage);
    return TRUE;
}

void COptionsDlg::SelectPage(int index)
{
    if (m_current && !m_current->CanLeave())
        return;
    if (index < 0 || index >= m_rows.GetSize())
        return;
    IHybridCell* row = m_rows.GetAt(index);
    m_list.SetActiveCell(row, false);
    row->SetSelected(true, false);
    COptionsPage* page = GetPage(index, true);
    if (!page || page == m_current)
        return;
    CRect area;
    GetDlgItem(IDC_PAGE_AREA)->GetWindowRect(&area);
    ScreenToClient(&area);
    page->MoveWindow(area.left, area.top, area.Width(), area.Height());
    COptionsPage* previous = m_current;
    m_current = page;
    page->OnActivate();
    page->ShowWindow(SW_SHOW);
    if (previous)
        previous->ShowWindow(SW_HIDE);
}

COptionsPage* COptionsDlg::GetPage(int index, bool create)
{
    if (!m_pages.IsValidIndex(index))
        return nullptr;
    COptionsPage* page = m_pages.GetAt(index);
    if (!page && create) {
        page = CreateAppOptionsPage(this, index);
        m_pages.SetAt(index, page);
    }
    return page;
}

bool COptionsDlg::ApplyPage(int index)
{
    COptionsPage* page = GetPage(index, false);
    if (!page || !page->GetSafeHwnd() || !page->IsModified())
        return false;
    const bool applied = page->Apply();
    if (applied)
        page->SetModified(false);
    return applied;
}

bool COptionsDlg::ApplyAll()
{
    for (int i = 0; i < m_pages.GetSize(); ++i) {
        COptionsPage* page = m_pages.GetAt(i);
        if (page && page->GetSafeHwnd() && page->IsModified() && !ApplyPage(i)) {
            SelectPage(i);
            return false;
        }
    }
    // The pages took their values: they hold for this run either way.
    if (!SaveAppSettingsHook())
        XfMessageBox(this, IDS_SETTINGS_NOT_SAVED, MB_OK | MB_ICONWARNING);
    return true;
}

void COptionsDlg::OnApply()
{
    if (ApplyAll())
        ::PostMessageW(m_hWnd, WM_OPTIONS_MODIFIED, 0, 0);
}

void COptionsDlg::UpdateApplyButton()
{
    bool modified = false;
    for (int i = 0; i < m_pages.GetSize(); ++i) {
        COptionsPage* page = m_pages.GetAt(i);
        modified = modified || (page && page->GetSafeHwnd() && page->IsModified());
    }
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_APPLY), modified);
}

LRESULT COptionsDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_APP + 0xCA:
        if (wParam == kSelectionChanged) {
            if (IHybridCell* cell = m_list.GetSelectedCell())
                SelectPage(static_cast<int>(cell->GetData()));
            return 0;
        }
        break;
    case WM_OPTIONS_MODIFIED: UpdateApplyButton(); return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_APPLY && HIWORD(wParam) == BN_CLICKED) {
            OnApply();
            return 0;
        }
        break;
    case WM_DESTROY:
        for (int i = 0; i < m_pages.GetSize(); ++i) {
            if (COptionsPage* page = m_pages.GetAt(i)) {
                page->DestroyWindow();
                delete page;
                m_pages.SetAt(i, nullptr);
            }
        }
        m_current = nullptr;
        break;
    default: break;
    }
    return CLocalizedDlg::WindowProc(message, wParam, lParam);
}

void COptionsDlg::OnOK()
{
    if (ApplyAll())
        DestroyWindow();
}

void COptionsDlg::OnCancel()
{
    DestroyWindow();
}

void COptionsDlg::PostNcDestroy()
{
    if (g_optionsDialog == this)
        g_optionsDialog = nullptr;
    delete this;
}

void ShowOptionsDialog(int page)
{
    if (g_optionsDialog) {
        g_optionsDialog->SelectPage(page);
        BringToTop(*g_optionsDialog);
        return;
    }
    auto* dialog = new COptionsDlg(page);
    g_optionsDialog = dialog;
    // Without a parent the class library makes the main window its owner:
    // it stays above it and goes with it.
    if (!dialog->Create(IDD_OPTIONS, nullptr)) {
        g_optionsDialog = nullptr;
        delete dialog;
        return;
    }
    BringToTop(*dialog);
}

COptionsDlg* GetOptionsDialog()
{
    return g_optionsDialog;
}

COptionsPage* GetOptionsPage(int index)
{
    return g_optionsDialog ? g_optionsDialog->GetPage(index, true) : nullptr;
}

bool IsOptionsDialogOpen()
{
    return g_optionsDialog != nullptr;
}

void CloseOptionsDialog()
{
    if (g_optionsDialog)
        ::PostMessageW(g_optionsDialog->GetSafeHwnd(), WM_COMMAND, IDCANCEL, 0);
}
