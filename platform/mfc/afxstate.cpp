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

void AFX_THREAD_STATE::DeleteTempObjects()
{
    // Each wrapper lets go of its handle before it is deleted, so its
    // destructor leaves the window, DC, object or menu alone.
    auto wnds = std::move(tempWnd);
    tempWnd.clear();
    for (auto& e : wnds) {
        e.second->m_hWnd = nullptr;
        delete e.second;
    }
    auto dcs = std::move(tempDC);
    tempDC.clear();
    for (auto& e : dcs) {
        e.second->m_hDC = nullptr;
        e.second->m_hAttribDC = nullptr;
        delete e.second;
    }
    auto gdis = std::move(tempGdi);
    tempGdi.clear();
    for (auto& e : gdis) {
        e.second->m_hObject = nullptr;
        delete e.second;
    }
    auto menus = std::move(tempMenu);
    tempMenu.clear();
    for (auto& e : menus) {
        e.second->m_hMenu = nullptr;
        delete e.second;
    }
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
