#include "app/AppSettings.h"
#include <shlobj.h>
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

// The table routine writes through plain addresses; the volume is also read
// by the playback thread, which only ever needs a whole 32-bit value.
SWndPos g_mainWndPos;
int g_volume = 100;
BOOL g_autoscrollPlayback = TRUE;
CString g_lastExportDestination;
BOOL g_autoLoopNewSel = FALSE;
BOOL g_toFragmentBeginAfterStop = TRUE;

const SRegTableEntry* SettingsTable()
{
    static const SRegTableEntry table[] = {
        {L"rMainWndPos", &g_mainWndPos, RRT_BINARY, sizeof(SWndPos)},
        {L"iVolume", &g_volume, RRT_BOOL, 4},
        {L"bAutoscrollPlayback", &g_autoscrollPlayback, RRT_BOOL, 4},
        {L"csLastExportDestination", &g_lastExportDestination, RRT_STRING},
        {L"bAutoLoopNewSel", &g_autoLoopNewSel, RRT_BOOL, 4},
        {L"bToFragmentBeginAfterStop", &g_toFragmentBeginAfterStop, RRT_BOOL, 4},
        {nullptr, nullptr, RRT_END},
    };
    return table;
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
    if (key && !SerializeRegTable(SettingsTable(), key, nullptr, load))
        ok = false;
    PersistLanguageChoice(key, load);
    if (!g_recentList.Exchange(key, L"RecentFiles", load) && !load)
        ok = false;
    if (load)
        CheckLoadedValues();
    SerializeAudioSettings(key, load);
    return ok;
}

void LoadAppSettings()
{
    COVRegKey key;
    if (key.OpenRead(HKEY_CURRENT_USER, SProductInfo::GetRegistryKey()))
        SerializeAppSettings(key.GetHandle(), true);
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
