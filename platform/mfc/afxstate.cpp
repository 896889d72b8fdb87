#include "platform/mfc/afxstate.h"
#include "platform/mfc/afxwnd.h"
#include "platform/mfc/afxdc.h"
#include "platform/mfc/afxgdi.h"
#include "platform/mfc/afxmenu.h"

AFX_THREAD_STATE& AfxGetThreadState()
{
    static thread_local AFX_THREAD_STATE state;
    return state;
}

AFX_THREAD_STATE::~AFX_THREAD_STATE()
{
    DeleteTempObjects();
    if (hHookCbt)
        ::UnhookWindowsHookEx(hHookCbt);
}

namespace {

// Empties the map first (a destructor may look into it), then deletes each
// wrapper after `letGo` took its handles away.
template <class Map, class LetGo>
void DeleteWrappers(Map& map, LetGo letGo)
{
    Map taken = std::move(map);
    map.clear();
    for (auto& e : taken) {
        letGo(*e.second);
        delete e.second;
    }
}

} // namespace

void AFX_THREAD_STATE::DeleteTempObjects()
{
    // Each wrapper lets go of its handle before it is deleted, so its
    // destructor leaves the window, DC, object or menu alone.
    DeleteWrappers(tempWnd, [](CWnd& w) { w.m_hWnd = nullptr; });
    DeleteWrappers(tempDC, [](CDC& dc) {
        dc.m_hDC = nullptr;
        dc.m_hAttribDC = nullptr;
    });
    DeleteWrappers(tempGdi, [](CGdiObject& o) { o.m_hObject = nullptr; });
    DeleteWrappers(tempMenu, [](CMenu& m) { m.m_hMenu = nullptr; });
}

void AfxLockTempMaps()
{
    ++AfxGetThreadState().nTempMapLock;
}

BOOL AfxUnlockTempMaps()
{
    AFX_THREAD_STATE& state = AfxGetThreadState();
    if (state.nTempMapLock > 0 && --state.nTempMapLock > 0)
        return FALSE;
    state.DeleteTempObjects();
    return TRUE;
}
