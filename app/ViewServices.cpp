#include "app/ViewServices.h"

#include "platform/mfc/afxwin.h"
#include "common/LocalizedString.h"
#include "common/ProductInfo.h"
#include "xf/xfFrame.h"
#include "xf/xfPane.h"

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
    // The top-level window is a host dialog that routes no commands: the
    // command goes to the top frame of the pane that holds the control.
    for (HWND w = control ? control->GetSafeHwnd() : nullptr; w; w = ::GetParent(w)) {
        CWnd* wnd = CWnd::FromHandlePermanent(w);
        if (!wnd || !wnd->IsKindOf(RUNTIME_CLASS(CxfPane)))
            continue;
        if (CxfFrame* top = static_cast<CxfPane*>(wnd)->GetTopFrame())
            ::PostMessageW(top->GetSafeHwnd(), WM_COMMAND, id, 0);
        return;
    }
    // Outside a pane the top-level window is the only one to tell.
    if (HWND window = TopLevelOf(control))
        ::PostMessageW(window, WM_COMMAND, id, 0);
}

void SetFragmentMenuOpener(FragmentMenuOpener opener)
{
    g_menuOpener = opener;
}

FragmentMenuOpener GetFragmentMenuOpener()
{
    return g_menuOpener;
}
