#include "app/FragmentMenu.h"

#include "app/AppIds.h"
#include "xf/xfPane.h"
#include "xf/xfPopupMenu.h"

void OpenFragmentMenu(CWnd* control, POINT screenPoint)
{
    for (HWND w = control ? control->GetSafeHwnd() : nullptr; w; w = ::GetParent(w)) {
        CWnd* wnd = CWnd::FromHandlePermanent(w);
        if (!wnd || !wnd->IsKindOf(RUNTIME_CLASS(CxfPane)))
            continue;
        if (CxfFrame* top = static_cast<CxfPane*>(wnd)->GetTopFrame())
            TrackXfPopupMenu(0, top, screenPoint.x, screenPoint.y, IDR_POPUPMENU, nullptr);
        return;
    }
}
