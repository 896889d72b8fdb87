#pragma once
// Per-thread state of the window layer (internal to platform/mfc).
//
// Temporary wrappers: FromHandle of a window, device context, GDI object or
// menu that has no permanent object gives a wrapper owned by the calling
// thread. The wrappers never destroy their handle; they are deleted at the
// thread's next idle pass outside any window procedure (AfxUnlockTempMaps
// reaching zero), or when the thread ends. Keep a handle, not such a pointer,
// across message-loop passes.
#include <windows.h>
#include <unordered_map>

class CWnd;
class CDC;
class CGdiObject;
class CMenu;

struct AFX_THREAD_STATE
{
    // Window creation: the object to attach to the next window this thread
    // creates, and the creation hook that does it.
    CWnd* pWndInit = nullptr;
    HHOOK hHookCbt = nullptr;
    int nHookUsers = 0;

    // The message being dispatched to a window object (for CWnd::Default).
    const MSG* pCurrentMsg = nullptr;

    // Idle detection: the last mouse move seen by the message loop.
    POINT ptLastMouseMove{-1, -1};

    // Temporary wrappers, and how many dispatches are running (they are only
    // deleted while none is).
    int nTempMapLock = 0;
    std::unordered_map<HWND, CWnd*> tempWnd;
    std::unordered_map<HDC, CDC*> tempDC;
    std::unordered_map<HGDIOBJ, CGdiObject*> tempGdi;
    std::unordered_map<HMENU, CMenu*> tempMenu;

    AFX_THREAD_STATE() = default;
    ~AFX_THREAD_STATE();
    AFX_THREAD_STATE(const AFX_THREAD_STATE&) = delete;
    AFX_THREAD_STATE& operator=(const AFX_THREAD_STATE&) = delete;

    void DeleteTempObjects();
};

AFX_THREAD_STATE& AfxGetThreadState();

// Dispatches hold the lock so that temporaries handed to handlers stay valid.
void AfxLockTempMaps();
// Releases it; at zero the thread's temporaries are deleted. Returns TRUE
// when they were.
BOOL AfxUnlockTempMaps();

// Binds pWnd to the next window this thread creates (before its first
// message); every call is paired with AfxUnhookWindowCreate.
void AfxHookWindowCreate(CWnd* pWnd);
void AfxUnhookWindowCreate();
