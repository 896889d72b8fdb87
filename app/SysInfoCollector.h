#pragma once
// The system-information collector: walks a fixed list of facts about the
// computer and hands each to the dialog by a sent message, so every entry is
// listed on the user-interface thread before the next is read.
#include <windows.h>
#include <atomic>
#include <memory>

// Sent for one entry: wParam the name, lParam the value (UTF-16, valid
// during the call); an empty value makes the entry a heading.
const UINT WM_SYSINFO_ENTRY = WM_APP + 0x26;
// Sent once the collection ended (0, 0).
const UINT WM_SYSINFO_DONE = WM_APP + 0xCE;

// The stop flag the dialog raises before its window goes; the collector
// looks at it before every message and sends nothing once it is set.
using SysInfoStopFlag = std::shared_ptr<std::atomic<bool>>;

// Collects on the calling thread (the dialog's worker). Nothing when the
// window is gone at the start.
void SysInfoThreadProc(HWND dialog, const SysInfoStopFlag& stop);

// Starts the collector on a new thread; the returned handle (null on
// failure) belongs to the caller.
HANDLE StartSysInfoCollector(HWND dialog, const SysInfoStopFlag& stop);
