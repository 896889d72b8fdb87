#pragma once
// The install copy: a folder tree copied block by block with progress, an
// abort flag and a pause gate, and the record of every file and folder the
// copy put in place (the uninstaller removes exactly those).
#include "platform/mfc/afx.h"
#include "platform/mfc/afxcoll.h"
#include <atomic>
#include "common/ScopedHandle.h"

// Posted to the page window after every copied block (wParam, lParam 0).
constexpr UINT WM_INSTALL_PROGRESS = WM_APP + 5;
// Name of the record of installed paths, kept in the install folder.
constexpr const wchar_t* kInstallRecordName = L"Install.lst";

// Shared by the process page (user-interface thread) and its copy worker.
// The page makes it, keeps it until the worker has ended, then deletes it.
struct SInstallCopyContext
{
    SInstallCopyContext();
    std::atomic<bool> abort{false}; // set by the page, read between blocks
    HWND page = nullptr;            // receiver of the progress messages
    CString folder;                 // destination; the worker writes back the one it used
    std::atomic<unsigned long long> copied{0};
    // Manual-reset event, signalled while the copy may go on: the page
    // closes the gate while it asks whether to abort instead of suspending
    // the thread (a suspended thread may hold a lock the interface needs).
    CKernelHandle running;
    // Full path of a folder the copy must never enter: the destination when
    // it lies inside the source. Empty: none.
    CString skipFolder;
    // Every file written and folder made, in order; folders end with '\'.
    CStringArray installed;
    // Waits while the gate is closed; false once the copy must stop.
    [[nodiscard]] bool MayGoOn() const;
};

// Absolute form of a path without a trailing backslash (a root keeps it).
CString NormalizeFolder(LPCWSTR path);
// Whether `inner` is `outer` or lies inside it (absolute, case-insensitive).
[[nodiscard]] bool IsSameOrInside(LPCWSTR inner, LPCWSTR outer);

// Copies every file and subfolder of `source` into `destination` (made when
// missing; only its last level). False when a folder cannot be made or
// listed, a file cannot be opened, created, read or written, or the abort
// flag is seen; what was written so far stays and is recorded. Never
// descends into the context's skip folder. Files of 4 GiB or more are
// refused (false) rather than cut short.
[[nodiscard]] bool CopyTree(LPCWSTR source, LPCWSTR destination, SInstallCopyContext* context);

// Writes the record (UTF-16 lines, the record itself as last line) into
// `folder`; false when it cannot be written.
[[nodiscard]] bool WriteInstallRecord(LPCWSTR folder, const CStringArray& installed);
