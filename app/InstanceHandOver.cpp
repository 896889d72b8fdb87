#include "app/InstanceHandOver.h"

#include <cwchar>

#include "common/ProductInfo.h"

HWND ActivateWindowByTitlePrefix(LPCWSTR prefix)
{
    if (!prefix || !*prefix)
        return nullptr;
    const size_t length = wcslen(prefix);
    for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window; window = GetWindow(window, GW_HWNDNEXT)) {
        wchar_t title[1001] = {};
        GetWindowTextW(window, title, 1000);
        if (wcsncmp(title, prefix, length) != 0)
            continue;
        if (!IsZoomed(window))
            ::SendMessageW(window, WM_SYSCOMMAND, SC_RESTORE, 0);
        SetForegroundWindow(window);
        return window;
    }
    return nullptr;
}

bool HandOverToRunningInstance()
{
    if (!IsAppInstanceRunning(SProductInfo::GetName()))
        return false;
    ActivateWindowByTitlePrefix(SProductInfo::GetName());
    return true;
}
