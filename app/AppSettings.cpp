#include "app/AppSettings.h"
#include <shlobj.h>
#include <atomic>
#include "audio/AudioSettings.h"
#include "common/FileUtils.h"
#include "common/FolderWalk.h"
#include "common/Languages.h"
#include "common/OVRegKey.h"
#include "common/ProductInfo.h"
#include "common/RecentList.h"
#include "common/RegSettings.h"
#include "common/WndPos.h"

namespace {

// User-interface thread only.
SWndPos g_mainWndPos;
CString g_lastExportDestination;
// Also read by the playback thread while the user-interface thread may
// change them.
std::atomic<int> g_volume{100};
std::atomic<BOOL> g_autoscrollPlayback{TRUE};
std::atomic<BOOL> g_autoLoopNewSel{FALSE};
std::atomic<BOOL> g_toFragmentBeginAfterStop{TRUE};

// The table routine reads and writes plain variables: the shared values pass
// through this record around each walk.
struct SStoredValues
{
    int volume;
    BOOL autoscrollPlayback;
    BOOL autoLoopNewSel;
    BOOL toFragmentBeginAfterStop;
};

bool WalkTable(HKEY key, bool load)
{
    SStoredValues v = {g_volume, g_autoscrollPlayback, g_autoLoopNewSel, g_toFragmentBeginAfterStop};
    const SRegTableEntry table[] = {
        {L"rMainWndPos", &g_mainWndPos, RRT_BINARY, sizeof(SWndPos)},
        {L"iVolume", &v.volume, RRT_BOOL, 4},
        {L"bAutoscrollPlayback", &v.autoscrollPlayback, RRT_BOOL, 4},
        {L"csLastExportDestination", &g_lastExportDestination, RRT_STRING},
        {L"bAutoLoopNewSel", &v.autoLoopNewSel, RRT_BOOL, 4},
        {L"bToFragmentBeginAfterStop", &v.toFragmentBeginAfterStop, RRT_BOOL, 4},
        {nullptr, nullptr, RRT_END},
    };
    const bool ok = SerializeRegTable(table, key, nullptr, load);
    if (load) {
        g_volume = v.volume;
        g_autoscrollPlayback = v.autoscrollPlayback;
        g_autoLoopNewSel = v.autoLoopNewSel;
        g_toFragmentBeginAfterStop = v.toFragmentBeginAfterStop;
    }
    return ok;
}

void CheckLoadedValues()
{
    if (g_volume < 0)
        g_volume = 0;
    else if (g_volume > 100)
        g_volume = 100;
    if (g_lastExportDestination.IsEmpty() || !DirectoryExists(g_lastExportDestination)) {
        CString music;
        if (SUCCEEDED(SHGetFolderPathDynamic(nullptr, CSIDL_MYMUSIC, nullptr, 0, music)))
            g_lastExportDestination = music;
    }
}

} // namespace

bool SerializeAppSettings(HKEY key, bool load)
{
    bool ok = true;
    if (key && !WalkTable(key, load))
        ok = false;
    if (!PersistLanguageChoice(key, load))
        ok = false;
    if (!g_recentList.Exchange(key, L"RecentFiles", load) && !load)
        ok = false;
    if (load)
        CheckLoadedValues();
    if (!SerializeAudioSettings(key, load))
        ok = false;
    return ok;
}

void LoadAppSettings()
{
    COVRegKey key;
    // Loading keeps the defaults of whatever it cannot read.
    if (key.OpenRead(HKEY_CURRENT_USER, SProductInfo::GetRegistryKey()))
        (void)SerializeAppSettings(key.GetHandle(), true);
}

bool SaveAppSettings()
{
    COVRegKey key;
    if (!key.Create(HKEY_CURRENT_USER, SProductInfo::GetRegistryKey()))
        return false;
    return SerializeAppSettings(key.GetHandle(), false);
}

bool SaveAppSettingsAtExit()
{
    return SaveAppSettings();
}

int GetVolume()
{
    return g_volume;
}

void SetVolume(int percent)
{
    g_volume = percent;
}

bool GetAutoscrollPlayback()
{
    return g_autoscrollPlayback != FALSE;
}

void SetAutoscrollPlayback(bool on)
{
    g_autoscrollPlayback = on ? TRUE : FALSE;
}

bool GetAutoLoopNewSel()
{
    return g_autoLoopNewSel != FALSE;
}

void SetAutoLoopNewSel(bool on)
{
    g_autoLoopNewSel = on ? TRUE : FALSE;
}

bool GetToFragmentBeginAfterStop()
{
    return g_toFragmentBeginAfterStop != FALSE;
}

void SetToFragmentBeginAfterStop(bool on)
{
    g_toFragmentBeginAfterStop = on ? TRUE : FALSE;
}

const CString& GetLastExportDestination()
{
    return g_lastExportDestination;
}

void SetLastExportDestination(LPCWSTR folder)
{
    if (folder)
        g_lastExportDestination = folder;
}

CRecentList& GetRecentList()
{
    return g_recentList;
}

const SWndPos* GetMainWndPos()
{
    return g_mainWndPos.rect.right != g_mainWndPos.rect.left ? &g_mainWndPos : nullptr;
}

void SaveMainWndPos(HWND window)
{
    g_mainWndPos.Capture(window);
}
