#include "app/OptGeneralPage.h"

#include <commctrl.h>

#include "audio/AudioSettings.h"
#include "common/ByteSize.h"
#include "common/LocalizedString.h"
#include "xf/xfFrame.h"

namespace {

const UINT IDC_ERASE_PEAKS = 1073, IDC_PEAK_SIZE = 1074, IDC_PEAK_LIMIT = 1075, IDC_PEAK_SPIN = 1076;
const UINT IDS_ASK_ERASE = 1092, IDS_SOME_IN_USE = 1093, IDS_CURRENT_SIZE = 1095, IDS_RANGE = 1096;
const int kMinLimit = 10, kMaxLimit = 10000;

bool ParseWholeNumber(const CString& text, int& value)
{
    CString t = text;
    t.Trim();
    if (t.IsEmpty() || t.GetLength() > 9)
        return false;
    int v = 0;
    for (int i = 0; i < t.GetLength(); ++i) {
        if (t[i] < L'0' || t[i] > L'9')
            return false;
        v = v * 10 + (t[i] - L'0');
    }
    value = v;
    return true;
}

} // namespace

COptGeneralPage::COptGeneralPage(CWnd* parent) : COptionsPage(IDD_OPT_GENERAL, parent)
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
}

void COptGeneralPage::DoDataExchange(CDataExchange* pDX)
{
    COptionsPage::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PEAK_SIZE, m_sizeText);
    DDX_Text(pDX, IDC_PEAK_LIMIT, m_limitText);
}

BOOL COptGeneralPage::OnInitDialog()
{
    COptionsPage::OnInitDialog();
    m_limitText.Format(L"%d", GetMaxPeakFileSize());
    UpdateSizeText();
    ::SendDlgItemMessageW(m_hWnd, IDC_PEAK_SPIN, UDM_SETRANGE32, kMinLimit, kMaxLimit);
    return TRUE;
}

void COptGeneralPage::UpdateSizeText()
{
    CLocalizedString text;
    text.Format(IDS_CURRENT_SIZE, static_cast<LPCWSTR>(FormatByteSize(static_cast<__int64>(m_cache.GetTotalSize()))));
    m_sizeText = text;
    UpdateData(FALSE);
}

LRESULT COptGeneralPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND) {
        if (LOWORD(wParam) == IDC_PEAK_LIMIT && HIWORD(wParam) == EN_CHANGE) {
            SetModified(true);
            return 0;
        }
        if (LOWORD(wParam) == IDC_ERASE_PEAKS && HIWORD(wParam) == BN_CLICKED) {
            ErasePeakFiles();
            return 0;
        }
    }
    return COptionsPage::WindowProc(message, wParam, lParam);
}

bool COptGeneralPage::Apply()
{
    if (!UpdateData(TRUE))
        return false;
    int value = 0;
    if (ParseWholeNumber(m_limitText, value) && value >= kMinLimit && value <= kMaxLimit) {
        SetMaxPeakFileSize(value);
        return true;
    }
    CLocalizedString text;
    text.Format(IDS_RANGE, kMinLimit, kMaxLimit);
    XfMessageBox(this, text, MB_OK | MB_ICONWARNING);
    return false;
}

void COptGeneralPage::ErasePeakFiles()
{
    if (XfMessageBox(this, IDS_ASK_ERASE, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    m_cache.DeleteAll();
    UpdateSizeText();
    if (m_cache.GetTotalSize() > 0)
        XfMessageBox(this, IDS_SOME_IN_USE, MB_OK | MB_ICONWARNING);
}
