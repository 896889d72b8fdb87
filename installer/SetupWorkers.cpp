#include "installer/SetupWorkers.h"
#include <new>
#include "common/AdvFile.h"
#include "common/PathUtils.h"
#include "installer/InstallRecord.h"
#include "installer/SelfDelete.h"
#include "installer/SetupHooks.h"

namespace {

constexpr int kCopyAttempts = 3;
constexpr DWORD kStepShowMs = 500;

// Posts a line of static text: it stays valid until the dialog reads it.
void PostLog(const SUninstallContext& context, LPCWSTR line)
{
    const HWND window = context.window.load();
    if (window)
        ::PostMessageW(window, WM_UNINSTALL_LOG, reinterpret_cast<WPARAM>(line), 0);
}

void PauseRest(DWORD startTick)
{
    const DWORD spent = ::GetTickCount() - startTick;
    if (spent < kStepShowMs)
        ::Sleep(kStepShowMs - spent);
}

} // namespace

UINT InstallCopyThreadProc(LPVOID param)
{
    SInstallWork* work = static_cast<SInstallWork*>(param);
    if (!work)
        return static_cast<UINT>(-1);
    const CString source = work->source.IsEmpty() ? GetModuleDirectory() : work->source;
    const CString base = work->folder;
    CString destination = base;
    bool done = false;
    bool ok = false;
    for (int attempt = 0; attempt < kCopyAttempts && !done; ++attempt) {
        if (attempt > 0) {
            CString sub;
            sub.Format(L"Bin%d", attempt);
            destination = JoinPath(base, sub);
        }
        work->copied = 0;
        try {
            ok = CopyTree(source, destination, work);
            done = true;
        } catch (const CAdvFile::SException&) {
            // Not swallowed: ok stays false, so the next destination is
            // tried, and after the last one the copy ends as failed (what it
            // wrote is removed and the page tells the user).
        } catch (const std::bad_alloc&) {
            // As above: out of memory fails this attempt, never the program.
        }
    }
    ok = ok && WriteInstallRecord(destination, work->installed);
    if (!ok) {
        // Nothing half-copied is left: every file written and folder made
        // goes again (folders only when empty).
        RemoveInstalledPaths(work->installed, base);
    }
    work->folder = destination;
    work->succeeded = ok;
    if (work->page)
        ::PostMessageW(work->page, WM_INSTALL_DONE, ok ? 1 : 0, 0);
    return 0;
}

void RunUninstall(const std::shared_ptr<SUninstallContext>& context)
{
    for (int step = 0;; ++step) {
        const LPCWSTR name = GetSetupHooks().UninstallStepName(step);
        if (!name)
            break;
        PostLog(*context, name);
        const DWORD start = ::GetTickCount();
        GetSetupHooks().DoUninstallStep(step);
        PauseRest(start);
    }
    PostLog(*context, L"Removing program files");
    const CString folder = context->folder.IsEmpty() ? GetModuleDirectory() : context->folder;
    // Only what the installer recorded goes: a user's own files in the
    // folder, and any folder the program was merely started from, stay.
    CStringArray paths;
    if (ReadInstallRecord(folder, paths))
        RemoveInstalledPaths(paths, folder);
    ::Sleep(kStepShowMs);
    PostLog(*context, L"Uninstallation is complete");
    const HWND window = context->window.load();
    if (window)
        ::PostMessageW(window, WM_UNINSTALL_DONE, 0, 0);
}

UINT UninstallThreadProc(LPVOID param)
{
    auto* held = static_cast<std::shared_ptr<SUninstallContext>*>(param);
    if (!held)
        return static_cast<UINT>(-1);
    const std::shared_ptr<SUninstallContext> context = *held;
    delete held;
    RunUninstall(context);
    // Scheduled again by the dialog's Finish, which tells the user when it
    // fails: nothing more to do here.
    if (context->folder.IsEmpty())
        (void)ScheduleSelfDelete();
    return 0;
}
