#include "app/AppSettings.h"

#include <windows.h>

#include <atomic>

namespace {

// Read by the playback thread while the user-interface thread may change them.
std::atomic<BOOL> g_autoLoopNewSel{0};
std::atomic<int> g_volume{100};
std::atomic<BOOL> g_autoscrollPlayback{1};
std::atomic<BOOL> g_toFragmentBeginAfterStop{1};

} // namespace

bool GetAutoLoopNewSel() { return g_autoLoopNewSel != 0; }
void SetAutoLoopNewSel(bool on) { g_autoLoopNewSel = on ? 1 : 0; }
int GetVolume() { return g_volume; }
void SetVolume(int percent) { g_volume = percent; }
bool GetAutoscrollPlayback() { return g_autoscrollPlayback != 0; }
void SetAutoscrollPlayback(bool on) { g_autoscrollPlayback = on ? 1 : 0; }
bool GetToFragmentBeginAfterStop() { return g_toFragmentBeginAfterStop != 0; }
void SetToFragmentBeginAfterStop(bool on) { g_toFragmentBeginAfterStop = on ? 1 : 0; }
