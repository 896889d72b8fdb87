#include "platform/mfc/afxcmd.h"
#include "platform/mfc/afxwnd.h"
#include "platform/mfc/afxmenu.h"

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)

const AFX_MSGMAP* CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, entries};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMessageEntry(UINT message) const
{
    if (message == WM_COMMAND || message == WM_NOTIFY)
        return nullptr;
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfnDispatch; ++e)
            if (e->nMessage == message)
                return e;
    }
    return nullptr;
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindCommandEntry(UINT message, UINT nCode, UINT nID) const
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfnDispatch; ++e)
            if (e->nMessage == message && e->nCode == nCode && nID >= e->nID && nID <= e->nLastID)
                return e;
    }
    return nullptr;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // A WM_NOTIFY dispatch carries its notification code in the AFX_NOTIFY header.
    UINT message = WM_COMMAND;
    UINT code = static_cast<UINT>(nCode);
    if (nCode == CN_NOTIFY_ENTRY) {
        message = WM_NOTIFY;
        code = static_cast<UINT>(static_cast<AFX_NOTIFY*>(pExtra)->pNMHDR->code);
    }
    // Walk the whole chain: an ON_COMMAND_EX handler that declines lets a base
    // class entry for the same id have its turn.
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfnDispatch; ++e) {
            if (e->nMessage != message || e->nCode != code || nID < e->nID || nID > e->nLastID)
                continue;
            if (pHandlerInfo) {
                pHandlerInfo->pTarget = this;
                pHandlerInfo->pEntry = e;
                return TRUE;
            }
            AFX_MSGARGS args{message, 0, 0, nID, nCode, pExtra, 0};
            // The handler may delete this target: nothing below touches it.
            if (e->pfnDispatch(this, args))
                return TRUE;
        }
    }
    return FALSE;
}

// ---- CCmdUI -----------------------------------------------------------------

void CCmdUI::Enable(BOOL bOn)
{
    if (m_pMenu) {
        ::EnableMenuItem(m_pMenu->GetSafeHmenu(), m_nIndex,
                         MF_BYPOSITION | (bOn ? MF_ENABLED : (MF_DISABLED | MF_GRAYED)));
    } else if (m_pOther) {
        // A control that loses the focus by being disabled hands it on first.
        if (!bOn && ::GetFocus() == m_pOther->m_hWnd) {
            HWND hParent = ::GetParent(m_pOther->m_hWnd);
            if (hParent)
                ::SendMessageW(hParent, WM_NEXTDLGCTL, 0, FALSE);
        }
        m_pOther->EnableWindow(bOn);
    }
    m_bEnableChanged = TRUE;
}

void CCmdUI::SetCheck(int nCheck)
{
    if (m_pMenu) {
        ::CheckMenuItem(m_pMenu->GetSafeHmenu(), m_nIndex, MF_BYPOSITION | (nCheck ? MF_CHECKED : MF_UNCHECKED));
    } else if (m_pOther && (m_pOther->SendMessageW(WM_GETDLGCODE) & DLGC_BUTTON)) {
        m_pOther->SendMessageW(BM_SETCHECK, static_cast<WPARAM>(nCheck));
    }
}

void CCmdUI::SetRadio(BOOL bOn)
{
    if (m_pMenu) {
        MENUITEMINFOW mii{};
        mii.cbSize = sizeof(mii);
        mii.fMask = MIIM_FTYPE | MIIM_STATE;
        HMENU h = m_pMenu->GetSafeHmenu();
        if (::GetMenuItemInfoW(h, m_nIndex, TRUE, &mii)) {
            mii.fType = bOn ? (mii.fType | MFT_RADIOCHECK) : (mii.fType & ~MFT_RADIOCHECK);
            mii.fState = bOn ? (mii.fState | MFS_CHECKED) : (mii.fState & ~MFS_CHECKED);
            ::SetMenuItemInfoW(h, m_nIndex, TRUE, &mii);
        }
    } else {
        SetCheck(bOn ? 1 : 0);
    }
}

void CCmdUI::SetText(LPCWSTR lpszText)
{
    if (!lpszText)
        return;
    if (m_pMenu) {
        HMENU h = m_pMenu->GetSafeHmenu();
        UINT state = ::GetMenuState(h, m_nIndex, MF_BYPOSITION);
        state &= ~(MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR | MF_POPUP | 0xFF00);
        ::ModifyMenuW(h, m_nIndex, MF_BYPOSITION | MF_STRING | state, m_nID, lpszText);
    } else if (m_pOther) {
        m_pOther->SetWindowTextW(lpszText);
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHndler)
{
    if (!pTarget || m_nID == 0)
        return FALSE;
    m_bEnableChanged = FALSE;
    BOOL handled = pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (!handled && bDisableIfNoHndler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info{};
        Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, this, &info));
    }
    return handled;
}
