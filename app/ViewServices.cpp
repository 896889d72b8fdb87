#include "app/ViewServices.h"

#include "platform/mfc/afxwin.h"
#include "common/LocalizedString.h"
#include "common/ProductInfo.h"

namespace {

FragmentMenuOpener g_menuOpener = nullptr;

HWND TopLevelOf(CWnd* control)
{
    HWND wnd = control ? control->GetSafeHwnd() : nullptr;
    return wnd ? ::GetAncestor(wnd, GA_ROOT) : nullptr;
}

} // namespace

void ShowViewMessage(CWnd* control, UINT stringId)
{
    CLocalizedString text(stringId);
    LPCWSTR caption = SProductInfo::GetName();
    ::MessageBoxW(TopLevelOf(control), text, caption && *caption ? caption : nullptr, MB_OK);
}

void PostViewCommand(CWnd* control, UINT id)
{
    if (HWND frame = TopLevelOf(control))
        ::PostMessageW(frame, WM_COMMAND, id, 0);
}

void SetFragmentMenuOpener(FragmentMenuOpener opener)
{
    g_menuOpener = opener;
}

FragmentMenuOpener GetFragmentMenuOpener()
{
    return g_menuOpener;
}
