#pragma once
// CMenu: a menu handle owned by the object (DestroyMenu at destruction) unless
// detached. GetSubMenu and FromHandle give temporary wrappers (afxstate.h)
// that never destroy their menu.
#include <windows.h>
#include "platform/mfc/afxobj.h"
#include "platform/mfc/afxstr.h"
#include "platform/mfc/afxnullsafe.h"

class CWnd;

class CMenu : public CObject
{
    DECLARE_DYNAMIC(CMenu)
public:
    CMenu() = default;
    ~CMenu() override;

    HMENU m_hMenu = nullptr;

    operator HMENU() const { return m_hMenu; }
    // Null when called on a null object.
    HMENU GetSafeHmenu() const
    {
        const CMenu* p = AfxOpaquePtr(this);
        return p ? p->m_hMenu : nullptr;
    }
    static CMenu* FromHandle(HMENU hMenu);
    [[nodiscard]] BOOL Attach(HMENU hMenu);
    HMENU Detach();

    [[nodiscard]] BOOL CreateMenu() { return Attach(::CreateMenu()); }
    [[nodiscard]] BOOL CreatePopupMenu() { return Attach(::CreatePopupMenu()); }
    // From the resource module (AfxGetResourceHandle).
    [[nodiscard]] BOOL LoadMenu(LPCWSTR lpszResourceName);
    [[nodiscard]] BOOL LoadMenu(UINT nIDResource) { return LoadMenu(MAKEINTRESOURCEW(nIDResource)); }
    [[nodiscard]] BOOL LoadMenuIndirect(const void* lpMenuTemplate);
    BOOL DestroyMenu();

    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCWSTR lpszNewItem = nullptr)
    {
        return ::AppendMenuW(m_hMenu, nFlags, nIDNewItem, lpszNewItem);
    }
    BOOL InsertMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCWSTR lpszNewItem = nullptr)
    {
        return ::InsertMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
    }
    BOOL ModifyMenu(UINT nPosition, UINT nFlags, UINT_PTR nIDNewItem = 0, LPCWSTR lpszNewItem = nullptr)
    {
        return ::ModifyMenuW(m_hMenu, nPosition, nFlags, nIDNewItem, lpszNewItem);
    }
    BOOL RemoveMenu(UINT nPosition, UINT nFlags) { return ::RemoveMenu(m_hMenu, nPosition, nFlags); }
    BOOL DeleteMenu(UINT nPosition, UINT nFlags) { return ::DeleteMenu(m_hMenu, nPosition, nFlags); }

    CMenu* GetSubMenu(int nPos) const { return FromHandle(::GetSubMenu(m_hMenu, nPos)); }
    int GetMenuItemCount() const { return ::GetMenuItemCount(m_hMenu); }
    UINT GetMenuItemID(int nPos) const { return ::GetMenuItemID(m_hMenu, nPos); }
    UINT GetMenuState(UINT nID, UINT nFlags) const { return ::GetMenuState(m_hMenu, nID, nFlags); }
    int GetMenuString(UINT nIDItem, LPWSTR lpString, int nMaxCount, UINT nFlags) const
    {
        return ::GetMenuStringW(m_hMenu, nIDItem, lpString, nMaxCount, nFlags);
    }
    int GetMenuString(UINT nIDItem, CString& rString, UINT nFlags) const;
    [[nodiscard]] BOOL GetMenuItemInfo(UINT uItem, LPMENUITEMINFOW lpMenuItemInfo, BOOL fByPos = FALSE) const
    {
        return ::GetMenuItemInfoW(m_hMenu, uItem, fByPos, lpMenuItemInfo);
    }
    BOOL SetMenuItemInfo(UINT uItem, LPMENUITEMINFOW lpMenuItemInfo, BOOL fByPos = FALSE)
    {
        return ::SetMenuItemInfoW(m_hMenu, uItem, fByPos, lpMenuItemInfo);
    }
    UINT EnableMenuItem(UINT nIDEnableItem, UINT nEnable) { return ::EnableMenuItem(m_hMenu, nIDEnableItem, nEnable); }
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck)
    {
        return static_cast<UINT>(::CheckMenuItem(m_hMenu, nIDCheckItem, nCheck));
    }
    BOOL CheckMenuRadioItem(UINT nIDFirst, UINT nIDLast, UINT nIDItem, UINT nFlags)
    {
        return ::CheckMenuRadioItem(m_hMenu, nIDFirst, nIDLast, nIDItem, nFlags);
    }
    BOOL SetDefaultItem(UINT uItem, BOOL fByPos = FALSE) { return ::SetMenuDefaultItem(m_hMenu, uItem, fByPos); }
    UINT GetDefaultItem(UINT gmdiFlags, BOOL fByPos = FALSE) const
    {
        return ::GetMenuDefaultItem(m_hMenu, fByPos, gmdiFlags);
    }

    // Modal: runs until an item is chosen or the menu is dismissed. With
    // TPM_RETURNCMD the chosen id (0 for none) is returned and nothing is sent;
    // otherwise the command goes to pWnd as WM_COMMAND.
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr) const;
    BOOL TrackPopupMenuEx(UINT nFlags, int x, int y, CWnd* pWnd, LPTPMPARAMS lptpm) const;

    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;
};
