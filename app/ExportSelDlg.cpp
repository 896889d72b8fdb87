#include "app/ExportSelDlg.h"

#include "app/AppIds.h"
#include "app/AppSettings.h"
#include "common/FolderWalk.h"
#include "common/TimeUtils.h"
#include "hybrid/CellBuilder.h"

namespace {

const UINT IDD_EXPORT = 1047;
const UINT IDC_LIST = 6028, IDC_DESTINATION = 1071, IDC_SELECT_ALL = 1072, IDC_DESELECT_ALL = 1090,
           IDC_LIST_FRAME = 10061;

} // namespace

CExportSelDlg::CExportSelDlg(CWnd* parent, IFragmentDisplay* display)
    : CLocalizedDlg(IDD_EXPORT, parent), m_display(display), m_destinationEdit(BROWSE_FOLDER, IDS_BROWSE_DESTINATION)
{
}

void CExportSelDlg::DoDataExchange(CDataExchange* pDX)
{
    CLocalizedDlg::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DESTINATION, m_destinationEdit);
    DDX_Text(pDX, IDC_DESTINATION, m_destination);
}

BOOL CExportSelDlg::OnInitDialog()
{
    if (!m_list.Create(this, IDC_LIST, 0x20000)) {
        EndDialog(IDCANCEL); // nothing to show without its list
        return TRUE;
    }
    m_list.MoveToDlgItem(IDC_LIST_FRAME);
    CCellBuilder builder(&m_list);
    CIPtr<IHybridHeading> columns;
    builder.AddColumn(10).AddColumn(30).AddColumn(30).AddColumn(30).ReturnColumnModel(&columns).CreateColumnModel();
    const int count = m_display ? m_display->GetCount() : 0;
    for (int i = 0; i < count; ++i) {
        SFragmentInfo fragment;
        if (!m_display->GetAt(i, fragment))
            continue;
        CString tempo;
        tempo.Format(L"%.2f x", static_cast<double>(fragment.Tempo));
        CIPtr<IHybridCheckBox> check;
        builder.SetColumnModel(columns).AddCell().BeginChildren();
        builder.ReturnCheckBox(&check).AddCheckBox();
        builder.SetText(FormatTimeMinSecMs(fragment.StartTime)).AddText();
        builder.SetText(FormatTimeMinSecMs(fragment.EndTime)).AddText();
        builder.SetText(tempo).AddText();
        builder.EndChildren();
        m_checks.Add(check);
    }
    m_destination = GetLastExportDestination();
    return CLocalizedDlg::OnInitDialog(); // fills the controls, then translates
}

LRESULT CExportSelDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED &&
        (LOWORD(wParam) == IDC_SELECT_ALL || LOWORD(wParam) == IDC_DESELECT_ALL)) {
        CheckAll(LOWORD(wParam) == IDC_SELECT_ALL);
        return 0;
    }
    return CLocalizedDlg::WindowProc(message, wParam, lParam);
}

void CExportSelDlg::CheckAll(bool on)
{
    for (INT_PTR i = 0; i < m_checks.GetSize(); ++i)
        m_checks.GetAt(i)->SetCheck(on ? 1 : 0, false);
}

void CExportSelDlg::OnOK()
{
    // There is no export step: OK leaves the dialog open.
}

void CExportSelDlg::OnCancel()
{
    if (UpdateData(TRUE) && DirectoryExists(m_destination))
        SetLastExportDestination(m_destination);
    EndDialog(IDCANCEL);
}
