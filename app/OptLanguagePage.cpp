#include "app/OptLanguagePage.h"

#include "common/Languages.h"
#include "common/ProductInfo.h"
#include "common/WindowRoutines.h"
#include "hybrid/CellBuilder.h"
#include "xf/xfFrame.h"
#include "hybrid/LanguageListFill.h"
#include "app/Retranslation.h"

namespace {

const UINT IDD_PAGE = 10038;
const UINT IDC_LIST = 6028;
const UINT IDS_RESTART = 10253, IDS_LANGUAGES_AT = 10257;
const WPARAM kSelectionChanged = 8;

} // namespace

COptLanguagePage::COptLanguagePage(CWnd* parent) : COptionsPage(IDD_PAGE, parent)
{
}

BOOL COptLanguagePage::OnInitDialog()
{
    COptionsPage::OnInitDialog();
    if (!m_list.Create(this, IDC_LIST, 0x10000))
        return TRUE; // the page stays empty; the dialog's other pages work
    m_list.SetDialogBkColor();
    m_list.SetSingleSelect(true);
    FillLanguageList(m_list);
    CCellBuilder builder(&m_list);
    builder.SetStyleBits(0, 4).AddSeparator();
    builder.SetTextID(IDS_LANGUAGES_AT).AddText();
    builder.SetText(SProductInfo::GetLanguagesUrl()).SetStyleBits(0, 5).AddText();
    PostSizeMessage(this);
    return TRUE;
}

LRESULT COptLanguagePage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP + 0xCA && wParam == kSelectionChanged)
        SetModified(true);
    const LRESULT result = COptionsPage::WindowProc(message, wParam, lParam);
    if (message == WM_SIZE && m_list.GetSafeHwnd())
        m_list.MoveWindow(0, 0, LOWORD(lParam), HIWORD(lParam));
    return result;
}

bool COptLanguagePage::Apply()
{
    if (!UpdateData(TRUE))
        return false;
    IHybridCell* cell = m_list.GetSelectedCell();
    if (!cell)
        return false;
    const SLanguageInfo* language = GetLanguageAt(static_cast<int>(cell->GetData()));
    if (!language)
        return false;
    const CString name = language->englishName;
    SelectLanguageByName(name);
    RetranslateOpenWindows();
    XfMessageBox(GetParent(), IDS_RESTART, MB_OK | MB_ICONINFORMATION);
    return true;
}
