#include "app/AboutDlg.h"

#include "common/DrawRoutines.h"
#include "common/LocalizedString.h"
#include "common/ProductInfo.h"
#include "common/VersionInfo.h"
#include "hybrid/CellBuilder.h"

namespace {

const UINT IDD_ABOUT = 10013;
const UINT IDC_CONTENT = 6028, IDC_TEXT_FRAME = 10068;
const UINT IDS_VERSION_LINE = 10251, IDS_ADDRESS_LINE = 10181;
const WPARAM kTextClicked = 19;
const wchar_t kNotice[] = L"Copyright \u00A9 Velmora. All rights reserved.";

} // namespace

CAboutDlg::CAboutDlg(CWnd* parent) : CLocalizedDlg(IDD_ABOUT, parent), m_pictureSize(0, 0)
{
}

BOOL CAboutDlg::OnInitDialog()
{
    CLocalizedDlg::OnInitDialog();
    if (!m_content.Create(this, IDC_CONTENT, 0x10000)) {
        EndDialog(IDCANCEL); // nothing to show without its list
        return TRUE;
    }
    m_content.SetSingleSelect(true);
    m_content.SetBkColor(RGB(255, 255, 255), true);
    m_pictureSize = GetBitmapResourceSize(g_productInfo.aboutPictureId);

    const int totalWidth = BuildContent();
    m_content.MoveWindow(0, 0, totalWidth, 0);
    m_content.RecalcLayout(true);
    const int h = m_content.GetContentHeight();

    CWnd* ok = GetDlgItem(IDOK);
    CRect okRect;
    ok->GetWindowRect(&okRect);
    ok->SetWindowPos(nullptr, totalWidth - 5 - okRect.Width(), h + 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    CRect window(0, 0, totalWidth, h + okRect.Height() + 10);
    ::AdjustWindowRectEx(&window, GetStyle(), FALSE, GetExStyle());
    SetWindowPos(nullptr, 0, 0, window.Width(), window.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_content.MoveWindow(0, 0, totalWidth, h);
    CenterWindow(CWnd::FromHandle(::GetDesktopWindow()));
    return TRUE;
}

int CAboutDlg::BuildContent()
{
    m_content.RemoveAllCells(true);
    CRect frame;
    GetDlgItem(IDC_TEXT_FRAME)->GetWindowRect(&frame);
    CVersionInfo version;
    CLocalizedString versionLine, addressLine;
    versionLine.Format(IDS_VERSION_LINE, static_cast<LPCWSTR>(version.GetProductVersion()));
    addressLine.Format(IDS_ADDRESS_LINE, SProductInfo::GetWebSiteUrl());

    const UINT picture = g_productInfo.aboutPictureId;
    CCellBuilder builder(&m_content);
    CIPtr<IHybridCell> textCell;
    int totalWidth;
    if (m_pictureSize.cx <= m_pictureSize.cy) {
        CIPtr<IHybridHeading> columns;
        builder.AddColumn(m_pictureSize.cx).AddColumn(frame.Width()).ReturnColumnModel(&columns).CreateColumnModel();
        builder.SetColumnModel(columns).AddCell().BeginChildren();
        builder.SetPictureResource(picture, RGB(255, 255, 255)).SetStyleBits(0x20000).AddPicture();
        builder.SetChildGap(10).ReturnCell(&textCell).AddCell();
        builder.EndChildren();
        totalWidth = m_pictureSize.cx + frame.Width();
    } else {
        builder.SetPictureResource(picture, RGB(255, 255, 255)).AddPicture();
        builder.SetChildGap(10).ReturnCell(&textCell).AddCell();
        totalWidth = m_pictureSize.cx;
    }

    builder.SetParent(textCell).AddCell().BeginChildren();
    builder.AddSeparator();
    builder.SetStdStyle(2).SetText(version.GetProductName()).AddText();
    builder.SetText(versionLine).AddText();
    builder.AddThickSeparator();
    builder.SetText(kNotice).SetStyleBits(0, 8).AddText();
    builder.SetText(addressLine).SetStyleBits(0, 1).SetData(ABOUT_LINK_DATA).AddText();
    builder.AddSeparator();
    builder.AddSeparator();
    builder.EndChildren();
    builder.SetParent(nullptr).SetStyleBits(0, 5).AddSeparator();
    return totalWidth;
}

LRESULT CAboutDlg::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APP + 0xCA) {
        auto* cell = reinterpret_cast<IHybridCell*>(lParam);
        if (wParam == kTextClicked && cell && cell->GetData() == ABOUT_LINK_DATA)
            OpenLink(SProductInfo::GetWebSiteUrl());
        return 0;
    }
    return CLocalizedDlg::WindowProc(message, wParam, lParam);
}

void ShowAboutDialog(CWnd* parent)
{
    CAboutDlg dialog(parent);
    dialog.DoModal();
}
