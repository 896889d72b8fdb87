#pragma once
// The system-information collector: walks a fixed list of facts about the
// computer and hands each to the dialog by a posted message, in order; it
// never waits for the dialog.
#include "platform/mfc/afx.h"
#include <atomic>
#include <memory>
#include "platform/mfc/afxworker.h"

// One entry as posted: an empty value makes the entry a heading.
struct SSysInfoEntry
{
    CString name;
    CString value;
};

// Posted for one entry: lParam an SSysInfoEntry on the heap, owned by the
// receiver from then on (TakeSysInfoEntry); wParam 0.
const UINT WM_SYSINFO_ENTRY = WM_APP + 0x26;
// Posted once the collection ended (0, 0).
const UINT WM_SYSINFO_DONE = WM_APP + 0xCE;

// Adopts the entry a WM_SYSINFO_ENTRY carries.
inline std::unique_ptr<SSysInfoEntry> TakeSysInfoEntry(LPARAM lParam)
{
    return std::unique_ptr<SSysInfoEntry>(reinterpret_cast<SSysInfoEntry*>(lParam));
}

// Frees the entries still queued for `window` (before it goes, after its
// collector has been joined), so none is lost with the queue.
void DiscardSysInfoEntries(HWND window);

// The stop flag the dialog raises before its window goes; the collector
// looks at it before every message and posts nothing once it is set.
using SysInfoStopFlag = std::shared_ptr<std::atomic<bool>>;

// Collects on the calling thread (the dialog's worker). Nothing when the
// window is gone at the start.
void SysInfoThreadProc(HWND dialog, const SysInfoStopFlag& stop);

// Starts the collector on `worker` (false when no thread could be made); the
// worker's owner joins it.
[[nodiscard]] bool StartSysInfoCollector(CWorkerThread& worker, HWND dialog, const SysInfoStopFlag& stop);
