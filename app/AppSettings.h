#pragma once
// The application's settings: a handful of process-wide values described by
// one table, loaded from HKEY_CURRENT_USER\<product key> once at start-up and
// saved when the options are applied and at exit. The same pass exchanges
// the interface language, the recent-file list ("RecentFiles") and the audio
// engine's settings ("VAF"). User-interface thread, except the four 32-bit
// values the views and the playback thread read (volume, autoscroll, loop of
// new fragments, back to the fragment's beginning), which any thread may.
#include <windows.h>
#include "platform/mfc/afx.h"

class CRecentList;
struct SWndPos;

// Loads or saves every setting under key (the table only when key is not
// null). Loading clamps "iVolume" into 0..100 and replaces a missing export
// folder by the user's music folder. False when a save did not fully reach
// the registry.
[[nodiscard]] bool SerializeAppSettings(HKEY key, bool load);
// Reads the settings key when it exists; without it the defaults stay.
void LoadAppSettings();
// Writes the settings key, creating it when missing. False when it could not
// be written (the caller decides whether anyone can be told).
[[nodiscard]] bool SaveAppSettings();
[[nodiscard]] bool SaveAppSettingsAtExit();

// "iVolume": playback volume in percent. Set does not clamp.
int GetVolume();
void SetVolume(int percent);
// "bAutoscrollPlayback": the view follows the play cursor. Default on.
[[nodiscard]] bool GetAutoscrollPlayback();
void SetAutoscrollPlayback(bool on);
// "bAutoLoopNewSel": a fragment made by the mouse is looped. Default 0.
[[nodiscard]] bool GetAutoLoopNewSel();
void SetAutoLoopNewSel(bool on);
// "bToFragmentBeginAfterStop": the play position returns to the fragment's
// start when playing stops. Default on.
[[nodiscard]] bool GetToFragmentBeginAfterStop();
void SetToFragmentBeginAfterStop(bool on);
// "csLastExportDestination": the folder last exported to; stored with the
// next save. Set ignores a null folder.
const CString& GetLastExportDestination();
void SetLastExportDestination(LPCWSTR folder);

CRecentList& GetRecentList();

// "rMainWndPos": the stored placement when its rectangle has a width, else
// null (the window then takes the work area).
const SWndPos* GetMainWndPos();
// Captures the window's placement; written with the next save.
void SaveMainWndPos(HWND window);
