#include "common/LocalizedDlg.h"

IMPLEMENT_DYNAMIC(CLocalizedDlg, CDialog)

void TranslateWindowTree(CGCPtrArray<CSingleTranslation>& records, HWND window, bool limitDepth, int depth)
{
    if (depth == 0 && records.GetSize() > 0) {
        for (INT_PTR i = 0; i < records.GetSize(); ++i)
            if (CSingleTranslation* record = records.GetAt(i))
                record->Restore();
        records.RemoveAll();
    }
    if (window != nullptr && IsWindow(window))
        records.Add(new CSingleTranslation(window));
    if (limitDepth && depth > 1)
        return;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        TranslateWindowTree(records, child, limitDepth, depth + 1);
}

CLocalizedDlg::CLocalizedDlg() : m_translations(true)
{
}

CLocalizedDlg::CLocalizedDlg(UINT templateId, CWnd* parent) : CDialog(templateId, parent), m_translations(true)
{
}

CLocalizedDlg::~CLocalizedDlg() = default;

void CLocalizedDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
}

LRESULT CLocalizedDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = CDialog::WindowProc(message, wParam, lParam);
    if (message == WM_INITDIALOG)
        TranslateControls();
    return result;
}

void CLocalizedDlg::TranslateControls()
{
    TranslateWindowTree(m_translations, m_hWnd, m_limitDepth, 0);
}
