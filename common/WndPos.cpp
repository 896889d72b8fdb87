#include "common/WndPos.h"
#include "platform/mfc/afxwin.h"

void SWndPos::Capture(HWND window)
{
    maximised = IsZoomed(window) ? TRUE : FALSE;
    minimised = IsIconic(window) ? TRUE : FALSE;
    if (!maximised && !minimised) {
        GetWindowRect(window, &rect);
    } else {
        WINDOWPLACEMENT placement = {};
        placement.length = sizeof placement;
        if (GetWindowPlacement(window, &placement))
            rect = placement.rcNormalPosition;
    }
}

void SWndPos::Apply(const SWndPos* record, CWnd* window, int margin, int maxWidth, int maxHeight)
{
    if (window == nullptr || window->GetSafeHwnd() == nullptr)
        return;
    if (record != nullptr) {
        window->MoveWindow(&record->rect, TRUE);
        if (record->maximised)
            window->PostMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
        else if (record->minimised)
            window->PostMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return;
    }
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    int width = work.right - work.left - 2 * margin;
    int height = work.bottom - work.top - 2 * margin;
    if (maxWidth != 0 && maxWidth < width)
        width = maxWidth;
    if (maxHeight != 0 && maxHeight < height)
        height = maxHeight;
    window->SetWindowPos(nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
    window->CenterWindow();
}
