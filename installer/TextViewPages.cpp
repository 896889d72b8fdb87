// The pages made of one Hybrid text view: welcome with the language list,
// the licence agreement, and the finished page with its "Run" box.
#include "hybrid/LanguageListFill.h"
#include "common/Languages.h"
#include "common/LocalizedString.h"
#include "common/PathUtils.h"
#include "common/ProductInfo.h"
#include "common/WindowRoutines.h"
#include "hybrid/CellBuilder.h"
#include "hybrid/HybridMessages.h"
#include "hybrid/IHybridCell.h"
#include "hybrid/TaggedText.h"
#include "installer/InstallDlg.h"
#include "installer/InstallPages.h"
#include "installer/InstallerIds.h"
#include "installer/SelfDelete.h"
#include "xf/xfFrame.h"

namespace {

CString FormatWithProduct(UINT id)
{
    CLocalizedString text;
    text.Format(id, SProductInfo::GetName());
    return text;
}

CString Loaded(UINT id)
{
    CLocalizedString text;
    text.LoadString(id);
    return text;
}

} // namespace

BOOL CTextViewPage::OnInitDialog()
{
    CInstallPage::OnInitDialog();
    if (m_view.Create(this, IDC_HYBRID_VIEW, 0x10000)) {
        m_view.SetSingleSelect(true);
        m_view.SetDialogBkColor();
        FillView();
    }
    PostSizeMessage(this);
    return TRUE;
}

LRESULT CTextViewPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SIZE && m_view.GetSafeHwnd())
        m_view.MoveWindow(0, 0, LOWORD(lParam), HIWORD(lParam));
    return CInstallPage::WindowProc(message, wParam, lParam);
}

CWelcomeInstallPage::CWelcomeInstallPage(CInstallDlg* wizard) : CTextViewPage(IDD_PAGE_WELCOME, wizard)
{
}

CString CWelcomeInstallPage::GetTitle()
{
    return FormatWithProduct(IDS_WELCOME_TITLE);
}

UINT CWelcomeInstallPage::GetNextTextId()
{
    return IDS_NEXT;
}

void CWelcomeInstallPage::FillView()
{
    FillLanguageList(m_view);
    m_view.RecalcLayout(true);
}

LRESULT CWelcomeInstallPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HYBRID_NOTIFY && wParam == HN_SELCHANGED) {
        IHybridCell* cell = m_view.GetSelectedCell();
        if (!cell)
            return 0;
        SelectLanguage(static_cast<int>(cell->GetData()));
        GetWizard()->Retranslate();
    }
    return CTextViewPage::WindowProc(message, wParam, lParam);
}

CInstPage_License::CInstPage_License(CInstallDlg* wizard) : CTextViewPage(IDD_PAGE_LICENSE, wizard)
{
}

CString CInstPage_License::GetTitle()
{
    return Loaded(IDS_LICENSE_TITLE);
}

UINT CInstPage_License::GetNextTextId()
{
    return IDS_I_AGREE;
}

void CInstPage_License::FillView()
{
    AddTaggedTextResource(&m_view, IDR_LICENSE_TEXT);
    m_view.RecalcLayout(true);
}

CFinishedInstallPage::CFinishedInstallPage(CInstallDlg* wizard) : CTextViewPage(IDD_PAGE_FINISHED, wizard)
{
}

CString CFinishedInstallPage::GetTitle()
{
    return Loaded(GetWizard()->IsAborted() ? IDS_INSTALL_ABORTED_TITLE : IDS_INSTALL_COMPLETE_TITLE);
}

UINT CFinishedInstallPage::GetNextTextId()
{
    return IDS_FINISH;
}

void CFinishedInstallPage::FillView()
{
    const bool aborted = GetWizard()->IsAborted();
    CCellBuilder builder(&m_view);
    builder.AddSeparator();
    builder.SetStyleBits(0, 8).SetText(FormatWithProduct(aborted ? IDS_INSTALL_ABORTED : IDS_INSTALLED)).AddText();
    if (!aborted) {
        builder.AddSeparator();
        builder.AddSeparator();
        builder.SetChildGap(3).AddCell().BeginChildren();
        builder.SetStdStyle(2).SetText(FormatWithProduct(IDS_RUN_PROGRAM)).ReturnCheckBox(&m_runBox).AddCheckBox();
        builder.EndChildren();
        if (m_runBox)
            m_runBox->SetCheck(1, false);
    }
    m_view.RecalcLayout(true);
}

bool CFinishedInstallPage::OnActivate()
{
    GetWizard()->ShowCancelButton(false);
    GetWizard()->ShowBackButton(false);
    return true;
}

void CFinishedInstallPage::OnFinish()
{
    if (m_runBox && m_runBox->GetCheck() && !GetWizard()->IsAborted() &&
        !RunProcess(GetWizard()->GetInstalledExePath(), false))
        XfMessageBox(this, IDS_CANNOT_RUN_PROGRAM, MB_OK | MB_ICONERROR);
}
