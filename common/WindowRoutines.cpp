#include "common/WindowRoutines.h"
#include "common/ProductInfo.h"
#include "platform/mfc/afxwin.h"

namespace {

typedef BOOL(WINAPI* SetLayeredWindowAttributesFn)(HWND, COLORREF, BYTE, DWORD);

// Looked up in the loaded system module only; it is neither loaded nor freed here.
SetLayeredWindowAttributesFn LayeredAttributes()
{
    HMODULE user = GetModuleHandleW(L"USER32.DLL");
    if (user == nullptr)
        return nullptr;
    return reinterpret_cast<SetLayeredWindowAttributesFn>(
        reinterpret_cast<void*>(GetProcAddress(user, "SetLayeredWindowAttributes")));
}

} // namespace

void TrackPopupMenuAtCursor(int index, CWnd* owner, int menuId, PopupMenuCallback callback)
{
    if (owner == nullptr)
        owner = AfxGetMainWnd();
    if (menuId == -1)
        menuId = SProductInfo::GetPopupMenuId();
    CMenu menu;
    if (!menu.LoadMenu(static_cast<UINT>(menuId)))
        return;
    CMenu* submenu = menu.GetSubMenu(index);
    if (submenu == nullptr || submenu->GetSafeHmenu() == nullptr)
        return;
    POINT cursor = {};
    GetCursorPos(&cursor);
    if (callback != nullptr)
        callback(submenu);
    HWND ownerWnd = owner != nullptr ? owner->GetSafeHwnd() : nullptr;
    if (ownerWnd != nullptr)
        SetForegroundWindow(ownerWnd);
    TrackPopupMenu(submenu->GetSafeHmenu(), TPM_RIGHTBUTTON, cursor.x, cursor.y, 0, ownerWnd, nullptr);
    if (ownerWnd != nullptr)
        PostMessageW(ownerWnd, WM_NULL, 0, 0);
}

void PostSizeMessage(HWND window)
{
    if (window == nullptr || !IsWindow(window))
        return;
    RECT client = {};
    GetClientRect(window, &client);
    PostMessageW(window, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right - client.left, client.bottom - client.top));
}

void PostSizeMessage(CWnd* window)
{
    PostSizeMessage(window != nullptr ? window->GetSafeHwnd() : nullptr);
}

bool IsTransparencySupported()
{
    return LayeredAttributes() != nullptr;
}

void SetWindowTransparency(HWND window, BYTE alpha)
{
    SetLayeredWindowAttributesFn setAttributes = LayeredAttributes();
    if (setAttributes == nullptr || window == nullptr)
        return;
    LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
    if (alpha < 255) {
        SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
        setAttributes(window, 0, alpha, LWA_ALPHA);
    } else {
        SetWindowLongPtrW(window, GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    }
}
