#pragma once
// The two worker threads of the setup: the install copy and the uninstall.
// Each reaches its window only by messages.
#include "platform/mfc/afx.h"
#include <atomic>
#include <memory>
#include "installer/InstallCopy.h"

// Posted by the copy worker when it has ended: wParam 1 success, 0 the copy
// failed or was aborted (whatever it wrote has been removed again).
constexpr UINT WM_INSTALL_DONE = WM_APP + 3;
// Posted by the uninstall worker: a log line (wParam the text, static), and
// the end.
constexpr UINT WM_UNINSTALL_LOG = WM_APP + 1;
constexpr UINT WM_UNINSTALL_DONE = WM_APP + 3;

// The copy worker: copies the context's source into its folder (up to three
// destinations, "Bin1" and "Bin2" below it, tried only when a copy throws),
// writes the record of installed paths on success, removes what it wrote on
// failure or abort, and posts WM_INSTALL_DONE. The context's `source` is the
// running program's folder unless set. Thread function: the context.
struct SInstallWork : SInstallCopyContext
{
    CString source;
    bool succeeded = false; // read by the page after the thread has ended
};
UINT InstallCopyThreadProc(LPVOID work);

// Shared by the uninstall dialog and its worker; each holds a reference, so
// the dialog may go while the worker still runs. The dialog clears `window`
// when it is destroyed; the worker then stops posting.
struct SUninstallContext
{
    std::atomic<HWND> window{nullptr};
    // The folder whose recorded files are removed: the program's own folder
    // unless set.
    CString folder;
};
// The thread function's argument: a heap copy of the shared reference,
// deleted by the thread.
UINT UninstallThreadProc(LPVOID context);
// The uninstall itself, on the calling thread: the application's steps,
// each shown for at least half a second, the recorded program files, and the
// closing line; then WM_UNINSTALL_DONE.
void RunUninstall(const std::shared_ptr<SUninstallContext>& context);
