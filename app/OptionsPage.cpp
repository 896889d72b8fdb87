#include "app/OptionsPage.h"

#include "app/OptionsDlg.h"

COptionsPage::COptionsPage(UINT templateId, CWnd* parent) : CLocalizedDlg(templateId, parent)
{
}

BOOL COptionsPage::OnInitDialog()
{
    CLocalizedDlg::OnInitDialog();
    ::PostMessageW(m_hWnd, WM_OPTIONS_PAGE_READY, 0, 0);
    return TRUE;
}

LRESULT COptionsPage::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_OPTIONS_PAGE_READY) {
        m_initialised = true;
        return 0;
    }
    return CLocalizedDlg::WindowProc(message, wParam, lParam);
}

void COptionsPage::SetModified(bool modified)
{
    if (!m_initialised)
        return;
    m_modified = modified;
    if (HWND parent = ::GetParent(m_hWnd))
        ::PostMessageW(parent, WM_OPTIONS_MODIFIED, 0, 0);
}

COptionsPage* COptionsPage::GetSiblingPage(int index)
{
    auto* dialog = dynamic_cast<COptionsDlg*>(CWnd::FromHandlePermanent(::GetParent(m_hWnd)));
    return dialog ? dialog->GetPage(index, true) : nullptr;
}

// Posted, not sent: the dialog's handlers may destroy this page.
void COptionsPage::OnOK()
{
    if (HWND parent = ::GetParent(m_hWnd))
        ::PostMessageW(parent, WM_COMMAND, IDOK, 0);
}

void COptionsPage::OnCancel()
{
    if (HWND parent = ::GetParent(m_hWnd))
        ::PostMessageW(parent, WM_COMMAND, IDCANCEL, 0);
}
