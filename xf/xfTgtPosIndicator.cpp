#include "xf/xfTgtPosIndicator.h"
#include "common/WindowRoutines.h"
#include "xf/xfResources.h"

BEGIN_MESSAGE_MAP(CxfTgtPosIndicator, CDialog)
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

const COLORREF kIndicatorColour = 0x800000; // dark blue

} // namespace

CxfTgtPosIndicator::CxfTgtPosIndicator() : CDialog(IDD_XF_DROP_INDICATOR, nullptr)
{
}

bool CxfTgtPosIndicator::ShowAt(const RECT& screenRect)
{
    if (!m_hWnd && !Create(IDD_XF_DROP_INDICATOR, nullptr))
        return false;
    SetWindowPos(&CWnd::wndTopMost, screenRect.left, screenRect.top, screenRect.right - screenRect.left,
                 screenRect.bottom - screenRect.top, SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return true;
}

BOOL CxfTgtPosIndicator::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (IsTransparencySupported())
        SetWindowTransparency(m_hWnd, Alpha);
    return FALSE; // no focus: the indicator is never active
}

BOOL CxfTgtPosIndicator::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CxfTgtPosIndicator::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, kIndicatorColour);
}
